#include "TraceLog.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The one log the fatal-signal handler flushes (the manager's).
std::atomic<TraceLog*> activeLog{nullptr};

const int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
struct sigaction previousActions[sizeof kFatalSignals / sizeof kFatalSignals[0]];
bool handlersInstalled = false;

void OnFatalSignal(int sig) {
    if (TraceLog* log = activeLog.load()) log->FlushFromSignal();
    // Hand the signal on to whoever handled it before (the default action, or a
    // sanitizer's report), so the process ends as it would have.
    for (size_t i = 0; i < sizeof kFatalSignals / sizeof kFatalSignals[0]; ++i) {
        if (kFatalSignals[i] == sig) sigaction(sig, &previousActions[i], nullptr);
    }
    raise(sig);
}

void InstallHandlers() {
    if (handlersInstalled) return;
    handlersInstalled = true;
    for (size_t i = 0; i < sizeof kFatalSignals / sizeof kFatalSignals[0]; ++i) {
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = OnFatalSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_NODEFER;
        sigaction(kFatalSignals[i], &action, &previousActions[i]);
    }
}

std::string OldPathFor(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".old";
    return path.substr(0, dot) + ".old" + path.substr(dot);
}

}  // namespace

TraceLog::TraceLog() = default;

TraceLog::~TraceLog() { Close(); }

bool TraceLog::Open(const std::string& path) {
    Close();
    path_ = path;
    oldPath_ = OldPathFor(path);
    failed_ = false;
    busy_ = false;
    bytes_ = 0;
    // No O_TRUNC: the file may be another game's log, still being written.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        busy_ = true;
        ::close(fd);
        return false;
    }
    // Any other lock failure (a file system without flock) still gets a log, unguarded.
    if (::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    InstallHandlers();
    activeLog.store(this);
    return true;
}

void TraceLog::Close() {
    if (fd_ < 0) return;
    Flush();
    TraceLog* self = this;
    activeLog.compare_exchange_strong(self, nullptr);
    ::close(fd_);
    fd_ = -1;
}

void TraceLog::WriteAll(const char* data, size_t size) {
    while (size > 0 && !failed_) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            // A failed write turns logging off, like a bad stream; the player hears of it
            // once, and the game goes on.
            failed_ = true;
            std::fprintf(stderr, "brinegate: the trace log \"%s\" cannot be written further (%s); the game goes on without it\n",
                         path_.c_str(), std::strerror(errno));
            return;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void TraceLog::Flush() {
    const size_t used = used_.load();
    if (fd_ >= 0 && used > 0) WriteAll(buffer_, used);
    used_.store(0);
}

void TraceLog::FlushFromSignal() {
    const size_t used = used_.exchange(0);
    const char* data = buffer_;
    size_t left = used;
    while (fd_ >= 0 && left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
}

void TraceLog::Line(const char* text, const char* suffix, const char* tail) {
    if (fd_ < 0 || failed_) return;
    const char* parts[3] = {text, suffix, tail};
    size_t lengths[3] = {0, 0, 0};
    size_t total = 1;
    for (int i = 0; i < 3; ++i) {
        if (parts[i]) lengths[i] = std::strlen(parts[i]);
        total += lengths[i];
    }
    if (used_.load() + total > kBufferSize) Flush();
    if (total > kBufferSize) {
        // A line larger than the whole buffer goes straight to the file.
        for (int i = 0; i < 3; ++i) WriteAll(parts[i] ? parts[i] : "", lengths[i]);
        WriteAll("\n", 1);
    } else {
        size_t at = used_.load();
        for (int i = 0; i < 3; ++i) {
            std::memcpy(buffer_ + at, parts[i] ? parts[i] : "", lengths[i]);
            at += lengths[i];
        }
        buffer_[at++] = '\n';
        used_.store(at);
    }
    bytes_ += total;
    if (bytes_ >= limit_) Rotate();
}

void TraceLog::Rotate() {
    Flush();
    const std::string path = path_;
    const uint64_t limit = limit_;
    Close();
    std::rename(path.c_str(), oldPath_.c_str());
    Open(path);
    limit_ = limit;
}

#include "objects/TraceLog.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "DataFile.h"
#include "Report.h"

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
    why_.clear();
    bytes_ = 0;
    // No O_TRUNC: the file may be another game's log, still being written. Without
    // blocking, so that a pipe named like the log is turned away, never waited on.
    const int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
    created_ = fd >= 0;
    if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), flags);
    struct stat st {};
    if (fd < 0) {
        const int error = errno;
        // A pipe nobody reads refuses a writer that does not wait (ENXIO): name what it is.
        why_ = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) ? "it is " + DataFile::Kind(st.st_mode)
                                                                     : Why(error);
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why_ = "it is " + DataFile::Kind(st.st_mode);
        ::close(fd);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        busy_ = true;
        why_ = "in use by another game";
        ::close(fd);
        return false;
    }
    // Any other lock failure (a file system without flock) still gets a log, unguarded.
    // The old log is cut only when the first line goes out: a start that fails before
    // anything is played leaves it as it was.
    truncatePending_ = true;
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
    // A file this log made and never wrote to would only be an empty stray.
    if (truncatePending_ && created_) ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
    truncatePending_ = false;
}

bool TraceLog::Truncate() {
    if (!truncatePending_) return true;
    truncatePending_ = false;
    return ::ftruncate(fd_, 0) == 0;
}

void TraceLog::WriteAll(const char* data, size_t size) {
    while (size > 0 && !failed_) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            // A failed write turns logging off, like a bad stream; the player hears of it
            // once, and the game goes on.
            failed_ = true;
            Report("the trace log \"" + path_ + "\" cannot be written further (" + Why(errno) +
                   "); the game goes on without it");
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
    if (fd_ >= 0 && left > 0 && truncatePending_) {
        truncatePending_ = false;
        if (::ftruncate(fd_, 0) != 0) return;
    }
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
    if (!Truncate()) {
        failed_ = true;
        Report("the trace log \"" + path_ + "\" cannot be written (" + Why(errno) + "); the game goes on without it");
        return;
    }
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

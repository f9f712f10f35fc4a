#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

// The object manager's trace: whole lines gathered in a buffer and written out with one
// system call at the end of each manager pass, when the buffer fills, on Close, and from
// a fatal-signal handler, so a crash still leaves every line written before it.
// Past a size limit the file restarts, keeping the previous one beside it as "*.old.*".
// A file that cannot be opened turns logging off silently (the caller reports it); one
// that cannot be written further turns it off with one line on stderr.
// An open file is held with an exclusive lock, so a second game started in the same
// folder finds it busy instead of truncating the first one's log.
class TraceLog {
public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Opens the file and locks it; closes any previous one first. The old content goes
    // when the first line is logged, and a file made here and never written to is
    // removed on Close, so a run that never plays leaves the folder as it was. False
    // when it cannot be opened (Why says why; a pipe, a device or a folder is refused
    // without waiting), or when another open of it holds the lock (Busy), in which
    // case the file is left as it was.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // True while the file is open and no write has failed.
    bool Good() const { return fd_ >= 0 && !failed_; }
    // True when the last Open failed because someone else holds the file.
    bool Busy() const { return busy_; }
    // Why the last Open failed.
    const std::string& Refusal() const { return why_; }
    const std::string& Path() const { return path_; }
    const std::string& OldPath() const { return oldPath_; }

    // Appends text + suffix + tail and a newline.
    void Line(const char* text, const char* suffix = nullptr, const char* tail = nullptr);
    void Flush();
    void SetLimit(uint64_t bytes) { limit_ = bytes; }

    // Writes what is buffered using only async-signal-safe calls.
    void FlushFromSignal();

private:
    static constexpr size_t kBufferSize = 64 * 1024;

    void WriteAll(const char* data, size_t size);
    // Cuts the old content before the first line; false when that fails.
    bool Truncate();
    void Rotate();

    int fd_ = -1;
    bool failed_ = false;
    bool busy_ = false;
    bool created_ = false;
    // Set between Open and the first write; read by the signal handler too.
    volatile bool truncatePending_ = false;
    std::string why_;
    std::string path_;
    std::string oldPath_;
    char buffer_[kBufferSize];
    // Advanced only after a whole line is in the buffer, so a signal handler that
    // writes [0, used_) never writes half a line.
    std::atomic<size_t> used_{0};
    uint64_t bytes_ = 0;
    uint64_t limit_ = 64ull * 1024 * 1024;
};

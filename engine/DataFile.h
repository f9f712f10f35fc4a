#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// A file of the game's data read whole: an image, the settings, the records, a recording.
// Opened without blocking, so that a FIFO or a device named like one of them is turned
// away instead of waited on; only a regular file of at most the caller's size is read.
class DataFile {
public:
    static constexpr const char* kNotRegular = "not a regular file";
    static constexpr const char* kTooLarge = "too large";

    // Reads the file at `path` into `bytes` if it is a regular file of at most `maxBytes`.
    // On failure returns false with `why`: kNotRegular, kTooLarge, or the system's reason
    // when it cannot be opened or read. `bytes` is then empty.
    bool Read(const std::string& path, size_t maxBytes);

    // What a file of this mode is, for messages: "a folder", "a pipe", "a device", ...
    static std::string Kind(mode_t mode);

    std::string bytes;
    std::string why;
    int error = 0;      // errno of a failed open or read, else 0 (ENOENT: there is no file)
    mode_t mode = 0;    // the type and permission bits of what was opened, 0 if nothing was
};

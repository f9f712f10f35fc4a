#include "DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool DataFile::Read(const std::string& path, size_t maxBytes) {
    bytes.clear();
    why.clear();
    error = 0;
    mode = 0;
    // O_NOCTTY: a terminal named like a data file must not become ours.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        error = errno;
        why = std::strerror(error);
        if (fd >= 0) close(fd);
        return false;
    }
    mode = st.st_mode;
    if (!S_ISREG(st.st_mode)) {
        why = kNotRegular;
    } else if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        why = kTooLarge;
    } else {
        bytes.reserve(static_cast<size_t>(st.st_size));
        // Read to one byte past the cap all the same: the file may have grown since.
        char buffer[65536];
        while (bytes.size() <= maxBytes) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = errno;
                why = std::strerror(error);
            }
            if (n <= 0) break;
            bytes.append(buffer, static_cast<size_t>(n));
        }
        if (why.empty() && bytes.size() > maxBytes) why = kTooLarge;
    }
    close(fd);
    if (!why.empty()) bytes.clear();
    return why.empty();
}

std::string DataFile::Kind(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG: return "a regular file";
        case S_IFDIR: return "a folder";
        case S_IFIFO: return "a pipe";
        case S_IFCHR:
        case S_IFBLK: return "a device";
        case S_IFSOCK: return "a socket";
        case S_IFLNK: return "a symbolic link";
        default: return "not a regular file";
    }
}

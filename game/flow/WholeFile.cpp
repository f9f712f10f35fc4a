#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool WholeFile::Write(const std::string& path, const std::string& text, std::string& error) {
    namespace fs = std::filesystem;
    error.clear();
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create the folder " + folder.string() + " for " + path + ": " + ec.message();
        return false;
    }
    // Beside the target, so that the rename stays within one file system.
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat old {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool written = WriteAll(fd, text) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int reason = errno;
    if (close(fd) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (written && rename(temporary.c_str(), path.c_str()) == 0) {
        // Makes the rename itself last; the data is already safe if this fails.
        const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
        return true;
    }
    if (written) reason = errno;
    unlink(temporary.c_str());
    error = "cannot write " + path + ": " + std::strerror(reason);
    return false;
}

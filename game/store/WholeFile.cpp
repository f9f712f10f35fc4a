#include "store/WholeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "DataFile.h"
#include "Report.h"

namespace {

namespace fs = std::filesystem;

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

fs::path FolderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// ".<name>." : what every temporary file beside `target` starts with.
std::string TemporaryPrefix(const fs::path& target) { return "." + target.filename().string() + "."; }

// Temporary files of builds that did not yet name their process are stale once this old.
constexpr time_t kUnnamedStaleSeconds = 60;

}  // namespace

std::string WholeFile::Target(const std::string& path) {
    std::string at = path;
    // As the kernel does, give up on a loop after 40 links.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
        char link[PATH_MAX];
        const ssize_t n = readlink(at.c_str(), link, sizeof link - 1);
        if (n <= 0) return at;
        const fs::path next(std::string(link, static_cast<size_t>(n)));
        at = next.is_absolute() ? next.string() : (FolderOf(fs::path(at)) / next).string();
    }
    return at;
}

std::string WholeFile::Unwritable(const std::string& target) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return {};
        return "cannot be looked at (" + Why(errno) + ")";
    }
    if (S_ISLNK(st.st_mode)) return "it is a loop of symbolic links";
    if (!S_ISREG(st.st_mode)) return "it is " + DataFile::Kind(st.st_mode);
    return {};
}

int WholeFile::CreateTemporary(const std::string& targetPath, std::string& temporary, std::string& error,
                               bool makeFolder) {
    const fs::path target(targetPath);
    const fs::path folder = FolderOf(target);
    std::error_code ec;
    if (makeFolder) fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create the folder " + folder.string() + ": " + ec.message();
        return -1;
    }
    // Beside the target, so that the rename stays within one file system.
    temporary = (folder / (TemporaryPrefix(target) + std::to_string(getpid()) + ".XXXXXX")).string();
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) error = "cannot create a file in " + folder.string() + ": " + Why(errno);
    return fd;
}

void WholeFile::RemoveStale(const std::string& targetPath) {
    const fs::path target(targetPath);
    const std::string prefix = TemporaryPrefix(target);
    const std::string folder = FolderOf(target).string();
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = name.substr(prefix.size());
        // "<pid>.XXXXXX" from this build, "XXXXXX" from earlier ones.
        const size_t dot = rest.find('.');
        bool stale = false;
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) continue;
        if (dot != std::string::npos && dot > 0 && rest.size() == dot + 7 &&
            rest.find_first_not_of("0123456789") == dot) {
            const long pid = std::strtol(rest.c_str(), nullptr, 10);
            stale = pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
        } else if (rest.size() == 6 && dot == std::string::npos) {
            stale = now - st.st_mtime > kUnnamedStaleSeconds;
        }
        if (stale) unlink(path.c_str());
    }
    closedir(dir);
}

bool WholeFile::Write(const std::string& path, const std::string& text, std::string& error) {
    error.clear();
    const std::string target = Target(path);
    if (const std::string why = Unwritable(target); !why.empty()) {
        error = "cannot write " + path + ": " + why;
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporary(target, temporary, error);
    if (fd < 0) {
        error = "cannot write " + path + ": " + error;
        return false;
    }
    struct stat old {};
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool written = WriteAll(fd, text) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    int reason = errno;
    if (close(fd) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (written && rename(temporary.c_str(), target.c_str()) == 0) {
        // Makes the rename itself last; the data is already safe if this fails.
        const int dir = open(FolderOf(fs::path(target)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
        return true;
    }
    if (written) reason = errno;
    unlink(temporary.c_str());
    error = "cannot write " + path + ": " + Why(reason);
    return false;
}

#include "WebRename.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

// The page runs one thread and nothing else writes its files, so looking for the
// target and then renaming is as good as the kernel's refusal.
extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags) {
    if ((flags & ~static_cast<unsigned int>(RENAME_NOREPLACE)) != 0) {
        errno = EINVAL;
        return -1;
    }
    struct stat there;
    if ((flags & RENAME_NOREPLACE) != 0 && fstatat(toFolder, to, &there, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return renameat(fromFolder, from, toFolder, to);
}

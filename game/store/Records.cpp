#include "store/Records.h"

#include <fcntl.h>
#include <ini.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "DataFile.h"
#include "Report.h"
#include "store/WholeFile.h"
#include "store/WholeNumber.h"

namespace {

// The game writes a few hundred bytes.
constexpr size_t kMaxFileBytes = 16 * 1024;

bool ReadCount(const char* text, int64_t& out) {
    uint64_t n = 0;
    // No game comes near the bound.
    if (!ReadWholeNumber(text, INT32_MAX * uint64_t{1000}, n)) return false;
    out = static_cast<int64_t>(n);
    return true;
}

int Entry(void* user, const char* section, const char* name, const char* value) {
    Records& records = *static_cast<Records*>(user);
    GameRecord* record = nullptr;
    if (std::strcmp(section, "last") == 0) record = &records.last;
    else if (std::strcmp(section, "best") == 0) record = &records.best;
    int64_t n = 0;
    if (!record || !ReadCount(value, n)) return 0;
    if (std::strcmp(name, "seconds") == 0) record->seconds = n;
    else if (std::strcmp(name, "gold") == 0) record->gold = n;
    else if (n > INT32_MAX) return 0;
    else if (std::strcmp(name, "level") == 0) record->level = static_cast<int32_t>(n);
    else if (std::strcmp(name, "towers") == 0) record->towers = static_cast<int32_t>(n);
    else if (std::strcmp(name, "ships") == 0) record->ships = static_cast<int32_t>(n);
    else if (std::strcmp(name, "lost") == 0) record->lost = static_cast<int32_t>(n);
    else return 0;
    return 1;
}

// Moves a damaged file out of the way without replacing any file already there: by a
// link, or by a rename that refuses to replace where links cannot be made (a file of
// another owner, a file system without hard links). Empty with `why` when it cannot.
std::string SetAside(const std::string& path, std::string& why) {
    bool link = true;
    for (int n = 1; n < 100; ++n) {
        const std::string bad = path + ".bad" + (n == 1 ? "" : "." + std::to_string(n));
        if (link) {
            if (::link(path.c_str(), bad.c_str()) == 0) {
                unlink(path.c_str());
                return bad;
            }
            if (errno == EEXIST) continue;
            link = false;
        }
        if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, bad.c_str(), RENAME_NOREPLACE) == 0) return bad;
        if (errno == EEXIST) continue;
        why = Why(errno);
        return {};
    }
    why = "every name from " + path + ".bad to " + path + ".bad.99 is taken";
    return {};
}

// The records in `text`; 0 when they parse, else the first damaged line.
int Parse(const std::string& text, Records& records) {
    return text.find('\0') != std::string::npos ? 1 : ini_parse_string(text.c_str(), Entry, &records);
}

// Holds the records' folder locked while one game reads and writes the file, so two
// games ending at once each keep the other's best. A file system without locks leaves
// the folder unguarded.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

}  // namespace

GameRecord GameRecord::BestWith(const GameRecord& other) const {
    GameRecord best;
    best.level = std::max(level, other.level);
    best.towers = std::max(towers, other.towers);
    best.ships = std::max(ships, other.ships);
    best.gold = std::max(gold, other.gold);
    best.seconds = std::max(seconds, other.seconds);
    best.lost = std::max(lost, other.lost);
    return best;
}

bool GameRecord::operator==(const GameRecord& other) const {
    return level == other.level && towers == other.towers && ships == other.ships && gold == other.gold &&
           seconds == other.seconds && lost == other.lost;
}

std::string Records::DefaultPath() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/brinegate/records.ini";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.local/share/brinegate/records.ini";
    return {};
}

Records Records::Load(const std::string& path, std::ostream& warnings, bool setAside, std::string* unwritable) {
    Records records;
    if (unwritable) unwritable->clear();
    if (path.empty()) return records;
    DataFile file;
    std::string why;
    bool damaged = false;  // a regular file read whole, or too large: set aside if it can be
    if (file.Read(path, kMaxFileBytes)) {
        const int line = Parse(file.bytes, records);
        if (line == 0) return records;
        why = "damaged at line " + std::to_string(line);
        damaged = true;
    } else if (file.error == ENOENT) {
        return records;  // no records yet
    } else if (file.why == DataFile::kTooLarge) {
        why = "too large for records";
        damaged = true;
    } else {
        why = file.why == DataFile::kNotRegular ? "it is " + DataFile::Kind(file.mode) : "cannot be read (" + file.why + ")";
    }
    std::string line = path + ": " + why;
    std::string bad, failure = why;
    if (damaged && setAside) bad = SetAside(WholeFile::Target(path), failure);
    if (!bad.empty()) {
        line += "; set aside as " + bad + "; the records start afresh";
    } else {
        // Never written over in this run: what it holds may be all the player has.
        if (unwritable) *unwritable = failure;
        if (damaged && setAside) line += "; it cannot be set aside (" + failure + ")";
        line += "; it stays as it is at " + WholeFile::Target(path) + ", and this run's records are not kept";
    }
    warnings << ReportLine(line);
    return Records();
}

std::string Records::Text() const {
    std::string t = "# Brinegate records (written by the game)\n";
    const char* names[2] = {"last", "best"};
    const GameRecord* records[2] = {&last, &best};
    for (int i = 0; i < 2; ++i) {
        const GameRecord& r = *records[i];
        t += std::string("[") + names[i] + "]\nlevel = " + std::to_string(r.level) +
             "\ntowers = " + std::to_string(r.towers) + "\nships = " + std::to_string(r.ships) +
             "\ngold = " + std::to_string(r.gold) + "\nseconds = " + std::to_string(r.seconds) +
             "\nlost = " + std::to_string(r.lost) + "\n";
    }
    return t;
}

bool Records::Save(const std::string& path, std::string& error) const {
    if (path.empty()) {
        error = "cannot keep the records: no folder for them ($XDG_DATA_HOME and $HOME are unset)";
        return false;
    }
    const std::string target = WholeFile::Target(path);
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    // Another game may have written the file since this one read it: read it again under
    // the lock, and keep the best of both.
    FolderLock lock(folder.empty() ? "." : folder.string());
    Records merged = *this;
    DataFile file;
    if (file.Read(target, kMaxFileBytes)) {
        Records theirs;
        if (const int line = Parse(file.bytes, theirs); line != 0) {
            error = "cannot write " + path + ": it was changed to a file damaged at line " + std::to_string(line) +
                    ", which is left as it is";
            return false;
        }
        merged.best = best.BestWith(theirs.best);
    } else if (file.error != ENOENT) {
        error = "cannot write " + path + ": " +
                (file.why == DataFile::kNotRegular ? "it is " + DataFile::Kind(file.mode) : file.why);
        return false;
    }
    return WholeFile::Write(path, merged.Text(), error);
}

void Records::Finish(const GameRecord& game) {
    last = game;
    best = best.BestWith(game);
}

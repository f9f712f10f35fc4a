#include "Records.h"

#include <ini.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "DataFile.h"
#include "WholeFile.h"
#include "WholeNumber.h"

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

// Moves a damaged file out of the way without replacing any file already there.
std::string SetAside(const std::string& path) {
    for (int n = 1; n < 100; ++n) {
        const std::string bad = path + ".bad" + (n == 1 ? "" : "." + std::to_string(n));
        if (link(path.c_str(), bad.c_str()) == 0) {
            unlink(path.c_str());
            return bad;
        }
        if (errno != EEXIST) break;
    }
    return {};
}

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

Records Records::Load(const std::string& path, std::ostream& warnings, bool setAside) {
    Records records;
    if (path.empty()) return records;
    DataFile file;
    std::string why;
    if (file.Read(path, kMaxFileBytes)) {
        const std::string& text = file.bytes;
        const int line = text.find('\0') != std::string::npos ? 1 : ini_parse_string(text.c_str(), Entry, &records);
        if (line == 0) return records;
        why = "damaged at line " + std::to_string(line);
    } else if (file.error != ENOENT) {
        why = file.why == DataFile::kTooLarge ? "too large for records" : file.why;
    }
    if (why.empty()) return records;  // no records yet
    warnings << "brinegate: " << path << ": " << why;
    const std::string bad = setAside ? SetAside(path) : std::string();
    if (!bad.empty()) warnings << "; set aside as " << bad;
    warnings << "; the records start afresh\n";
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
        error = "no folder for the records ($XDG_DATA_HOME and $HOME are unset)";
        return false;
    }
    return WholeFile::Write(path, Text(), error);
}

void Records::Finish(const GameRecord& game) {
    last = game;
    best = best.BestWith(game);
}

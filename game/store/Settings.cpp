#include "store/Settings.h"

#include <strings.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "DataFile.h"
#include "KeyNames.h"
#include "Report.h"
#include "store/WholeFile.h"
#include "store/WholeNumber.h"

const char* const Settings::kKeyEntries[kActionCount] = {"steer_left", "steer_right", "repair",
                                                         "sea",        "gold",        "pause"};
const char* const Settings::kActionLabels[kActionCount] = {"Steer left", "Steer right", "Repair",
                                                           "Sea toggle", "Gold",        "Pause"};

const char* const Settings::kHintEntries[kHintCount] = {"steer", "fire", "tower", "chest", "buy", "sea"};

namespace {

// The game writes a few hundred bytes; anything much bigger is not its file.
constexpr size_t kMaxFileBytes = 64 * 1024;
// Binary junk would otherwise bury the lines that matter.
constexpr int kMaxWarnings = 20;
// The game writes lines of under 40 bytes; this is the most the file has ever taken.
constexpr size_t kMaxLineBytes = 197;

bool Is(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

bool ReadVolume(const char* text, int& out) {
    uint64_t n = 0;
    if (!ReadWholeNumber(text, Settings::kMaxVolume, n)) return false;
    out = static_cast<int>(n);
    return true;
}

bool ReadSwitch(const char* text, bool& out) {
    for (const char* yes : {"true", "yes", "on", "1"}) {
        if (Is(text, yes)) {
            out = true;
            return true;
        }
    }
    for (const char* no : {"false", "no", "off", "0"}) {
        if (Is(text, no)) {
            out = false;
            return true;
        }
    }
    return false;
}

// A window side in points: from a quarter of the designed side up to kMaxWindowSide.
bool ReadSide(const char* text, int designed, int& out) {
    uint64_t n = 0;
    if (!ReadWholeNumber(text, Settings::kMaxWindowSide, n) || n < static_cast<uint64_t>(designed / 4)) return false;
    out = static_cast<int>(n);
    return true;
}

bool Space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Text from the file as a warning shows it: in quotes and cut short (the report escapes
// what a terminal cannot show, so that junk cannot garble it).
std::string Quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

// Where the first of `stops` is in `text`, or a comment (";" after a blank), or its end.
size_t Stop(std::string_view text, std::string_view stops) {
    for (size_t i = 0; i < text.size(); ++i)
        if (stops.find(text[i]) != std::string_view::npos || (text[i] == ';' && i > 0 && Space(text[i - 1])))
            return i;
    return text.size();
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && Space(text.front())) text.remove_prefix(1);
    while (!text.empty() && Space(text.back())) text.remove_suffix(1);
    return text;
}

enum Slot {
    kMusic,
    kEffects,
    kFullscreen,
    kWidth,
    kHeight,
    kVsync,
    kFirstKey,
    kShowHints = kFirstKey + Settings::kActionCount,
    kHintsDone,
    kRumble,
    kSafeRespawn,
    kSlotCount
};

// "steer, fire": the hints named, as bits; false on an unknown name.
bool ReadHints(const char* text, uint32_t& out, std::string& unknown) {
    uint32_t done = 0;
    std::string word;
    for (const char* c = text;; ++c) {
        if (*c && *c != ',' && !Space(*c)) {
            word += *c;
            continue;
        }
        if (!word.empty()) {
            int h = 0;
            while (h < Settings::kHintCount && !Is(word.c_str(), Settings::kHintEntries[h])) ++h;
            if (h == Settings::kHintCount) {
                unknown = word;
                return false;
            }
            done |= 1u << h;
            word.clear();
        }
        if (!*c) break;
    }
    out = done;
    return true;
}

// The file read line by line: "[section]", "name = value" (or "name: value"), blank
// lines and comments (";" or "#" first, or ";" after a blank within a line). Each line
// that is none of these, or whose entry is refused, is named by its number.
class Reading {
public:
    Reading(const std::string& path, std::ostream& warnings) : path_(path), warnings_(warnings) {}

    void Read(const std::string& text) {
        for (size_t pos = 0; pos < text.size();) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            Line(std::string_view(text.data() + pos, end - pos));
            pos = end + 1;
        }
    }

    // The settings once every line is read.
    Settings Finish() {
        for (int a = 0; a < Settings::kActionCount; ++a) {
            const int b = result_.ActionUsing(result_.keys[a], a);
            if (b < 0) continue;
            // The file's keys are distinct, so one of the two is on its default.
            const int given = keyLine_[a] ? a : b, other = given == a ? b : a;
            Warn(keyLine_[given], std::string(Settings::kKeyEntries[given]) + " = " +
                                      KeyNames::Name(result_.keys[given]) + " is " +
                                      Settings::kKeyEntries[other] +
                                      "'s key too (its default); every action is back on its designed key");
            for (int k = 0; k < Settings::kActionCount; ++k) result_.keys[k] = Settings::kDesignedKeys[k];
            break;
        }
        return result_;
    }

    void Warn(int line, const std::string& what) {
        if (++warned_ > kMaxWarnings + 1) return;
        if (warned_ > kMaxWarnings) {
            warnings_ << ReportLine(path_ + ": more problems; not listed");
            return;
        }
        warnings_ << ReportLine(path_ + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + what);
    }

private:
    void Line(std::string_view line) {
        ++line_;
        if (line_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos) return Warn(line_, "a NUL byte in the line; ignored");
        if (line.size() > kMaxLineBytes) return Warn(line_, "line too long; ignored");
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') return;
        const char* const notALine = "not a [section] or name = value line; ignored";
        if (line[0] == '[') {
            // The first ']' ends the name; what follows it counts for nothing.
            const size_t end = 1 + Stop(line.substr(1), "]");
            if (end == line.size() || line[end] != ']') return Warn(line_, notALine);
            section_ = line.substr(1, end - 1);
            const char* name = section_.c_str();
            if (!Is(name, "sound") && !Is(name, "display") && !Is(name, "keys") && !Is(name, "hints") &&
                !Is(name, "pad") && !Is(name, "play"))
                Warn(line_, "unknown section " + Quoted(section_) + "; ignored");
            return;
        }
        const size_t end = Stop(line, "=:");
        if (end == line.size() || line[end] == ';') return Warn(line_, notALine);
        const std::string name(Trimmed(line.substr(0, end)));
        std::string_view value = line.substr(end + 1);
        value = Trimmed(value.substr(0, Stop(value, "")));
        Take(section_.c_str(), name.c_str(), std::string(value).c_str());
    }

    static constexpr int kUnknownKey = -1;
    static constexpr int kUnknownSection = -2;  // told once, on the section's own line

    // Which setting an entry gives.
    static int SlotOf(const char* section, const char* name) {
        if (Is(section, "sound")) {
            if (Is(name, "music")) return kMusic;
            if (Is(name, "effects")) return kEffects;
        } else if (Is(section, "display")) {
            if (Is(name, "fullscreen")) return kFullscreen;
            if (Is(name, "width")) return kWidth;
            if (Is(name, "height")) return kHeight;
            if (Is(name, "vsync")) return kVsync;
        } else if (Is(section, "hints")) {
            if (Is(name, "show")) return kShowHints;
            if (Is(name, "done")) return kHintsDone;
        } else if (Is(section, "pad")) {
            if (Is(name, "rumble")) return kRumble;
        } else if (Is(section, "play")) {
            if (Is(name, "safe_respawn")) return kSafeRespawn;
        } else if (Is(section, "keys")) {
            for (int a = 0; a < Settings::kActionCount; ++a)
                if (Is(name, Settings::kKeyEntries[a])) return kFirstKey + a;
        } else {
            return kUnknownSection;
        }
        return kUnknownKey;
    }

    void Take(const char* section, const char* name, const char* value) {
        const std::string entry = Quoted(name);
        if (!*section) return Warn(line_, entry + " before any [section]; ignored");
        const int slot = SlotOf(section, name);
        if (slot == kUnknownSection) return;
        if (slot == kUnknownKey) return Warn(line_, "unknown key " + entry + " in [" + section + "]; ignored");
        if (taken_[slot]) return Warn(line_, entry + " given again; the first one counts");
        const bool key = slot >= kFirstKey && slot < kFirstKey + Settings::kActionCount;
        const std::string problem = key ? StoreKey(slot - kFirstKey, value, entry) : Store(slot, value, entry);
        if (!problem.empty()) return Warn(line_, problem);
        taken_[slot] = true;
    }

    // Stores a setting other than a key; the warning when the value is refused.
    std::string Store(int slot, const char* value, const std::string& entry) {
        const std::string bad = Quoted(value) + " for " + entry;
        if (slot == kMusic || slot == kEffects) {
            int& volume = slot == kMusic ? result_.musicVolume : result_.effectsVolume;
            if (!ReadVolume(value, volume)) return bad + " is not a whole number from 0 to 10; ignored";
        } else if (slot == kWidth || slot == kHeight) {
            const bool wide = slot == kWidth;
            const int designed = wide ? Settings::kDesignedWidth : Settings::kDesignedHeight;
            if (!ReadSide(value, designed, wide ? result_.windowWidth : result_.windowHeight))
                return bad + " is not a whole number from " + std::to_string(designed / 4) + " to " +
                       std::to_string(Settings::kMaxWindowSide) + "; ignored";
        } else if (slot == kVsync) {
            if (!VsyncFromName(value, result_.vsync)) return bad + " is not auto, on or off; ignored";
        } else if (slot == kFullscreen || slot == kShowHints || slot == kRumble || slot == kSafeRespawn) {
            bool& on = slot == kFullscreen  ? result_.fullscreen
                       : slot == kShowHints ? result_.hints
                       : slot == kRumble    ? result_.rumble
                                            : result_.safeRespawn;
            if (!ReadSwitch(value, on)) return bad + " is not true or false; ignored";
        } else if (slot == kHintsDone) {
            std::string unknown;
            if (!ReadHints(value, result_.hintsDone, unknown))
                return Quoted(unknown) + " in " + entry + " is not a hint; ignored";
        }
        return {};
    }

    // Binds the action's key; the warning when the key is refused.
    std::string StoreKey(int action, const char* value, const std::string& entry) {
        const std::string bad = Quoted(value) + " for " + entry;
        const uint32_t vk = KeyNames::FromName(value);
        if (!vk) return bad + " is not a key name; ignored";
        if (!Settings::Bindable(vk)) return bad + " cannot be bound; ignored";
        for (int a = 0; a < Settings::kActionCount; ++a)
            if (a != action && keyLine_[a] && result_.keys[a] == vk)
                return bad + ": line " + std::to_string(keyLine_[a]) + " gave that key to " +
                       Settings::kKeyEntries[a] + "; ignored";
        result_.keys[action] = vk;
        keyLine_[action] = line_;
        return {};
    }

    const std::string& path_;
    std::ostream& warnings_;
    Settings result_;
    int line_ = 0;
    std::string section_;  // as the last "[name]" line gave it; empty before the first
    int warned_ = 0;
    bool taken_[kSlotCount] = {};
    int keyLine_[Settings::kActionCount] = {};  // where the file set each key; 0 when it did not
};

}  // namespace

int Settings::ActionUsing(uint32_t key, int except) const {
    for (int a = 0; a < kActionCount; ++a)
        if (a != except && keys[a] == key) return a;
    return -1;
}

bool Settings::Bindable(uint32_t key) {
    if (key == VK_ESCAPE || IsPadKey(key)) return false;
    return !KeyNames::Name(key).empty();
}

std::string Settings::DefaultPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/brinegate/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/brinegate/settings.ini";
    return {};
}

Settings Settings::Load(const std::string& path, std::ostream& warnings, std::string* unwritable) {
    if (unwritable) unwritable->clear();
    try {
        DataFile file;
        if (!file.Read(path, kMaxFileBytes)) {
            if (file.error == ENOENT) return Settings();  // a new player
            // A file the game could not read whole is the player's, not the game's to replace.
            const std::string why = file.why == DataFile::kTooLarge ? "larger than 64 KiB, so not a settings file"
                                    : file.why == DataFile::kNotRegular ? "it is " + DataFile::Kind(file.mode)
                                                                        : "cannot be read (" + file.why + ")";
            if (unwritable) *unwritable = why;
            warnings << ReportLine(path + ": " + why + "; the defaults are used" +
                                   (unwritable ? " and kept in memory only: this run never writes over it" : ""));
            return Settings();
        }
        Reading reading(path, warnings);
        reading.Read(file.bytes);
        return reading.Finish();
    } catch (...) {
        return Settings();  // out of memory, or a warnings stream set to throw
    }
}

std::string Settings::Text() const {
    std::string t = "# Brinegate settings (written by the game; edit while it is not running)\n";
    t += "[sound]\nmusic = " + std::to_string(musicVolume) + "\neffects = " + std::to_string(effectsVolume) + "\n";
    t += std::string("[display]\nfullscreen = ") + (fullscreen ? "true" : "false") + "\n";
    t += "width = " + std::to_string(windowWidth) + "\nheight = " + std::to_string(windowHeight) + "\n";
    t += std::string("vsync = ") + VsyncName(vsync) + "\n[keys]\n";
    for (int a = 0; a < kActionCount; ++a) t += std::string(kKeyEntries[a]) + " = " + KeyNames::Name(keys[a]) + "\n";
    t += std::string("[hints]\nshow = ") + (hints ? "true" : "false") + "\ndone =";
    for (int h = 0; h < kHintCount; ++h)
        if (hintsDone & (1u << h)) t += std::string(" ") + kHintEntries[h];
    t += std::string("\n[pad]\nrumble = ") + (rumble ? "true" : "false") + "\n";
    t += std::string("[play]\nsafe_respawn = ") + (safeRespawn ? "true" : "false") + "\n";
    return t;
}

bool Settings::Save(const std::string& path, std::string& error) const {
    if (std::filesystem::path(path).filename().empty()) {
        error = "cannot save the settings to \"" + path + "\": not a file name";
        return false;
    }
    return WholeFile::Write(path, Text(), error);
}

bool Settings::operator==(const Settings& other) const {
    for (int a = 0; a < kActionCount; ++a)
        if (keys[a] != other.keys[a]) return false;
    return musicVolume == other.musicVolume && effectsVolume == other.effectsVolume &&
           fullscreen == other.fullscreen && windowWidth == other.windowWidth &&
           windowHeight == other.windowHeight && vsync == other.vsync && hints == other.hints &&
           hintsDone == other.hintsDone && rumble == other.rumble && safeRespawn == other.safeRespawn;
}

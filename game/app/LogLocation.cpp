#include "app/LogLocation.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Report.h"
#include "objects/GOManager.h"

namespace fs = std::filesystem;

namespace {

bool Set(const char* value) { return value && *value; }

// Joins without doubling the separator when the folder already ends in one.
std::string Join(const std::string& folder, const char* leaf) {
    if (!folder.empty() && folder.back() == '/') return folder + leaf;
    return folder + "/" + leaf;
}

// Opens the log in folder; returns its path, or an empty string when it cannot be.
std::string OpenIn(const std::string& folder) {
    if (folder.empty()) return {};
    if (folder == ".") {
        // Already there since start-up, unless the file itself refused.
        if (goManager.log.IsOpen() && goManager.LogPath() == GOManager::kLogName)
            return GOManager::kLogName;
        return goManager.OpenLogAt(GOManager::kLogName) ? GOManager::kLogName : std::string();
    }
    std::error_code ignored;  // a folder that cannot be made shows when the file cannot be opened
    fs::create_directories(folder, ignored);
    const std::string path = Join(folder, GOManager::kLogName);
    return goManager.OpenLogAt(path) ? path : std::string();
}

}  // namespace

std::string ChooseLogFolder(bool workingDirWritable, const std::string& logDirOption,
                            const char* xdgStateHome, const char* home) {
    if (!logDirOption.empty()) return logDirOption;
    if (workingDirWritable) return ".";
    if (Set(xdgStateHome) && xdgStateHome[0] == '/') return Join(xdgStateHome, "brinegate");
    if (Set(home)) return Join(Join(home, ".local/state"), "brinegate");
    return {};
}

namespace {

// A log of this game's own, beside the user's other state; empty if none can be opened.
std::string OpenOwnLog(const std::string& folder) {
    if (folder.empty()) return {};
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    const std::string name = "GOManLog." + std::to_string(getpid()) + ".txt";
    const std::string path = Join(folder, name.c_str());
    return goManager.OpenLogAt(path) ? path : std::string();
}

// Tells the player when the log is not where they would look for it, or not kept at all.
// `refused` is the first file tried and `why` what was wrong with it, when it was refused.
void ReportPlace(const std::string& busy, const std::string& path, const std::string& folder,
                 const std::string& logDirOption, const std::string& refused, const std::string& why) {
    const std::string because = why.empty() ? std::string() : " (" + why + ")";
    if (!busy.empty()) {
        if (!path.empty())
            Report("the trace log \"" + busy + "\" is in use by another game; this one's log goes to \"" + path +
                   "\"");
        else
            Report("the trace log \"" + busy + "\" is in use by another game and no other place can be written; "
                   "running without it");
    } else if (path.empty()) {
        if (!logDirOption.empty())
            Report("cannot write the trace log in \"" + logDirOption + "\"" + because + "; running without it");
        else if (!folder.empty())
            Report("cannot write the trace log here or in \"" + folder + "\"" + because + "; running without it");
        else
            Report("cannot write the trace log here" + because + " and HOME is not set; running without it");
    } else if (!refused.empty() && !why.empty()) {
        Report("cannot write the trace log \"" + refused + "\"" + because + "; it goes to \"" + path + "\"");
    }
}

}  // namespace

std::string PlaceLog(bool workingDirWritable, const std::string& logDirOption,
                     const char* xdgStateHome, const char* home) {
    std::string folder = ChooseLogFolder(workingDirWritable, logDirOption, xdgStateHome, home);
    std::string path = OpenIn(folder);
    const std::string refused = path.empty() ? goManager.LogPath() : std::string();
    const std::string why = path.empty() ? goManager.log.Refusal() : std::string();
    if (path.empty() && !goManager.log.Busy() && folder == "." && logDirOption.empty()) {
        folder = ChooseLogFolder(false, logDirOption, xdgStateHome, home);
        path = OpenIn(folder);
    }
    // Another game started in the same folder is writing that file: this one's log goes
    // beside the user's other state under a name of its own, leaving theirs alone.
    std::string busy;
    if (path.empty() && goManager.log.Busy()) {
        busy = goManager.LogPath();
        folder = ChooseLogFolder(false, "", xdgStateHome, home);
        path = OpenOwnLog(folder);
    }

    // A file opened before and left when the log moved was removed by its Close if the
    // log had made it; one that was there before is left as it was.
    // Without a log, the last place tried says why; with one elsewhere, the first.
    const std::string reason = path.empty() && !goManager.log.Refusal().empty() ? goManager.log.Refusal() : why;
    ReportPlace(busy, path, folder, logDirOption, refused, reason);
    return path;
}

std::string ApplyLogLocation(const std::string& logDirOption) {
    return PlaceLog(access(".", W_OK) == 0, logDirOption, std::getenv("XDG_STATE_HOME"),
                    std::getenv("HOME"));
}

// Settings files from arbitrary bytes. Besides not crashing, what is read is always a
// set the game can use (volumes in range, every key bindable, no two actions on one
// key), its warnings hold only what a terminal can show, and once saved it reads back the
// same without a warning.
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "Report.h"
#include "store/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteScratch("settings.ini", data, size);
    std::ostringstream warnings;
    const Settings read = Settings::Load(path, warnings);
    if (read.musicVolume < 0 || read.musicVolume > Settings::kMaxVolume || read.effectsVolume < 0 ||
        read.effectsVolume > Settings::kMaxVolume)
        fuzz::Fail("volumes %d and %d read", read.musicVolume, read.effectsVolume);
    if (read.windowWidth < Settings::kDesignedWidth / 4 || read.windowWidth > Settings::kMaxWindowSide ||
        read.windowHeight < Settings::kDesignedHeight / 4 || read.windowHeight > Settings::kMaxWindowSide)
        fuzz::Fail("window %d x %d read", read.windowWidth, read.windowHeight);
    for (int a = 0; a < Settings::kActionCount; ++a) {
        if (!Settings::Bindable(read.keys[a])) fuzz::Fail("%s read as key %u", Settings::kKeyEntries[a], read.keys[a]);
        if (read.ActionUsing(read.keys[a], a) >= 0) fuzz::Fail("two actions read on key %u", read.keys[a]);
    }
    // Whatever the file holds, the terminal is shown only what it can show.
    std::istringstream lines(warnings.str());
    for (std::string line; std::getline(lines, line);)
        if (Showable(line) != line) fuzz::Fail("a warning with bytes a terminal cannot show: %s", Showable(line).c_str());
    std::string error;
    if (!read.Save(path, error)) fuzz::Fail("cannot save: %s", error.c_str());
    std::ostringstream again;
    if (Settings::Load(path, again) != read || !again.str().empty())
        fuzz::Fail("saved settings read back otherwise: %s", again.str().c_str());
    return 0;
}

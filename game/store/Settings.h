#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "FramePacer.h"
#include "WindowMessages.h"

// What the player chose and the game keeps between runs: volumes, the window's mode,
// size and swap sync, and the keys of the actions. Kept in an INI file that Save writes whole.
struct Settings {
    enum Action : int { kSteerLeft, kSteerRight, kRepair, kSea, kGold, kPause, kActionCount };
    // The keys as the game was designed.
    static constexpr uint32_t kDesignedKeys[kActionCount] = {'A', 'D', 'R', VK_SPACE, 'M', 'P'};
    // Names of the actions in the file's [keys] section.
    static const char* const kKeyEntries[kActionCount];
    // Names of the actions on screen.
    static const char* const kActionLabels[kActionCount];
    static constexpr int kMaxVolume = 10;
    static constexpr int kDesignedMusicVolume = 2;  // 2 of 10: the music stream's volume 0.2
    // What a new player is shown until done once; names in the [hints] section's list.
    enum Hint : int { kHintSteer, kHintFire, kHintTower, kHintChest, kHintBuy, kHintSea, kHintCount };
    static const char* const kHintEntries[kHintCount];

    int musicVolume = kDesignedMusicVolume;  // 0..kMaxVolume
    int effectsVolume = kMaxVolume;          // 0..kMaxVolume
    bool fullscreen = false;
    // The window's size in points when not full screen, as the player left it.
    static constexpr int kDesignedWidth = 800;
    static constexpr int kDesignedHeight = 600;
    static constexpr int kMaxWindowSide = 16384;
    int windowWidth = kDesignedWidth;
    int windowHeight = kDesignedHeight;
    Vsync vsync = Vsync::kAuto;
    uint32_t keys[kActionCount] = {kDesignedKeys[0], kDesignedKeys[1], kDesignedKeys[2],
                                   kDesignedKeys[3], kDesignedKeys[4], kDesignedKeys[5]};
    bool hints = true;        // hints shown until done
    uint32_t hintsDone = 0;   // bit per Hint
    bool rumble = true;       // a pad rumbles on hits and sinkings
    // A sunk ship comes back clear of the enemy and spared for a moment (Game::safeRespawn).
    bool safeRespawn = true;

    // The action other than `except` that uses `key`, or -1.
    int ActionUsing(uint32_t key, int except) const;
    // A key an action may take: one with a name, not Escape (it backs out of menus)
    // and not a pad's (the pad has its own fixed meanings).
    static bool Bindable(uint32_t key);

    // $XDG_CONFIG_HOME/brinegate/settings.ini when that is an absolute path, else
    // $HOME/.config/brinegate/settings.ini; empty when neither is set.
    static std::string DefaultPath();

    // Reads the file over the defaults; never throws. A missing file gives the
    // defaults silently. Every other problem costs only the entry it is on: that
    // entry keeps its default and one line naming file:line goes to `warnings`.
    // An entry given twice: the first valid one counts. Keys: an action whose key
    // an earlier line already gave to another action keeps its default; if a
    // default then shares a key with an action the file set, every action gets its
    // designed key back (with a warning), so no two actions ever share a key.
    // A file that is there but cannot be read whole (too large, unreadable, a pipe, a
    // device, a folder) gives the defaults with one warning, and `unwritable`, when
    // given, gets the reason: the caller must then not write over the file.
    static Settings Load(const std::string& path, std::ostream& warnings, std::string* unwritable = nullptr);

    // Writes the whole file through a temporary file renamed over the old one, so
    // a crash leaves either the old file or the new one; a symbolic link is followed
    // and stays, and anything but a regular file is refused. On failure returns false
    // with `error` naming the path and the reason; the old file is untouched.
    bool Save(const std::string& path, std::string& error) const;

    // The file's text as Save writes it.
    std::string Text() const;

    bool operator==(const Settings& other) const;
    bool operator!=(const Settings& other) const { return !(*this == other); }
};

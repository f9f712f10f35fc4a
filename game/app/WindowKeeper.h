#pragma once

#include <string>

#include "store/Settings.h"

class Platform;

// The window's size and full screen, kept in the settings from one start to the next:
// the window opens as the player left it, and what the player changed is written back.
class WindowKeeper {
public:
    // Before the window opens: the kept size (the platform shrinks it to the screen).
    static void Open(Platform& platform, const Settings& settings);
    // Once the window is open and full screen or not: what it started as.
    void Started(const Platform& platform);
    // `settings` with the window as it is now, where the player changed it since
    // Started. A start full screen by the command line alone is not kept.
    Settings Kept(const Platform& platform, Settings settings) const;
    // Writes Kept to `path` when it differs from `settings`; a failure is told on stderr.
    void Finish(const Platform& platform, const Settings& settings, const std::string& path) const;

private:
    bool started_ = false;
    bool fullscreen_ = false;
    int width_ = 0;
    int height_ = 0;
};

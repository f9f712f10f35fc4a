#include "app/WindowKeeper.h"

#include <algorithm>
#include <cstdio>

#include "Platform.h"
#include "Report.h"

void WindowKeeper::Open(Platform& platform, const Settings& settings) {
    platform.SetStartSize(settings.windowWidth, settings.windowHeight);
}

void WindowKeeper::Started(const Platform& platform) {
    fullscreen_ = platform.IsFullscreen();
    started_ = platform.WindowedSize(width_, height_);
}

Settings WindowKeeper::Kept(const Platform& platform, Settings settings) const {
    int width = 0, height = 0;
    // A size shrunk to a smaller screen stays as it was kept until the player changes it.
    if (started_ && platform.WindowedSize(width, height) && (width != width_ || height != height_)) {
        // Within what the file takes back.
        settings.windowWidth = std::clamp(width, Settings::kDesignedWidth / 4, Settings::kMaxWindowSide);
        settings.windowHeight = std::clamp(height, Settings::kDesignedHeight / 4, Settings::kMaxWindowSide);
    }
    if (platform.IsFullscreen() != fullscreen_) settings.fullscreen = platform.IsFullscreen();
    return settings;
}

void WindowKeeper::Finish(const Platform& platform, const Settings& settings, const std::string& path) const {
    const Settings kept = Kept(platform, settings);
    if (path.empty() || kept == settings) return;
    std::string error;
    if (!kept.Save(path, error)) Report(error);
}

// The window as the player leaves it (size and full screen) is where the next start
// opens; a kept size larger than the screen opens shrunk to it and stays kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "GlTestContext.h"
#include "Program.h"
#include "ScriptedPlatform.h"
#include "Settings.h"

namespace {

struct Opened {
    int width = 0, height = 0;
    bool fullscreen = false;
};

// One start of --frames 12; `change` runs at frame 4. Returns the window as it opened.
template <typename Change>
Opened Start(const Options& options, Change change) {
    ScriptedPlatform platform;
    Opened opened;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        if (frame == 1) {
            SDL_GetWindowSize(p.Window(), &opened.width, &opened.height);
            opened.fullscreen = p.IsFullscreen();
        }
        if (frame == 4) change(p);
    };
    EXPECT_EQ(Program::Run(platform, options), 0);
    return opened;
}

TEST(WindowKept, SizeAndFullScreenAreWhereTheNextStartOpens) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Options options;
    options.configPath = "window/settings.ini";
    options.unpaced = true;
    options.noSound = true;
    options.frames = 12;
    std::ostringstream warnings;

    const Opened first = Start(options, [](ScriptedPlatform& p) { SDL_SetWindowSize(p.Window(), 1000, 700); });
    EXPECT_EQ(first.width, 800);
    Settings kept = Settings::Load(options.configPath, warnings);
    EXPECT_EQ(kept.windowWidth, 1000);
    EXPECT_EQ(kept.windowHeight, 700);
    EXPECT_FALSE(kept.fullscreen);

    const Opened second = Start(options, [](ScriptedPlatform& p) { p.SetFullscreen(true); });
    EXPECT_EQ(second.width, 1000);
    EXPECT_EQ(second.height, 700);
    kept = Settings::Load(options.configPath, warnings);
    EXPECT_TRUE(kept.fullscreen);
    EXPECT_EQ(kept.windowWidth, 1000) << "the window's size, not the screen's";

    const Opened third = Start(options, [](ScriptedPlatform&) {});
    EXPECT_TRUE(third.fullscreen);

    // Larger than the screen (1024 x 768 under the test's X server): shrunk, not forgotten.
    kept.windowWidth = 3000;
    kept.windowHeight = 2000;
    kept.fullscreen = false;
    std::string error;
    ASSERT_TRUE(kept.Save(options.configPath, error)) << error;
    SDL_Rect screen;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &screen), 0);
    const Opened shrunk = Start(options, [](ScriptedPlatform&) {});
    EXPECT_EQ(shrunk.width, std::min(3000, screen.w));
    EXPECT_EQ(shrunk.height, std::min(2000, screen.h));
    EXPECT_EQ(Settings::Load(options.configPath, warnings).windowWidth, 3000);
    EXPECT_EQ(warnings.str(), "");
}

}  // namespace

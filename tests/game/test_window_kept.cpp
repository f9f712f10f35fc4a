// A kept size larger than the screen opens shrunk to it; the window as the player left
// it is where the next start opens.
#include <gtest/gtest.h>

#include <cstdlib>

#include "GlTestContext.h"
#include "ScriptedPlatform.h"
#include "app/Program.h"
#include "store/Settings.h"

TEST(WindowKept, SizeAndFullScreenOpenTheNextStartAndASizeTooLargeIsShrunk) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Options options;
    options.configPath = "window/settings.ini";
    options.unpaced = options.noSound = true;
    options.frames = 6;
    Settings large;
    large.windowWidth = 3000;  // the tests' X server has a 1024 x 768 screen
    std::string error;
    ASSERT_TRUE(large.Save(options.configPath, error)) << error;
    int width = 0, height = 0;  // each start's window at its first frame; changed at its second
    auto start = [&](auto change) {
        ScriptedPlatform platform;
        platform.step = [&](ScriptedPlatform& p, int frame) {
            if (frame == 1) p.WindowedSize(width, height);
            if (frame == 2) change(p);
        };
        EXPECT_EQ(Program(platform, options).Run(), 0);
        return platform.IsFullscreen();
    };
    start([](ScriptedPlatform& p) { SDL_SetWindowSize(p.Window(), 1000, 700); p.SetFullscreen(true); });
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1024, 600));
    EXPECT_FALSE(start([](ScriptedPlatform& p) { p.SetFullscreen(!p.IsFullscreen()); })) << "it opened full screen";
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(1000, 700));
}

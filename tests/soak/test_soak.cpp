// A long game of random input through the real entry point: it ends cleanly (the
// sanitizers watch every frame) with the objects bounded and the memory no larger at
// the end than early on. BRINEGATE_SOAK_FRAMES sets the length (default 20000).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "GOManager.h"
#include "GlTestContext.h"
#include "ScriptedPlay.h"

namespace {

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

TEST(Soak, LongRandomGameStaysBoundedAndEndsCleanly) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    const char* env = std::getenv("BRINEGATE_SOAK_FRAMES");
    const int frames = env ? std::atoi(env) : 20000;
    ASSERT_GT(frames, 5000);

    ScriptedPlatform platform;
    RandomPlayer player{2024, 3000};
    int mostObjects = 0, playFrames = 0, returnsToMenu = 0, lastPhase = Game::kMenu;
    long residentEarly = 0, residentLate = 0;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        const int phase = Program::game->phase;
        mostObjects = std::max(mostObjects, goManager.objects.Count());
        playFrames += phase == Game::kPlaying;
        returnsToMenu += phase == Game::kMenu && lastPhase == Game::kPlaying;
        lastPhase = phase;
        if (frame == 5000) residentEarly = ResidentBytes();
        if (frame == frames) residentLate = ResidentBytes();
        player(p, frame);
    };
    Options options;
    options.unpaced = options.hasSeed = true;
    options.seed = 31337;
    options.frames = static_cast<uint64_t>(frames);
    EXPECT_EQ(Program::Run(platform, options), 0);

    EXPECT_EQ(platform.frame, frames) << "ran to the frame limit, not to a quit";
    EXPECT_GT(playFrames, frames / 2) << "mostly at sea, not in the menu";
    EXPECT_GE(returnsToMenu, 2) << "back to the menu and on to a new game, more than once";
    EXPECT_LT(mostObjects, 3000);
    EXPECT_GT(residentEarly, 0);
    EXPECT_LE(residentLate, residentEarly + residentEarly / 10)
        << residentEarly / 1024 << " KiB at frame 5000, " << residentLate / 1024 << " KiB at the end";
    RecordProperty("most_objects", mostObjects);
    RecordProperty("resident_kib_at_5000", static_cast<int>(residentEarly / 1024));
    RecordProperty("resident_kib_at_end", static_cast<int>(residentLate / 1024));
}

}  // namespace

// A long game of random input through the real entry point: it ends cleanly (the
// sanitizers watch every frame) with the objects bounded and the memory no larger at
// the end than early on; and a player who sails off and does nothing does not face an
// ever larger fleet. BRINEGATE_SOAK_FRAMES sets the length (default 20000); the object
// count is printed every 18000 frames (five minutes of play).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "GlTestContext.h"
#include "ScriptedPlay.h"
#include "objects/GOManager.h"

namespace {

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

int SoakFrames() {
    const char* env = std::getenv("BRINEGATE_SOAK_FRAMES");
    return env ? std::atoi(env) : 20000;
}

// Live objects at the end of every five minutes of play, and the most at any frame.
struct ObjectCount {
    void operator()(int frame) {
        const int now = goManager.objects.Count();
        most = std::max(most, now);
        if (frame % 18000 == 0) std::printf("%s: %d objects at frame %d, %d at most\n", name, now, frame, most);
    }
    const char* name;
    int most = 0;
};

// Measured over these 20000 frames: an idle player met 114 objects at most, a fighting
// one 264; before the fleets were bounded, 219 and 449.
constexpr int kIdleBound = 170;
constexpr int kObjectBound = 350;

TEST(Soak, AnIdlePlayerDoesNotFaceAnEverLargerFleet) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    const int frames = SoakFrames();
    ScriptedPlatform platform;
    ObjectCount count{"idle"};
    platform.step = [&](ScriptedPlatform& p, int frame) {
        count(frame);
        if (Program::RunningGame()->phase == Game::kMenu && frame % 60 == 0) {
            p.cursor = Vec2(200, 200);  // "Play!", then nothing but the odd turn of the helm
            p.Post(WM_LBUTTONDOWN);
            p.Post(WM_LBUTTONUP);
        }
    };
    Options options;
    options.unpaced = options.hasSeed = true;
    options.seed = 4242;
    options.frames = static_cast<uint64_t>(frames);
    EXPECT_EQ(Program(platform, options).Run(), 0);
    EXPECT_LT(count.most, kIdleBound);
    RecordProperty("most_objects", count.most);
}

TEST(Soak, LongRandomGameStaysBoundedAndEndsCleanly) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    const int frames = SoakFrames();
    ASSERT_GT(frames, 5000);

    ScriptedPlatform platform;
    RandomPlayer player{2024, 3000};
    ObjectCount count{"fighting"};
    int playFrames = 0, returnsToMenu = 0, lastPhase = Game::kMenu;
    long residentEarly = 0, residentLate = 0;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        const int phase = Program::RunningGame()->phase;
        count(frame);
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
    EXPECT_EQ(Program(platform, options).Run(), 0);

    EXPECT_EQ(platform.frame, frames) << "ran to the frame limit, not to a quit";
    EXPECT_GT(playFrames, frames / 2) << "mostly at sea, not in the menu";
    EXPECT_GE(returnsToMenu, 2) << "back to the menu and on to a new game, more than once";
    EXPECT_LT(count.most, kObjectBound);
    EXPECT_GT(residentEarly, 0);
    EXPECT_LE(residentLate, residentEarly + residentEarly / 10)
        << residentEarly / 1024 << " KiB at frame 5000, " << residentLate / 1024 << " KiB at the end";
    RecordProperty("most_objects", count.most);
    RecordProperty("resident_kib_at_5000", static_cast<int>(residentEarly / 1024));
    RecordProperty("resident_kib_at_end", static_cast<int>(residentLate / 1024));
}

}  // namespace

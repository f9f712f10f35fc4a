// Recording a game and playing it back: the replay ends in the recorded state (same
// digest) whatever live input arrives, a pause in the background changes nothing, another
// seed ends elsewhere, and files that are not whole recordings are refused up front.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "DigestRun.h"
#include "FakePlatform.h"
#include "GlTestContext.h"
#include "ScriptedPlay.h"
#include "SoundManager.h"
#include "play/StateDigest.h"
#include "store/Recording.h"
#include "store/Settings.h"

namespace {

namespace fs = std::filesystem;

// Runs the program unpaced and returns its status and the digest it printed.
std::pair<int, std::string> Play(Options options, ScriptedPlatform& platform) {
    int status = 0;
    std::string digest = Digest(options, platform, status);
    return {status, digest};
}

// Goes to the background after frame 1500 and comes back when the run sleeps for it.
struct BackgroundedPlatform : ScriptedPlatform {
    void WaitMessage(int) override {
        if (++waits == 4) Post(WM_SETFOCUS);
    }
    int waits = 0;
};

TEST(Replay, ReplayReachesTheRecordedStateAndAnotherSeedDoesNot) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Options record;
    record.recordPath = "game.rec";
    record.hasSeed = true;
    record.seed = 1234;
    record.frames = 3000;
    BackgroundedPlatform live;
    RandomPlayer player{7};
    // 'P' pauses at frame 2000 and resumes at 2200; the paused world stands still.
    uint64_t pausedAt = 0;
    bool stoodStill = false;
    live.step = [&](ScriptedPlatform& p, int frame) {
        if (frame >= 2000 && frame < 2200) {
            if (frame == 2000) p.Key(Game::kPauseKey);
            if (frame == 2100) pausedAt = ComputeStateDigest(Program::RunningGame());
            if (frame == 2199) {
                stoodStill = Program::RunningGame()->paused && ComputeStateDigest(Program::RunningGame()) == pausedAt;
                p.Key(Game::kPauseKey);
            }
            return;
        }
        player(p, frame);
        if (frame == 1500) {
            p.Post(WM_SETFOCUS);
            p.Post(WM_KILLFOCUS);
        }
    };
    const auto recorded = Play(record, live);
    ASSERT_EQ(recorded.first, 0);
    EXPECT_EQ(live.frame, 3000);
    EXPECT_EQ(live.waits, 0) << "an unpaced run goes on in the background";
    EXPECT_TRUE(stoodStill) << "paused from frame 2000 with the world unchanged";
    EXPECT_FALSE(soundManager.IsMuted());
    Recording file;
    std::string error;
    ASSERT_TRUE(LoadRecording("game.rec", file, error)) << error;
    EXPECT_EQ(file.seed, 1234u);
    EXPECT_EQ(file.frames, 3000u);
    EXPECT_GT(file.messages.size(), 300u) << "the player did play";
    EXPECT_EQ(FormatDigest(file.digest), recorded.second);

    // Live input, Escape every 100 frames among it (from the menu it would quit): ignored.
    Options replay;
    replay.replayPath = "game.rec";
    ScriptedPlatform meddler;
    RandomPlayer other{99};
    meddler.step = [&](ScriptedPlatform& p, int frame) {
        other(p, frame);
        if (frame % 100 == 0) p.Key(VK_ESCAPE);
    };
    const auto replayed = Play(replay, meddler);
    EXPECT_EQ(replayed.first, 0) << "1 would mean it missed the digest stored in the file";
    EXPECT_EQ(meddler.frame, 3000) << "ends after the last recorded frame";
    EXPECT_EQ(replayed.second, recorded.second);

    record.seed = 1235;
    ScriptedPlatform same;
    same.step = RandomPlayer{7};
    const auto reseeded = Play(record, same);
    EXPECT_EQ(reseeded.first, 0);
    EXPECT_NE(reseeded.second, recorded.second);
}

// A game recorded with the safe respawn on (its ship stirs the ghost sea until it sinks,
// and comes back spared) keeps the rule in the file and replays to its digest under a
// player who has it off; the same input under the other rule ends elsewhere.
TEST(Replay, TheSafeRespawnTravelsWithTheRecording) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Settings on, off;
    on.safeRespawn = true;
    off.safeRespawn = false;
    std::string error;
    ASSERT_TRUE(on.Save("assist-on.ini", error)) << error;
    ASSERT_TRUE(off.Save("assist-off.ini", error)) << error;

    Options record;
    record.recordPath = "assist.rec";
    record.configPath = "assist-on.ini";
    record.hasSeed = true;
    record.seed = 4321;
    record.frames = 1200;
    ScriptedPlatform live;
    RandomPlayer menu{3};
    bool spared = false;
    live.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (game->phase == Game::kMenu) return menu(p, frame);
        if (const MerchantShip* ship = game->playerShip.Get()) spared = spared || ship->InGrace();
        // Into the ghost sea, 40 stirs at a cost of 1 health each, and back.
        const int stir = frame % 1000;
        if (stir == 300 || stir == 420) p.Key(VK_SPACE);
        else if (stir > 320 && stir <= 400 && stir % 2 == 0) p.Post(WM_RBUTTONDOWN);
        else if (stir > 320 && stir <= 400) p.Post(WM_RBUTTONUP);
    };
    const auto recorded = Play(record, live);
    ASSERT_EQ(recorded.first, 0);
    EXPECT_TRUE(spared) << "the ship sank and came back in its grace";
    std::ifstream in("assist.rec");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nsafe-respawn on\n"), std::string::npos);

    Options replay;
    replay.replayPath = "assist.rec";
    replay.configPath = "assist-off.ini";
    ScriptedPlatform idle;
    const auto replayed = Play(replay, idle);
    EXPECT_EQ(replayed.first, 0);
    EXPECT_EQ(replayed.second, recorded.second);

    std::string other = text.str();
    other.replace(other.find("safe-respawn on"), 15, "safe-respawn off");
    std::ofstream("assist-off.rec") << other;
    replay.replayPath = "assist-off.rec";
    ScriptedPlatform again;
    const auto otherRule = Play(replay, again);
    EXPECT_EQ(otherRule.first, 1) << "the other rule misses the recorded digest";
    EXPECT_NE(otherRule.second, recorded.second);
}

TEST(Replay, FilesThatAreNotWholeRecordingsAreRefusedBeforeAnythingIsShown) {
    const std::string whole = "brinegate-recording 1\nseed 5\nm 3 256 65 0\nc 3 10 20\nend 9\n";
    const char* cases[][4] = {
        // name, content, "file:line:" named, reason
        {"notes.txt", "shopping list\nmilk\n", "notes.txt:1:", "not a recording"},
        {"empty.rec", "", "empty.rec:1:", "not a recording"},
        {"future.rec", "brinegate-recording 3\nseed 5\nend 9\n", "future.rec:1:", "version 3"},
        {"samekey.rec", "brinegate-recording 2\nseed 5\nkeys 65 65 82 32 77 80\nend 9\n", "samekey.rec:3:", "different keys"},
        {"escape.rec", "brinegate-recording 2\nseed 5\nkeys 27 68 82 32 77 80\nend 9\n", "escape.rec:3:", "can use"},
        {"noend.rec", "brinegate-recording 1\nseed 5\nm 3 256 65 0\nc 3 10 20\n", "noend.rec:5:", "cut short"},
        {"midline.rec", "brinegate-recording 1\nseed 5\nm 3 256 65 0\nc 3 1", "midline.rec:4:", "cut short"},
        {"garbled.rec", "brinegate-recording 1\nseed 5\nm 3 256 x 0\nend 9\n", "garbled.rec:3:", "expected"},
        {"backwards.rec", "brinegate-recording 1\nseed 5\nc 4 1 1\nc 3 1 1\nend 9\n", "backwards.rec:4:", "frame 3"},
        {"twice.rec", "brinegate-recording 2\nseed 5\nkeys 65 68 82 32 77 80\nsafe-respawn on\nsafe-respawn on\nend 9\n", "twice.rec:5:", "given again"},
        {"no-such.rec", nullptr, "no-such.rec", "cannot be read"},
    };
    // What is no plain file is refused without being read (a FIFO with no writer would
    // block); a token is quoted short and printable, a line past the cap is not read on.
    fs::create_directory("folder.rec");
    ASSERT_EQ(mkfifo("pipe.rec", 0600), 0);
    const std::string wild = std::string("\x1b[31m") + '\0' + std::string(100000, 'x');
    std::ofstream("wild.rec", std::ios::binary) << "brinegate-recording 1\nseed 5\n" << wild.substr(0, 3000) << " 1\nend 9\n";
    std::ofstream("long.rec", std::ios::binary) << "brinegate-recording 1\nseed 5\n" << wild << "\nend 9\n";
    const char* files[][3] = {{"folder.rec", "folder.rec: cannot be read as a recording", "folder"},
                              {"pipe.rec", "pipe.rec: cannot be read as a recording", "pipe"},
                              {"/dev/zero", "/dev/zero: cannot be read as a recording", "device"},
                              {"wild.rec", "wild.rec:3: unknown line", "\\x1b[31m\\x00xxx"},
                              {"long.rec", "long.rec:3:", "longer than 4096"}};
    for (const auto& c : files) {
        FakePlatform platform;
        platform.windowOk = false;
        Options options;
        options.replayPath = c[0];
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Program(platform, options).Run(), 2) << c[0];
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(c[1]), std::string::npos) << err;
        EXPECT_NE(err.find(c[2]), std::string::npos) << err;
        EXPECT_LT(err.size(), 200u) << c[0];
        EXPECT_EQ(err.find_first_of(std::string("\x1b") + '\0'), std::string::npos) << c[0];
    }

    for (const auto& c : cases) {
        if (c[1]) std::ofstream(c[0], std::ios::binary) << c[1];
        FakePlatform platform;
        platform.windowOk = false;  // reaching the window would end with status 1, not 2
        Options options;
        options.replayPath = c[0];
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Program(platform, options).Run(), 2) << c[0];
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(c[2]), std::string::npos) << err;
        EXPECT_NE(err.find(c[3]), std::string::npos) << err;
    }
    std::istringstream in(whole);
    Recording r;
    std::string error;
    ASSERT_TRUE(ParseRecording(in, "whole", r, error)) << error;
    ASSERT_EQ(r.messages.size() + r.cursors.size(), 2u);
    EXPECT_EQ(r.messages[0].frame, 3u);
    EXPECT_EQ(r.messages[0].message.message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(r.messages[0].message.wParam, static_cast<uint64_t>('A'));
    EXPECT_EQ(r.cursors[0].position, Vec2(10, 20));
    EXPECT_EQ(r.frames, 9u);

    FakePlatform platform;
    Options unwritable;
    unwritable.recordPath = "no-such-folder/game.rec";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Program(platform, unwritable).Run(), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no-such-folder/game.rec"), std::string::npos);
}

}  // namespace

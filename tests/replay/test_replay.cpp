// Recording a game and playing it back: a replay reaches the recorded end state (same
// digest) whatever live input arrives, a pause in the background changes nothing, a
// different seed ends elsewhere, and files that are not whole recordings are refused
// before anything is shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "FakePlatform.h"
#include "GlTestContext.h"
#include "Options.h"
#include "Program.h"
#include "Recording.h"
#include "ScriptedPlay.h"
#include "SoundManager.h"
#include "StateDigest.h"

namespace {

constexpr int kFrames = 3000;

struct Outcome {
    int status = -1;
    std::string digest;  // as printed
    int frames = 0;
};

// Plays the random player's game and returns what the program printed.
Outcome Play(Options options, ScriptedPlatform& platform) {
    options.unpaced = true;
    options.printDigest = true;
    ::testing::internal::CaptureStdout();
    Outcome out;
    out.status = Program::Run(platform, options);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    const size_t at = printed.rfind("digest ");
    if (at != std::string::npos) out.digest = printed.substr(at, 23);
    out.frames = platform.frame;
    return out;
}

// Goes to the background at one frame and comes back after a few sleeps, checking
// that the sound is muted meanwhile.
class BackgroundedPlatform : public ScriptedPlatform {
public:
    void WaitMessage(int timeoutMs) override {
        (void)timeoutMs;
        ++waits;
        if (!soundManager.IsMuted()) unmutedWhileAway = true;
        if (frame != frameAway) framesWhileAway = true;
        if (waits == 4) Post(WM_SETFOCUS);
    }
    int frameAway = 1500;
    int waits = 0;
    bool unmutedWhileAway = false;
    bool framesWhileAway = false;
};

TEST(Replay, ReplayingARecordingReachesTheSameStateAndAnotherSeedDoesNot) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();

    Options record;
    record.recordPath = "game.rec";
    record.hasSeed = true;
    record.seed = 1234;
    record.frames = kFrames;
    BackgroundedPlatform live;
    RandomPlayer player(7);
    live.step = [&](ScriptedPlatform& p, int frame) {
        player(p, frame);
        if (frame == live.frameAway) {
            p.Post(WM_SETFOCUS);
            p.Post(WM_KILLFOCUS);
        }
    };
    const Outcome recorded = Play(record, live);
    ASSERT_EQ(recorded.status, 0);
    ASSERT_EQ(recorded.frames, kFrames);
    ASSERT_FALSE(recorded.digest.empty());
    EXPECT_EQ(live.waits, 4) << "the game waited in the background";
    EXPECT_FALSE(live.unmutedWhileAway);
    EXPECT_FALSE(live.framesWhileAway);
    EXPECT_FALSE(soundManager.IsMuted()) << "sound is back after the run";

    Recording file;
    std::string error;
    ASSERT_TRUE(LoadRecording("game.rec", file, error)) << error;
    EXPECT_EQ(file.seed, 1234u);
    EXPECT_EQ(file.frames, static_cast<uint64_t>(kFrames));
    EXPECT_GT(file.messages.size(), 100u) << "the player did play";
    EXPECT_EQ(FormatDigest(file.digest), recorded.digest);

    // Live input during the replay (Escape would end the game from the menu) is ignored.
    Options replay;
    replay.replayPath = "game.rec";
    ScriptedPlatform meddler;
    RandomPlayer other(99);
    other.escapeOdds = 30;
    meddler.step = [&](ScriptedPlatform& p, int frame) {
        other(p, frame);
        if (frame % 100 == 0) p.Key(VK_ESCAPE);
    };
    const Outcome replayed = Play(replay, meddler);
    EXPECT_EQ(replayed.status, 0) << "0 also means it matched the digest stored in the file";
    EXPECT_EQ(replayed.frames, kFrames) << "ends after the last recorded frame";
    EXPECT_EQ(replayed.digest, recorded.digest);

    Options reseeded = record;
    reseeded.recordPath = "other.rec";
    reseeded.seed = 1235;
    ScriptedPlatform same;
    RandomPlayer samePlayer(7);
    same.step = [&](ScriptedPlatform& p, int frame) { samePlayer(p, frame); };
    const Outcome elsewhere = Play(reseeded, same);
    EXPECT_EQ(elsewhere.status, 0);
    EXPECT_NE(elsewhere.digest, recorded.digest);
}

TEST(Replay, FilesThatAreNotWholeRecordingsAreRefusedBeforeAnythingIsShown) {
    const std::string whole = "brinegate-recording 1\nseed 5\nm 3 256 65 0\nc 3 10 20\nend 9\n";
    struct Case {
        const char* name;
        std::string text;
        const char* where;  // "file:line:" the message must name
        const char* why;
    } cases[] = {
        {"notes.txt", "shopping list\nmilk\n", "notes.txt:1:", "not a recording"},
        {"empty.rec", "", "empty.rec:1:", "not a recording"},
        {"future.rec", "brinegate-recording 2\nseed 5\nend 9\n", "future.rec:1:", "version 2"},
        {"noend.rec", whole.substr(0, whole.find("end")), "noend.rec:5:", "cut short"},
        {"midline.rec", whole.substr(0, whole.find("c 3") + 5), "midline.rec:4:", "cut short"},
        {"garbled.rec", "brinegate-recording 1\nseed 5\nm 3 256 x 0\nend 9\n", "garbled.rec:3:", "expected"},
        {"backwards.rec", "brinegate-recording 1\nseed 5\nc 4 1 1\nc 3 1 1\nend 9\n", "backwards.rec:4:", "after frame 4"},
    };
    for (const Case& c : cases) {
        std::ofstream(c.name, std::ios::binary) << c.text;
        FakePlatform platform;
        platform.windowOk = false;  // a window attempt would end with status 1, not 2
        Options options;
        options.replayPath = c.name;
        ::testing::internal::CaptureStderr();
        const int status = Program::Run(platform, options);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 2) << c.name;
        EXPECT_NE(err.find(c.where), std::string::npos) << c.name << ": " << err;
        EXPECT_NE(err.find(c.why), std::string::npos) << c.name << ": " << err;
        EXPECT_EQ(platform.swaps, 0);
        EXPECT_EQ(Program::game, nullptr);
    }
    // The whole file reads back as written.
    std::istringstream in(whole);
    Recording r;
    std::string error;
    ASSERT_TRUE(ParseRecording(in, "whole", r, error)) << error;
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].frame, 3u);
    EXPECT_EQ(r.messages[0].message.message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(r.messages[0].message.wParam, static_cast<uint64_t>('A'));
    EXPECT_EQ(r.cursors[0].position, Vec2(10, 20));
    EXPECT_EQ(r.frames, 9u);
    EXPECT_FALSE(r.hasDigest);

    // A file that cannot be read at all, and one that cannot be written.
    FakePlatform platform;
    Options missing;
    missing.replayPath = "no-such.rec";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Program::Run(platform, missing), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no-such.rec"), std::string::npos);
    Options unwritable;
    unwritable.recordPath = "no-such-folder/game.rec";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Program::Run(platform, unwritable), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no-such-folder/game.rec"), std::string::npos);
}

}  // namespace

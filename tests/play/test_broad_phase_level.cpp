// A level in full swing played twice from the same seed, once with the overlap walk over
// every pair and once through the manager's index of boxes with each of its answers
// checked against every pair: the game ends in the same state.
#include "PlayTestKit.h"
#include "play/StateDigest.h"

namespace {

using playtest::PlayTest;

TEST_F(PlayTest, LevelTwentyEndsTheSameThroughTheIndexOfBoxes) {
    uint64_t digests[2] = {};
    for (int indexed = 0; indexed < 2; ++indexed) {
        if (indexed) {
            TearDown();
            SetUp();
        }
        goManager.indexed = goManager.index.check = indexed == 1;
        goManager.index.mismatches = 0;
        StartPlaying();
        game->level = 19;
        CaptureAll();
        // Firing, sailing both ways, and the sea toggled now and then.
        for (int i = 0; i < 1200; ++i) {
            orlop.mousePosition = Vec2(600.0f, 250.0f);
            Release(i % 400 == 200 ? uint32_t{VK_SPACE} : 0u);
            orlop.keys['D'] = (i / 300) % 2 == 0;
            orlop.keys['A'] = (i / 300) % 2 == 1;
            Frame();
        }
        EXPECT_GT(goManager.objects.Count(), 250) << "a crowded level";
        digests[indexed] = ComputeStateDigest(game.get());
    }
    EXPECT_EQ(digests[1], digests[0]);
    EXPECT_EQ(goManager.index.mismatches, 0u);
    goManager.indexed = true;
    goManager.index.check = false;
}

}  // namespace

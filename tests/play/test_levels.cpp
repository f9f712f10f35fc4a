// Levels: where towers stand, the island rising under them, the ladder of tower counts
// and difficulties, the banner, and every tower staying within the ship's reach.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "PlayTestKit.h"
#include "Renderable.h"
#include "sea/SeaBounds.h"
#include "sea/World.h"

namespace {

using namespace playtest;

// The height of a tower's footing: one fifth of its drawn height above its bottom.
float Footing(Tower* t) {
    return t->GetCorners()[kBottomRight].y - t->renderable->GetHeight() * t->renderable->scale.y / 5.0f;
}

TEST_F(PlayTest, TowersStandOnTheirSideOfTheRowAndTheIslandRisesToMeetThem) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SRand(seed);
        // The first tower of a game, on either side of the row -50..50.
        const bool left = seed % 2 == 0;
        LevelDirector::Row& row = game->TowerRow();
        row = {-50, 50, left};
        game->world->Reset();
        game->SpawnTower();
        Tower* t = LastTower();
        const float x = TowerX(t);
        if (left) {
            EXPECT_TRUE(x >= -350 && x <= -150) << x;
            EXPECT_EQ(row.leftmostX, x);
            EXPECT_EQ(row.rightmostX, 50);
        } else {
            EXPECT_TRUE(x >= 350 && x <= 448) << x;
            EXPECT_EQ(row.rightmostX, x);
            EXPECT_EQ(row.leftmostX, -50);
        }
        EXPECT_EQ(row.spawnLeft, left ? 0 : 1) << "sides alternate";

        // The island has come up to the footing (it rises less than 6 pixels a round)
        // while the tower has not moved; far from it the island stays flat.
        EXPECT_EQ(t->GetPosition()->y, 375.0f);
        const float ground = game->world->GetHeightAt(x);
        EXPECT_LE(Footing(t), ground + 6.0f);
        EXPECT_GE(Footing(t), ground);
        EXPECT_EQ(game->world->GetHeightAt(x + 400.0f), 575.0f);
        EXPECT_EQ(t->difficulty, static_cast<float>(1 / 20.0));
        EXPECT_TRUE(t->water.Is(game->sea));
    }
    EXPECT_EQ(game->towers.Count(), 8);
}

TEST_F(PlayTest, LevelLadderReplacesTakenTowersWithMoreAndStrongerOnes) {
    StartPlaying();
    ASSERT_EQ(game->towers.Count(), 1);
    EXPECT_EQ(game->level, 1);

    // A hostile tower keeps the level going.
    game->UpdateLevel();
    EXPECT_EQ(game->level, 1);

    game->TowerRow().spawnLeft = 0;
    const int expected[] = {3, 4, 6, 7, 9, 10, 12};
    for (int level = 2; level <= 8; ++level) {
        std::vector<Tower*> old;
        for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) old.push_back(*it);
        game->levelTime = 10.0f;
        CaptureAll();
        game->UpdateLevel();
        ASSERT_EQ(game->level, level);
        ASSERT_EQ(game->towers.Count(), expected[level - 2]);
        EXPECT_EQ(game->levelTime, 0.0f);
        for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) {
            Tower* t = *it;
            EXPECT_EQ(t->team, -1);
            EXPECT_EQ(t->difficulty, static_cast<float>(level / 20.0));
            EXPECT_LE(std::fabs(TowerX(t)), SeaBounds::kTowerReach);
            EXPECT_GE(Footing(t), game->world->GetHeightAt(TowerX(t))) << "settled";
        }
        if (level == 2) {
            // A new row starts from 0: the first tower to the right stands exactly at 300.
            auto it = game->towers.Begin();
            EXPECT_EQ(TowerX(*it), 300.0f);
            ++it;
            EXPECT_TRUE(TowerX(*it) >= -300.0f && TowerX(*it) <= -100.0f) << TowerX(*it);
            // The ship kinds hinge on these float values lying above 0.1 and 0.2.
            EXPECT_GT(static_cast<double>(LastTower()->difficulty), 0.1);
        }
        if (level == 4) {
            EXPECT_GT(static_cast<double>(LastTower()->difficulty), 0.2);
        }
        // The taken towers go with the manager's next pass.
        goManager.Update(kDt);
        for (Tower* t : old) EXPECT_EQ(goManager.objects.Find(t), nullptr);
        EXPECT_EQ(CountOfType("Tower"), game->towers.Count());
    }

    // With no tower at all the next level starts at once.
    for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) goManager.QueueForDeletion(*it);
    game->towers.Clear();
    goManager.Update(kDt);
    game->UpdateLevel();
    EXPECT_EQ(game->level, 9);
    EXPECT_EQ(game->towers.Count(), 13);
}

// Dark pixels where the banner is written, with the frame drawn as the loop draws it.
int DarkPixelsUnderBanner(Game& game) {
    gltest::BeginFrame();
    game.UpdateLevel();
    game.Draw();
    gltest::RenderList();
    int dark = 0;
    for (int y = 200; y < 245; y += 2)
        for (int x = 200; x < 460; x += 2) {
            gltest::Rgba p = gltest::ReadPixel(x, y);
            dark += p.r + p.g + p.b < 60;
        }
    return dark;
}

TEST_F(PlayTest, LevelBannerShowsForTheFirstThreeSecondsOfALevel) {
    StartPlaying();
    EXPECT_NEAR(game->levelTime, kDt, 1e-6f) << "the playing frame advances the level clock";
    Step();
    EXPECT_NEAR(game->levelTime, 2 * kDt, 1e-6f);

    game->levelTime = 3.0f;
    const int hidden = DarkPixelsUnderBanner(*game);
    game->levelTime = 2.9f;
    const int shown = DarkPixelsUnderBanner(*game);
    EXPECT_GT(shown, hidden + 100) << "shown " << shown << ", hidden " << hidden;
}

// Every level up to 20, over many games: the row keeps within reach of the ship; the
// usual spacing holds wherever it fits, and the fall-backs only step in when it does not.
TEST_F(PlayTest, EveryTowerOfALevelStaysWithinTheShipsReach) {
    int otherSide = 0, gaps = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SRand(seed);
        LevelDirector::Row& bounds = game->TowerRow();
        bounds.spawnLeft = 0;
        game->StartRow();
        bounds.leftmostX = -50;
        bounds.rightmostX = 50;
        game->NextTowerX();
        for (int level = 2; level <= 20; ++level) {
            game->StartRow();
            std::vector<int> row;
            for (int i = 0; i < static_cast<int>(level * 1.5); ++i) {
                const int left = bounds.leftmostX, right = bounds.rightmostX;
                const bool leftTurn = bounds.spawnLeft != 0;
                const int x = game->NextTowerX();
                ASSERT_LE(std::abs(x), SeaBounds::kTowerReach) << "seed " << seed << " level " << level;
                const bool onLeft = left - x >= 100 && left - x <= 300;
                const bool onRight = x - right >= 300 && x - right < 300 + std::max(1, right - left - 1);
                if (leftTurn ? !onLeft && onRight : !onRight && onLeft) ++otherSide;
                if (!onLeft && !onRight) {
                    ++gaps;
                    EXPECT_LT(left, -4000) << "the left row still had room";
                }
                EXPECT_EQ(bounds.leftmostX, std::min(left, x));
                EXPECT_EQ(bounds.rightmostX, std::max(right, x));
                row.push_back(x);
            }
            std::sort(row.begin(), row.end());
            for (size_t i = 1; i < row.size(); ++i)
                ASSERT_GE(row[i] - row[i - 1], 100) << "seed " << seed << " level " << level;
        }
    }
    // Both fall-backs were needed somewhere, so the guarantee above was put to the test.
    EXPECT_GT(otherSide, 0);
    EXPECT_GT(gaps, 0);
}

}  // namespace

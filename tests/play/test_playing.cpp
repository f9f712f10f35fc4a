// The playing phase: the release events, the sea toggle, the camera and the wrap-around,
// held keys and buttons, the heads-up colours, and the player's ship coming and going.
#include <climits>
#include <map>

#include "Cannon.h"
#include "LifeBar.h"
#include "PlayTestKit.h"
#include "Renderable.h"
#include "UIButton.h"
#include "Water.h"

namespace {

using namespace playtest;

TEST_F(PlayTest, ReleaseEventsRepairGiveGoldDisturbTheGhostSeaFireAndLeave) {
    StartPlaying();
    MerchantShip* ship = Ship();
    ASSERT_NE(ship, nullptr);
    ship->maxHealth = 100.0f;

    // Repair: nothing with 4 gold or at full health; otherwise 10 health for 5 gold.
    ship->gold = 4;
    ship->health = 95.0f;
    Release('R');
    Step();
    EXPECT_EQ(ship->gold, 4);
    EXPECT_EQ(ship->health, 95.0f);
    ship->gold = 10;
    ship->health = 100.0f;
    Release('R');
    Step();
    EXPECT_EQ(ship->gold, 10);
    ship->health = 95.0f;
    const float vy = ship->velocity.y;
    Release('R');
    Step();
    EXPECT_EQ(ship->health, 100.0f);
    EXPECT_EQ(ship->gold, 5);
    EXPECT_EQ(ship->velocity.y, vy - 10.0f);

    // Gold: 50 a release, stopping at the largest count, shown in full.
    Release('M');
    Step();
    EXPECT_EQ(ship->gold, 55);
    ship->gold = INT_MAX - 10;
    Release('M');
    Step();
    EXPECT_EQ(ship->gold, INT_MAX);
    Step();
    EXPECT_EQ(game->goldButton->label, "Gold 2147483647");
    EXPECT_EQ(game->goldButton->renderable->inRenderList, 1);

    // The right button does nothing in the living sea; in the ghost sea it costs a
    // point of health a release, below 0 too, and shakes the view.
    ship->health = 0.5f;
    camera.shakeTime = 0.0f;
    Release(2);
    Step();
    EXPECT_EQ(ship->health, 0.5f);
    EXPECT_EQ(camera.shakeTime, 0.0f);
    game->seaMode = 2;
    for (int i = 0; i < 2; ++i) {
        Release(2);
        Step();
    }
    EXPECT_FLOAT_EQ(ship->health, -1.5f);
    EXPECT_EQ(camera.shakeTime, 0.05f);
    game->seaMode = 1;

    // The left button fires the loaded cannon with a small shake.
    const int balls = CountOfType("CannonBall");
    ship->cannon.Get()->reloadTimer = 100.0f;
    Release(0);
    Step();
    EXPECT_EQ(CountOfType("CannonBall"), balls + 1);
    EXPECT_EQ(camera.shakeTime, 0.1f);
    EXPECT_EQ(camera.shakeMagnitude, 1.0f);

    // Escape: back to the menu, the gold hidden, the game kept.
    Release(VK_ESCAPE);
    EXPECT_TRUE(Step());
    EXPECT_EQ(game->phase, Game::kMenu);
    EXPECT_EQ(game->goldButton->renderable->inRenderList, 0);
    EXPECT_EQ(game->towers.Count(), 1);
}

TEST_F(PlayTest, SeaToggleMovesEveryLiveObjectThatTakesPartAndNoOther) {
    StartPlaying();
    // Strangers of every kind: not taking part, taking part, dead, already toggled.
    AddThing("A", 0, 0)->realm = -1;
    AddThing("B", 0, 0)->realm = 1;
    AddThing("C", 0, 0)->realm = 2;
    GameObj* dead = AddThing("D", 0, 0);
    dead->realm = 3;
    dead->state = 3;
    GameObj* ahead = AddThing("E", 0, 0);
    ahead->realm = 1;
    ahead->state = 5;
    ahead->frozen = 1;

    for (int toggle : {5, 6}) {
        std::map<GameObj*, int> before;
        for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) before[*it] = (*it)->state;
        const int sea = game->seaMode;
        Release(' ');
        Step();
        EXPECT_EQ(game->seaMode, sea == 1 ? 2 : 1);
        EXPECT_EQ(camera.shakeTime, 1.0f);
        EXPECT_EQ(camera.shakeMagnitude, 50.0f);
        int moved = 0;
        for (auto [object, state] : before) {
            const bool takesPart = object->realm != -1 && state != 3;
            EXPECT_EQ(object->state, takesPart ? toggle : state) << object->GetType();
            moved += object->state != state;
        }
        EXPECT_GT(moved, 3) << "the ship, the island, the seas and the tower take part";
        EXPECT_EQ(Ship()->state, toggle);
    }
    EXPECT_EQ(dead->state, 3) << "never revived";
    EXPECT_EQ(ahead->frozen, 0) << "moved on to the living sea";
}

TEST_F(PlayTest, CameraFollowsTheShipAndStopsAtTheEdgesWhereTheShipWrapsRound) {
    StartPlaying();
    MerchantShip* ship = Ship();
    struct Case {
        float x;
        float shipAfter;
        Vec2 target;
    };
    const float y = 17.0f;  // the view's height is kept at the edges
    const Case cases[] = {
        {100.0f, 100.0f, Vec2(-300.0f, 0.0f)},     {4100.0f, 4100.0f, Vec2(3700.0f, 0.0f)},
        {-4100.0f, -4100.0f, Vec2(-4500.0f, 0.0f)}, {4300.0f, 4300.0f, Vec2(3700.0f, y)},
        {4400.0f, 4400.0f, Vec2(3700.0f, y)},       {4400.5f, -4350.0f, Vec2(3700.0f, y)},
        {-4400.0f, -4400.0f, Vec2(-4500.0f, y)},    {-4400.5f, 4350.0f, Vec2(-4500.0f, y)},
    };
    for (const Case& c : cases) {
        ship->SetPosition(Vec2(c.x, 300.0f));
        camera.corners[0] = Vec2(123.0f, y);
        Step();
        EXPECT_EQ(ship->GetPosition()->x, c.shipAfter) << c.x;
        EXPECT_EQ(camera.targetPosition, c.target) << c.x;
    }
}

TEST_F(PlayTest, HeldInputChargesAndSteersWhileTheHudFollowsTheShip) {
    StartPlaying();
    MerchantShip* ship = Ship();
    Cannon* cannon = ship->cannon.Get();
    ASSERT_NE(cannon, nullptr);

    orlop.mouseLeft = 1;
    cannon->charge = 1.0f;
    Step();
    EXPECT_FLOAT_EQ(cannon->charge, 1.0f + kDt);
    cannon->charge = cannon->maxCharge - 0.001f;
    Step();
    EXPECT_EQ(cannon->charge, cannon->maxCharge);
    orlop.mouseLeft = 0;

    // Steering zooms by the speed from before the turn; both keys apply both turns.
    ship->velocity.x = 100.0f;
    orlop.keys['A'] = 1;
    Step();
    EXPECT_EQ(ship->velocity.x, 50.0f);
    EXPECT_EQ(camera.targetZoom, Vec2(1.0f + 100.0f / 5000.0f, 1.0f - 100.0f / 5000.0f));
    orlop.keys['D'] = 1;
    Step();
    EXPECT_EQ(ship->velocity.x, 50.0f);
    EXPECT_EQ(camera.targetZoom, Vec2(1.0f + 50.0f / 5000.0f, 1.0f - 50.0f / 5000.0f));
    orlop.keys['A'] = orlop.keys['D'] = 0;
    Step();
    EXPECT_EQ(camera.targetZoom, Vec2(1.0f, 1.0f));

    // Health shows on the life bar and in the health button's tint; the ship is tinted.
    ship->maxHealth = 30.0f;
    ship->health = 15.0f;
    ship->renderable->colour[3] = 0.2f;
    Step();
    EXPECT_EQ(game->lifeBar->shownValue, 15.0f);
    EXPECT_EQ(game->lifeBar->shownMax, 30.0f);
    EXPECT_EQ(game->lifeBar->renderable->inRenderList, 1);
    const float* tint = game->healthButton->renderable->colour;
    EXPECT_FLOAT_EQ(tint[0], 0.57f);
    EXPECT_FLOAT_EQ(tint[1], 0.3f);
    EXPECT_FLOAT_EQ(tint[2], 0.22f);
    const float* colour = ship->renderable->colour;
    EXPECT_EQ(Vec2(colour[0], colour[1]), Vec2(1.0f, 0.5f));
    EXPECT_EQ(Vec2(colour[2], colour[3]), Vec2(0.5f, 1.0f));
}

TEST_F(PlayTest, AShipLostWhileTheMenuShowsIsForgottenAndReplacedOnPlay) {
    StartPlaying();
    MerchantShip* first = Ship();
    ASSERT_NE(first, nullptr);
    Release(VK_ESCAPE);
    Frame();
    ASSERT_EQ(game->phase, Game::kMenu);

    // It sinks to the bottom in the menu and the manager destroys it.
    first->SetState(3);
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_EQ(Ship(), nullptr);
    EXPECT_EQ(CountOfType("MerchantShip"), 0);

    // "Play!" again: one more tower of the same level and a new ship at its start.
    StartPlaying();
    EXPECT_EQ(game->towers.Count(), 2);
    EXPECT_EQ(game->level, 1);
    MerchantShip* second = Ship();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->team, 1);
    EXPECT_EQ(second->realm, 3);
    EXPECT_TRUE(second->water.Is(game->sea));
    EXPECT_EQ(second->GetPosition()->x, 450.0f);

    // A ship that dies while playing is replaced on the next update.
    second->SetState(3);
    Step();
    MerchantShip* third = Ship();
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, second);
    EXPECT_EQ(CountOfType("MerchantShip"), 2) << "the dead one goes with the manager's pass";
}

}  // namespace

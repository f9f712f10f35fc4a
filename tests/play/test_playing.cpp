// The playing phase: the release events, the sea toggle, the camera and the wrap-around,
// held keys and buttons, the heads-up colours, and the player's ship coming and going.
#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <vector>

#include "PlayTestKit.h"
#include "Renderable.h"
#include "defences/Upgrader.h"
#include "sea/Water.h"
#include "ships/Cannon.h"
#include "ui/LifeBar.h"
#include "ui/UIButton.h"

namespace {

using namespace playtest;

TEST_F(PlayTest, ReleaseEventsRepairGiveGoldDisturbTheGhostSeaFireAndLeave) {
    StartPlaying();
    MerchantShip* ship = Ship();
    ASSERT_NE(ship, nullptr);
    ship->maxHealth = 100.0f;

    // Repair: nothing with 4 gold or at full health; otherwise 10 health for 5 gold.
    ship->AddGold(4 - ship->Gold());
    ship->health = 95.0f;
    Release('R');
    Step();
    EXPECT_EQ(ship->Gold(), 4);
    EXPECT_EQ(ship->health, 95.0f);
    ship->AddGold(10 - ship->Gold());
    ship->health = 100.0f;
    Release('R');
    Step();
    EXPECT_EQ(ship->Gold(), 10);
    ship->health = 95.0f;
    const float vy = ship->velocity.y;
    Release('R');
    Step();
    EXPECT_EQ(ship->health, 100.0f);
    EXPECT_EQ(ship->Gold(), 5);
    EXPECT_EQ(ship->velocity.y, vy - 10.0f);

    // Gold: 50 a release, stopping at the largest count, shown in full.
    Release('M');
    Step();
    EXPECT_EQ(ship->Gold(), 55);
    ship->AddGold(static_cast<double>(INT_MAX - 10) - ship->Gold());
    Release('M');
    Step();
    EXPECT_EQ(ship->Gold(), INT_MAX);
    Step();
    EXPECT_EQ(game->hud().goldButton()->label, "Gold 2147483647");
    EXPECT_EQ(game->hud().goldButton()->renderable->inRenderList, 1);

    // The right button does nothing in the living sea; in the ghost sea it costs a
    // point of health a release, below 0 too, and shakes the view.
    ship->health = 0.5f;
    camera.shakeTime = 0.0f;
    Release(2);
    Step();
    EXPECT_EQ(ship->health, 0.5f);
    EXPECT_EQ(camera.shakeTime, 0.0f);
    game->seaMode = Sea::kGhost;
    for (int i = 0; i < 2; ++i) {
        Release(2);
        Step();
    }
    EXPECT_FLOAT_EQ(ship->health, -1.5f);
    EXPECT_EQ(camera.shakeTime, 0.05f);
    game->seaMode = Sea::kLiving;

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
    EXPECT_EQ(game->Showing(), Screen::Kind::kMenu);
    EXPECT_EQ(game->hud().goldButton()->renderable->inRenderList, 0);
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
    dead->state = Life::kDead;
    GameObj* ahead = AddThing("E", 0, 0);
    ahead->realm = 1;
    ahead->state = SeaSwitch::kToGhost;
    ahead->frozen = 1;

    for (SeaSwitch toggle : {SeaSwitch::kToGhost, SeaSwitch::kToLiving}) {
        std::map<GameObj*, ObjState> before;
        for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) before.emplace(*it, (*it)->state);
        const Sea sea = game->seaMode;
        Release(' ');
        Step();
        EXPECT_EQ(game->seaMode, sea == Sea::kLiving ? Sea::kGhost : Sea::kLiving);
        EXPECT_EQ(camera.shakeTime, 1.0f);
        EXPECT_EQ(camera.shakeMagnitude, 50.0f);
        int moved = 0;
        for (auto [object, state] : before) {
            const bool takesPart = object->realm != -1 && state != Life::kDead;
            EXPECT_EQ(object->state, takesPart ? ObjState(toggle) : state) << object->GetType();
            moved += object->state != state;
        }
        EXPECT_GT(moved, 3) << "the ship, the island, the seas and the tower take part";
        EXPECT_EQ(Ship()->state, toggle);
    }
    EXPECT_EQ(dead->state, Life::kDead) << "never revived";
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
        camera.corners[kTopLeft] = Vec2(123.0f, y);
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
    EXPECT_EQ(game->hud().lifeBar()->shownValue, 15.0f);
    EXPECT_EQ(game->hud().lifeBar()->shownMax, 30.0f);
    EXPECT_EQ(game->hud().lifeBar()->renderable->inRenderList, 1);
    const float* tint = game->hud().healthButton()->renderable->colour;
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
    ASSERT_EQ(game->Showing(), Screen::Kind::kMenu);

    // It sinks to the bottom in the menu and the manager destroys it.
    first->SetState(Life::kDead);
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
    second->SetState(Life::kDead);
    Step();
    MerchantShip* third = Ship();
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, second);
    EXPECT_EQ(CountOfType("MerchantShip"), 2) << "the dead one goes with the manager's pass";
}

}  // namespace

namespace {

using namespace playtest;

// Pixels of the rectangle that changed by more than a little between two pictures.
int Changed(const std::vector<gltest::Rgba>& a, const std::vector<gltest::Rgba>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += std::abs(a[i].r - b[i].r) + std::abs(a[i].g - b[i].g) + std::abs(a[i].b - b[i].b) > 60;
    return n;
}

// A frame drawn as the loop draws it; the pixels of the rectangle x0..x1, y0..y1.
std::vector<gltest::Rgba> DrawnFrame(Game& game, int x0, int y0, int x1, int y1) {
    gltest::BeginFrame();
    game.Update(kDt);
    orlop.inputEvent = 0;
    gltest::RenderList();
    std::vector<gltest::Rgba> pixels;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) pixels.push_back(gltest::ReadPixel(x, y));
    return pixels;
}

TEST_F(PlayTest, GaugeShowsWhileChargingAndMarkersPointToHostileTowersOutOfSight) {
    StartPlaying();
    for (int i = 0; i < 120; ++i) Frame();  // the camera settles on the ship
    MerchantShip* ship = Ship();
    ASSERT_NE(ship, nullptr);
    Tower* far = LastTower();
    far->SetPosition(Vec2(3000.0f, 375.0f));

    // The gauge, above the ship, only while the button is held.
    ship->cannon.Get()->charge = ship->cannon.Get()->maxCharge;
    const Vec2 top = camera.WorldToScreen(Vec2(ship->GetPosition()->x, ship->GetCorners()[kTopLeft].y));
    const int gx = static_cast<int>(top.x), gy = static_cast<int>(top.y) - 12;
    const auto idle = DrawnFrame(*game, gx - 30, gy - 4, gx + 30, gy + 4);
    orlop.mouseLeft = 1;
    const auto charging = DrawnFrame(*game, gx - 30, gy - 4, gx + 30, gy + 4);
    EXPECT_GT(Changed(idle, charging), 240) << "of 480 pixels under the gauge";
    orlop.mouseLeft = 0;

    // A marker at the right edge of the sky for the hostile tower beyond it; none once it is ours.
    const int my = static_cast<int>(PlayerAids::kMarkerY);
    const auto marked = DrawnFrame(*game, 750, my - 20, 800, my + 20);
    far->team = 1;
    const auto unmarked = DrawnFrame(*game, 750, my - 20, 800, my + 20);
    EXPECT_GT(Changed(marked, unmarked), 150) << "of 2000 pixels at the edge";
    far->team = -1;

    // Paused: the world stands, "Paused" shows; Escape resumes rather than leaving.
    Release(PlayScreen::kPauseKey);
    Step();
    ASSERT_TRUE(game->Paused());
    const Vec2 at = *ship->GetPosition();
    Release(VK_SPACE);
    Step();
    EXPECT_EQ(game->seaMode, Sea::kLiving) << "no rule runs while paused";
    EXPECT_EQ(*ship->GetPosition(), at);
    Release(VK_ESCAPE);
    Step();
    EXPECT_FALSE(game->Paused());
    EXPECT_EQ(game->Showing(), Screen::Kind::kPlay);
}

TEST_F(PlayTest, NoPanelOutlivesTheMenuOrShowsOverIt) {
    StartPlaying();
    Tower* tower = LastTower();
    game->SpawnTower();  // a hostile one left, so the level goes on
    tower->team = 1;
    MerchantShip* ship = Ship();
    for (int i = 0; i < 119; ++i) tower->Collide(ship);
    Upgrader* panel = tower->upgrader;
    ASSERT_NE(panel, nullptr);
    Frame();
    ASSERT_TRUE(panel->renderable->inRenderList);
    Release(VK_ESCAPE);
    Frame();
    ASSERT_EQ(game->Showing(), Screen::Kind::kMenu);
    EXPECT_FALSE(panel->renderable->inRenderList);
    EXPECT_FALSE(panel->scroll->renderable->inRenderList);
    // Docked while the menu shows: it still does not open over the menu.
    for (int i = 0; i < 119; ++i) tower->Collide(ship);
    Frame();
    EXPECT_FALSE(panel->scroll->renderable->inRenderList);
}

}  // namespace

// Riding the sea, and what every ship does: steering, health, sinking with its gold,
// the ghost sea, and letting go of its companions.
#include <climits>
#include <cmath>

#include "ShipTestKit.h"
#include "sea/Fire.h"
#include "ships/Cannon.h"
#include "ships/TreasureChest.h"

using namespace shiptest;

namespace {

// A hull of the merchant's size: 3 samples of the sea, 30 pixels apart.
struct Body : Floater {
    Body(Water* sea, float x, float scale) {
        MakeSprite("Images\\MerchantShip.tga");
        renderable->SetScale(Vec2(scale, scale));
        water = sea;
        SetPosition(Vec2(x, 0.0f));
    }
};

}  // namespace

TEST_F(ShipsTest, AHullRidesTheMeanWaterLineTiltsLagsAndSlides) {
    Body hull(sea, 100.0f, 0.21f), lost(nullptr, 100.0f, 0.21f);
    hull.Float(kStep);
    lost.Float(kStep);
    EXPECT_NEAR(Bottom(&hull), Surface(100.0f), 1e-3f);
    EXPECT_NEAR(Bottom(&lost), 0.0f, 1e-3f) << "no sea: the line y = 0";
    EXPECT_TRUE(FlowsAtRest(sea)) << "a hull at rest leaves no ripple";
    // Moving left it sits on the line and ripples the sea; moving right it lags.
    const float line = hull.renderable->position.y;
    hull.velocity.x = -100.0f;
    hull.SetPosition(Vec2(100.0f, line - 60.0f));
    hull.Float(kStep);
    EXPECT_EQ(hull.renderable->position.y, line);
    EXPECT_FALSE(FlowsAtRest(sea));
    hull.velocity.x = 100.0f;
    hull.SetPosition(Vec2(100.0f, line - 60.0f));
    hull.Float(kStep);
    EXPECT_NEAR(hull.renderable->position.y, line - 60.0f * kStep, 1e-3f);

    sea->Disturb(3.0f, 0.0f);
    for (int i = 0; i < 40; ++i) sea->Update(kStep);
    float x = -300.0f, slope = 0.0f;
    while (x < 300.0f && !(std::fabs(slope) > 0.1f)) sea->GetHeight(x += 1.0f, &slope);
    ASSERT_GT(std::fabs(slope), 0.1f) << "the swell is steep somewhere";
    Body wide(sea, x, 0.21f);
    const float mean = (Surface(x - 30.0f) + Surface(x) + Surface(x + 30.0f)) / 3.0f;
    wide.Float(kStep);
    EXPECT_NEAR(Bottom(&wide), mean, 1e-3f);
    const float full = static_cast<float>(std::atan(slope) * 180.0 / M_PI);
    EXPECT_NEAR(wide.renderable->rotation, full * 0.5f * kStep, 1e-4f) << "tilts towards it";
    EXPECT_EQ(wide.velocity.x, slope * 10.0f) << "slides down it";
}

TEST_F(ShipsTest, SteeringStopsAtTheTopSpeed) {
    MerchantShip* ship = Launch(1, 0.0f, false);
    ship->velocity.x = -180.0f;
    ship->SteerLeft(kStep);
    EXPECT_EQ(ship->velocity.x, -200.0f);
    ship->AddMaxSpeed(50.0f);
    for (int i = 0; i < 20; ++i) ship->SteerRight(kStep);
    EXPECT_EQ(ship->velocity.x, 250.0f);
}

TEST_F(ShipsTest, ASinkingShipLeavesItsGoldInChestsAndThePlayerKeepsHalf) {
    struct Case {
        int team, gold, chests, step, left;
    };
    // The last chest may hold more than was left; the player stops below half.
    for (const Case c : {Case{-1, 10, 1, 10, 0}, Case{-1, 25, 3, 10, -5},
                         Case{-1, 450, 15, 30, 0}, Case{1, 100, 6, 10, 40}}) {
        const int before = CountOfType("TreasureChest");
        MerchantShip* ship = Launch(c.team, 0.0f);
        ship->gold = c.gold;
        ship->health = -0.5f;
        ship->Update(kStep);
        EXPECT_EQ(ship->state, Life::kSinking);
        EXPECT_EQ(CountOfType("TreasureChest") - before, c.chests) << c.gold;
        EXPECT_EQ(ship->gold, c.left);
        auto* last = static_cast<TreasureChest*>(LastOfType("TreasureChest"));
        EXPECT_EQ(last->value, static_cast<float>(c.step));
        EXPECT_TRUE(last->water.Is(sea));
    }
    // A hoard at the top of int: at most 21 chests, and no wrap-around on the way.
    const int before = CountOfType("TreasureChest");
    MerchantShip* rich = Launch(-1, 0.0f);
    rich->gold = INT32_MAX;
    rich->health = -1.0f;
    rich->Update(kStep);
    const float step = static_cast<TreasureChest*>(LastOfType("TreasureChest"))->value;
    EXPECT_GE(CountOfType("TreasureChest") - before, 20);
    EXPECT_LE(CountOfType("TreasureChest") - before, 21);
    EXPECT_LE(rich->gold, 0);
    EXPECT_GT(rich->gold, -step);

    MerchantShip* scraped = Launch(-1, 50.0f);
    scraped->health = 0.0f;
    scraped->Update(kStep);
    EXPECT_EQ(scraped->state, Life::kNormal) << "exactly 0 health is still afloat";
}

TEST_F(ShipsTest, InTheGhostSeaWrecksRiseAsGhostsAndHealedGhostsVanish) {
    MerchantShip* wreck = Launch(-1, 0.0f);
    wreck->health = -1.0f;
    wreck->Update(kStep);
    const Vec2 scale = wreck->renderable->scale;
    wreck->SetState(SeaSwitch::kToGhost);
    for (int i = 0; i < 60 && wreck->state == SeaSwitch::kToGhost; ++i) wreck->Update(kStep);
    EXPECT_EQ(wreck->state, Ship::Phase::kGhostRising);
    EXPECT_EQ(wreck->realm, 2);
    EXPECT_FLOAT_EQ(wreck->renderable->scale.x, scale.x * 1.5f);
    EXPECT_NE(wreck->renderable->colour[0], 1.0f) << "tinted";
    for (int i = 0; i < 600 && wreck->state != Life::kNormal; ++i) wreck->Update(kStep);
    ASSERT_EQ(wreck->state, Life::kNormal);
    EXPECT_EQ(wreck->renderable->colour[3], 1.0f);
    EXPECT_LT(std::fabs(Bottom(wreck) - Surface(wreck->renderable->position.x)), 6.0f);
    wreck->health = 1.0f;
    const float surfaced = wreck->renderable->position.y;
    for (int i = 0; i < 600 && wreck->state != Life::kDead; ++i) wreck->Update(kStep);
    EXPECT_EQ(wreck->state, Life::kDead);
    EXPECT_LT(wreck->renderable->position.y, surfaced) << "upwards";
    EXPECT_EQ(wreck->cannon.Get()->state, Life::kDead);
}

TEST_F(ShipsTest, KillReleasesTheWakeFireAndCannonOnceEvenWithoutInit) {
    GameObj* bare = goManager.Create("MerchantShip");
    goManager.objects.Remove(bare);
    bare->Kill();
    delete bare;
    EXPECT_TRUE(goManager.deleteQueue.Empty());

    MerchantShip* ship = Launch(-1, 0.0f);
    GameObj* companions[] = {ship->wake, ship->fire, ship->cannon.Get()};
    ship->Kill();
    ship->Kill();
    for (GameObj* c : companions) {
        int queued = 0;
        for (auto it = goManager.deleteQueue.Begin(); !it.AtEnd(); ++it) queued += *it == c;
        EXPECT_EQ(queued, 1) << c->GetType();
    }
    goManager.objects.Remove(ship);
    delete ship;
    Launch(-1, 0.0f)->SetState(Life::kDead);  // a real death: everything goes in one pass
    goManager.Update(kStep);
    EXPECT_EQ(goManager.objects.Head()->next, nullptr) << "only the sea is left";
}

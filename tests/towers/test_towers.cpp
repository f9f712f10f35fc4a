// Towers: reach and aim of their gun, the ships they launch, capture by holding a ship
// against them, docking that opens the upgrade panel, and what Kill releases.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "GlTestContext.h"
#include "Orlop.h"
#include "Random.h"
#include "Sprite.h"
#include "WaterTestKit.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"
#include "ships/TreasureChest.h"

namespace {

using watertest::CountOfType;
constexpr float dt = kFrameStep;

int Ships() { return CountOfType("MerchantShip") + CountOfType("RamBoat") + CountOfType("MineLayer"); }

GameObj* LastShip() {
    GameObj* last = nullptr;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it)
        if (dynamic_cast<Ship*>(*it)) last = *it;
    return last;
}

class Towers : public ::testing::Test {
protected:
    void SetUp() override {
        gltest::UseDataFolder();
        SRand(7);
        sea = watertest::MakeSea();
    }
    void TearDown() override {
        goManager.Clear();
        orlop.keys['A'] = orlop.keys['D'] = 0;
    }
    Tower* MakeTower(float x, int32_t team = -1, float difficulty = 0.05f) {
        auto* t = static_cast<Tower*>(goManager.Create("Tower"));
        t->team = team;
        t->Init();
        t->water = sea;
        t->difficulty = difficulty;
        t->SetPosition(Vec2(x, 400));
        return t;
    }
    MerchantShip* MakeShip(float x, int32_t team) {
        auto* s = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
        s->team = team;
        s->water = sea;
        s->Init();
        s->SetPosition(Vec2(x, 400));
        return s;
    }
    // Updates the tower until it launches a ship; the number of updates that took.
    static int UpdatesToLaunch(Tower* t) {
        const int before = Ships();
        int n = 0;
        while (Ships() == before && n++ < 1000) t->Update(dt);
        return n;
    }
    Water* sea = nullptr;
};

TEST_F(Towers, ShootsWithinReachAlongALobThatLandsOnTheTarget) {
    for (float dx : {333.0f, -333.0f, 0.0f, 334.0f}) {
        Tower* t = MakeTower(0);
        t->cannon->reloadTimer = 10.0f;
        MerchantShip* prey = MakeShip(dx, 1);
        const int balls = CountOfType("CannonBall");
        t->Update(dt);
        ASSERT_TRUE(t->target.Is(prey));
        const Vec2 aim = t->cannon->aim;
        if (dx == 334.0f) {
            EXPECT_EQ(CountOfType("CannonBall"), balls) << "out of reach";
            continue;
        }
        EXPECT_EQ(CountOfType("CannonBall"), balls + 1) << dx;
        // Range of a ball at 500 px/s under gravity 750 px/s^2.
        const double elevation = std::atan2(-aim.y, std::fabs(aim.x));
        EXPECT_NEAR(250000.0 * std::sin(2 * elevation) / 750.0, std::fabs(dx), 0.01);
        EXPECT_EQ(aim.x < 0, dx < 0);
        if (dx == 0.0f) {
            EXPECT_EQ(aim, Vec2(1, 0));
        }
        prey->SetState(Life::kSinking);
        t->Update(dt);
        EXPECT_EQ(t->target.Get(), nullptr) << "a sinking ship is no target";
    }
}

TEST_F(Towers, LaunchesShipsOnAnIntervalOfKindsSetByTheDifficulty) {
    Tower* t = MakeTower(120);
    EXPECT_NEAR(UpdatesToLaunch(t) * dt, 6.825, dt);
    EXPECT_NEAR(UpdatesToLaunch(t) * dt, 7.825, dt);
    auto* ship = static_cast<Ship*>(LastShip());
    EXPECT_EQ(ship->aiControlled, 1);
    EXPECT_TRUE(ship->water.Is(sea));
    EXPECT_EQ(ship->difficulty, 0.05f);
    EXPECT_EQ(ship->GetPosition()->y, 400.0f);
    EXPECT_LE(std::fabs(ship->GetPosition()->x - 120.0f), 15.0f);

    const std::set<std::string> all = {"MerchantShip", "RamBoat", "MineLayer"};
    const std::pair<float, size_t> levels[] = {{0.05f, 1}, {float(2 / 20.0), 2}, {float(4 / 20.0), 3}};
    for (const auto& level : levels) {
        Tower* l = MakeTower(0, -1, level.first);
        std::set<std::string> kinds;
        for (int i = 0; i < 30; ++i) {
            l->spawnTimer = 100.0f;
            l->Update(dt);
            kinds.insert(LastShip()->GetType());
            LastShip()->SetState(Life::kDead);  // out of the way of the next launch
        }
        EXPECT_EQ(kinds.size(), level.second);
        EXPECT_EQ(kinds.count("MineLayer"), level.second == 3 ? 1u : 0u);
        EXPECT_EQ(kinds.count("MerchantShip"), 1u);
    }

    Tower* still = MakeTower(120.0f, -1, 0.0f);
    still->spawnTimer = 100.0f;
    still->Update(dt);
    EXPECT_EQ(LastShip()->GetPosition()->x, 120.0f);
}

TEST_F(Towers, HoldsBackLaunchesWhileFourOfItsShipsAreAfloat) {
    Tower* t = MakeTower(0);
    std::vector<Ship*> fleet;
    for (int i = 0; i < 4; ++i) {
        t->spawnTimer = 100.0f;
        t->Update(dt);
        fleet.push_back(static_cast<Ship*>(LastShip()));
    }
    EXPECT_EQ(Ships(), 4);
    EXPECT_EQ(t->ShipsAfloat(), 4);
    // The clock still runs and restarts at each expiry; only the launch is skipped.
    t->spawnTimer = 100.0f;
    t->Update(dt);
    EXPECT_EQ(Ships(), 4);
    EXPECT_EQ(t->spawnTimer, 0.0f);
    // A sinking ship no longer counts: the next expiry launches, not before it.
    fleet[1]->SetState(Life::kSinking);
    t->Update(dt);
    EXPECT_EQ(Ships(), 4);
    EXPECT_NEAR(UpdatesToLaunch(t) * dt, 7.825, 2 * dt);
    EXPECT_EQ(t->ShipsAfloat(), 4);
    // A ship of another tower is not this tower's.
    MakeShip(50, -1);
    fleet[2]->SetState(Life::kDead);
    goManager.Update(dt);
    EXPECT_EQ(t->ShipsAfloat(), 3);
}

TEST_F(Towers, AFullSeaSinksItsOldestUncollectedChestForEachNewOne) {
    std::vector<TreasureChest*> chests;
    for (int i = 0; i < TreasureChest::kMaxAfloat + 2; ++i) {
        auto* c = static_cast<TreasureChest*>(goManager.Create("TreasureChest"));
        c->value = i == 0 ? 0.0f : 10.0f;  // the first one already emptied by a ship
        c->water = sea;
        c->Init();
        chests.push_back(c);
    }
    EXPECT_EQ(TreasureChest::CountAfloat(), TreasureChest::kMaxAfloat);
    EXPECT_EQ(chests[0]->state, Floater::Phase::kFlying) << "an emptied chest goes at its next touch";
    EXPECT_EQ(chests[1]->state, Life::kSinking);
    EXPECT_EQ(chests[2]->state, Life::kSinking);
    EXPECT_EQ(chests[3]->state, Floater::Phase::kFlying);
    // Sinking, it is out of reach: no ship takes it, the sea does not lift it, and it goes.
    MerchantShip* ship = MakeShip(0, 1);
    const int32_t gold = ship->gold;
    ship->Collide(chests[1]);
    chests[1]->Collide(sea);
    EXPECT_EQ(ship->gold, gold);
    EXPECT_EQ(chests[1]->state, Life::kSinking);
    for (int i = 0; i < 70; ++i) chests[1]->Update(dt);
    EXPECT_EQ(chests[1]->state, Life::kDead);
}

TEST_F(Towers, HeldShipSinksTheFlagAndRaisesItInItsColoursThenOwnsTowerAndGun) {
    Tower* t = MakeTower(0);
    MerchantShip* s = MakeShip(0, 1);
    const float colour[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    std::copy(colour, colour + 4, s->renderable->colour);
    t->Update(dt);
    EXPECT_EQ(t->flag->position, Vec2(0, 320));
    const float top = t->renderable->corners[kTopLeft].y;
    float lowestTop = 0.0f;
    int frames = 0;
    while (t->team != 1 && frames++ < 1000) {
        t->Update(dt);
        t->Collide(s);
        lowestTop = std::max(lowestTop, t->flag->corners[kTopLeft].y);
    }
    EXPECT_EQ(t->cannon->team, 1);
    EXPECT_GT(lowestTop, top);
    EXPECT_LT(t->flag->corners[kBottomRight].y - 20.0f, top);
    EXPECT_EQ(t->flag->colour[2], 0.6f);
    // Down past the top, then up until the bottom is within 20 px of it, at 19.75 px/s.
    const float flagHeight = t->flag->corners[kBottomRight].y - t->flag->corners[kTopLeft].y;
    const float travel = (top - 280.0f) + (flagHeight - 20.0f);
    EXPECT_NEAR(frames * dt, travel / 19.75f, 0.05f);
    EXPECT_EQ(t->capturer.Get(), nullptr);
    EXPECT_EQ(t->flagLowered, 0);
}

TEST_F(Towers, ARivalTakesOverOnlyOnceItHasDrainedTheRunningCapture) {
    Tower* t = MakeTower(0);
    MerchantShip* a = MakeShip(0, 1);
    MerchantShip* b = MakeShip(0, 1);
    for (int i = 0; i < 25; ++i) {
        t->Update(dt);
        t->Collide(a);
    }
    t->Collide(b);
    t->Collide(b);  // 25 * 2 * dt of progress against 2 * 20 * dt drained
    EXPECT_TRUE(t->capturer.Is(a));
    t->Collide(b);
    EXPECT_TRUE(t->capturer.Is(b));
    for (int i = 0; i < 25; ++i) {
        t->Update(dt);
        t->Collide(b);
    }

    a->SetPosition(Vec2(3000, 400));
    b->SetState(Life::kDead);
    goManager.Update(dt);  // the tower ignores the dead b, which is then destroyed
    MerchantShip* c = MakeShip(0, 1);
    t->Collide(c);
    EXPECT_TRUE(t->capturer.Is(c)) << "claimed afresh, not draining the gone b's progress";
    EXPECT_FLOAT_EQ(t->captureProgress, 3 * dt);
}

TEST_F(Towers, DockingOpensThePanelAtThe119thContactUnlessSteeredAway) {
    Tower* t = MakeTower(0, 1);
    MerchantShip* s = MakeShip(0, 1);
    auto dock = [t](GameObj* ship, int calls) {
        for (int i = 0; i < calls; ++i) t->Collide(ship);
    };
    dock(s, 118);
    EXPECT_EQ(t->upgrader, nullptr);
    dock(s, 1);
    ASSERT_NE(t->upgrader, nullptr);
    EXPECT_EQ(t->upgrader->state, Upgrader::Phase::kOpening);
    EXPECT_TRUE(t->upgrader->ship.Is(s));

    orlop.keys['A'] = 1;
    dock(s, 178);
    orlop.keys['A'] = 0;
    t->upgrader->SetState(Life::kNormal);
    dock(s, 300);
    EXPECT_EQ(t->upgrader->state, Life::kNormal) << "steered away too far";
    MerchantShip* other = MakeShip(0, 1);
    orlop.keys['D'] = 1;
    dock(other, 1);
    orlop.keys['D'] = 0;
    dock(other, 117);
    EXPECT_EQ(t->upgrader->state, Life::kNormal);
    dock(other, 1);
    EXPECT_EQ(t->upgrader->state, Upgrader::Phase::kOpening);
    EXPECT_TRUE(t->upgrader->ship.Is(other)) << "the panel serves the ship docking now";

    MerchantShip* foe = MakeShip(0, -1);
    foe->SetState(Life::kDead);
    t->Collide(foe);
    EXPECT_EQ(t->capturer.Get(), nullptr);
    foe->SetState(Life::kNormal);
    t->Collide(foe);
    EXPECT_TRUE(t->capturer.Is(foe));
}

TEST_F(Towers, KillReleasesGunPanelAndFlagAndToleratesATowerNeverBuilt) {
    Tower().Kill();
    Tower* t = MakeTower(0, 1);
    MerchantShip* s = MakeShip(0, 1);
    for (int i = 0; i < 119; ++i) t->Collide(s);
    ObjRef<Cannon> gun = t->cannon;
    ObjRef<Upgrader> panel = t->upgrader;
    t->SetState(Life::kDead);
    goManager.Update(dt);
    goManager.Update(dt);
    EXPECT_EQ(gun.Get(), nullptr);
    EXPECT_EQ(panel.Get(), nullptr);
    EXPECT_EQ(CountOfType("UIButton"), 0);
}

}  // namespace

// Ram boats, mine layers and mines on a calm sea, hunting a stand-in for the player's ship.
#include <gtest/gtest.h>

#include "../water/WaterTestKit.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "ships/Mine.h"
#include "ships/MineLayer.h"
#include "ships/RamBoat.h"

using watertest::CountOfType;
using watertest::Thing;
constexpr float kDt = kFrameStep;

namespace {

class Hunters : public ::testing::Test {
protected:
    void SetUp() override {
        gltest::UseDataFolder();
        sea = watertest::MakeSea();  // surface at y 550 from x -4500 to 4500
        prey = watertest::AddThing("MerchantShip", 3000, 540);
        prey->team = 1;
    }
    void TearDown() override { goManager.Clear(); }

    template <typename T>
    T* Make(const char* type, float x) {
        auto* o = static_cast<T*>(goManager.Create(type));
        o->water = sea;
        o->Init();
        o->SetPosition(Vec2(x, 500));
        return o;
    }
    void PreyAt(GameObj* hunter, float dx) { prey->PlaceAt(hunter->GetPosition()->x + dx, 540); }

    Water* sea = nullptr;
    Thing* prey = nullptr;
};

float Damped(float v) { return v - 2 * v * kDt; }  // a hull's speed after one float step

}  // namespace

TEST_F(Hunters, RamBoatCruisesChargesWithinReachBouncesOffAndBacksAway) {
    auto* boat = Make<RamBoat>("RamBoat", 0);
    prey->state = Life::kSinking;  // sinking: no prey at all, the boat stops dead
    boat->velocity.x = 80;
    for (int i = 0; i < 10; ++i) goManager.Update(kDt);
    EXPECT_EQ(boat->velocity.x, 0);
    EXPECT_EQ(boat->GetPosition()->x, 0);

    prey->state = Life::kNormal;
    boat->chargeDistance = 300;
    for (float side : {1.0f, -1.0f}) {
        PreyAt(boat, 301 * side);  // cruising at 10 to 30 px/s
        boat->Update(kDt);
        EXPECT_GE(boat->velocity.x * side, 10);
        EXPECT_LE(boat->velocity.x * side, 30);
        boat->SetPosition(Vec2(0, 530));
        PreyAt(boat, 300 * side);  // exactly at the charge distance it charges
        boat->velocity.x = 100 * side;
        boat->Update(kDt);
        EXPECT_NEAR(boat->velocity.x, (Damped(100) + 750 * kDt) * side, 1e-3);
    }
    ASSERT_EQ(boat->target.Get(), prey);
    boat->velocity.x = 150;
    boat->Collide(prey);
    boat->Collide(prey);
    EXPECT_EQ(boat->state, Floater::Phase::kRammed);
    EXPECT_EQ(boat->velocity.x, -150);  // bounced once
    PreyAt(boat, 300);
    boat->Update(kDt);
    EXPECT_NEAR(boat->velocity.x, Damped(-150) - 200 * kDt, 1e-3);
    PreyAt(boat, 301);
    boat->Update(kDt);
    EXPECT_EQ(boat->state, Life::kNormal);
}

TEST_F(Hunters, ShotHurtsHuntersAndMakesThemLookForPreyAgain) {
    auto* boat = Make<RamBoat>("RamBoat", 0);
    auto* layer = Make<MineLayer>("MineLayer", -200);
    Thing ball("CannonBall"), spent("CannonBall");
    ball.team = spent.team = 1;
    ball.velocity = spent.velocity = Vec2(300, 400);  // 500 px/s: 12.5 health
    spent.state = Life::kSinking;
    for (Ship* hunter : std::initializer_list<Ship*>{boat, layer}) {
        hunter->Update(kDt);
        hunter->Collide(&spent);
        hunter->Collide(&ball);
        EXPECT_FLOAT_EQ(hunter->health, 30 - 12.5f);
    }
    EXPECT_EQ(boat->target.Get(), nullptr);
    EXPECT_EQ(layer->target.Get(), nullptr);
    boat->SetState(Floater::Phase::kRammed);
    boat->Collide(&ball);
    boat->Collide(&ball);  // shot to pieces after ramming: sinks at once
    EXPECT_EQ(boat->state, Life::kSinking);
}

TEST_F(Hunters, MineLayerLaysAfterThreeSecondsThenEveryTwo) {
    auto* layer = Make<MineLayer>("MineLayer", 0);
    prey->state = Life::kSinking;
    int laid[2] = {0, 0}, count = 0;
    for (int frame = 1; frame <= 330 && count < 2; ++frame) {
        const int before = CountOfType("Mine");
        goManager.Update(kDt);
        if (CountOfType("Mine") > before) laid[count++] = frame;
    }
    EXPECT_NEAR(laid[0] * kDt, 3, 1.5 * kDt);
    EXPECT_NEAR((laid[1] - laid[0]) * kDt, 2, 1.5 * kDt);
    EXPECT_EQ(layer->state, Life::kNormal);
}

TEST_F(Hunters, MineLandsAndGoesOffAfterThreeSecondsAfloatOrAtATouch) {
    auto* mine = Make<Mine>("Mine", 0);
    EXPECT_LT(mine->velocity.y, -200);  // thrown up at 45 to 135 degrees
    int frames = 0;
    while (mine->state == Floater::Phase::kFlying && frames < 300) goManager.Update(kDt), ++frames;
    ASSERT_EQ(mine->state, Life::kNormal);
    for (int i = 0; i < 175; ++i) goManager.Update(kDt);  // 2.9 s afloat
    EXPECT_EQ(mine->state, Life::kNormal);
    for (int i = 0; i < 12; ++i) goManager.Update(kDt);
    EXPECT_EQ(CountOfType("Mine"), 0);
    const int blasts = CountOfType("ParticleObj");

    Thing ownSide("MerchantShip"), ball("CannonBall"), deadBall("CannonBall");
    deadBall.state = Life::kDead;
    auto* touched = Make<Mine>("Mine", 0);
    touched->SetState(Life::kNormal);
    touched->Collide(&deadBall);
    EXPECT_EQ(touched->state, Life::kNormal);
    touched->Collide(&ownSide);  // a ship of its own side sets it off too
    auto* flying = Make<Mine>("Mine", 1000);
    flying->Collide(&ball);
    auto* sunk = Make<Mine>("Mine", -1000);  // going off under the surface
    sunk->SetPosition(Vec2(-1000, 700));
    sunk->SetState(Mine::Phase::kExploding);
    for (Mine* m : {touched, flying, sunk}) {
        EXPECT_EQ(m->state, Mine::Phase::kExploding);
        m->Update(kDt);
        EXPECT_EQ(m->state, Life::kDead);
    }
    EXPECT_EQ(CountOfType("ParticleObj"), blasts + 3);
}

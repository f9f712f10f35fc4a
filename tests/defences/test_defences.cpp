// Cannons and cannon balls: reloading, what a shot carries, flight, expiry and lob gold.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "../water/WaterTestKit.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "ships/Cannon.h"
#include "ships/CannonBall.h"
#include "ships/Ship.h"

using watertest::CountOfType;
using watertest::LastOfType;
constexpr float kDt = kFrameStep;

namespace {

struct Payee : Ship {  // a merchant ship to pay, well away from the balls
    Payee() {
        MakeSprite("Images\\MerchantShip.tga");
        SetPosition(Vec2(-3000, 0));
        goManager.objects.PushBack(this);
    }
    const char* GetType() override { return "MerchantShip"; }
};

CannonBall* Ball(Vec2 v, int team = 1, GameObj* owner = nullptr, float elevation = 0) {
    auto* b = static_cast<CannonBall*>(goManager.Create("CannonBall"));
    b->Init();
    b->SetPosition(Vec2(0, 100));
    b->velocity = v, b->team = team, b->owner = owner, b->elevation = elevation;
    return b;
}

class Defences : public ::testing::Test {
protected:
    void SetUp() override { gltest::UseDataFolder(); }
    void TearDown() override { goManager.Clear(); }
};

}  // namespace

TEST_F(Defences, CannonReloadsFiresWhatItIsAimedWithAndReleasesItsSmoke) {
    auto* c = static_cast<Cannon*>(goManager.Create("Cannon"));
    c->Init();
    c->SetPosition(Vec2(100, 200));
    c->aim = Vec2(0.6f, -0.8f), c->velocity = Vec2(100, 40), c->charge = 2, c->team = 1;
    EXPECT_FALSE(c->Fire());  // 3 s waited is not more than 3 s
    EXPECT_EQ(c->charge, 2.0f);
    EXPECT_EQ(CountOfType("CannonBall"), 0);
    c->Update(kDt);
    ASSERT_TRUE(c->Fire());
    auto* b = static_cast<CannonBall*>(LastOfType("CannonBall"));
    EXPECT_EQ(b->velocity, Vec2((0.6f * 500 + 100) * 2, -0.8f * 500 * 2));
    EXPECT_EQ(*b->GetPosition(), Vec2(100, 200));
    EXPECT_EQ(b->team, 1);
    EXPECT_NEAR(b->elevation, std::atan2(0.8, 0.6) * 180 / M_PI, 1e-4);
    EXPECT_EQ(c->charge, 1.0f);
    EXPECT_FALSE(c->Fire());

    // Straight up and no aim at all: the barrel stands up, nothing turns NaN.
    for (Vec2 aim : {Vec2(0, -1), Vec2(0, 0)}) {
        c->aim = aim, c->reloadTimer = 10;
        c->Update(kDt);
        EXPECT_EQ(c->renderable->rotation, -90.0f);
        ASSERT_TRUE(c->Fire());
        b = static_cast<CannonBall*>(LastOfType("CannonBall"));
        EXPECT_EQ(b->elevation, aim.y == 0 ? 0.0f : 90.0f);
        EXPECT_FALSE(std::isnan(b->velocity.x + b->velocity.y));
    }
    goManager.QueueForDeletion(c);
    goManager.Update(kDt);
    EXPECT_EQ(CountOfType("ParticleObj"), 0);
}

TEST_F(Defences, BallFliesUnderGravityExpiresAndSlowsOnceSpent) {
    CannonBall* level = Ball(Vec2(100, 0));
    CannonBall* top = Ball(Vec2(0, -5));
    CannonBall* up = Ball(Vec2(0, -500));
    CannonBall* spent = Ball(Vec2(100, 0));
    spent->SetState(Life::kSinking);
    top->Update(kDt);
    EXPECT_FLOAT_EQ(top->velocity.y, -5 + 2 * 750 * kDt);  // pulled twice over the top
    spent->Update(kDt);
    EXPECT_FLOAT_EQ(spent->velocity.x, 95);
    int frames = 0;
    do up->Update(kDt), ++frames;
    while (up->GetPosition()->y < 100 && frames < 200);
    EXPECT_GT(frames * kDt, 1.28f);  // a little under 2 * 500 / 750
    EXPECT_LT(frames * kDt, 2 * 500 / 750.0f);
    for (int i = 0; i < 115; ++i) level->Update(kDt), spent->Update(kDt);
    EXPECT_EQ(spent->state, Life::kSinking);
    for (int i = 0; i < 5; ++i) spent->Update(kDt);
    EXPECT_EQ(spent->state, Life::kDead);  // after 2 s spent
    for (int i = 0; i < 477; ++i) level->Update(kDt);
    EXPECT_EQ(level->state, Life::kNormal);  // 9.9 s
    EXPECT_EQ(level->GetPosition()->y, 100);
    for (int i = 0; i < 12; ++i) level->Update(kDt);
    EXPECT_EQ(level->state, Life::kDead);  // 10.1 s
}

TEST_F(Defences, SteepLobsThatHitAnEnemyShipPayTheOwnerWhileItExists) {
    watertest::Thing prey("MerchantShip");
    const float elevations[] = {45, 46, 70, 71, 90};
    const int32_t pay[] = {0, 15, 23, 51, 66};
    for (int k = 0; k < 5; ++k) {
        Payee* owner = new Payee;
        CannonBall* b = Ball(Vec2(0, 50), 1, owner, elevations[k]);
        b->Collide(&prey);
        EXPECT_EQ(owner->gold, 10 + pay[k]) << elevations[k];
        EXPECT_EQ(b->velocity.y, 60);
    }
    Payee* owner = new Payee;
    owner->gold = INT32_MAX - 5;
    Ball(Vec2(0, 50), 1, owner, 90)->Collide(&prey);
    EXPECT_EQ(owner->gold, INT32_MAX);
    owner->gold = -5;  // a sunk ship's last chest can leave its purse in debt
    Ball(Vec2(0, 50), 1, owner, 90)->Collide(&prey);
    EXPECT_EQ(owner->gold, 61);

    // No hit on its own ship, a friend, a frozen or dead ship, nor when already spent.
    owner->gold = 0, owner->team = -1;
    watertest::Thing friendShip("MerchantShip"), frozen("MerchantShip"), wreck("MerchantShip");
    friendShip.team = 1, frozen.frozen = 1, wreck.state = Life::kDead;
    CannonBall* spent = Ball(Vec2(0, 50), 1, owner, 90);
    spent->SetState(Life::kSinking);
    spent->Collide(&prey);
    for (GameObj* o : std::initializer_list<GameObj*>{owner, &friendShip, &frozen, &wreck}) {
        CannonBall* b = Ball(Vec2(0, 50), 1, owner, 90);
        b->Collide(o);
        EXPECT_EQ(b->velocity.y, 50);
    }
    EXPECT_EQ(owner->gold, 0);

    CannonBall* late = Ball(Vec2(0, 50), 1, owner, 90);
    goManager.QueueForDeletion(owner);
    goManager.Update(kDt);
    const float vy = late->velocity.y;
    late->Collide(&prey);  // pushed, and nobody left to pay
    EXPECT_EQ(late->velocity.y, vy + 10);
}

// Cannon balls falling into the sea: which ones splash, and what a splash does.
#include <gtest/gtest.h>

#include "ParticleSystem.h"
#include "Texture.h"
#include "WaterTestKit.h"
#include "sea/ParticleObj.h"

using namespace watertest;

namespace {

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override {
        sea = MakeSea();
        ASSERT_NE(sea, nullptr);
        sea->Update(kStep);  // rest surface at y = 450, lastStep = one frame
    }
    void TearDown() override { goManager.Clear(); }

    Water* sea = nullptr;
};

}  // namespace

TEST_F(SplashTest, OnlyACannonBallBelowTheSurfaceAndNotYetInTheWaterSplashes) {
    // Above the surface (y grows downwards).
    Thing* high = AddThing("CannonBall", 0.0f, 449.0f);
    high->velocity = Vec2(0.0f, 600.0f);
    sea->Collide(high);
    EXPECT_EQ(high->state, Life::kNormal);
    // Exactly on it: not below.
    Thing* touching = AddThing("CannonBall", 0.0f, 450.0f);
    sea->Collide(touching);
    EXPECT_EQ(touching->state, Life::kNormal);
    // Already in the water.
    Thing* sunk = AddThing("CannonBall", 0.0f, 500.0f);
    sunk->SetState(Life::kSinking);
    sunk->velocity = Vec2(0.0f, 600.0f);
    sea->Collide(sunk);
    EXPECT_EQ(sunk->state, Life::kSinking);
    EXPECT_EQ(sunk->stateTime, 0.0f);
    // Anything else, however deep.
    for (const char* other : {"MerchantShip", "Mine", "cannonball", "CannonBalls", "Cannon"}) {
        Thing* t = AddThing(other, 0.0f, 600.0f);
        t->velocity = Vec2(0.0f, 600.0f);
        sea->Collide(t);
        EXPECT_EQ(t->state, Life::kNormal) << other;
    }
    EXPECT_TRUE(FlowsAtRest(sea));
    EXPECT_EQ(CountOfType("ParticleObj"), 0);
}

TEST_F(SplashTest, ABallBelowTheSurfaceSinksRipplesAndThrowsSpray) {
    Thing* ball = AddThing("CannonBall", 0.0f, 460.0f);
    ball->velocity = Vec2(120.0f, 900.0f);
    sea->Collide(ball);
    EXPECT_EQ(ball->state, Life::kSinking);

    // The ripple: the ball's fall speed over this frame, a hundredth of it.
    WaveSim expected;
    expected.Init(301, 1.0f);
    expected.Ripple(150, 900.0f * kStep / 100.0f);
    EXPECT_EQ(sea->sim.flows, expected.flows);

    auto* drops = static_cast<ParticleObj*>(LastOfType("ParticleObj"));
    if (!drops) GTEST_SKIP() << "no particle objects in this build";
    EXPECT_EQ(CountOfType("ParticleObj"), 1);
    ParticleSystem* system = drops->System();
    ASSERT_NE(system, nullptr) << "the spray is initialised";
    EXPECT_EQ(system->inRenderList, 1);
    const ParticleSettings& s = drops->Settings();
    EXPECT_EQ(s.continuous, 0);
    EXPECT_EQ(s.count, 50);
    const Vec2* box = ball->GetCorners();
    for (int k = 0; k < 4; ++k) EXPECT_EQ(s.emitterBox[k], box[k]) << k;
    EXPECT_EQ(s.z, 0.1f);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.startColour[k], 1.0f);
        EXPECT_EQ(s.endColour[k], 1.0f);
    }
    EXPECT_EQ(s.velocity.base, Vec2(0.0f, -175.0f));
    EXPECT_EQ(s.velocity.spread, Vec2(40.0f, 30.0f));
    EXPECT_EQ(s.acceleration.base, Vec2(0.0f, 200.0f));
    EXPECT_EQ(s.acceleration.spread, Vec2(0.0f, 0.0f));
    EXPECT_EQ(s.size.base, Vec2(0.3f, 0.3f));
    EXPECT_EQ(s.size.spread, Vec2(0.3f, 0.3f));
    EXPECT_EQ(s.lifetime.base, 0.5f);
    EXPECT_EQ(s.lifetime.spread, 1.0f);
    EXPECT_EQ(system->emissionRate, 5000.0f);
    ASSERT_NE(system->texture, nullptr);
    EXPECT_EQ(system->texture->fileName, "images//raindrop.tga");

    // A second contact with the same ball does nothing more.
    sea->Collide(ball);
    EXPECT_EQ(CountOfType("ParticleObj"), 1);
    EXPECT_EQ(sea->sim.flows, expected.flows);
}

TEST_F(SplashTest, ThroughTheManagerAllFiftyDropsLeaveInTheFirstUpdate) {
    Thing* ball = AddThing("CannonBall", 100.0f, 470.0f);
    ball->velocity = Vec2(0.0f, 1500.0f);
    goManager.Update(kStep);  // the water is the mover and meets the ball
    EXPECT_EQ(ball->state, Life::kSinking);
    auto* drops = static_cast<ParticleObj*>(LastOfType("ParticleObj"));
    if (!drops) GTEST_SKIP() << "no particle objects in this build";
    ASSERT_NE(drops->System(), nullptr);
    // Made during the pass, behind the water, and already updated: every drop is out
    // (drops born with no life left never count as live, so look at the pool).
    const ParticleSystem* system = drops->System();
    int emitted = 0;
    for (int i = 0; i < 50; ++i) emitted += system->particles[i].life != -1.0f;
    EXPECT_EQ(emitted, 50);
    EXPECT_GT(system->liveCount, 0);
    EXPECT_EQ(drops->noCollide, 0);

    // The second sea never collides, so a ball under it alone does not splash.
    goManager.Clear();
    Water* back = MakeSea(-4500.0f, 530.0f, 0.1f);
    back->noCollide = 1;
    Thing* other = AddThing("CannonBall", 0.0f, 470.0f);
    goManager.Update(kStep);
    EXPECT_EQ(other->state, Life::kNormal);
}

TEST_F(SplashTest, NearTheEndsASplashStillSoundsAndSpraysButMakesNoWave) {
    const float nearLeft = -4500.0f + 3.0f * 9000.0f / 301.0f;  // column 3
    const float nearRight = -4500.0f + 298.5f * 9000.0f / 301.0f;
    for (float x : {nearLeft, nearRight}) {
        Thing* ball = AddThing("CannonBall", x, 480.0f);
        ball->velocity = Vec2(0.0f, 2000.0f);
        sea->Collide(ball);
        EXPECT_EQ(ball->state, Life::kSinking) << x;
    }
    EXPECT_TRUE(FlowsAtRest(sea));
    if (!LastOfType("ParticleObj")) GTEST_SKIP() << "no particle objects in this build";
    EXPECT_EQ(CountOfType("ParticleObj"), 2);
}

TEST_F(SplashTest, ABallBeyondTheStripSplashesAgainstTheZeroHeight) {
    // There is no water there, so the height is 0 and anything lower on screen counts
    // as under it; only a ball whose box overlaps the sea ever gets here.
    Thing* ball = AddThing("CannonBall", -4510.0f, 460.0f);
    ball->velocity = Vec2(0.0f, 500.0f);
    sea->Collide(ball);
    EXPECT_EQ(ball->state, Life::kSinking);
    EXPECT_TRUE(FlowsAtRest(sea));
    Thing* skyHigh = AddThing("CannonBall", -4510.0f, -5.0f);
    sea->Collide(skyHigh);
    EXPECT_EQ(skyHigh->state, Life::kNormal);
}

// Clouds: growth, moisture from overlapping clouds, raining, clearing, and the rain's
// life tied to its cloud's.
#include <gtest/gtest.h>

#include <climits>

#include "Cloud.h"
#include "ParticleSystem.h"
#include "Rain.h"
#include "Sprite.h"
#include "WeatherTestSupport.h"

using namespace weather;

namespace {

Cloud* MakeCloud(float x, float y) {
    Cloud* c = static_cast<Cloud*>(goManager.Create("Cloud"));
    EXPECT_NE(c, nullptr);
    c->Init();
    c->SetPosition(Vec2(x, y));
    return c;
}

// A cloud that starts raining in the next pass with the given moisture.
Cloud* RainingCloud(int moisture) {
    Cloud* c = MakeCloud(400.0f, 100.0f);
    c->moisture = moisture;
    goManager.Update(kDt);
    EXPECT_EQ(c->state, 1000);
    EXPECT_NE(c->rain, nullptr);
    return c;
}

}  // namespace

TEST_F(WeatherTest, CloudStartsInvisibleAndGrowsToARandomSize) {
    SRand(777u);
    const int rx = Rand() % 20;
    const int ry = Rand() % 20;
    SRand(777u);
    Cloud* c = MakeCloud(300.0f, 120.0f);
    EXPECT_STREQ(c->GetType(), "Cloud");
    EXPECT_EQ(c->targetScale, Vec2(static_cast<float>(rx / 40.0 + 0.2), static_cast<float>(ry / 40.0 + 0.2)));
    Sprite* sprite = static_cast<Sprite*>(c->renderable);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->scale, Vec2(0.0f, 0.0f));
    EXPECT_EQ(sprite->GetDepth(), 1.0f);
    EXPECT_EQ(sprite->inRenderList, 1);
    EXPECT_EQ(sprite->blendMode, 1u);
    EXPECT_EQ(c->moisture, 0);
    EXPECT_EQ(c->rainTime, 0.0f);
    EXPECT_EQ(c->rain, nullptr);

    c->Update(kDt);
    EXPECT_EQ(sprite->scale, Vec2(kDt, kDt));
    // The box follows the growth at once.
    EXPECT_NEAR(sprite->corners[3].x - sprite->corners[0].x, sprite->frameWidth * kDt, 1e-3);

    for (int i = 0; i < 60; ++i) c->Update(kDt);
    EXPECT_GE(sprite->scale.x, c->targetScale.x);
    EXPECT_LT(sprite->scale.x, c->targetScale.x + kDt);
    EXPECT_GE(sprite->scale.y, c->targetScale.y);
    EXPECT_LT(sprite->scale.y, c->targetScale.y + kDt);
    const Vec2 grown = sprite->scale;
    c->Update(kDt);
    EXPECT_EQ(sprite->scale, grown);
}

TEST_F(WeatherTest, TargetSizesStayWithinTheirRange) {
    bool low = false, high = false;
    for (int i = 0; i < 300; ++i) {
        Cloud* c = MakeCloud(0.0f, 0.0f);
        for (float v : {c->targetScale.x, c->targetScale.y}) {
            EXPECT_GE(v, 0.2f);
            EXPECT_LE(v, 0.675f);
            low = low || v < 0.2001f;
            high = high || v > 0.6749f;
        }
    }
    EXPECT_TRUE(low);
    EXPECT_TRUE(high);
}

TEST_F(WeatherTest, OnlyOtherCloudsAddMoisture) {
    Cloud* c = MakeCloud(0.0f, 0.0f);
    Cloud* dry = MakeCloud(0.0f, 0.0f);
    Cloud* wet = MakeCloud(0.0f, 0.0f);
    Stranger water("Water", 0, 0, 1, 1);
    c->Collide(&water);
    EXPECT_EQ(c->moisture, 0);
    c->Collide(dry);  // counts as one
    EXPECT_EQ(c->moisture, 1);
    wet->moisture = 4;
    c->Collide(wet);  // brings its own
    EXPECT_EQ(c->moisture, 5);
    wet->moisture = INT_MAX;
    c->Collide(wet);
    EXPECT_EQ(c->moisture, INT_MAX);  // saturates instead of wrapping round
}

TEST_F(WeatherTest, TwoCloudsOverlappingOnlyEachOtherNeverRain) {
    Cloud* a = MakeCloud(300.0f, 100.0f);
    Cloud* b = MakeCloud(300.0f, 100.0f);
    for (int frame = 0; frame < 300; ++frame) {
        goManager.Update(kDt);
        ASSERT_EQ(a->moisture, 1) << frame;
        ASSERT_EQ(b->moisture, 1) << frame;
        ASSERT_EQ(a->state, 1);
        ASSERT_EQ(b->state, 1);
    }
    EXPECT_EQ(CountOfType("Rain"), 0);
    EXPECT_EQ(a->rain, nullptr);
}

TEST_F(WeatherTest, ThreeOverlappingCloudsRainAtTwiceTheirMoisture) {
    Cloud* a = MakeCloud(300.0f, 100.0f);
    Cloud* b = MakeCloud(300.0f, 100.0f);
    Cloud* c = MakeCloud(300.0f, 100.0f);
    goManager.Update(kDt);
    // Each counts the clouds before it with the moisture they gathered this pass.
    EXPECT_EQ(a->moisture, 2);
    EXPECT_EQ(b->moisture, 3);
    EXPECT_EQ(c->moisture, 5);
    EXPECT_EQ(CountOfType("Rain"), 0);

    goManager.Update(kDt);
    const Cloud* clouds[3] = {a, b, c};
    const float rates[3] = {4.0f, 6.0f, 10.0f};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(clouds[i]->state, 1000);
        ASSERT_NE(clouds[i]->rain, nullptr);
        EXPECT_EQ(clouds[i]->rain->cloud, clouds[i]);
        EXPECT_EQ(clouds[i]->rain->intensity, rates[i] / 2.0f);
        ASSERT_NE(clouds[i]->rain->System(), nullptr);
        EXPECT_EQ(clouds[i]->rain->System()->emissionRate, rates[i]);
        // Created during the pass, the rain was updated in it too.
        EXPECT_EQ(clouds[i]->rain->stateTime, kDt);
    }
    EXPECT_EQ(CountOfType("Rain"), 3);

    // Their counts feed each other for as long as they overlap; nothing overflows.
    Frames(200);
    EXPECT_EQ(a->state, 1000);
    EXPECT_EQ(c->moisture, INT_MAX);
    EXPECT_EQ(c->rainTime, static_cast<float>(INT_MAX));
}

TEST_F(WeatherTest, MoistureOfTwoStartsRainAtTheCloud) {
    Cloud* dry = MakeCloud(400.0f, 100.0f);
    dry->moisture = 1;
    goManager.Update(kDt);
    EXPECT_EQ(dry->state, 1);
    EXPECT_EQ(dry->rain, nullptr);
    goManager.Clear();

    Cloud* c = RainingCloud(2);
    Rain* r = c->rain;
    EXPECT_EQ(r->intensity, 2.0f);
    EXPECT_EQ(r->System()->emissionRate, 4.0f);
    EXPECT_EQ(r->System()->stopEmitting, 0);
    const Vec2* box = r->System()->settings.emitterBox;
    EXPECT_EQ(box[0], Vec2(399.5f, 99.5f));
    EXPECT_EQ(box[3], Vec2(400.5f, 100.5f));
    EXPECT_EQ(c->stateTime, 0.0f);
    EXPECT_EQ(c->moisture, 0);  // nothing overlapped it in this pass
}

TEST_F(WeatherTest, RainingCloudWithoutOverlapsStopsAtItsNextUpdate) {
    Cloud* c = RainingCloud(3);
    Rain* r = c->rain;
    const float before[3] = {c->renderable->colour[0], c->renderable->colour[1], c->renderable->colour[2]};
    goManager.Update(kDt);
    EXPECT_EQ(c->rainTime, 0.0f);
    EXPECT_EQ(c->state, 2);
    EXPECT_EQ(r->intensity, 0.0f);
    EXPECT_EQ(r->System()->emissionRate, 0.0f);
    // That last raining update darkened it towards grey and made it opaque.
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(c->renderable->colour[i], before[i] + (0.5f - before[i]) * kDt);
    EXPECT_EQ(c->renderable->colour[3], 1.0f);

    EXPECT_EQ(r->System()->stopEmitting, 0);
    goManager.Update(kDt);  // clearing: the rain is told to stop
    EXPECT_EQ(r->System()->stopEmitting, 1);
    EXPECT_TRUE(Listed(r));
    EXPECT_EQ(c->rain, r);
}

TEST_F(WeatherTest, RainLastsAsLongAsTheMoistureOfEachUpdate) {
    Cloud* c = RainingCloud(2);
    // One second's worth every update: stops once more than a second has passed.
    for (int update = 1; update <= 60; ++update) {
        c->moisture = 1;
        goManager.Update(kDt);
        ASSERT_EQ(c->state, 1000) << update;
        EXPECT_EQ(c->rainTime, 1.0f);
        EXPECT_EQ(c->rain->System()->emissionRate, 2.0f);
    }
    c->moisture = 1;
    goManager.Update(kDt);
    EXPECT_EQ(c->state, 2);
}

TEST_F(WeatherTest, ClearingCloudFadesAndIsSpentAfterThreeSeconds) {
    Cloud* c = RainingCloud(2);
    goManager.Update(kDt);
    ASSERT_EQ(c->state, 2);
    float alpha = c->renderable->colour[3];
    EXPECT_EQ(alpha, 1.0f);
    // 180 steps of 1/60 add up to just under 3 s in float; the 181st passes it.
    for (int update = 1; update <= 180; ++update) {
        goManager.Update(kDt);
        ASSERT_EQ(c->state, 2) << update;
        const float expected = alpha + (0.0f - alpha) * kDt;
        ASSERT_FLOAT_EQ(c->renderable->colour[3], expected);
        alpha = c->renderable->colour[3];
    }
    goManager.Update(kDt);
    EXPECT_EQ(c->state, 4);
    alpha = c->renderable->colour[3];
    EXPECT_GT(alpha, 0.0f);
    EXPECT_LT(alpha, 0.06f);  // nearly transparent

    // Spent: stays as it is, and even fresh moisture does not start it again.
    const float colour[3] = {c->renderable->colour[0], c->renderable->colour[1], c->renderable->colour[2]};
    for (int i = 0; i < 30; ++i) {
        c->moisture = 5;
        goManager.Update(kDt);
    }
    EXPECT_EQ(c->state, 4);
    EXPECT_EQ(c->renderable->colour[3], alpha);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c->renderable->colour[i], colour[i]);
    EXPECT_EQ(CountOfType("Rain"), 1);
    EXPECT_TRUE(Listed(c));
}

TEST_F(WeatherTest, DeadCloudTakesItsRainWithIt) {
    Cloud* c = RainingCloud(4);
    Rain* r = c->rain;
    Frames(3);
    c->SetState(3);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(c));
    EXPECT_FALSE(Listed(r));
    EXPECT_EQ(CountOfType("Rain"), 0);
    const auto log = ReadLog();
    EXPECT_EQ(CountLines(log, "Queuing up GO of type: Rain for deletion"), 1);
    EXPECT_EQ(CountLines(log, "Deleting GO of type: Cloud"), 1);
    EXPECT_EQ(CountLines(log, "Deleting GO of type: Rain"), 1);
}

TEST_F(WeatherTest, CloudAndRainDyingTogetherAreDestroyedOnce) {
    Cloud* c = RainingCloud(4);
    Rain* r = c->rain;
    r->SetState(3);  // queued by the pass, and again by the cloud's Kill
    c->SetState(3);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(c));
    EXPECT_FALSE(Listed(r));
    EXPECT_EQ(CountLines(ReadLog(), "Deleting GO of type: Rain"), 1);
}

TEST_F(WeatherTest, CloudForgetsARainDestroyedBeforeIt) {
    Cloud* c = RainingCloud(4);
    Rain* r = c->rain;
    r->SetState(3);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(r));
    EXPECT_EQ(c->rain, nullptr);
    // Raining on and clearing without its rain touch nothing that is gone.
    Frames(200);
    EXPECT_EQ(c->state, 4);
    c->SetState(3);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(c));
    EXPECT_EQ(CountLines(ReadLog(), "Queuing up GO of type: Rain for deletion"), 0);
}

TEST_F(WeatherTest, ClearingTheManagerDestroysCloudAndRainOnce) {
    RainingCloud(4);
    Frames(2);
    goManager.Clear();  // the cloud's Kill queues its rain, which the clear destroys too
    EXPECT_TRUE(goManager.deleteQueue.Empty());
    // Nothing stale is left behind: the next passes run as usual.
    goManager.ReopenLog();
    Cloud* c = RainingCloud(2);
    Frames(2);
    EXPECT_EQ(c->state, 2);
    EXPECT_EQ(CountLines(ReadLog(), "Deleting GO of type: Rain"), 0);
}

TEST_F(WeatherTest, KilledCloudLeavesTheScreen) {
    Cloud* c = MakeCloud(10.0f, 10.0f);
    c->Kill();
    EXPECT_EQ(c->renderable->inRenderList, 0);
}

// Clouds: growth, moisture from overlapping clouds, raining, clearing, and the rain's
// life tied to its cloud's.
#include <gtest/gtest.h>

#include <climits>

#include "ParticleSystem.h"
#include "WeatherTestSupport.h"
#include "sea/Cloud.h"
#include "sea/Rain.h"

using namespace weather;

namespace {

Cloud* MakeCloud(float x, float y) {
    Cloud* c = static_cast<Cloud*>(goManager.Create("Cloud"));
    c->Init();
    c->SetPosition(Vec2(x, y));
    return c;
}

// A lone cloud that has just started raining with the given moisture.
Cloud* RainingCloud(int moisture) {
    Cloud* c = MakeCloud(400.0f, 100.0f);
    c->moisture = moisture;
    goManager.Update(kDt);
    EXPECT_EQ(c->state, Cloud::Phase::kRaining);
    EXPECT_NE(c->rain, nullptr);
    return c;
}

}  // namespace

TEST_F(WeatherTest, CloudGrowsFromNothingToARandomSize) {
    SRand(777u);
    const int rx = Rand() % 20, ry = Rand() % 20;
    SRand(777u);
    Cloud* c = MakeCloud(300.0f, 120.0f);
    EXPECT_EQ(c->targetScale, Vec2(static_cast<float>(rx / 40.0 + 0.2), static_cast<float>(ry / 40.0 + 0.2)));
    Renderable* sprite = c->renderable;
    EXPECT_EQ(sprite->scale, Vec2(0.0f, 0.0f));
    EXPECT_EQ(sprite->GetDepth(), 1.0f);
    EXPECT_EQ(sprite->inRenderList, 1);
    c->Update(kDt);
    EXPECT_EQ(sprite->scale, Vec2(kDt, kDt));
    EXPECT_NEAR(sprite->corners[kBottomRight].x - sprite->corners[kTopLeft].x, sprite->GetWidth() * kDt, 1e-3);
    for (int i = 0; i < 60; ++i) c->Update(kDt);
    EXPECT_GE(sprite->scale.x, c->targetScale.x);
    EXPECT_LT(sprite->scale.x, c->targetScale.x + kDt);
    EXPECT_GE(sprite->scale.y, c->targetScale.y);
    EXPECT_LT(sprite->scale.y, c->targetScale.y + kDt);
    c->Kill();
    EXPECT_EQ(sprite->inRenderList, 0);
}

TEST_F(WeatherTest, OnlyOtherCloudsAddMoisture) {
    Cloud* c = MakeCloud(0.0f, 0.0f);
    Cloud* other = MakeCloud(0.0f, 0.0f);
    Stranger water("Water", 0, 0, 1, 1);
    c->Collide(&water);
    EXPECT_EQ(c->moisture, 0);
    c->Collide(other);  // a dry cloud counts as one
    EXPECT_EQ(c->moisture, 1);
    other->moisture = 4;
    c->Collide(other);  // a wet one brings its own
    EXPECT_EQ(c->moisture, 5);
    other->moisture = INT_MAX;
    c->Collide(other);
    EXPECT_EQ(c->moisture, INT_MAX);  // saturates rather than wrapping round
}

TEST_F(WeatherTest, TwoCloudsOverlappingOnlyEachOtherNeverRain) {
    Cloud* a = MakeCloud(300.0f, 100.0f);
    Cloud* b = MakeCloud(300.0f, 100.0f);
    for (int frame = 0; frame < 300; ++frame) {
        goManager.Update(kDt);
        ASSERT_EQ(a->moisture, 1) << frame;
        ASSERT_EQ(b->moisture, 1) << frame;
    }
    EXPECT_TRUE(a->state == Life::kNormal && b->state == Life::kNormal);
    EXPECT_EQ(CountOfType("Rain"), 0);
}

TEST_F(WeatherTest, ThreeOverlappingCloudsRainAtTwiceTheirMoisture) {
    Cloud* clouds[3] = {MakeCloud(300, 100), MakeCloud(300, 100), MakeCloud(300, 100)};
    goManager.Update(kDt);
    // Each adds the counts its neighbours gathered so far in this pass (or 1).
    EXPECT_EQ(clouds[0]->moisture, 2);
    EXPECT_EQ(clouds[1]->moisture, 3);
    EXPECT_EQ(clouds[2]->moisture, 5);
    goManager.Update(kDt);
    const float rates[3] = {4.0f, 6.0f, 10.0f};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(clouds[i]->state, Cloud::Phase::kRaining) << i;
        Rain* r = clouds[i]->rain;
        EXPECT_EQ(r->intensity, rates[i] / 2.0f);
        EXPECT_EQ(r->System()->emissionRate, rates[i]);
        EXPECT_EQ(BoxCentre(r->System()->settings.emitterBox), Vec2(300.0f, 100.0f));
        EXPECT_EQ(r->stateTime, kDt);  // created in the pass, updated in it
    }
    Frames(200);  // the counts feed each other without overflowing
    EXPECT_EQ(clouds[0]->state, Cloud::Phase::kRaining);
    EXPECT_EQ(clouds[2]->rainTime, static_cast<float>(INT_MAX));
}

TEST_F(WeatherTest, RainStartsAtTwoAndStopsOnceTheOverlapsEnd) {
    Cloud* dry = MakeCloud(0.0f, 0.0f);
    dry->moisture = 1;
    goManager.Update(kDt);
    EXPECT_EQ(dry->state, Life::kNormal);
    goManager.Clear();

    Cloud* c = RainingCloud(2);
    Rain* r = c->rain;
    EXPECT_EQ(r->System()->emissionRate, 4.0f);
    // One second's worth each update: rains until more than a second has passed.
    for (int update = 1; update <= 60; ++update) {
        c->moisture = 1;
        goManager.Update(kDt);
        ASSERT_EQ(c->state, Cloud::Phase::kRaining) << update;
    }
    EXPECT_EQ(r->System()->emissionRate, 2.0f);
    EXPECT_EQ(c->renderable->colour[3], 1.0f);
    EXPECT_LT(c->renderable->colour[0], 1.0f);  // darkening towards grey
    c->moisture = 1;
    goManager.Update(kDt);
    EXPECT_EQ(c->state, Cloud::Phase::kClearing);

    // No overlap at all: the next update ends it (rainTime 0 < stateTime).
    goManager.Clear();
    Cloud* lone = RainingCloud(3);
    const float red = lone->renderable->colour[0];
    goManager.Update(kDt);
    EXPECT_EQ(lone->state, Cloud::Phase::kClearing);
    EXPECT_EQ(lone->rain->System()->emissionRate, 0.0f);
    EXPECT_FLOAT_EQ(lone->renderable->colour[0], red + (0.5f - red) * kDt);
}

TEST_F(WeatherTest, ClearingCloudStopsItsRainFadesAndIsSpentAfterThreeSeconds) {
    Cloud* c = RainingCloud(2);
    goManager.Update(kDt);
    ASSERT_EQ(c->state, Cloud::Phase::kClearing);
    EXPECT_EQ(c->rain->System()->stopEmitting, 0);
    float alpha = c->renderable->colour[3];
    // 180 float steps of 1/60 stay just under 3 s; the 181st passes it.
    for (int update = 1; update <= 180; ++update) {
        goManager.Update(kDt);
        ASSERT_EQ(c->state, Cloud::Phase::kClearing) << update;
        ASSERT_FLOAT_EQ(c->renderable->colour[3], alpha - alpha * kDt);
        alpha = c->renderable->colour[3];
    }
    EXPECT_EQ(c->rain->System()->stopEmitting, 1);
    goManager.Update(kDt);
    EXPECT_EQ(c->state, Cloud::Phase::kSpent);
    alpha = c->renderable->colour[3];
    EXPECT_LT(alpha, 0.06f);
    for (int i = 0; i < 30; ++i) {  // spent: stays so, whatever it overlaps
        c->moisture = 5;
        goManager.Update(kDt);
    }
    EXPECT_EQ(c->state, Cloud::Phase::kSpent);
    EXPECT_EQ(c->renderable->colour[3], alpha);
    EXPECT_EQ(CountOfType("Rain"), 1);
}

TEST_F(WeatherTest, DeadCloudTakesItsRainWithItOnce) {
    Cloud* c = RainingCloud(4);
    Rain* r = c->rain;
    c->SetState(Life::kDead);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(c) || Listed(r));
    EXPECT_EQ(LogCount("Queuing up GO of type: Rain for deletion"), 1);
    EXPECT_EQ(LogCount("Deleting GO of type: Rain"), 1);

    // Both dead together: queued twice, destroyed once.
    c = RainingCloud(4);
    r = c->rain;
    r->SetState(Life::kDead);
    c->SetState(Life::kDead);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(c) || Listed(r));
    EXPECT_EQ(LogCount("Deleting GO of type: Rain"), 2);

    // Cleared with the manager: the rain queued by the cloud's Kill is not left behind.
    RainingCloud(4);
    goManager.Clear();
    EXPECT_TRUE(goManager.deleteQueue.Empty());
}

TEST_F(WeatherTest, CloudForgetsARainDestroyedBeforeIt) {
    Cloud* c = RainingCloud(4);
    c->rain->SetState(Life::kDead);
    goManager.Update(kDt);
    EXPECT_EQ(c->rain, nullptr);
    Frames(200);  // raining on and clearing touch nothing that is gone
    EXPECT_EQ(c->state, Cloud::Phase::kSpent);
    c->SetState(Life::kDead);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(c));
    EXPECT_EQ(LogCount("Queuing up GO of type: Rain for deletion"), 0);
}

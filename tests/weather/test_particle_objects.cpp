// Particle objects, fire with its smoke, and rain.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "ParticleSystem.h"
#include "Texture.h"
#include "WeatherTestSupport.h"
#include "sea/Fire.h"
#include "sea/ParticleObj.h"
#include "sea/Rain.h"

using namespace weather;

namespace {

// The water's splash: 50 drops thrown up from a cannon ball's box, all at once.
ParticleObj* MakeSplash(float lifetime, float lifetimeSpread) {
    auto* p = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    ParticleSettings& s = p->Settings();
    s.count = 50;
    BoxSet(s.emitterBox, 100.0f, 200.0f, 116.0f, 216.0f);
    for (float& c : s.endColour) c = 1.0f;
    s.velocity = {Vec2(0.0f, -175.0f), Vec2(40.0f, 30.0f)};
    s.acceleration.base = Vec2(0.0f, 200.0f);
    s.size = {Vec2(0.3f, 0.3f), Vec2(0.3f, 0.3f)};
    s.lifetime = {lifetime, lifetimeSpread};
    p->Init();
    p->MakeSprite("images//raindrop.tga");
    p->SetEmissionRate(5000.0f);
    return p;
}

float LongestLife(const ParticleSystem* ps) {
    float m = -2.0f;
    for (int i = 0; i < ps->settings.count; ++i) m = std::max(m, ps->particles[i].life);
    return m;
}

Fire* MakeFire(float x, float y) {
    Fire* f = static_cast<Fire*>(goManager.Create("Fire"));
    f->Init();
    f->SetPosition(Vec2(x, y));
    return f;
}

}  // namespace

TEST_F(WeatherTest, ParticleObjKeepsItsSettingsUntilInitThenUsesTheSystems) {
    auto* p = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->System(), nullptr);
    EXPECT_EQ(&p->Settings(), &p->settings);
    EXPECT_EQ(p->settings.emitterBox[3], Vec2(1, 1));
    EXPECT_EQ(p->settings.startColour[3], 1.0f);
    p->Update(kDt);  // nothing to step yet, and nothing to remove
    EXPECT_EQ(p->state, Life::kNormal);

    p->SetPosition(Vec2(50.0f, 80.0f));  // centres the 1 x 1 box
    EXPECT_EQ(p->settings.emitterBox[0], Vec2(49.5f, 79.5f));
    BoxSet(p->settings.emitterBox, 10.0f, 20.0f, 30.0f, 24.0f);
    p->Settings().count = 7;
    p->SetEmissionRate(42.0f);
    p->Init();
    ParticleSystem* ps = p->System();
    ASSERT_EQ(static_cast<Renderable*>(ps), p->renderable);
    EXPECT_EQ(ps->inRenderList, 1);
    EXPECT_EQ(&p->Settings(), &ps->settings);
    EXPECT_EQ(ps->settings.count, 7);
    EXPECT_EQ(ps->emissionRate, 42.0f);

    p->SetPosition(Vec2(300.0f, 400.0f));  // now the system's box, size kept
    EXPECT_EQ(ps->settings.emitterBox[0], Vec2(290.0f, 398.0f));
    EXPECT_EQ(ps->settings.emitterBox[3], Vec2(310.0f, 402.0f));
    EXPECT_EQ(*p->GetPosition(), Vec2(0.0f, 0.0f));  // its own field, never moved
    p->MakeSprite("images//splash.tga");            // images the system, no new sprite
    EXPECT_EQ(p->renderable, static_cast<Renderable*>(ps));
    EXPECT_EQ(ps->texture->fileName, "images//splash.tga");
}

TEST_F(WeatherTest, UpdateStepsTheParticlesTwiceAndTheObjectOnce) {
    auto* p = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    p->Settings().count = 1;
    p->Settings().velocity.base = Vec2(60.0f, 0.0f);
    p->Settings().lifetime.base = 10.0f;
    p->Init();
    p->SetEmissionRate(1000.0f);
    const Particle& drop = p->System()->particles[0];
    goManager.Update(kDt);  // born in the first step, moved in the second
    const float x1 = drop.position.x;
    goManager.Update(kDt);
    EXPECT_FLOAT_EQ(drop.position.x - x1, 2.0f * 60.0f * kDt);
    EXPECT_EQ(drop.life, 10.0f - kDt - kDt - kDt);
    EXPECT_EQ(p->stateTime, kDt + kDt);
}

// 0.24 s of life runs out in the second step of frame 8, which still counted the drops:
// frame 9 finds none and marks the splash, frame 10 destroys it. 0.23 s runs out in
// the first step of frame 8, so its second step already finds none.
TEST_F(WeatherTest, SplashIsMarkedByTheFirstStepThatFindsNoDrops) {
    for (const auto& [life, markFrame] : {std::pair{0.24f, 9}, std::pair{0.23f, 8}}) {
        ParticleObj* p = MakeSplash(life, 0.0f);
        for (int frame = 1; frame < markFrame; ++frame) {
            goManager.Update(kDt);
            ASSERT_EQ(p->state, Life::kNormal) << life << " frame " << frame;
        }
        goManager.Update(kDt);
        EXPECT_EQ(p->state, Life::kDead) << life;
        EXPECT_TRUE(Listed(p));
        goManager.Update(kDt);
        EXPECT_FALSE(Listed(p));
    }
    EXPECT_EQ(LogCount("Deleting GO of type: ParticleObj"), 2);
}

// With the water's random lives: never marked while a drop lives, marked by the frame
// holding the first step that finds none.
TEST_F(WeatherTest, WaterSplashIsRemovedRightAfterItsLastDrop) {
    ParticleObj* p = MakeSplash(0.5f, 1.0f);
    int frame = 0, markedFrame = 0, expectedMark = 0;
    while (frame < 300) {
        goManager.Update(kDt);
        ++frame;
        if (!Listed(p)) break;
        if (p->state == Life::kDead) {
            if (!markedFrame) markedFrame = frame;
        } else if (LongestLife(p->System()) > 0.0f) {
            const float afterOne = LongestLife(p->System()) - kDt;
            if (!(afterOne > 0.0f)) expectedMark = frame + 1;
            else expectedMark = afterOne - kDt > 0.0f ? 0 : frame + 2;
        }
    }
    EXPECT_FALSE(Listed(p));
    EXPECT_GT(markedFrame, 0);
    EXPECT_EQ(markedFrame, expectedMark);
    EXPECT_EQ(frame, markedFrame + 1);
}

TEST_F(WeatherTest, ContinuousOrKeptParticleObjectsAreNeverRemoved) {
    auto* wake = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    wake->Settings().continuous = 1;
    wake->Settings().count = 5;
    wake->Settings().lifetime.base = 0.1f;
    wake->Init();
    wake->SetEmissionRate(600.0f);
    ParticleObj* kept = MakeSplash(0.1f, 0.0f);
    kept->removeWhenSpent = 0;
    Frames(10);
    wake->StopEmitting();
    Frames(60);
    EXPECT_EQ(wake->System()->liveCount, 0);
    EXPECT_EQ(kept->System()->liveCount, 0);
    EXPECT_TRUE(Listed(wake) && wake->state == Life::kNormal);
    EXPECT_TRUE(Listed(kept) && kept->state == Life::kNormal);
    wake->StartEmitting();
    goManager.Update(kDt);
    EXPECT_GT(wake->System()->liveCount, 0);
}

TEST_F(WeatherTest, FireBuildsFlamesAndSmokeThatFollowsThem) {
    Fire* f = MakeFire(200.0f, 300.0f);
    ParticleSystem* flames = f->System();
    ASSERT_TRUE(flames && f->smoke);
    EXPECT_EQ(flames->blendMode, BlendMode::kAdditive);
    EXPECT_EQ(f->smoke->blendMode, BlendMode::kAlpha);
    EXPECT_EQ(flames->settings.z, 0.4f);
    EXPECT_EQ(f->smoke->settings.z, 0.35f);
    EXPECT_EQ(flames->texture->fileName, "images//fireball.tga");
    EXPECT_EQ(f->smoke->texture->fileName, "images\\smoke.tga");
    EXPECT_EQ(f->smoke->inRenderList, 1);

    Frames(2);
    EXPECT_EQ(BoxCentre(f->smoke->settings.emitterBox), Vec2(200.0f, 300.0f));
    // Both at 70 per second: four flame steps emitted four, two smoke steps two.
    EXPECT_EQ(flames->liveCount, 4);
    EXPECT_EQ(f->smoke->liveCount, 2);
}

TEST_F(WeatherTest, StoppedFireKeepsItsSmokeStoppedAndRestartsBoth) {
    Fire* f = MakeFire(200.0f, 300.0f);
    Frames(30);
    f->StopEmitting();
    for (int frame = 0; frame < 200; ++frame) {
        goManager.Update(kDt);
        ASSERT_EQ(f->smoke->stopEmitting, 1) << frame;
    }
    EXPECT_EQ(f->System()->liveCount + f->smoke->liveCount, 0);
    EXPECT_EQ(f->smoke->finished, 1);
    EXPECT_TRUE(Listed(f));  // burnt out, but continuous: not removed
    f->StartEmitting();
    goManager.Update(kDt);
    EXPECT_GT(f->System()->liveCount, 0);
    EXPECT_GT(f->smoke->liveCount, 0);

    // The smoke takes its flags from the flames at every update.
    f->ParticleObj::StopEmitting();
    f->Update(kDt);
    EXPECT_EQ(f->smoke->stopEmitting, 1);
    f->smoke->finished = 1;
    f->ParticleObj::StartEmitting();
    f->Update(kDt);
    EXPECT_EQ(f->smoke->stopEmitting + f->smoke->finished, 0);
}

TEST_F(WeatherTest, FireGoesOutInTheWaterOnly) {
    Fire* f = MakeFire(200.0f, 300.0f);
    Fire* far = MakeFire(5000.0f, 300.0f);
    Stranger ship("MerchantShip", 0, 0, 1, 1);
    f->Collide(&ship);
    EXPECT_EQ(f->System()->stopEmitting, 0);
    goManager.objects.PushBack(new Stranger("Water", -1000.0f, 0.0f, 1000.0f, 1000.0f));
    goManager.Update(kDt);  // the first flame's box already meets the sea
    EXPECT_EQ(f->System()->stopEmitting + f->smoke->stopEmitting, 2);
    EXPECT_EQ(far->System()->stopEmitting + far->smoke->stopEmitting, 0);

    f->Kill();  // nothing of it is drawn after death
    EXPECT_EQ(f->System()->inRenderList + f->smoke->inRenderList, 0);
    far->SetState(Life::kDead);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(far));  // its smoke goes with it (the leak checker would tell)
}

TEST_F(WeatherTest, RainFallsContinuouslyAtTwiceItsIntensity) {
    Rain* r = static_cast<Rain*>(goManager.Create("Rain"));
    ASSERT_NE(r, nullptr);
    r->intensity = 3.0f;
    r->Init();
    ParticleSystem* ps = r->System();
    EXPECT_EQ(ps->emissionRate, 6.0f);
    EXPECT_EQ(ps->settings.count, 1000);
    EXPECT_EQ(ps->settings.acceleration.base, Vec2(0.0f, 90.0f));
    for (int j = 0; j < 4; ++j) EXPECT_EQ(ps->settings.endColour[j], ps->settings.startColour[j]);
    EXPECT_EQ(ps->texture->fileName, "images\\raindrop.tga");
    Frames(400);  // outlasts every drop's life: emission goes on
    EXPECT_TRUE(Listed(r));
    EXPECT_GT(ps->liveCount, 0);
}

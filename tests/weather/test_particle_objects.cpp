// Particle objects, fire with its smoke, and rain: settings before and after Init,
// emitter placement, the double step, removal when spent, stopping and restarting.
#include <gtest/gtest.h>

#include "Fire.h"
#include "ParticleObj.h"
#include "ParticleSystem.h"
#include "Rain.h"
#include "Texture.h"
#include "WeatherTestSupport.h"

using namespace weather;

namespace {

ParticleObj* CreateParticleObj() {
    GameObj* o = goManager.Create("ParticleObj");
    EXPECT_NE(o, nullptr);
    return static_cast<ParticleObj*>(o);
}

// The water's splash: 50 drops thrown up from a cannon ball's box, all at once.
ParticleObj* MakeSplash(float lifetime, float lifetimeSpread) {
    ParticleObj* p = CreateParticleObj();
    ParticleSettings& s = p->Settings();
    s.continuous = 0;
    s.count = 50;
    BoxSet(s.emitterBox, 100.0f, 200.0f, 116.0f, 216.0f);
    s.z = 0.1f;
    for (int j = 0; j < 4; ++j) s.startColour[j] = s.endColour[j] = 1.0f;
    s.velocity.base = Vec2(0.0f, -175.0f);
    s.velocity.spread = Vec2(40.0f, 30.0f);
    s.acceleration.base = Vec2(0.0f, 200.0f);
    s.size.base = Vec2(0.3f, 0.3f);
    s.size.spread = Vec2(0.3f, 0.3f);
    s.lifetime.base = lifetime;
    s.lifetime.spread = lifetimeSpread;
    p->Init();
    p->MakeSprite("images//raindrop.tga");
    p->SetEmissionRate(5000.0f);
    return p;
}

int Alive(const ParticleSystem* ps) {
    int n = 0;
    for (int i = 0; i < ps->settings.count; ++i)
        if (ps->particles[i].life > 0.0f) ++n;
    return n;
}

float LongestLife(const ParticleSystem* ps) {
    float m = -2.0f;
    for (int i = 0; i < ps->settings.count; ++i)
        if (ps->particles[i].life > m) m = ps->particles[i].life;
    return m;
}

Fire* MakeFire(float x, float y) {
    Fire* f = static_cast<Fire*>(goManager.Create("Fire"));
    EXPECT_NE(f, nullptr);
    f->Init();
    f->SetPosition(Vec2(x, y));
    return f;
}

}  // namespace

// ---------------------------------------------------------------- ParticleObj basics

TEST_F(WeatherTest, ParticleObjStartsWithItsOwnDefaultsAndHandsThemToTheSystem) {
    ParticleObj* p = CreateParticleObj();
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->GetType(), "ParticleObj");
    EXPECT_EQ(p->System(), nullptr);
    EXPECT_EQ(p->renderable, nullptr);
    EXPECT_EQ(&p->Settings(), &p->settings);
    EXPECT_EQ(p->removeWhenSpent, 1);
    const ParticleSettings& s = p->settings;
    EXPECT_EQ(s.emitterBox[0], Vec2(0, 0));
    EXPECT_EQ(s.emitterBox[1], Vec2(1, 0));
    EXPECT_EQ(s.emitterBox[2], Vec2(0, 1));
    EXPECT_EQ(s.emitterBox[3], Vec2(1, 1));
    for (int j = 0; j < 4; ++j) EXPECT_EQ(s.startColour[j], 1.0f);
    EXPECT_EQ(s.rotation.base, 0.0f);
    EXPECT_EQ(s.rotation.spread, 0.0f);
    EXPECT_EQ(s.spin, 0.0f);

    p->Settings().count = 7;
    p->Settings().lifetime.base = 3.0f;
    p->SetEmissionRate(42.0f);  // before Init: kept for the system
    p->Init();
    ParticleSystem* ps = p->System();
    ASSERT_NE(ps, nullptr);
    EXPECT_EQ(static_cast<Renderable*>(ps), p->renderable);
    EXPECT_EQ(ps->inRenderList, 1);
    EXPECT_EQ(&p->Settings(), &ps->settings);
    EXPECT_EQ(ps->settings.count, 7);
    EXPECT_EQ(ps->settings.lifetime.base, 3.0f);
    EXPECT_EQ(ps->emissionRate, 42.0f);
    p->SetEmissionRate(9.0f);
    EXPECT_EQ(ps->emissionRate, 9.0f);

    // The creator's image reaches the system, not a new sprite.
    p->MakeSprite("images//splash.tga");
    EXPECT_EQ(p->renderable, static_cast<Renderable*>(ps));
    ASSERT_NE(ps->texture, nullptr);
    EXPECT_EQ(ps->textureWidth, static_cast<float>(ps->texture->width));
}

TEST_F(WeatherTest, SetPositionCentresTheEmitterBoxAndGetPositionIgnoresIt) {
    ParticleObj* p = CreateParticleObj();
    p->SetPosition(Vec2(50.0f, 80.0f));  // before Init: the object's own 1 x 1 box
    EXPECT_EQ(p->settings.emitterBox[0], Vec2(49.5f, 79.5f));
    EXPECT_EQ(p->settings.emitterBox[3], Vec2(50.5f, 80.5f));

    BoxSet(p->settings.emitterBox, 10.0f, 20.0f, 30.0f, 24.0f);
    p->Init();
    p->SetPosition(Vec2(300.0f, 400.0f));  // after Init: the system's copy moves
    const Vec2* box = p->System()->settings.emitterBox;
    EXPECT_EQ(box[0], Vec2(290.0f, 398.0f));
    EXPECT_EQ(box[1], Vec2(310.0f, 398.0f));
    EXPECT_EQ(box[2], Vec2(290.0f, 402.0f));
    EXPECT_EQ(box[3], Vec2(310.0f, 402.0f));
    EXPECT_EQ(BoxCentre(box), Vec2(300.0f, 400.0f));
    EXPECT_EQ(p->settings.emitterBox[0], Vec2(10.0f, 20.0f));  // own copy no longer used

    EXPECT_EQ(p->GetPosition(), &p->position);
    EXPECT_EQ(*p->GetPosition(), Vec2(0.0f, 0.0f));
}

TEST_F(WeatherTest, UpdateStepsTheParticlesTwiceAndTheObjectOnce) {
    ParticleObj* p = CreateParticleObj();
    ParticleSettings& s = p->Settings();
    s.count = 1;
    BoxSet(s.emitterBox, 100.0f, 100.0f, 101.0f, 101.0f);
    s.velocity.base = Vec2(60.0f, 0.0f);
    s.lifetime.base = 10.0f;
    p->Init();
    p->SetEmissionRate(1000.0f);
    const Particle& particle = p->System()->particles[0];

    goManager.Update(kDt);  // born in the first step, moved in the second
    EXPECT_EQ(p->stateTime, kDt);
    EXPECT_EQ(p->lastStep, kDt);
    const float x1 = particle.position.x;
    EXPECT_FLOAT_EQ(p->System()->vertices[0], x1 - 60.0f * kDt);

    goManager.Update(kDt);
    EXPECT_FLOAT_EQ(particle.position.x - x1, 2.0f * 60.0f * kDt);
    EXPECT_EQ(p->stateTime, kDt + kDt);
    float life = 10.0f;
    for (int i = 0; i < 3; ++i) life -= kDt;  // three ageing steps after its birth
    EXPECT_EQ(particle.life, life);
}

TEST_F(WeatherTest, UpdateBeforeInitOnlyKeepsTime) {
    ParticleObj* p = CreateParticleObj();
    p->Update(kDt);
    p->Update(kDt);
    EXPECT_EQ(p->state, 1);
    EXPECT_EQ(p->System(), nullptr);
    EXPECT_EQ(p->stateTime, kDt + kDt);
    p->StopEmitting();  // nothing to stop yet
    p->StartEmitting();
    EXPECT_EQ(p->System(), nullptr);
}

// ---------------------------------------------------------------- removal when spent

// 0.24 s of life runs out in the 15th ageing step: the second half of frame 8. That
// step still counted the drops, so frame 9 finds none and marks the object dead, and
// the manager destroys it in frame 10.
TEST_F(WeatherTest, SplashDyingLateInAFrameRemovesItselfInTheNextFrame) {
    ParticleObj* p = MakeSplash(0.24f, 0.0f);
    for (int frame = 1; frame <= 8; ++frame) {
        goManager.Update(kDt);
        EXPECT_EQ(p->state, 1) << "frame " << frame;
    }
    EXPECT_EQ(p->System()->liveCount, 50);
    EXPECT_EQ(Alive(p->System()), 0);  // all died in the frame's last step

    goManager.Update(kDt);  // frame 9
    EXPECT_EQ(p->System()->liveCount, 0);
    EXPECT_EQ(p->state, 3);
    EXPECT_TRUE(Listed(p));
    goManager.Update(kDt);  // frame 10
    EXPECT_FALSE(Listed(p));
    EXPECT_EQ(CountLines(ReadLog(), "Deleting GO of type: ParticleObj"), 1);
}

// 0.23 s runs out in the first half of frame 8; the second half already sees none.
TEST_F(WeatherTest, SplashDyingEarlyInAFrameIsMarkedInThatFrame) {
    ParticleObj* p = MakeSplash(0.23f, 0.0f);
    Frames(7);
    EXPECT_EQ(p->state, 1);
    EXPECT_EQ(Alive(p->System()), 50);
    goManager.Update(kDt);  // frame 8
    EXPECT_EQ(p->state, 3);
    goManager.Update(kDt);
    EXPECT_FALSE(Listed(p));
}

// The water's own splash, random lives included: the object is never marked while a
// drop lives, and is marked by the first update that finds none.
TEST_F(WeatherTest, WaterSplashIsRemovedRightAfterItsLastDrop) {
    ParticleObj* p = MakeSplash(0.5f, 1.0f);
    goManager.Update(kDt);
    for (int i = 0; i < 50; ++i) EXPECT_NE(p->System()->particles[i].life, -1.0f) << i;

    int frame = 1;
    int markedFrame = 0, expectedMark = 0;
    while (Listed(p) && frame < 300) {
        if (p->state == 3) {
            if (!markedFrame) markedFrame = frame;
        } else if (Alive(p->System()) == 0) {
            // The last drop died in this frame's second step, which still counted it.
            EXPECT_EQ(expectedMark, frame + 1) << "frame " << frame;
        } else {
            // Does the longest-lived drop die in the next frame's first step or its second?
            float longest = LongestLife(p->System()) - kDt;
            if (!(longest > 0.0f)) {
                expectedMark = frame + 1;
            } else {
                longest -= kDt;
                expectedMark = longest > 0.0f ? 0 : frame + 2;
            }
        }
        goManager.Update(kDt);
        ++frame;
    }
    ASSERT_FALSE(Listed(p));
    ASSERT_GT(markedFrame, 0);
    EXPECT_EQ(markedFrame, expectedMark);
    EXPECT_EQ(frame, markedFrame + 1);  // destroyed by the pass after the marking one
}

TEST_F(WeatherTest, ContinuousOrKeptParticleObjectsAreNeverRemoved) {
    ParticleObj* wake = CreateParticleObj();
    wake->Settings().continuous = 1;
    wake->Settings().count = 5;
    wake->Settings().lifetime.base = 0.1f;
    wake->Init();
    wake->SetEmissionRate(600.0f);

    ParticleObj* kept = MakeSplash(0.1f, 0.0f);
    kept->removeWhenSpent = 0;

    Frames(10);
    EXPECT_GT(wake->System()->liveCount, 0);
    wake->StopEmitting();
    EXPECT_EQ(wake->System()->stopEmitting, 1);
    Frames(60);
    EXPECT_EQ(wake->System()->liveCount, 0);
    EXPECT_EQ(wake->System()->finished, 1);
    EXPECT_EQ(kept->System()->liveCount, 0);
    EXPECT_EQ(wake->state, 1);
    EXPECT_EQ(kept->state, 1);
    EXPECT_TRUE(Listed(wake));
    EXPECT_TRUE(Listed(kept));

    wake->StartEmitting();
    EXPECT_EQ(wake->System()->stopEmitting, 0);
    EXPECT_EQ(wake->System()->finished, 0);
    goManager.Update(kDt);
    EXPECT_GT(wake->System()->liveCount, 0);
}

// ---------------------------------------------------------------- fire and smoke

TEST_F(WeatherTest, FireBuildsFlamesAndSmoke) {
    Fire* f = MakeFire(200.0f, 300.0f);
    EXPECT_STREQ(f->GetType(), "Fire");
    ParticleSystem* flames = f->System();
    ASSERT_NE(flames, nullptr);
    ASSERT_NE(f->smoke, nullptr);
    EXPECT_NE(flames, f->smoke);

    const ParticleSettings& s = f->smoke->settings;
    EXPECT_EQ(s.continuous, 1);
    EXPECT_EQ(s.count, 1000);
    EXPECT_EQ(s.z, 0.35f);
    EXPECT_EQ(s.startColour[0], 0.7f);
    EXPECT_EQ(s.startColour[3], 0.4f);
    EXPECT_EQ(s.endColour[2], 0.1f);
    EXPECT_EQ(s.endColour[3], 0.0f);
    EXPECT_EQ(s.velocity.base, Vec2(0.0f, -50.0f));
    EXPECT_EQ(s.velocity.spread, Vec2(20.0f, 40.0f));
    EXPECT_EQ(s.acceleration.base, Vec2(-5.0f, -5.0f));
    EXPECT_EQ(s.size.base, Vec2(0.1f, 0.1f));
    EXPECT_EQ(s.size.spread, Vec2(0.2f, 0.2f));
    EXPECT_EQ(s.sizeGrowth, Vec2(0.2f, 0.2f));
    EXPECT_EQ(s.lifetime.base, 2.0f);
    EXPECT_EQ(s.lifetime.spread, 0.2f);
    EXPECT_EQ(s.spin, 0.0f);
    EXPECT_EQ(f->smoke->emissionRate, 70.0f);
    EXPECT_EQ(f->smoke->blendMode, 1u);
    EXPECT_EQ(f->smoke->inRenderList, 1);
    ASSERT_NE(f->smoke->texture, nullptr);
    EXPECT_EQ(f->smoke->texture->fileName, "images\\smoke.tga");

    const ParticleSettings& g = flames->settings;
    EXPECT_EQ(g.continuous, 1);
    EXPECT_EQ(g.count, 1000);
    EXPECT_EQ(g.z, 0.4f);
    EXPECT_EQ(g.startColour[1], 1.0f);
    EXPECT_EQ(g.endColour[0], 0.1f);
    EXPECT_EQ(g.endColour[3], 0.0f);
    EXPECT_EQ(g.lifetime.base, 1.5f);
    EXPECT_EQ(g.lifetime.spread, 0.2f);
    EXPECT_EQ(g.size.base, Vec2(0.5f, 0.5f));
    EXPECT_EQ(g.sizeGrowth, Vec2(-0.5f, -0.5f));
    EXPECT_EQ(flames->emissionRate, 70.0f);
    EXPECT_EQ(flames->blendMode, 2u);
    EXPECT_EQ(flames->inRenderList, 1);
    EXPECT_EQ(f->removeWhenSpent, 1);
    ASSERT_NE(flames->texture, nullptr);
    EXPECT_EQ(flames->texture->fileName, "images//fireball.tga");
    EXPECT_EQ(BoxCentre(g.emitterBox), Vec2(200.0f, 300.0f));
}

TEST_F(WeatherTest, SmokeFollowsTheFlamesAndStepsOncePerFrame) {
    Fire* f = MakeFire(200.0f, 300.0f);
    goManager.Update(kDt);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(f->smoke->settings.emitterBox[k], f->Settings().emitterBox[k]);

    goManager.Update(kDt);
    // Both at 70 per second: four flame steps have emitted four, two smoke steps two.
    EXPECT_EQ(f->System()->liveCount, 4);
    EXPECT_EQ(f->smoke->liveCount, 2);

    f->SetPosition(Vec2(500.0f, 100.0f));
    goManager.Update(kDt);
    EXPECT_EQ(BoxCentre(f->smoke->settings.emitterBox), Vec2(500.0f, 100.0f));
}

TEST_F(WeatherTest, StoppedFireKeepsItsSmokeStoppedAndRestartsBoth) {
    Fire* f = MakeFire(200.0f, 300.0f);
    Frames(30);
    EXPECT_GT(f->System()->liveCount, 0);
    EXPECT_GT(f->smoke->liveCount, 0);

    f->StopEmitting();
    EXPECT_EQ(f->System()->stopEmitting, 1);
    EXPECT_EQ(f->smoke->stopEmitting, 1);
    for (int frame = 0; frame < 200; ++frame) {
        goManager.Update(kDt);
        ASSERT_EQ(f->smoke->stopEmitting, 1) << frame;
    }
    EXPECT_EQ(f->System()->liveCount, 0);
    EXPECT_EQ(f->smoke->liveCount, 0);
    EXPECT_EQ(f->System()->finished, 1);
    EXPECT_EQ(f->smoke->finished, 1);
    EXPECT_EQ(f->state, 1);  // continuous: burnt out, but not removed
    EXPECT_TRUE(Listed(f));

    f->StartEmitting();
    EXPECT_EQ(f->System()->stopEmitting, 0);
    EXPECT_EQ(f->System()->finished, 0);
    EXPECT_EQ(f->smoke->stopEmitting, 0);
    EXPECT_EQ(f->smoke->finished, 0);
    goManager.Update(kDt);
    EXPECT_GT(f->System()->liveCount, 0);
    EXPECT_GT(f->smoke->liveCount, 0);
}

TEST_F(WeatherTest, SmokeTakesItsFlagsFromTheFlamesEveryUpdate) {
    Fire* f = MakeFire(200.0f, 300.0f);
    Frames(3);
    f->ParticleObj::StopEmitting();  // the flames alone
    EXPECT_EQ(f->smoke->stopEmitting, 0);
    f->Update(kDt);
    EXPECT_EQ(f->smoke->stopEmitting, 1);

    f->smoke->finished = 1;
    f->ParticleObj::StartEmitting();
    f->Update(kDt);
    EXPECT_EQ(f->smoke->stopEmitting, 0);
    EXPECT_EQ(f->smoke->finished, 0);
}

TEST_F(WeatherTest, FireGoesOutOnlyInTheWater) {
    Fire* f = MakeFire(200.0f, 300.0f);
    Stranger ship("MerchantShip", 0, 0, 1, 1);
    Stranger ball("CannonBall", 0, 0, 1, 1);
    f->Collide(&ship);
    f->Collide(&ball);
    EXPECT_EQ(f->System()->stopEmitting, 0);
    EXPECT_EQ(f->smoke->stopEmitting, 0);

    // Through the manager: the first flame's box already meets the sea; a fire far
    // from it burns on.
    Fire* far = MakeFire(5000.0f, 300.0f);
    AddStranger("Water", -1000.0f, 0.0f, 1000.0f, 1000.0f);
    goManager.Update(kDt);
    EXPECT_EQ(f->System()->stopEmitting, 1);
    EXPECT_EQ(f->smoke->stopEmitting, 1);
    EXPECT_EQ(far->System()->stopEmitting, 0);
    EXPECT_EQ(far->smoke->stopEmitting, 0);
}

TEST_F(WeatherTest, DeadFireTakesBothSystemsOffTheScreen) {
    Fire* f = MakeFire(200.0f, 300.0f);
    Frames(2);
    f->Kill();
    EXPECT_EQ(f->System()->inRenderList, 0);
    EXPECT_EQ(f->smoke->inRenderList, 0);

    Fire* g = MakeFire(10.0f, 10.0f);
    g->SetState(3);
    Frames(1);
    EXPECT_FALSE(Listed(g));  // destroyed with its smoke (the leak checker would object)
    EXPECT_EQ(CountLines(ReadLog(), "Deleting GO of type: Fire"), 1);
}

// ---------------------------------------------------------------- rain

TEST_F(WeatherTest, RainFallsContinuouslyAtTwiceItsIntensity) {
    Rain* r = static_cast<Rain*>(goManager.Create("Rain"));
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->GetType(), "Rain");
    EXPECT_EQ(r->intensity, 0.0f);
    r->intensity = 3.0f;
    r->Init();
    ParticleSystem* ps = r->System();
    ASSERT_NE(ps, nullptr);
    EXPECT_EQ(ps->emissionRate, 6.0f);
    const ParticleSettings& s = ps->settings;
    EXPECT_EQ(s.count, 1000);
    EXPECT_EQ(s.continuous, 1);
    EXPECT_EQ(s.z, 0.2f);
    EXPECT_EQ(s.velocity.base, Vec2(0.0f, 20.0f));
    EXPECT_EQ(s.velocity.spread, Vec2(20.0f, 50.0f));
    EXPECT_EQ(s.acceleration.base, Vec2(0.0f, 90.0f));
    EXPECT_EQ(s.acceleration.spread, Vec2(0.0f, 0.0f));
    EXPECT_EQ(s.size.base, Vec2(0.5f, 1.0f));
    EXPECT_EQ(s.size.spread, Vec2(0.2f, 0.2f));
    EXPECT_EQ(s.lifetime.base, 5.0f);
    EXPECT_EQ(s.lifetime.spread, 0.5f);
    EXPECT_EQ(s.spin, 0.0f);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(s.endColour[j], s.startColour[j]);
    ASSERT_NE(ps->texture, nullptr);
    EXPECT_EQ(ps->texture->fileName, "images\\raindrop.tga");
    EXPECT_EQ(ps->inRenderList, 1);

    // Drops keep coming until stopped: continuous emission outlives every drop.
    Frames(400);
    EXPECT_EQ(r->state, 1);
    EXPECT_GT(ps->liveCount, 0);
}

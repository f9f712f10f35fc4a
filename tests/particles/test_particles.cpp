// Particle pool logic without a GL context: the texture size is set directly, which
// is all that emission and update read from the texture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "Box.h"
#include "GL.h"
#include "Orlop.h"
#include "ParticleSystem.h"
#include "Random.h"

namespace {

constexpr float kDt = kFrameStep;

ParticleSettings BasicSettings(int count, bool continuous, float lifetime) {
    ParticleSettings s;
    s.continuous = continuous ? 1 : 0;
    s.count = count;
    BoxSet(s.emitterBox, 100.0f, 200.0f, 300.0f, 260.0f);
    s.z = 0.25f;
    const float start[4] = {1.0f, 0.5f, 0.25f, 1.0f};
    const float end[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    std::memcpy(s.startColour, start, sizeof start);
    std::memcpy(s.endColour, end, sizeof end);
    s.size.base = Vec2(1.0f, 1.0f);
    s.lifetime.base = lifetime;
    return s;
}

void Make(ParticleSystem& ps, const ParticleSettings& s, float rate, float texW = 8.0f,
          float texH = 8.0f) {
    ps.Setup(s);
    ps.textureWidth = texW;
    ps.textureHeight = texH;
    ps.emissionRate = rate;
}

int CountLife(const ParticleSystem& ps, int n, bool (*pred)(float)) {
    int c = 0;
    for (int i = 0; i < n; ++i)
        if (pred(ps.particles[i].life)) ++c;
    return c;
}
bool IsAlive(float life) { return life > 0.0f; }
bool NeverEmitted(float life) { return life == -1.0f; }

std::vector<float> Copy(const float* p, int n) { return std::vector<float>(p, p + n); }

void ExpectBox(const Vec2* c, float minX, float minY, float maxX, float maxY) {
    EXPECT_EQ(c[0], Vec2(minX, minY));
    EXPECT_EQ(c[1], Vec2(maxX, minY));
    EXPECT_EQ(c[2], Vec2(minX, maxY));
    EXPECT_EQ(c[3], Vec2(maxX, maxY));
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction, Setup and Reset

TEST(ParticleSystemSetup, ConstructorDefaults) {
    ParticleSystem ps;
    EXPECT_EQ(ps.primitive, static_cast<uint32_t>(GL_TRIANGLES));
    EXPECT_EQ(ps.vertices, nullptr);
    EXPECT_EQ(ps.colours, nullptr);
    EXPECT_EQ(ps.texCoords, nullptr);
    EXPECT_EQ(ps.particles, nullptr);
    EXPECT_EQ(ps.vertexCount, 0);
    EXPECT_EQ(ps.emitTimer, 0.0f);
    EXPECT_EQ(ps.emissionRate, 0.0f);
    EXPECT_EQ(ps.liveCount, 0);
    EXPECT_EQ(ps.stopEmitting, 0);
    EXPECT_EQ(ps.finished, 0);
    // Never updated: the empty box, so the culler skips it.
    ExpectBox(ps.corners, 1e6f, 1e6f, -1e6f, -1e6f);

    const ParticleSettings& s = ps.settings;
    EXPECT_EQ(s.emitterBox[0], Vec2(1e6f, 1e6f));
    EXPECT_EQ(s.emitterBox[1], Vec2(-1e6f, 1e6f));
    EXPECT_EQ(s.emitterBox[2], Vec2(1e6f, -1e6f));
    EXPECT_EQ(s.emitterBox[3], Vec2(-1e6f, -1e6f));
    const float zeros[] = {s.velocity.base.x,     s.velocity.base.y,     s.velocity.spread.x,
                           s.velocity.spread.y,   s.acceleration.base.x, s.acceleration.base.y,
                           s.acceleration.spread.x, s.acceleration.spread.y, s.size.base.x,
                           s.size.base.y,         s.size.spread.x,       s.size.spread.y,
                           s.sizeGrowth.x,        s.sizeGrowth.y,        s.rotation.base,
                           s.rotation.spread,     s.spin,                s.lifetime.base,
                           s.lifetime.spread};
    for (float f : zeros) EXPECT_EQ(f, 0.0f);
}

TEST(ParticleSystemSetup, AllocatesPoolVerticesAndTextureCoordinates) {
    ParticleSystem ps;
    ps.primitive = GL_TRIANGLE_STRIP;
    ParticleSettings s = BasicSettings(3, false, 1.0f);
    ps.Setup(s);

    EXPECT_EQ(ps.primitive, static_cast<uint32_t>(GL_TRIANGLES));
    ASSERT_EQ(ps.vertexCount, 18);
    EXPECT_EQ(ps.texCoordCount, 18);
    ASSERT_NE(ps.vertices, nullptr);
    ASSERT_NE(ps.colours, nullptr);
    ASSERT_NE(ps.texCoords, nullptr);
    for (int k = 0; k < 18 * 3; ++k) EXPECT_EQ(ps.vertices[k], 0.0f) << k;

    const Vec2 quad[6] = {Vec2(0, 0), Vec2(1, 0), Vec2(0, 1), Vec2(0, 1), Vec2(1, 0), Vec2(1, 1)};
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 6; ++k) EXPECT_EQ(ps.texCoords[i * 6 + k], quad[k]) << i << "," << k;
        EXPECT_EQ(ps.particles[i].life, -1.0f);
        EXPECT_EQ(ps.particles[i].startColour[3], 0.0f);
        EXPECT_EQ(ps.particles[i].position, Vec2(0, 0));
        EXPECT_EQ(ps.particles[i].velocity, Vec2(0, 0));
        EXPECT_EQ(ps.particles[i].size, Vec2(0, 0));
    }
    // The settings' depth, not the renderable's own.
    ps.depth = -0.75f;
    EXPECT_EQ(ps.GetDepth(), 0.25f);

    // A second Setup replaces everything (the sanitizers see any leak or overrun).
    s.count = 5;
    ps.Setup(s);
    EXPECT_EQ(ps.vertexCount, 30);
    ps.emissionRate = 60.0f;
    ps.textureWidth = ps.textureHeight = 4.0f;
    for (int f = 0; f < 8; ++f) ps.Update(kDt);
    EXPECT_EQ(ps.liveCount, 5);
}

TEST(ParticleSystemSetup, EmptyOrNegativePoolIsHarmless) {
    for (int count : {0, -4}) {
        ParticleSystem ps;
        Make(ps, BasicSettings(count, true, 1.0f), 60.0f);
        EXPECT_EQ(ps.vertexCount, 0);
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 0);
        EXPECT_EQ(ps.finished, 1);
    }
}

TEST(ParticleSystemSetup, ResetRestartsAOneShotSystem) {
    ParticleSystem ps;
    Make(ps, BasicSettings(2, false, 0.04f), 60.0f);
    for (int f = 0; f < 10; ++f) ps.Update(kDt);
    ASSERT_EQ(ps.finished, 1);
    EXPECT_EQ(CountLife(ps, 2, NeverEmitted), 0);

    ps.Reset();
    EXPECT_EQ(CountLife(ps, 2, NeverEmitted), 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(ps.particles[i].startColour[3], 0.0f);
    ps.finished = 0;
    // The timer kept running while nothing could be born, so both slots refill at once.
    ps.Update(kDt);
    EXPECT_EQ(ps.liveCount, 2);
    EXPECT_EQ(ps.finished, 0);
}

// ---------------------------------------------------------------------------
// Emission timing

TEST(ParticleEmissionTiming, RateSixtyEmitsOnePerFrameFromTheFirst) {
    ParticleSystem ps;
    Make(ps, BasicSettings(200, false, 100.0f), 60.0f);
    for (int frame = 1; frame <= 150; ++frame) {
        ps.Update(kDt);
        ASSERT_EQ(ps.liveCount, frame) << "frame " << frame;
        ASSERT_EQ(CountLife(ps, 200, IsAlive), frame);
    }
    // Particles take the pool's slots in order.
    EXPECT_GT(ps.particles[149].life, 0.0f);
    EXPECT_EQ(ps.particles[150].life, -1.0f);
    EXPECT_EQ(ps.finished, 0);
}

TEST(ParticleEmissionTiming, SlowerRatesEmitOnlyOnceAPeriodHasStrictlyPassed) {
    {
        ParticleSystem ps;
        Make(ps, BasicSettings(100, false, 100.0f), 30.0f);
        const int expected[] = {0, 1, 1, 2, 2, 3, 3, 4};
        for (int e : expected) {
            ps.Update(kDt);
            EXPECT_EQ(ps.liveCount, e);
        }
    }
    {
        // 47 per second: after k frames floor(k * 47 / 60) periods have passed.
        ParticleSystem ps;
        Make(ps, BasicSettings(100, false, 100.0f), 47.0f);
        for (int k = 1; k < 60; ++k) {
            ps.Update(kDt);
            ASSERT_EQ(ps.liveCount, k * 47 / 60) << "frame " << k;
        }
    }
}

TEST(ParticleEmissionTiming, AtMostOneEmissionPerDeadSlotPerFrame) {
    ParticleSystem ps;
    Make(ps, BasicSettings(3, true, 100.0f), 1000.0f);
    ps.Update(kDt);
    EXPECT_EQ(ps.liveCount, 3);
    // Three periods spent, the rest of the frame stays owed.
    EXPECT_NEAR(ps.emitTimer, kDt - 0.003f, 1e-6f);
    ps.Update(kDt);
    EXPECT_EQ(ps.liveCount, 3);
    EXPECT_NEAR(ps.emitTimer, 2 * kDt - 0.003f, 1e-6f);

    // With a faster rate several dead slots fill in the same frame.
    ParticleSystem fast;
    Make(fast, BasicSettings(10, false, 100.0f), 120.0f);
    fast.Update(kDt);
    EXPECT_EQ(fast.liveCount, 2);
    fast.Update(kDt);
    EXPECT_EQ(fast.liveCount, 4);
}

TEST(ParticleEmissionTiming, ZeroOrNegativeRateNeverEmits) {
    for (float rate : {0.0f, -30.0f, std::nanf("")}) {
        ParticleSystem ps;
        Make(ps, BasicSettings(4, true, 1.0f), rate);
        for (int f = 0; f < 100; ++f) ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 0);
        EXPECT_EQ(CountLife(ps, 4, NeverEmitted), 4);
        EXPECT_EQ(ps.finished, 1);
        EXPECT_NEAR(ps.emitTimer, 100 * kDt, 1e-4f);
    }
}

// ---------------------------------------------------------------------------
// Life cycle: continuous, one-shot, finished and stopEmitting

TEST(ParticleLifecycle, OneShotEmitsEachParticleOnceThenFinishes) {
    // Each particle lives through the two updates after its birth and dies in the third.
    ParticleSystem ps;
    Make(ps, BasicSettings(3, false, 0.04f), 60.0f);
    const int expected[] = {1, 2, 3, 3, 2, 1, 0};
    for (int e : expected) {
        EXPECT_EQ(ps.finished, 0);
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, e);
    }
    EXPECT_EQ(ps.finished, 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ps.particles[i].life, 0.0f);
    // Dead is not never-emitted: nothing comes back, though updates still run.
    for (int f = 0; f < 20; ++f) ps.Update(kDt);
    EXPECT_EQ(ps.liveCount, 0);
    EXPECT_GT(ps.emitTimer, 0.3f);
}

TEST(ParticleLifecycle, ContinuousReEmitsUntilStoppedThenFreezes) {
    ParticleSystem ps;
    Make(ps, BasicSettings(3, true, 0.04f), 60.0f);
    const int rampUp[] = {1, 2, 3};
    for (int e : rampUp) {
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, e);
    }
    for (int f = 0; f < 100; ++f) {
        ps.Update(kDt);
        ASSERT_EQ(ps.liveCount, 3) << f;
    }
    EXPECT_EQ(ps.finished, 0);

    ps.stopEmitting = 1;
    int frames = 0;
    while (ps.finished == 0 && frames < 10) {
        ps.Update(kDt);
        ++frames;
    }
    EXPECT_EQ(ps.finished, 1);
    EXPECT_LE(frames, 4);
    EXPECT_EQ(CountLife(ps, 3, IsAlive), 0);

    // Both flags set: Update does nothing at all.
    const float timer = ps.emitTimer;
    const auto verts = Copy(ps.vertices, ps.vertexCount * 3);
    const auto cols = Copy(ps.colours, ps.vertexCount * 4);
    Vec2 box[4];
    std::memcpy(box, ps.corners, sizeof box);
    ps.corners[kTopLeft] = Vec2(5, 5);
    for (int f = 0; f < 10; ++f) ps.Update(kDt);
    EXPECT_EQ(ps.emitTimer, timer);
    EXPECT_EQ(verts, Copy(ps.vertices, ps.vertexCount * 3));
    EXPECT_EQ(cols, Copy(ps.colours, ps.vertexCount * 4));
    EXPECT_EQ(ps.corners[kTopLeft], Vec2(5, 5));

    // The owner clears the flags and emission resumes.
    ps.stopEmitting = 0;
    ps.finished = 0;
    ps.Update(kDt);
    EXPECT_GE(ps.liveCount, 1);
}

TEST(ParticleLifecycle, FinishedBeforeFirstEmissionStopsUpdatesOnlyWithStopEmitting) {
    {
        // At 30 per second the first frame emits nothing, so finished is set at once...
        ParticleSystem ps;
        Make(ps, BasicSettings(4, false, 100.0f), 30.0f);
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 0);
        EXPECT_EQ(ps.finished, 1);
        // ...but updates go on and the next frame emits; Update never clears it.
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 1);
        EXPECT_EQ(ps.finished, 1);
    }
    {
        ParticleSystem ps;
        Make(ps, BasicSettings(4, false, 100.0f), 30.0f);
        ps.Update(kDt);
        ASSERT_EQ(ps.finished, 1);
        ps.stopEmitting = 1;
        for (int f = 0; f < 5; ++f) ps.Update(kDt);
        EXPECT_EQ(ps.emitTimer, kDt);
        EXPECT_EQ(CountLife(ps, 4, NeverEmitted), 4);
    }
    {
        // stopEmitting alone: updates run (the timer grows), nothing is born.
        ParticleSystem ps;
        Make(ps, BasicSettings(4, false, 100.0f), 60.0f);
        ps.stopEmitting = 1;
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 0);
        EXPECT_EQ(ps.emitTimer, kDt);
        EXPECT_EQ(ps.finished, 1);
    }
}

TEST(ParticleLifecycle, ParticleBornWithoutLifeIsNeverUpdated) {
    for (float lifetime : {0.0f, -0.5f}) {
        ParticleSystem ps;
        ParticleSettings s = BasicSettings(1, false, lifetime);
        s.velocity.base = Vec2(120.0f, -30.0f);
        s.sizeGrowth = Vec2(2.0f, 2.0f);
        Make(ps, s, 60.0f);
        ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 1);  // counted in its birth frame
        const auto verts = Copy(ps.vertices, 18);
        const auto cols = Copy(ps.colours, 24);
        const Vec2 pos = ps.particles[0].position;
        for (int f = 0; f < 10; ++f) ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 0);
        EXPECT_EQ(ps.finished, 1);
        EXPECT_EQ(verts, Copy(ps.vertices, 18));
        EXPECT_EQ(cols, Copy(ps.colours, 24));
        EXPECT_EQ(ps.particles[0].position, pos);
        for (int k = 0; k < 6; ++k)
            for (int j = 0; j < 4; ++j) EXPECT_EQ(ps.colours[k * 4 + j], s.startColour[j]);
    }
}

// ---------------------------------------------------------------------------
// Motion, colour and the box

TEST(ParticleUpdate, MovesGrowsAgesAndFadesAParticle) {
    ParticleSettings s = BasicSettings(1, false, 0.5f);
    // hi x = 54 - 8 / 2 = 50 = min x: a one-pixel range, so the birth point is fixed.
    BoxSet(s.emitterBox, 50.0f, 60.0f, 54.0f, 62.0f);
    s.size.base = Vec2(1.0f, 0.5f);
    s.velocity.base = Vec2(120.0f, -60.0f);
    s.acceleration.base = Vec2(60.0f, 30.0f);
    s.sizeGrowth = Vec2(0.6f, -60.0f);
    s.rotation.base = 10.0f;
    s.spin = 90.0f;
    const float start[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const float end[4] = {0.0f, 0.0f, 1.0f, 0.5f};
    std::memcpy(s.startColour, start, sizeof start);
    std::memcpy(s.endColour, end, sizeof end);
    ParticleSystem ps;
    Make(ps, s, 60.0f);

    ps.Update(kDt);  // birth
    const Particle& p = ps.particles[0];
    ASSERT_EQ(p.position, Vec2(50.0f, 60.0f));
    const float born[18] = {50, 60, 0.25f, 58, 60, 0.25f, 50, 64, 0.25f,
                            50, 64, 0.25f, 58, 60, 0.25f, 58, 64, 0.25f};
    for (int k = 0; k < 18; ++k) EXPECT_EQ(ps.vertices[k], born[k]) << k;
    for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(ps.colours[k * 4 + j], start[j]);
    EXPECT_EQ(p.life, 0.5f);
    EXPECT_EQ(p.rotation, 10.0f);

    ps.Update(kDt);  // first step of motion
    ExpectBox(ps.corners, 50.0f, 60.0f, 50.0f, 60.0f);  // where it was, not where it went
    EXPECT_NEAR(p.position.x, 52.0f, 1e-4f);
    EXPECT_NEAR(p.position.y, 59.0f, 1e-4f);
    EXPECT_NEAR(p.velocity.x, 121.0f, 1e-4f);
    EXPECT_NEAR(p.velocity.y, -59.5f, 1e-4f);
    EXPECT_NEAR(p.size.x, 1.01f, 1e-5f);
    EXPECT_EQ(p.size.y, 0.0f);  // shrinking stops at zero
    EXPECT_NEAR(p.rotation, 11.5f, 1e-4f);
    EXPECT_NEAR(p.life, 0.5f - kDt, 1e-6f);
    const float t = kDt / 0.5f;
    const float mid[4] = {1.0f - t, 0.0f, t, 1.0f - 0.5f * t};
    for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(ps.colours[k * 4 + j], mid[j], 1e-5f);
    // The vertices drawn now still show the birth rectangle.
    for (int k = 0; k < 18; ++k) EXPECT_EQ(ps.vertices[k], born[k]) << k;

    ps.Update(kDt);  // vertices follow the move; zero height collapses the quad
    const float x = ps.vertices[0];
    const float y = ps.vertices[1];
    EXPECT_NEAR(x, 52.0f, 1e-4f);
    EXPECT_NEAR(y, 59.0f, 1e-4f);
    EXPECT_NEAR(ps.vertices[3], x + 8.0f * 1.01f, 1e-4f);
    EXPECT_EQ(ps.vertices[7], y);
    EXPECT_EQ(ps.vertices[16], y);
    EXPECT_EQ(ps.vertices[2], 0.25f);

    // Run out its life: the last colour is the end colour with alpha forced to 0.
    int frames = 0;
    while (p.life > 0.0f && frames < 100) {
        ps.Update(kDt);
        ++frames;
    }
    EXPECT_EQ(p.life, 0.0f);
    EXPECT_NEAR(ps.colours[0], 0.0f, 1e-5f);
    EXPECT_NEAR(ps.colours[2], 1.0f, 1e-5f);
    EXPECT_EQ(ps.colours[3], 0.0f);
    // Dead: it keeps its last vertices, drawn transparent.
    const auto verts = Copy(ps.vertices, 18);
    for (int f = 0; f < 5; ++f) ps.Update(kDt);
    EXPECT_EQ(verts, Copy(ps.vertices, 18));
    EXPECT_EQ(ps.colours[3], 0.0f);
}

TEST(ParticleUpdate, CornersAreTheBoxOfLiveParticlePositions) {
    SRand(7);
    ParticleSettings s = BasicSettings(12, false, 100.0f);
    s.velocity.spread = Vec2(80.0f, 80.0f);
    ParticleSystem ps;
    Make(ps, s, 60.0f);
    ps.position = Vec2(1000.0f, 1000.0f);  // not added to the box
    for (int f = 0; f < 6; ++f) ps.Update(kDt);

    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (int i = 0; i < 12; ++i) {
        const Particle& p = ps.particles[i];
        if (!(p.life > 0.0f)) continue;
        minX = std::fmin(minX, p.position.x);
        maxX = std::fmax(maxX, p.position.x);
        minY = std::fmin(minY, p.position.y);
        maxY = std::fmax(maxY, p.position.y);
    }
    ps.Update(kDt);  // also emits a seventh particle, which is not in this box
    ExpectBox(ps.corners, minX, minY, maxX, maxY);
    EXPECT_LT(minX, maxX);

    // No live particle: the inverted box.
    ParticleSystem idle;
    Make(idle, s, 0.0f);
    idle.Update(kDt);
    ExpectBox(idle.corners, 10000.0f, 10000.0f, -100000.0f, -100000.0f);
}

// ---------------------------------------------------------------------------
// Where and how particles are born

TEST(ParticleEmitter, BornOnWholePixelsInsideTheBox) {
    SRand(11);
    ParticleSystem ps;
    Make(ps, BasicSettings(1, false, 1.0f), 60.0f);  // box 100..300 x 200..260, quad 8 x 8
    std::set<float> xs, ys;
    for (int n = 0; n < 4000; ++n) {
        ps.Emit(0);
        const Vec2 p = ps.particles[0].position;
        ASSERT_EQ(p.x, std::floor(p.x));
        ASSERT_EQ(p.y, std::floor(p.y));
        ASSERT_GE(p.x, 100.0f);
        ASSERT_LE(p.x, 296.0f);  // max x - w / 2
        ASSERT_GE(p.y, 200.0f);
        ASSERT_LE(p.y, 256.0f);
        xs.insert(p.x);
        ys.insert(p.y);
    }
    EXPECT_EQ(xs.size(), 197u);
    EXPECT_EQ(ys.size(), 57u);
    const float* v = ps.vertices;
    const float x = ps.particles[0].position.x, y = ps.particles[0].position.y;
    const float quad[18] = {x, y,     0.25f, x + 8, y, 0.25f, x,     y + 8, 0.25f,
                            x, y + 8, 0.25f, x + 8, y, 0.25f, x + 8, y + 8, 0.25f};
    for (int k = 0; k < 18; ++k) EXPECT_EQ(v[k], quad[k]) << k;
}

TEST(ParticleEmitter, BoxNarrowerThanAParticleStillEmits) {
    SRand(3);
    {
        // hi x = 44.5 - 4 = 40.5: the truncated range is one pixel, always min x.
        ParticleSettings s = BasicSettings(1, false, 1.0f);
        BoxSet(s.emitterBox, 40.0f, 70.0f, 44.5f, 74.5f);
        ParticleSystem ps;
        Make(ps, s, 60.0f);
        for (int n = 0; n < 200; ++n) {
            ps.Emit(0);
            ASSERT_EQ(ps.particles[0].position, Vec2(40.0f, 70.0f));
        }
    }
    {
        // A point emitter: hi falls below min, becomes min + 1, and the range
        // min .. hi holds the two pixels min and min + 1.
        ParticleSettings s = BasicSettings(1, false, 1.0f);
        BoxSet(s.emitterBox, 40.0f, 70.0f, 40.0f, 70.0f);
        ParticleSystem ps;
        Make(ps, s, 60.0f);
        std::set<float> xs;
        for (int n = 0; n < 200; ++n) {
            ps.Emit(0);
            const Vec2 p = ps.particles[0].position;
            ASSERT_TRUE(p.x == 40.0f || p.x == 41.0f) << p.x;
            ASSERT_TRUE(p.y == 70.0f || p.y == 71.0f) << p.y;
            xs.insert(p.x);
        }
        EXPECT_EQ(xs.size(), 2u);
    }
    {
        // So far out that min + 1 rounds back to min: the range would be zero.
        ParticleSettings s = BasicSettings(1, false, 1.0f);
        BoxSet(s.emitterBox, 1e8f, -1e8f, 1e8f, -1e8f);
        ParticleSystem ps;
        Make(ps, s, 60.0f);
        for (int n = 0; n < 50; ++n) {
            ps.Emit(0);
            ASSERT_EQ(ps.particles[0].position, Vec2(1e8f, -1e8f));
        }
    }
    {
        // The default (empty) emitter box still emits near its top-left corner.
        ParticleSettings s = BasicSettings(4, true, 1.0f);
        std::memcpy(s.emitterBox, ParticleSettings().emitterBox, sizeof s.emitterBox);
        ParticleSystem ps;
        Make(ps, s, 60.0f);
        for (int f = 0; f < 10; ++f) ps.Update(kDt);
        EXPECT_EQ(ps.liveCount, 4);
        EXPECT_GE(ps.particles[0].position.x, 1e6f);
        EXPECT_LE(ps.particles[0].position.x, 1e6f + 1.0f);
    }
}

TEST(ParticleEmitter, TwoDrawsPerSpreadValueInTheStatedOrder) {
    ParticleSettings s = BasicSettings(1, false, 2.0f);
    BoxSet(s.emitterBox, 0.0f, 0.0f, 1000.0f, 800.0f);
    s.size.base = Vec2(1.0f, 2.0f);
    s.size.spread = Vec2(0.5f, 0.25f);
    s.velocity.base = Vec2(10.0f, 20.0f);
    s.velocity.spread = Vec2(3.0f, 5.0f);
    s.acceleration.base = Vec2(-1.0f, -2.0f);
    s.acceleration.spread = Vec2(7.0f, 11.0f);
    s.rotation = {45.0f, 13.0f};
    s.lifetime = {2.0f, 0.75f};
    ParticleSystem ps;
    Make(ps, s, 60.0f, 8.0f, 4.0f);

    SRand(424242);
    int d[15];
    for (int& v : d) v = Rand();
    auto spread = [&](int k, float base, float sp) {
        return static_cast<float>(base + static_cast<double>(d[k] - d[k + 1]) / 32767.0 * sp);
    };
    const float sx = spread(0, 1.0f, 0.5f);
    const float sy = spread(2, 2.0f, 0.25f);
    const float w = sx * 8.0f, h = sy * 4.0f;
    const int rangeX = static_cast<int>((1000.0f - w / 2.0f) + 1.0f - 0.0f);
    const int rangeY = static_cast<int>((800.0f - h / 2.0f) + 1.0f - 0.0f);

    SRand(424242);
    ps.Emit(0);
    const Particle& p = ps.particles[0];
    EXPECT_EQ(p.size, Vec2(sx, sy));
    EXPECT_EQ(p.position, Vec2(static_cast<float>(d[4] % rangeX), static_cast<float>(d[5] % rangeY)));
    EXPECT_EQ(p.velocity, Vec2(spread(6, 10.0f, 3.0f), spread(8, 20.0f, 5.0f)));
    EXPECT_EQ(p.acceleration, Vec2(spread(10, -1.0f, 7.0f), spread(12, -2.0f, 11.0f)));
    // Rotation and life take the next four draws.
    SRand(424242);
    for (int k = 0; k < 14; ++k) Rand();
    const int r0 = Rand(), r1 = Rand(), l0 = Rand(), l1 = Rand();
    EXPECT_EQ(p.rotation, static_cast<float>(45.0f + static_cast<double>(r0 - r1) / 32767.0 * 13.0f));
    EXPECT_EQ(p.life, static_cast<float>(2.0f + static_cast<double>(l0 - l1) / 32767.0 * 0.75f));
    EXPECT_EQ(p.z, 0.25f);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(p.startColour[j], s.startColour[j]);
        EXPECT_EQ(p.endColour[j], s.endColour[j]);
    }
    // Exactly eighteen draws were used: the next one is the nineteenth.
    SRand(424242);
    for (int k = 0; k < 18; ++k) Rand();
    const int nineteenth = Rand();
    SRand(424242);
    ps.Emit(0);
    EXPECT_EQ(Rand(), nineteenth);
}

TEST(ParticleDeterminism, SameSeedGivesIdenticalSystems) {
    ParticleSettings s = BasicSettings(40, true, 0.5f);
    s.size.spread = Vec2(0.3f, 0.4f);
    s.velocity.spread = Vec2(50.0f, 60.0f);
    s.acceleration.base = Vec2(0.0f, 98.0f);
    s.acceleration.spread = Vec2(5.0f, 5.0f);
    s.rotation.spread = 180.0f;
    s.spin = 30.0f;
    s.lifetime.spread = 0.25f;
    s.sizeGrowth = Vec2(0.5f, 0.5f);

    auto run = [&](uint32_t seed, ParticleSystem& ps) {
        SRand(seed);
        Make(ps, s, 120.0f);
        for (int f = 0; f < 90; ++f) ps.Update(kDt);
    };
    ParticleSystem a, b, c;
    run(2024, a);
    run(2024, b);
    run(2025, c);
    const size_t vb = sizeof(float) * 3 * a.vertexCount, cb = sizeof(float) * 4 * a.vertexCount;
    EXPECT_EQ(std::memcmp(a.vertices, b.vertices, vb), 0);
    EXPECT_EQ(std::memcmp(a.colours, b.colours, cb), 0);
    EXPECT_EQ(std::memcmp(a.particles, b.particles, sizeof(Particle) * 40), 0);
    EXPECT_EQ(a.liveCount, b.liveCount);
    EXPECT_EQ(a.emitTimer, b.emitTimer);
    EXPECT_NE(std::memcmp(a.vertices, c.vertices, vb), 0);
}

// The sea as a game object: its strip, rest state, height queries, column mapping,
// the moving surface and box, the colour states, splashes, and a long hammering.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ParticleSystem.h"
#include "Random.h"
#include "SoundManager.h"
#include "Texture.h"
#include "WaterTestKit.h"
#include "sea/ParticleObj.h"

using namespace watertest;

namespace {

class WaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        sea = MakeSea();
        ASSERT_NE(sea, nullptr);
    }
    void TearDown() override { goManager.Clear(); }

    // The column the game's mapping gives for a world x.
    int ColumnOf(float x) const {
        return static_cast<int>((x - sea->renderable->position.x) / sea->width *
                                static_cast<float>(sea->sim.count));
    }
    // World x in the middle of a column.
    float XOfColumn(int j) const { return -4500.0f + (j + 0.5f) * 9000.0f / 301.0f; }

    Water* sea = nullptr;
};

}  // namespace

TEST_F(WaterTest, FactoryMakesAWaterThatStartsEmpty) {
    GameObj* raw = goManager.Create("Water");
    ASSERT_NE(raw, nullptr);
    EXPECT_STREQ(raw->GetType(), "Water");
    auto* w = static_cast<Water*>(raw);
    EXPECT_EQ(w->width, 0.0f);
    EXPECT_EQ(w->renderable, nullptr);
    EXPECT_EQ(w->state, Life::kNormal);
    EXPECT_EQ(w->realm, -1);
    // Asked before Init: no water anywhere, and nothing breaks.
    float slope = 7.0f;
    EXPECT_EQ(w->GetHeight(0.0f, &slope), 0.0f);
    EXPECT_EQ(slope, 7.0f);
    w->Disturb(1.0f, 0.0f);
    w->Surge(1.0f, 0.0f);
}

TEST_F(WaterTest, InitBuildsTheStripAndTheField) {
    ComplexSprite* strip = sea->Strip();
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->vertexCount, 600);
    EXPECT_EQ(sea->sim.count, 301);
    EXPECT_EQ(sea->sim.heightScale, 1.0f);
    EXPECT_EQ(strip->primitive, static_cast<uint32_t>(GL_TRIANGLE_STRIP));
    EXPECT_EQ(strip->blendMode, BlendMode::kAlpha);
    EXPECT_EQ(strip->inRenderList, 1);
    EXPECT_EQ(sea->realm, 3);
    ASSERT_NE(strip->texture, nullptr);
    EXPECT_EQ(strip->texture->fileName, "images\\water.tga");
    ASSERT_NE(strip->colours, nullptr);
    ASSERT_NE(strip->texCoords, nullptr);
    EXPECT_EQ(strip->texCoordCount, 600);
    EXPECT_EQ(sea->splashSound, static_cast<int>(soundManager.LoadSound("Sound\\Splash.mp3", 0, 1)));

    for (int i = 0; i < 600; i += 2) {
        const float* top = strip->vertices + i * 3;
        const float* base = top + 3;
        ASSERT_EQ(top[0], 15.0f * i) << i;
        ASSERT_EQ(base[0], 15.0f * i) << i;
        ASSERT_EQ(top[1], 0.0f) << i;
        ASSERT_EQ(base[1], 200.0f) << i;
        // MakeSea set the depth afterwards: every z follows it.
        ASSERT_EQ(top[2], 0.7f);
        ASSERT_EQ(base[2], 0.7f);
        const float* ct = strip->colours + i * 4;
        const float* cb = ct + 4;
        ASSERT_EQ(ct[0], 1.0f);
        ASSERT_EQ(ct[1], 1.0f);
        ASSERT_EQ(ct[2], 1.0f);
        ASSERT_EQ(ct[3], 0.95f);
        ASSERT_EQ(cb[3], 1.0f);
        ASSERT_EQ(strip->texCoords[i].x, 0.0f);
        ASSERT_EQ(strip->texCoords[i + 1].y, 0.0f);
    }
    // The box of every vertex, offset by the position.
    EXPECT_EQ(strip->corners[kTopLeft].x, -4500.0f);
    EXPECT_EQ(strip->corners[kTopLeft].y, 550.0f);
    EXPECT_EQ(strip->corners[kBottomRight].x, -4500.0f + 15.0f * 598);
    EXPECT_EQ(strip->corners[kBottomRight].y, 750.0f);
}

TEST_F(WaterTest, OtherSizesGiveTheirOwnCounts) {
    auto* w = static_cast<Water*>(goManager.Create("Water"));
    w->width = 1000.0f;
    w->bottom = 50.0f;
    w->spacing = 7.0f;  // 142.85 -> 142 vertices
    w->Init();
    w->Disturb(1.0f, 500.0f);
    w->Init();  // again: a fresh strip and a fresh field, nothing leaked
    EXPECT_EQ(w->Strip()->vertexCount, 142);
    EXPECT_EQ(w->Strip()->inRenderList, 1);
    EXPECT_EQ(w->sim.count, 72);
    for (float q : w->sim.flows) EXPECT_EQ(q, 0.0f);

    // An odd count leaves the last surface point without a partner and stays in bounds.
    auto* odd = static_cast<Water*>(goManager.Create("Water"));
    odd->width = 45.0f;
    odd->bottom = 10.0f;
    odd->spacing = 9.0f;
    odd->Init();
    ASSERT_EQ(odd->Strip()->vertexCount, 5);
    EXPECT_EQ(odd->Strip()->vertices[4 * 3], 36.0f);
    odd->Update(kStep);
    EXPECT_EQ(odd->Strip()->vertices[4 * 3 + 1], odd->sim.heights[2] * 100.0f - 10.0f);

    // Nonsense sizes give an empty strip, not a crash.
    for (float spacing : {0.0f, -15.0f, std::numeric_limits<float>::quiet_NaN()}) {
        auto* bad = static_cast<Water*>(goManager.Create("Water"));
        bad->width = 9000.0f;
        bad->spacing = spacing;
        bad->Init();
        EXPECT_EQ(bad->Strip()->vertexCount, 0) << spacing;
        bad->Update(kStep);
        float slope = 0.0f;
        EXPECT_EQ(bad->GetHeight(10.0f, &slope), 0.0f);
    }
}

TEST_F(WaterTest, AtRestTheSurfaceLiesAHundredAboveThePosition) {
    for (int frame = 0; frame < 120; ++frame) sea->Update(kStep);
    for (int p = 0; p < 300; ++p) {
        ASSERT_EQ(SurfaceY(sea, p), -100.0f) << p;
        ASSERT_EQ(sea->Strip()->vertices[p * 6 + 4], 200.0f) << p;
    }
    for (float x : {-4499.0f, -4470.0f, -4455.5f, -1000.0f, 0.0f, 123.4f, 4460.0f, 4469.9f}) {
        float slope = 99.0f;
        EXPECT_EQ(sea->GetHeight(x, &slope), 450.0f) << x;
        EXPECT_EQ(slope, 0.0f) << x;
    }
    // The box's top follows the (flat) crest; the rest of it is the strip's.
    const Vec2* c = sea->GetCorners();
    EXPECT_EQ(c[0].y, 450.0f);
    EXPECT_EQ(c[1].y, 450.0f);
    EXPECT_EQ(c[0].x, -4500.0f);
    EXPECT_EQ(c[2].x, -4500.0f);
    EXPECT_EQ(c[1].x, c[3].x);
    EXPECT_EQ(c[2].y, 750.0f);
    EXPECT_EQ(c[3].y, 750.0f);
    EXPECT_EQ(sea->lastStep, kStep);
}

TEST_F(WaterTest, HeightsOutsideTheStripAreZeroAndKeepTheSlope) {
    sea->Update(kStep);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // The first chord needs a left end strictly left of x, the last a right end beyond it.
    for (float x : {-4500.0f, -4600.0f, -4500.0f + 8970.0f, 5000.0f, 1e30f, -1e30f, nan, inf, -inf,
                    std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()}) {
        float slope = 42.0f;
        EXPECT_EQ(sea->GetHeight(x, &slope), 0.0f) << x;
        EXPECT_EQ(slope, 42.0f) << x;
    }
    // Just inside either end there is water.
    float slope = 0.0f;
    EXPECT_EQ(sea->GetHeight(-4500.0f + 0.01f, &slope), 450.0f);
    EXPECT_EQ(sea->GetHeight(-4500.0f + 8969.9f, &slope), 450.0f);
    // The slope pointer may be left out.
    EXPECT_EQ(sea->GetHeight(0.0f, nullptr), 450.0f);
}

TEST_F(WaterTest, HeightComesFromTheChordThatStartsStrictlyLeft) {
    // A bowl: surface point k at y = k * k, so every chord has its own slope.
    float* v = sea->Strip()->vertices;
    for (int k = 0; k < 300; ++k) v[k * 6 + 1] = static_cast<float>(k * k);
    const float px = -4500.0f, py = 550.0f;
    auto chord = [&](int k, float xr, float& s) {
        const float x0 = 30.0f * k, x2 = 30.0f * (k + 2);
        s = (static_cast<float>((k + 2) * (k + 2)) - static_cast<float>(k * k)) / (x2 - x0);
        return py + static_cast<float>(k * k) - (x0 - xr) * s;
    };
    struct Case {
        float xr;
        int k;  // left surface point of the chord
    } cases[] = {{0.5f, 0}, {30.0f, 0}, {45.0f, 0}, {59.9f, 0}, {60.0f, 1}, {61.0f, 1},
                 {90.0f, 2}, {3000.0f, 99}, {3010.0f, 99}, {8939.0f, 296}, {8969.0f, 297}};
    for (const Case& c : cases) {
        float expectedSlope = 0.0f;
        const float expected = chord(c.k, c.xr, expectedSlope);
        float slope = -1.0f;
        EXPECT_FLOAT_EQ(sea->GetHeight(px + c.xr, &slope), expected) << c.xr;
        EXPECT_FLOAT_EQ(slope, expectedSlope) << c.xr;
    }
    // On a point's x the chord is the one starting one point to the left, not on it.
    float slope = 0.0f;
    const float onPoint = sea->GetHeight(px + 300.0f, &slope);  // point 10
    EXPECT_FLOAT_EQ(slope, (121.0f - 81.0f) / 60.0f);
    EXPECT_FLOAT_EQ(onPoint, py + 81.0f + 30.0f * slope);
}

TEST_F(WaterTest, DisturbAndSurgeMapWorldXToAColumn) {
    const float xs[] = {-4500.0f + 4500.0f, -4000.0f, -1234.5f, 0.0f, 2000.0f, 4000.0f};
    for (float x : xs) {
        const int j = ColumnOf(x);
        WaveSim ripple;
        ripple.Init(301, 1.0f);
        ripple.Ripple(j, 0.8f);
        WaveSim surge;
        surge.Init(301, 1.0f);
        surge.Surge(j, 0.8f);

        sea->sim.Init(301, 1.0f);
        sea->Disturb(0.8f, x);
        EXPECT_EQ(sea->sim.flows, ripple.flows) << x;
        sea->sim.Init(301, 1.0f);
        sea->Surge(0.8f, x);
        EXPECT_EQ(sea->sim.flows, surge.flows) << x;
    }
    // Half-way along a 301-column strip: 150.5 truncates to column 150.
    sea->sim.Init(301, 1.0f);
    sea->Disturb(1.0f, 0.0f);
    EXPECT_EQ(sea->sim.flows[150], 0.0f);
    EXPECT_NE(sea->sim.flows[149], 0.0f);
    EXPECT_NE(sea->sim.flows[151], 0.0f);
    EXPECT_EQ(sea->sim.flows[149], -sea->sim.flows[151]);
}

TEST_F(WaterTest, DisturbancesNearTheEndsOrOffTheStripAreIgnored) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float ignored[] = {XOfColumn(0),   XOfColumn(5),   XOfColumn(295), XOfColumn(300),
                             -4500.0f - 20.0f, -4500.0f - 29.0f, -5000.0f, 4500.0f, 6000.0f,
                             1e30f, -1e30f, std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::lowest(), nan, inf, -inf, 3e9f, -3e9f};
    for (float x : ignored) {
        sea->Disturb(5.0f, x);
        sea->Surge(5.0f, x);
        ASSERT_TRUE(FlowsAtRest(sea)) << x;
    }
    for (int j : {6, 294}) {
        sea->sim.Init(301, 1.0f);
        sea->Disturb(5.0f, XOfColumn(j));
        EXPECT_FALSE(FlowsAtRest(sea)) << j;
        sea->sim.Init(301, 1.0f);
        sea->Surge(5.0f, XOfColumn(j));
        EXPECT_FALSE(FlowsAtRest(sea)) << j;
    }
    // A strip without width maps nothing.
    auto* flat = static_cast<Water*>(goManager.Create("Water"));
    flat->spacing = 15.0f;
    flat->Init();
    flat->Disturb(5.0f, 0.0f);
    flat->Surge(5.0f, 1.0f);
    for (float q : flat->sim.flows) EXPECT_EQ(q, 0.0f);
}

TEST_F(WaterTest, UpdateMovesTheSurfaceAndTheBoxFollowsTheHighestCrest) {
    sea->Update(kStep);
    sea->Surge(30.0f * kStep, 0.0f);
    sea->Disturb(3.0f, -2000.0f);
    for (int frame = 0; frame < 40; ++frame) sea->Update(kStep);

    float highest = 1e9f;
    bool moved = false;
    for (int p = 0; p < 300; ++p) {
        const float y = SurfaceY(sea, p);
        ASSERT_EQ(y, sea->sim.heights[p] * 100.0f - 200.0f) << p;
        ASSERT_EQ(sea->Strip()->vertices[p * 6 + 4], 200.0f) << p;
        highest = std::fmin(highest, y);
        moved = moved || y != -100.0f;
    }
    ASSERT_TRUE(moved);
    ASSERT_LT(highest, -100.0f);  // something stands above the rest level
    const Vec2* c = sea->GetCorners();
    EXPECT_EQ(c[0].y, 550.0f + highest);
    EXPECT_EQ(c[1].y, 550.0f + highest);
    EXPECT_EQ(c[0].x, -4500.0f);
    EXPECT_EQ(c[1].x, c[3].x);
    EXPECT_EQ(c[2].x, -4500.0f);
    EXPECT_EQ(c[2].y, 750.0f);
    EXPECT_EQ(c[3].y, 750.0f);

    // GetHeight reads the moved points.
    const int p = 150;
    float slope = 0.0f;
    const float x = -4500.0f + 30.0f * p + 10.0f;
    const float y0 = SurfaceY(sea, p - 1), y2 = SurfaceY(sea, p + 1);
    EXPECT_FLOAT_EQ(sea->GetHeight(x, &slope), 550.0f + y0 + 40.0f * (y2 - y0) / 60.0f);
    EXPECT_FLOAT_EQ(slope, (y2 - y0) / 60.0f);
}

TEST_F(WaterTest, LineWidthIsTenTimesTheDepthButAtLeastThree) {
    EXPECT_FLOAT_EQ(sea->LineWidth(), 7.0f);
    sea->renderable->SetDepth(0.1f);
    EXPECT_EQ(sea->LineWidth(), 3.0f);
    sea->renderable->SetDepth(0.3f);
    EXPECT_FLOAT_EQ(sea->LineWidth(), 3.0f);
    sea->renderable->SetDepth(0.45f);
    EXPECT_FLOAT_EQ(sea->LineWidth(), 4.5f);
    sea->renderable->SetDepth(-1.0f);
    EXPECT_EQ(sea->LineWidth(), 3.0f);
}

namespace {

void ExpectTint(Water* w, float g, float b) {
    const ComplexSprite* s = w->Strip();
    for (int i = 0; i < s->vertexCount; ++i) {
        const float* c = s->colours + i * 4;
        ASSERT_EQ(c[0], 1.0f) << i;
        ASSERT_FLOAT_EQ(c[1], g) << i;
        ASSERT_FLOAT_EQ(c[2], b) << i;
        ASSERT_EQ(c[3], i % 2 == 0 ? 0.95f : 1.0f) << i;
    }
}

}  // namespace

TEST_F(WaterTest, GhostSeaDarkensForASecondThenFreezes) {
    sea->SetState(SeaSwitch::kToGhost);
    const float g = 0.7f * 0.5f + 0.3f;  // 0.65 for the main sea
    float t = 0.0f;
    for (int frame = 0; frame < 30; ++frame) {
        goManager.Update(kStep);
        t += kStep;
    }
    EXPECT_FLOAT_EQ(sea->stateTime, t);
    ExpectTint(sea, 1.0f + (g - 1.0f) * t, 1.0f - 0.5f * t);
    EXPECT_EQ(sea->frozen, 0);

    while (sea->stateTime <= 1.0f) goManager.Update(kStep);
    // The update that passes one second freezes it and leaves the colours as they were.
    EXPECT_EQ(sea->frozen, 1);
    EXPECT_EQ(sea->state, SeaSwitch::kToGhost);
    const float held = sea->stateTime;
    const float tint = sea->Strip()->colours[1];
    EXPECT_NEAR(tint, g, 0.02f);

    // Frozen: the manager leaves it alone, so even a new disturbance does not move it.
    sea->Disturb(5.0f, 0.0f);
    const float before = SurfaceY(sea, 150);
    for (int frame = 0; frame < 20; ++frame) goManager.Update(kStep);
    EXPECT_EQ(sea->stateTime, held);
    EXPECT_EQ(SurfaceY(sea, 150), before);
    EXPECT_EQ(sea->Strip()->colours[1], tint);

    // The second sea has its own, lighter ghost green.
    Water* back = MakeSea(-4500.0f, 530.0f, 0.1f);
    back->SetState(SeaSwitch::kToGhost);
    back->Update(0.5f);
    ExpectTint(back, 1.0f + (0.35f - 1.0f) * 0.5f, 0.75f);
}

TEST_F(WaterTest, LivingSeaBrightensAndReturnsToNormal) {
    sea->SetState(SeaSwitch::kToGhost);
    while (!sea->frozen) goManager.Update(kStep);
    sea->SetState(SeaSwitch::kToLiving);  // the toggle back also unfreezes
    EXPECT_EQ(sea->frozen, 0);
    const float g = 0.65f;
    float t = 0.0f;
    for (int frame = 0; frame < 45; ++frame) {
        goManager.Update(kStep);
        t += kStep;
    }
    ExpectTint(sea, g + (1.0f - g) * t, 0.5f + 0.5f * t);
    EXPECT_EQ(sea->state, SeaSwitch::kToLiving);

    while (sea->state == SeaSwitch::kToLiving) goManager.Update(kStep);
    EXPECT_EQ(sea->state, Life::kNormal);
    EXPECT_EQ(sea->stateTime, 0.0f);
    EXPECT_EQ(sea->frozen, 0);

    // Normal again: the colours stay and the sea keeps moving.
    const float tint = sea->Strip()->colours[1];
    sea->Disturb(5.0f, 0.0f);
    for (int frame = 0; frame < 5; ++frame) goManager.Update(kStep);
    EXPECT_EQ(sea->Strip()->colours[1], tint);
    EXPECT_GT(sea->stateTime, 0.0f);
    EXPECT_NE(SurfaceY(sea, 149), -100.0f);
}

TEST_F(WaterTest, OtherStatesLeaveTheColoursAlone) {
    for (Life s : {Life::kNormal, Life::kSinking, Life::kDead}) {
        sea->SetState(s);
        for (int frame = 0; frame < 90; ++frame) sea->Update(kStep);
        ExpectTint(sea, 1.0f, 1.0f);
        EXPECT_EQ(sea->frozen, 0);
        EXPECT_EQ(sea->state, s);
    }
}

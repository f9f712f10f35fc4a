// The sky: its backdrop and fog, the colour blend of the sea toggle, the fog's drift.
#include <gtest/gtest.h>

#include "ComplexSprite.h"
#include "Sky.h"
#include "Sprite.h"
#include "Texture.h"
#include "WeatherTestSupport.h"

using namespace weather;

namespace {

const float kGhostTop[4] = {0.0f, 0.25f, 0.0f, 1.0f};
const float kGhostBottom[4] = {0.31f, 0.0f, 0.15f, 1.0f};
const float kLivingTop[4] = {0.8f, 0.8f, 1.0f, 1.0f};
const float kLivingBottom[4] = {0.5f, 0.7f, 1.0f, 1.0f};

Sky* MakeSky() {
    Sky* s = static_cast<Sky*>(goManager.Create("Sky"));
    EXPECT_NE(s, nullptr);
    for (int j = 0; j < 4; ++j) {
        s->ghostTop[j] = kGhostTop[j];
        s->ghostBottom[j] = kGhostBottom[j];
        s->livingTop[j] = kLivingTop[j];
        s->livingBottom[j] = kLivingBottom[j];
    }
    s->Init();
    return s;
}

// Vertices 0 and 2 carry the top colour, 1 and 3 the bottom one.
void ExpectColours(Sky* s, const float* top, const float* bottom) {
    const float* c = s->Backdrop()->colours;
    for (int v = 0; v < 4; ++v)
        for (int j = 0; j < 4; ++j)
            EXPECT_FLOAT_EQ(c[v * 4 + j], (v % 2 == 0 ? top : bottom)[j]) << "vertex " << v << " channel " << j;
}

void Blend(const float* from, const float* to, float t, float* out) {
    for (int j = 0; j < 4; ++j) out[j] = from[j] + (to[j] - from[j]) * t;
}

}  // namespace

TEST_F(WeatherTest, SkyBuildsAScreenSpaceBackdropAndAHiddenFog) {
    Sky* s = MakeSky();
    EXPECT_STREQ(s->GetType(), "Sky");
    EXPECT_EQ(s->realm, 3);
    ComplexSprite* sky = s->Backdrop();
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->primitive, static_cast<uint32_t>(GL_TRIANGLE_STRIP));
    EXPECT_EQ(sky->vertexCount, 4);
    EXPECT_EQ(sky->screenSpace, 1);
    EXPECT_EQ(sky->inRenderList, 1);
    const float xyz[12] = {0, 0, 0, 0, 600, 0, 800, 0, 0, 800, 600, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(sky->vertices[i], xyz[i]) << i;
    const Vec2 uv[4] = {Vec2(0, 0), Vec2(0, 1), Vec2(1, 0), Vec2(1, 1)};
    for (int v = 0; v < 4; ++v) EXPECT_EQ(sky->texCoords[v], uv[v]) << v;
    ExpectColours(s, kLivingTop, kLivingBottom);
    ASSERT_NE(sky->texture, nullptr);
    EXPECT_EQ(sky->texture->fileName, "images\\sky.tga");
    EXPECT_EQ(sky->GetDepth(), 0.0f);

    Sprite* fog = s->fog;
    ASSERT_NE(fog, nullptr);
    EXPECT_EQ(fog->scale, Vec2(8.5f, 4.0f));
    EXPECT_EQ(fog->position, Vec2(400.0f, 300.0f));
    EXPECT_EQ(BoxCentre(fog->corners), Vec2(400.0f, 300.0f));
    EXPECT_FLOAT_EQ(fog->corners[3].x - fog->corners[0].x, fog->frameWidth * 8.5f);
    EXPECT_EQ(fog->screenSpace, 1);
    EXPECT_EQ(fog->blendMode, 1u);
    EXPECT_EQ(fog->colour[3], 0.0f);
    EXPECT_EQ(fog->depth, 0.9f);
    EXPECT_EQ(fog->inRenderList, 1);
    ASSERT_NE(fog->texture, nullptr);
    EXPECT_EQ(fog->texture->fileName, "images\\fog.tga");
}

TEST_F(WeatherTest, LivingSkyKeepsItsColours) {
    Sky* s = MakeSky();
    Frames(120);
    EXPECT_EQ(s->state, 1);
    ExpectColours(s, kLivingTop, kLivingBottom);
    EXPECT_EQ(s->fog->colour[3], 0.0f);
}

TEST_F(WeatherTest, SkyTurnsGhostlyOverOneSecondAndSettles) {
    Sky* s = MakeSky();
    Frames(10);
    s->SetState(5);
    float t = 0.0f;
    float top[4], bottom[4];
    for (int update = 1; update <= 60; ++update) {
        goManager.Update(kDt);
        t += kDt;
        ASSERT_EQ(s->state, 5) << update;
        EXPECT_EQ(s->stateTime, t);
        if (update == 30 || update == 60) {
            Blend(kLivingTop, kGhostTop, t, top);
            Blend(kLivingBottom, kGhostBottom, t, bottom);
            ExpectColours(s, top, bottom);
            EXPECT_FLOAT_EQ(s->fog->colour[3], t);
        }
    }
    // 60 float steps fall just short of a second: the 61st update ends the change,
    // with its blend a step past the ghost colours.
    goManager.Update(kDt);
    t += kDt;
    EXPECT_EQ(s->state, 1);
    EXPECT_GT(t, 1.0f);
    Blend(kLivingTop, kGhostTop, t, top);
    Blend(kLivingBottom, kGhostBottom, t, bottom);
    ExpectColours(s, top, bottom);
    EXPECT_FLOAT_EQ(s->fog->colour[3], t);

    Frames(30);  // back in state 1 the colours stay
    ExpectColours(s, top, bottom);
}

TEST_F(WeatherTest, SkyReturnsToTheLivingColours) {
    Sky* s = MakeSky();
    s->SetState(6);
    float t = 0.0f;
    float top[4], bottom[4];
    for (int update = 1; update <= 61; ++update) {
        goManager.Update(kDt);
        t += kDt;
        Blend(kGhostTop, kLivingTop, t, top);
        Blend(kGhostBottom, kLivingBottom, t, bottom);
        ExpectColours(s, top, bottom);
        EXPECT_FLOAT_EQ(s->fog->colour[3], 1.0f - t);
        EXPECT_EQ(s->state, update <= 60 ? 6 : 1) << update;
    }
    // A toggle in mid-change starts the other blend from its own end colours.
    s->SetState(5);
    goManager.Update(kDt);
    Blend(kLivingTop, kGhostTop, kDt, top);
    Blend(kLivingBottom, kGhostBottom, kDt, bottom);
    ExpectColours(s, top, bottom);
    s->SetState(6);
    goManager.Update(kDt);
    Blend(kGhostTop, kLivingTop, kDt, top);
    Blend(kGhostBottom, kLivingBottom, kDt, bottom);
    ExpectColours(s, top, bottom);
}

TEST_F(WeatherTest, FogDriftsInEveryState) {
    Sky* s = MakeSky();
    Vec2 uv[4];
    for (int i = 0; i < 4; ++i) uv[i] = s->fog->texCoords[i];
    EXPECT_EQ(uv[0], Vec2(0, 0));
    EXPECT_EQ(uv[3], Vec2(1, 1));
    for (int update = 0; update < 200; ++update) {
        if (update == 50) s->SetState(5);
        if (update == 120) s->SetState(6);
        goManager.Update(kDt);
        for (int i = 0; i < 4; ++i) {
            uv[i].x += 0.25f * kDt;
            uv[i].y += kDt / 50.0f;
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(s->fog->texCoords[i].x, uv[i].x) << i;
        EXPECT_FLOAT_EQ(s->fog->texCoords[i].y, uv[i].y) << i;
    }
    // 200 steps: 3.33 s, a drift of 0.83 across and 0.067 down.
    EXPECT_NEAR(s->fog->texCoords[0].x, 200 * kDt * 0.25f, 1e-4);
    EXPECT_NEAR(s->fog->texCoords[1].y, 1.0f + 200 * kDt / 50.0f, 1e-4);
}

TEST_F(WeatherTest, DeadSkyLetsGoOfItsFog) {
    Sky* s = MakeSky();
    s->Kill();
    EXPECT_EQ(s->fog, nullptr);
    EXPECT_EQ(s->Backdrop()->inRenderList, 0);
    s->Update(kDt);  // harmless without the fog

    Sky* t = MakeSky();
    t->SetState(3);
    Frames(1);
    EXPECT_FALSE(Listed(t));
    EXPECT_EQ(CountLines(ReadLog(), "Deleting GO of type: Sky"), 1);
}

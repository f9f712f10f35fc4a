// The sky: backdrop and fog, the colour blend of the sea toggle, the fog's drift.
#include <gtest/gtest.h>

#include "ComplexSprite.h"
#include "Sprite.h"
#include "WeatherTestSupport.h"
#include "sea/Sky.h"

using namespace weather;

namespace {

const float kGhostTop[4] = {0.0f, 0.25f, 0.0f, 1.0f};
const float kGhostBottom[4] = {0.31f, 0.0f, 0.15f, 1.0f};
const float kLivingTop[4] = {0.8f, 0.8f, 1.0f, 1.0f};
const float kLivingBottom[4] = {0.5f, 0.7f, 1.0f, 0.9f};

Sky* MakeSky() {
    Sky* s = static_cast<Sky*>(goManager.Create("Sky"));
    for (int j = 0; j < 4; ++j) {
        s->ghostTop[j] = kGhostTop[j];
        s->ghostBottom[j] = kGhostBottom[j];
        s->livingTop[j] = kLivingTop[j];
        s->livingBottom[j] = kLivingBottom[j];
    }
    s->Init();
    return s;
}

// Vertices 0 and 2 carry the top colour, 1 and 3 the bottom one; t blends from to to.
void ExpectBlend(Sky* s, const float* fromTop, const float* toTop, const float* fromBottom,
                 const float* toBottom, float t) {
    const float* c = s->Backdrop()->colours;
    for (int v = 0; v < 4; ++v)
        for (int j = 0; j < 4; ++j) {
            const float* from = v % 2 ? fromBottom : fromTop;
            const float* to = v % 2 ? toBottom : toTop;
            EXPECT_FLOAT_EQ(c[v * 4 + j], from[j] + (to[j] - from[j]) * t) << v << "," << j;
        }
}

}  // namespace

TEST_F(WeatherTest, SkyBuildsAScreenSpaceBackdropAndAHiddenFog) {
    Sky* s = MakeSky();
    EXPECT_EQ(s->realm, 3);
    ComplexSprite* sky = s->Backdrop();
    EXPECT_EQ(sky->vertexCount, 4);
    EXPECT_TRUE(sky->screenSpace);
    EXPECT_EQ(sky->inRenderList, 1);
    const float xy[8] = {0, 0, 0, 600, 800, 0, 800, 600};
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(Vec2(sky->vertices[v * 3], sky->vertices[v * 3 + 1]), Vec2(xy[v * 2], xy[v * 2 + 1]));
        EXPECT_EQ(sky->texCoords[v], Vec2(xy[v * 2] / 800, xy[v * 2 + 1] / 600));
    }
    ExpectBlend(s, kLivingTop, kLivingTop, kLivingBottom, kLivingBottom, 0.0f);
    Sprite* fog = s->fog;
    EXPECT_EQ(fog->scale, Vec2(8.5f, 4.0f));
    EXPECT_EQ(BoxCentre(fog->corners), Vec2(400.0f, 300.0f));
    EXPECT_TRUE(fog->screenSpace);
    EXPECT_EQ(fog->colour[3], 0.0f);
    EXPECT_EQ(fog->depth, 0.9f);
    EXPECT_EQ(fog->inRenderList, 1);

    Frames(90);  // the living sky keeps its colours
    ExpectBlend(s, kLivingTop, kLivingTop, kLivingBottom, kLivingBottom, 0.0f);
    s->Kill();
    EXPECT_EQ(s->fog, nullptr);
    EXPECT_EQ(sky->inRenderList, 0);
}

// 60 float steps fall just short of a second: the 61st ends each change, its blend one
// step past the far colours, which then stay.
TEST_F(WeatherTest, SkyBlendsOverTheToggleAndReturnsToStateOne) {
    Sky* s = MakeSky();
    for (SeaSwitch toState : {SeaSwitch::kToGhost, SeaSwitch::kToLiving}) {
        s->SetState(toState);
        const bool ghost = toState == SeaSwitch::kToGhost;
        float t = 0.0f;
        for (int update = 1; update <= 61; ++update) {
            goManager.Update(kDt);
            t += kDt;
            ASSERT_EQ(s->state, update <= 60 ? ObjState(toState) : ObjState(Life::kNormal)) << update;
            if (ghost) ExpectBlend(s, kLivingTop, kGhostTop, kLivingBottom, kGhostBottom, t);
            else ExpectBlend(s, kGhostTop, kLivingTop, kGhostBottom, kLivingBottom, t);
            ASSERT_FLOAT_EQ(s->fog->colour[3], ghost ? t : 1.0f - t);
        }
        Frames(20);
        if (ghost) ExpectBlend(s, kLivingTop, kGhostTop, kLivingBottom, kGhostBottom, t);
        else ExpectBlend(s, kGhostTop, kLivingTop, kGhostBottom, kLivingBottom, t);
    }
}

TEST_F(WeatherTest, FogDriftsInEveryState) {
    Sky* s = MakeSky();
    Vec2 uv[4];
    for (int i = 0; i < 4; ++i) uv[i] = s->fog->texCoords[i];
    EXPECT_EQ(uv[3], Vec2(1, 1));
    for (int update = 0; update < 200; ++update) {
        if (update == 50) s->SetState(SeaSwitch::kToGhost);
        if (update == 120) s->SetState(SeaSwitch::kToLiving);
        goManager.Update(kDt);
        for (Vec2& c : uv) c = c + Vec2(0.25f * kDt, kDt / 50.0f);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(s->fog->texCoords[i].x, uv[i].x) << i;
        EXPECT_FLOAT_EQ(s->fog->texCoords[i].y, uv[i].y) << i;
    }
    EXPECT_NEAR(s->fog->texCoords[0].x, 200 * kDt / 4, 1e-4);  // 3.3 s: 0.83 across
}

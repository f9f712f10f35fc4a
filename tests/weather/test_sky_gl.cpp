// The sky drawn through the render list: in window pixels whatever the camera does,
// tinted by its colours, with the fog showing only in the ghost sea.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Box.h"
#include "Camera.h"
#include "ComplexSprite.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "ParticleSystem.h"
#include "Sprite.h"
#include "TestImages.h"
#include "Texture.h"
#include "TextureManager.h"
#include "objects/GOManager.h"
#include "sea/ParticleObj.h"
#include "sea/Sky.h"

namespace {

void ExpectPixel(int x, int y, int r, int g, int b, int tolerance = 4) {
    const gltest::Rgba p = gltest::ReadPixel(x, y);
    EXPECT_NEAR(p.r, r, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(p.g, g, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(p.b, b, tolerance) << "at " << x << "," << y;
}

void DrawFrame() {
    gltest::BeginFrame();
    gltest::RenderList();
}

}  // namespace

TEST(SkyGl, BackdropFillsTheWindowInItsColoursWhereverTheCameraIs) {
    REQUIRE_GL();
    // Found before the generated art: the working directory is searched first.
    mkdir("images", 0755);
    ASSERT_TRUE(WriteSolidTga("images/sky.tga", 4, 4, 0xFFFFFFFF));
    // White, half covering; scaled by 8.5 x 4 it spans the whole window.
    ASSERT_TRUE(WriteSolidTga("images/fog.tga", 100, 150, 0xFFFFFF80));

    // Far from the origin: anything drawn in world pixels would miss the window.
    camera.SetView(Vec2(5400.0f, 4300.0f), Vec2(800.0f, 600.0f));
    camera.targetPosition = camera.corners[kTopLeft];
    camera.shakeTime = -1.0f;

    Sky* sky = static_cast<Sky*>(goManager.Create("Sky"));
    ASSERT_NE(sky, nullptr);
    const float red[4] = {1, 0, 0, 1}, blue[4] = {0, 0, 1, 1}, green[4] = {0, 1, 0, 1};
    for (int j = 0; j < 4; ++j) {
        sky->livingTop[j] = red[j];
        sky->livingBottom[j] = blue[j];
        sky->ghostTop[j] = green[j];
        sky->ghostBottom[j] = green[j];
    }
    sky->Init();
    ASSERT_FALSE(sky->Backdrop()->texture->placeholder);

    DrawFrame();
    // Red at the top, blue at the bottom, shaded down the window; the fog is clear.
    ExpectPixel(400, 0, 255, 0, 0);
    ExpectPixel(3, 599, 0, 0, 255);
    ExpectPixel(796, 300, 128, 0, 128);
    ExpectPixel(200, 150, 191, 0, 64);

    // The ghost sea: green all over, under half-covering white fog.
    sky->SetState(SeaSwitch::kToGhost);
    for (int i = 0; i < 61; ++i) goManager.Update(kFrameStep);
    ASSERT_EQ(sky->state, Life::kNormal);
    DrawFrame();
    ExpectPixel(400, 0, 128, 255, 128);
    ExpectPixel(400, 599, 128, 255, 128);
    ExpectPixel(10, 300, 128, 255, 128);
    ExpectPixel(400, 300, 128, 255, 128);

    goManager.Clear();
    DrawFrame();  // nothing of the sky is left to draw
    ExpectPixel(400, 300, 0, 0, 0, 1);
}

// Splashes, rain and spray fade through their alpha: a half-faded white drop over red
// shows pink, not a solid white square.
TEST(ParticleObjGl, ParticlesAreDrawnBlended) {
    REQUIRE_GL();
    camera = Camera();
    camera.SetView(Vec2(400, 300), Vec2(800, 600));
    ASSERT_TRUE(WriteSolidTga("drop.tga", 16, 16, 0xFFFFFFFF));
    ASSERT_TRUE(WriteSolidTga("backdrop.tga", 16, 16, 0xFF0000FF));
    ASSERT_TRUE(WriteSolidTga("burn.tga", 1, 1, 0x000000FF));
    textureManager.GetTexture("burn.tga");  // takes id 0, which the first bind skips
    Sprite back(1, 1, "backdrop.tga");
    back.position = Vec2(100, 100);
    back.scale = Vec2(10, 10);
    back.UpdateCorners();
    back.SetDepth(0.05f);

    auto* drop = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    ParticleSettings& s = drop->Settings();
    s.count = 1;
    s.z = 0.5f;
    BoxSet(s.emitterBox, 100.0f, 100.0f, 101.0f, 101.0f);
    for (int i = 0; i < 4; ++i) s.endColour[i] = i < 3 ? 1.0f : 0.0f;
    s.size.base = Vec2(1, 1);
    s.lifetime.base = 2.0f;
    drop->Init();
    drop->MakeSprite("drop.tga");
    drop->SetEmissionRate(60.0f);
    drop->removeWhenSpent = 0;
    // Two steps a frame: 30 frames age the drop by about a second, half its life.
    for (int i = 0; i < 30; ++i) drop->Update(kFrameStep);

    DrawFrame();
    const gltest::Rgba p = gltest::ReadPixel(104, 104);
    EXPECT_GT(p.r, 200);
    EXPECT_GT(p.g, 80) << "some white shows through";
    EXPECT_LT(p.g, 180) << "but only about half of it";
    goManager.Clear();
}

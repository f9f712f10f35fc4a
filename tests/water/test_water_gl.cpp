// The sea drawn into a real GL context: its surface line and its body.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <string>

#include "GL.h"
#include "GlTestContext.h"
#include "Renderer.h"
#include "TestImages.h"
#include "TextureManager.h"
#include "WaterTestKit.h"

using namespace watertest;

namespace {

// Every strip vertex samples texel (0, 0). Filtering at the very corner of the image
// also reaches the texels across the wrap, so the four corners share its colour and
// everything else is red.
constexpr uint32_t kCornerTexel = 0x28A0DCFF;  // RGBA
constexpr uint32_t kOtherTexels = 0xFF0000FF;

class WaterGl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The working directory is searched first, so this stands in for the game's art.
        mkdir("images", 0755);
        WriteTestTga("images/water.tga", 8, 8, [](int x, int y) {
            return (x == 0 || x == 7) && (y == 0 || y == 7) ? kCornerTexel : kOtherTexels;
        });
    }
    void TearDown() override { goManager.Clear(); }

    // The frame as the main loop runs it: objects update (the line is drawn at once,
    // where the surface stood after the previous step), then the render list is drawn.
    static void Frame(Water* w) {
        gltest::BeginFrame();
        w->Update(kStep);
        w->Draw();
        gltest::RenderList();
    }
    static void Frames(Water* w, int n) {
        for (int i = 0; i < n; ++i) Frame(w);
    }

    static int Brightness(int x, int y) {
        const gltest::Rgba p = gltest::ReadPixel(x, y);
        return (p.r + p.g + p.b) / 3;
    }
};

}  // namespace

TEST_F(WaterGl, TheBodyTakesTheColourOfTheFirstTexel) {
    REQUIRE_GL();
    // Surface at y = 300 - 100 = 200, bottom at 500.
    Water* w = MakeSea(-100.0f, 300.0f, 0.7f);
    ASSERT_NE(w, nullptr);
    ASSERT_FALSE(w->Strip()->texture->placeholder);
    Frames(w, 2);

    // Alpha runs from 0.95 at the surface to 1 at the bottom, over a black screen.
    for (int y : {260, 350, 450}) {
        const float alpha = 0.95f + 0.05f * (y - 200) / 300.0f;
        const gltest::Rgba p = gltest::ReadPixel(400, y);
        EXPECT_NEAR(p.r, 0x28 * alpha, 4) << y;
        EXPECT_NEAR(p.g, 0xA0 * alpha, 4) << y;
        EXPECT_NEAR(p.b, 0xDC * alpha, 4) << y;
    }
    // Below the bottom and well above the line: nothing.
    EXPECT_LT(Brightness(400, 520), 4);
    EXPECT_LT(Brightness(400, 150), 4);
}

TEST_F(WaterGl, TheSurfaceLineIsDrawnWithTheDepthWidthAndRestoresTheState) {
    REQUIRE_GL();
    Water* front = MakeSea(-100.0f, 300.0f, 0.7f);
    ASSERT_NE(front, nullptr);
    Frame(front);
    // Right after the draw: texturing back on and line smoothing off for whatever
    // draws next, the matrix stack as it was.
    gltest::BeginFrame();
    front->Update(kStep);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    front->Draw();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(textureManager.texturing, 1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    GLfloat width = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 7.0f);
    gltest::RenderList();
    // The upper half of the 7-pixel line shows above the body (white over black).
    EXPECT_GT(Brightness(400, 198), 200);
    EXPECT_GT(Brightness(400, 197), 150);
    EXPECT_LT(Brightness(400, 192), 4);
    front->Kill();

    // The far sea's line is only three pixels: nothing reaches row 197.
    Water* back = MakeSea(-100.0f, 300.0f, 0.1f);
    Frames(back, 2);
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 3.0f);
    EXPECT_GT(Brightness(400, 199), 100);
    EXPECT_LT(Brightness(400, 197), 40);
    back->Kill();
}

TEST_F(WaterGl, TheLineFollowsTheWavesAndStopsWhenFrozen) {
    REQUIRE_GL();
    Water* w = MakeSea(-100.0f, 300.0f, 0.7f);
    w->Disturb(-40.0f, 400.0f);  // lifts the water around x = 400
    Frames(w, 8);
    // Two rows above the surface at screen x = 400 (strip x 500, between points 16 and 17).
    auto rowAbove = [w]() {
        const float y0 = SurfaceY(w, 16), y1 = SurfaceY(w, 17);
        const float y = 300.0f + y0 + (y1 - y0) * (500.0f - 480.0f) / 30.0f;
        return static_cast<int>(std::floor(y)) - 2;
    };
    // The line is drawn from the surface the update's step left.
    Frame(w);
    int row = rowAbove();
    ASSERT_LT(row, 195) << "the disturbance should have raised the surface";
    EXPECT_GT(Brightness(400, row), 150) << row;

    // Frozen: the manager neither updates nor draws it, so no line is drawn above the body.
    w->SetState(SeaSwitch::kToGhost);
    w->stateTime = 2.0f;
    w->Update(kStep);
    ASSERT_EQ(w->frozen, 1);
    row = rowAbove();
    gltest::BeginFrame();
    goManager.Update(kStep);
    goManager.Draw();
    gltest::RenderList();
    EXPECT_LT(Brightness(400, row), 4) << row;
    EXPECT_GT(Brightness(400, row + 4), 20) << "the body is still drawn";
}

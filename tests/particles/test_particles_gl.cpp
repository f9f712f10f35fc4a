// A particle system drawn through the render list into a real GL context.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Box.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "ParticleSystem.h"
#include "Renderer.h"
#include "TextureManager.h"

namespace {

// Uncompressed 32-bit Targa, top row first, every pixel the same BGRA value.
std::string WriteSolidTga(const std::string& path, int w, int h, const unsigned char bgra[4]) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return "";
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      static_cast<unsigned char>(w & 0xFF),
                                      static_cast<unsigned char>(w >> 8),
                                      static_cast<unsigned char>(h & 0xFF),
                                      static_cast<unsigned char>(h >> 8), 32, 0x28};
    std::fwrite(header, 1, sizeof header, f);
    for (int i = 0; i < w * h; ++i) std::fwrite(bgra, 1, 4, f);
    std::fclose(f);
    return path;
}

void ExpectPixel(int x, int y, int r, int g, int b, int tolerance = 2) {
    const gltest::Rgba p = gltest::ReadPixel(x, y);
    EXPECT_NEAR(p.r, r, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(p.g, g, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(p.b, b, tolerance) << "at " << x << "," << y;
}

void DrawListedFrame() {
    gltest::BeginFrame();
    gltest::RenderList();
}

}  // namespace

TEST(ParticleSystemGl, LiveParticleColoursItsPixelsAndFadesOut) {
    REQUIRE_GL();
    const unsigned char white[4] = {255, 255, 255, 255};
    const std::string image = WriteSolidTga("particle_white_4x4.tga", 4, 4, white);
    ASSERT_FALSE(image.empty());

    ParticleSettings s;
    s.count = 1;
    // Size 4 of a 4-pixel image: a 16-pixel square, and hi x = 208 - 8 = min x,
    // so it is born exactly at (200, 150).
    BoxSet(s.emitterBox, 200.0f, 150.0f, 208.0f, 158.0f);
    s.z = 0.5f;
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const float blue[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int j = 0; j < 4; ++j) {
        s.startColour[j] = red[j];
        s.endColour[j] = blue[j];
    }
    s.size.base = Vec2(4.0f, 4.0f);
    s.lifetime.base = 0.04f;

    ParticleSystem ps;
    ps.Setup(s);
    ps.SetImage(image);
    ASSERT_NE(ps.texture, nullptr);
    EXPECT_FALSE(ps.texture->placeholder);
    EXPECT_EQ(ps.textureWidth, 4.0f);
    EXPECT_EQ(ps.textureHeight, 4.0f);
    ps.blendMode = BlendMode::kAlpha;
    ps.emissionRate = 60.0f;

    // Never updated: nothing is drawn (empty box, and every vertex at the origin).
    AddToRenderList(&ps);
    DrawListedFrame();
    ExpectPixel(208, 158, 0, 0, 0);

    ps.Update(kFrameStep);  // born red
    // Setting the image again leaves the particles alone.
    const std::vector<float> before(ps.vertices, ps.vertices + ps.vertexCount * 3);
    ps.SetImage(image);
    EXPECT_EQ(before, std::vector<float>(ps.vertices, ps.vertices + ps.vertexCount * 3));

    // Born this pass, so not yet in the box: the render list culls it this frame.
    DrawListedFrame();
    ExpectPixel(208, 158, 0, 0, 0);
    // Drawn directly it is there, red, covering exactly its 16 x 16 square.
    gltest::BeginFrame();
    ps.Draw();
    renderer.EndOrtho();
    glFinish();
    ExpectPixel(208, 158, 255, 0, 0);
    ExpectPixel(201, 151, 255, 0, 0);
    ExpectPixel(214, 164, 255, 0, 0);
    ExpectPixel(198, 158, 0, 0, 0);
    ExpectPixel(218, 158, 0, 0, 0);
    ExpectPixel(208, 148, 0, 0, 0);
    ExpectPixel(208, 168, 0, 0, 0);
    ExpectPixel(0, 0, 0, 0, 0);

    ps.Update(kFrameStep);  // t = dt / 0.04: 5/12 of the way from red to blue
    DrawListedFrame();
    ExpectPixel(208, 158, 149, 0, 106);

    ps.Update(kFrameStep);
    ps.Update(kFrameStep);  // dies: alpha 0, still in the box of this frame
    ASSERT_EQ(ps.particles[0].life, 0.0f);
    DrawListedFrame();
    ExpectPixel(208, 158, 0, 0, 0);

    // Drawn directly (no culling) a dead particle is still transparent.
    ps.Update(kFrameStep);
    gltest::BeginFrame();
    ps.Draw();
    renderer.EndOrtho();
    glFinish();
    ExpectPixel(208, 158, 0, 0, 0);

    RemoveFromRenderList(&ps);
}

TEST(ParticleSystemGl, VerticesAreDrawnOffsetByTheSpritePosition) {
    REQUIRE_GL();
    const unsigned char white[4] = {255, 255, 255, 255};
    const std::string image = WriteSolidTga("particle_white_2x2.tga", 2, 2, white);
    ParticleSettings s;
    s.count = 1;
    BoxSet(s.emitterBox, 100.0f, 100.0f, 100.0f, 100.0f);  // born at 100 or 101
    s.z = 0.0f;
    for (int j = 0; j < 4; ++j) s.startColour[j] = s.endColour[j] = 1.0f;
    s.size.base = Vec2(10.0f, 10.0f);  // 20 x 20 pixels
    s.lifetime.base = 10.0f;

    ParticleSystem ps;
    ps.Setup(s);
    ps.SetImage(image);
    ps.emissionRate = 60.0f;
    ps.position = Vec2(300.0f, 200.0f);  // drawn offset by the sprite's position
    ps.Update(kFrameStep);
    ps.corners[kTopLeft] = Vec2(0, 0);  // keep it inside the view for the culler
    ps.corners[kBottomRight] = Vec2(800, 600);
    AddToRenderList(&ps);
    DrawListedFrame();
    ExpectPixel(410, 310, 255, 255, 255);
    ExpectPixel(110, 110, 0, 0, 0);
    RemoveFromRenderList(&ps);
}

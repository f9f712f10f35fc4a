// Drawing checked on pixels read back from a real GL context: sprites, depth order,
// screen space, culling, mirroring; and the texture cache on a live context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "Camera.h"
#include "ComplexSprite.h"
#include "Culler.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "Renderer.h"
#include "Sprite.h"
#include "TestImages.h"
#include "TextureManager.h"

namespace {

constexpr uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF;

bool IsRed(gltest::Rgba p) { return p.r > 200 && p.g < 50 && p.b < 50; }
bool IsGreen(gltest::Rgba p) { return p.g > 200 && p.r < 50 && p.b < 50; }
bool IsBlack(gltest::Rgba p) { return p.r < 20 && p.g < 20 && p.b < 20; }

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL();
        camera = Camera();
        camera.SetView(Vec2(400, 300), Vec2(800, 600));
        camera.shakeTime = -1.0f;
        WriteSolidTga("red.tga", 16, 16, kRed);
        WriteSolidTga("green.tga", 16, 16, kGreen);
        // Texture id 0 shares the manager's initial bound id; take it out of play here
        // (its quirk has a test of its own).
        WriteSolidTga("warmup.tga", 1, 1, kRed);
        textureManager.GetTexture("warmup.tga");
    }
    Sprite* Make(const char* image, float x, float y, float depth) {
        Sprite* s = new Sprite(1, 1, image);
        s->position = Vec2(x, y);
        s->UpdateCorners();
        s->SetDepth(depth);
        return s;
    }
};

TEST_F(Drawing, SpriteCoversItsFrameAroundItsPosition) {
    Sprite* s = Make("red.tga", 100, 100, 0.5f);
    s->scale = Vec2(2, 2);
    s->UpdateCorners();
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsRed(gltest::ReadPixel(100, 100)));
    EXPECT_TRUE(IsRed(gltest::ReadPixel(85, 85))) << "scaled to 32 x 32";
    EXPECT_TRUE(IsBlack(gltest::ReadPixel(120, 100)));
    EXPECT_TRUE(IsBlack(gltest::ReadPixel(100, 80)));
    delete s;
}

TEST_F(Drawing, EqualDepthsShowTheEarlierAttachedOnTopAndNearerWins) {
    Sprite* first = Make("red.tga", 200, 200, 0.5f);
    Sprite* second = Make("green.tga", 204, 200, 0.5f);
    Sprite* nearer = Make("green.tga", 300, 300, 0.6f);
    Sprite* farther = Make("red.tga", 300, 300, 0.4f);
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsRed(gltest::ReadPixel(204, 200)));
    EXPECT_TRUE(IsGreen(gltest::ReadPixel(300, 300)));
    delete first;
    delete second;
    delete nearer;
    delete farther;
}

TEST_F(Drawing, ScreenSpaceIgnoresTheCameraAndWorldSpaceFollowsIt) {
    Sprite* hud = Make("red.tga", 50, 50, 0.5f);
    hud->screenSpace = true;
    Sprite* world = Make("green.tga", 1050, 300, 0.5f);
    camera.SetView(Vec2(1400, 300), Vec2(800, 600));  // top-left at (1000, 0)
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsRed(gltest::ReadPixel(50, 50)));
    EXPECT_TRUE(IsGreen(gltest::ReadPixel(50, 300))) << "world x 1050 is window x 50";
    delete hud;
    delete world;
}

TEST_F(Drawing, AScrollKeepsTheWorldBehindItAndAHeldViewStandsStill) {
    Sprite* scroll = Make("red.tga", 100, 100, 0.85f);
    scroll->screenSpace = true;
    scroll->aboveWorld = 1;
    Sprite* chest = Make("green.tga", 100, 100, 1.0f);
    Sprite* under = Make("red.tga", 300, 300, 0.85f);
    under->screenSpace = true;
    under->aboveWorld = 1;
    Sprite* pointer = Make("green.tga", 300, 300, 1.0f);
    pointer->aboveWorld = 1;
    for (bool behind : {false, true}) {
        culler.worldBehindScreen = behind;
        gltest::BeginFrame();
        gltest::RenderList();
        EXPECT_EQ(IsRed(gltest::ReadPixel(100, 100)), behind);
        EXPECT_TRUE(IsGreen(gltest::ReadPixel(300, 300)));
    }
    culler.worldBehindScreen = false;
    delete scroll;
    delete under;
    delete pointer;

    // The camera goes on towards its target underneath a held view; released, it shows.
    camera.targetPosition = Vec2(60, 0);
    camera.HoldView(true);
    for (int frame = 0; frame < 10; ++frame) gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsGreen(gltest::ReadPixel(100, 100)));
    EXPECT_GT(camera.corners[kTopLeft].x, 20.0f);
    EXPECT_EQ(camera.WorldToScreen(Vec2(100, 100)), Vec2(100, 100));
    camera.HoldView(false);
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsBlack(gltest::ReadPixel(100 - 6, 100))) << "the left edge moved right with the camera";
    EXPECT_LT(camera.WorldToScreen(Vec2(100, 100)).x, 80.0f);
    delete chest;
}

TEST_F(Drawing, CulledBoxesAreNotDrawnEvenIfThePositionIsOnScreen) {
    Sprite* s = Make("red.tga", 5000, 100, 0.5f);  // box far off the view
    s->position = Vec2(100, 100);                  // moved without refreshing the box
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsBlack(gltest::ReadPixel(100, 100)));
    s->UpdateCorners();
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsRed(gltest::ReadPixel(100, 100)));
    delete s;
}

TEST_F(Drawing, MirroringSwapsLeftAndRight) {
    WriteTestTga("halves.tga", 16, 16, [](int x, int) { return x < 8 ? kRed : kBlue; });
    Sprite* plain = Make("halves.tga", 100, 100, 0.5f);
    Sprite* mirrored = Make("halves.tga", 200, 100, 0.5f);
    mirrored->mirrored = 1;
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_TRUE(IsRed(gltest::ReadPixel(95, 100)));
    EXPECT_GT(gltest::ReadPixel(105, 100).b, 200);
    EXPECT_GT(gltest::ReadPixel(195, 100).b, 200);
    EXPECT_TRUE(IsRed(gltest::ReadPixel(205, 100)));
    delete plain;
    delete mirrored;
}

TEST_F(Drawing, AlphaBlendedSpriteLetsTheBackgroundThrough) {
    WriteSolidTga("clear.tga", 16, 16, 0xFFFFFF00);
    Sprite* back = Make("red.tga", 400, 400, 0.2f);
    Sprite* glass = Make("clear.tga", 400, 400, 0.8f);
    glass->blendMode = BlendMode::kAlpha;
    gltest::BeginFrame();
    gltest::RenderList();
    gltest::Rgba p = gltest::ReadPixel(400, 400);
    EXPECT_TRUE(IsRed(p)) << p.r << "," << p.g << "," << p.b;
    delete back;
    delete glass;
}

// --- sprites' frames -------------------------------------------------------------

TEST_F(Drawing, FourColumnStripShowsEachFrameForTwoSixtiethStepsAndWraps) {
    WriteSolidTga("strip.tga", 64, 32, kRed);
    Sprite s(2, 4, "strip.tga");
    EXPECT_FLOAT_EQ(s.frameWidth, 16.0f);
    EXPECT_FLOAT_EQ(s.frameHeight, 16.0f);
    std::vector<int> columns;
    for (int i = 0; i < 10; ++i) {
        columns.push_back(static_cast<int>(s.frameColumn));
        s.Update(kFrameStep);
    }
    EXPECT_EQ(columns, (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 0, 0}));

    s.frameRow = 1;
    s.frameColumn = 2;
    s.Update(0.0f);
    EXPECT_FLOAT_EQ(s.texCoords[0].x, 0.5f);
    EXPECT_FLOAT_EQ(s.texCoords[0].y, 0.5f);
    EXPECT_FLOAT_EQ(s.texCoords[3].x, 0.75f);
    EXPECT_FLOAT_EQ(s.texCoords[3].y, 1.0f);
}

TEST_F(Drawing, RotationDoesNotChangeTheBox) {
    Sprite s(1, 1, "red.tga");
    s.position = Vec2(10, 10);
    s.rotation = 45.0f;
    s.UpdateCorners();
    EXPECT_EQ(s.corners[kTopLeft], Vec2(2, 2));
    EXPECT_EQ(s.corners[kBottomRight], Vec2(18, 18));
}

// --- texture cache ---------------------------------------------------------------

TEST_F(Drawing, TextureCacheIgnoresCaseCountsRequestsAndNumbersInOrder) {
    WriteSolidTga("cache_a.tga", 16, 16, kRed);
    WriteSolidTga("cache_b.tga", 16, 16, kRed);
    uint32_t before = textureManager.nextId;
    Texture* a = textureManager.GetTexture("cache_a.tga");
    Texture* b = textureManager.GetTexture("CACHE_A.TGA");
    Texture* c = textureManager.GetTexture("cache_b.tga");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->referenceCount, 2);
    EXPECT_EQ(a->fileName, "cache_a.tga") << "the name as first requested";
    EXPECT_EQ(a->id, before);
    EXPECT_EQ(textureManager.nextId, before + 2);
    EXPECT_EQ(c->id, a->id + 1);
    EXPECT_EQ(a->width, 16);
    EXPECT_FALSE(a->placeholder);
}

TEST(TextureBinding, FirstBindOfTheFirstTextureBindsItAndLoadingLeavesTheBindingAlone) {
    REQUIRE_GL();
    WriteSolidTga("red.tga", 16, 16, kRed);
    WriteSolidTga("green.tga", 16, 16, kGreen);
    WriteSolidTga("blue.tga", 16, 16, kBlue);
    // Each test runs in its own process under CTest; in a shared run the cache is warm.
    if (textureManager.nextId != 0) GTEST_SKIP() << "textures were made before this test";
    Texture* first = textureManager.GetTexture("red.tga");
    Texture* second = textureManager.GetTexture("green.tga");
    EXPECT_EQ(first->id, 0u);
    textureManager.Bind(first, 0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), first->glName) << "id 0 is bound on its first Bind";
    // A texture loaded mid-frame does not take over the next draw of the bound one.
    textureManager.GetTexture("blue.tga");
    textureManager.Bind(first, 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), first->glName);
    textureManager.Bind(second, 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), second->glName);
}

TEST_F(Drawing, BindNullTwiceDisablesTexturingOnce) {
    Texture* t = textureManager.GetTexture("red.tga");
    textureManager.Bind(t, 0);
    textureManager.Bind(nullptr, 0);
    EXPECT_EQ(textureManager.texturing, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    textureManager.Bind(nullptr, 0);
    EXPECT_EQ(textureManager.texturing, 0);
    textureManager.Bind(t, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Drawing, MipmapFlagDecidesFilteringAndWrapping) {
    textureManager.mipmaps = 1;
    WriteSolidTga("mip_on.tga", 16, 16, kRed);
    WriteSolidTga("mip_off.tga", 16, 16, kRed);
    Texture* mip = textureManager.GetTexture("mip_on.tga");
    GLint minFilter = 0, wrap = 0;
    glBindTexture(GL_TEXTURE_2D, mip->glName);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(minFilter, GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(wrap, GL_REPEAT);

    textureManager.mipmaps = 0;
    Texture* flat = textureManager.GetTexture("mip_off.tga");
    textureManager.mipmaps = 1;
    glBindTexture(GL_TEXTURE_2D, flat->glName);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(wrap, GL_CLAMP);
    textureManager.boundId = 999;  // GL binding changed behind the manager's back
}

TEST_F(Drawing, MissingImageGivesAUsablePlaceholder) {
    ::testing::internal::CaptureStderr();
    Texture* t = textureManager.GetTexture("images\\no_such_image.tga");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("images\\no_such_image.tga"), std::string::npos) << err;
    EXPECT_TRUE(t->placeholder);
    EXPECT_GT(t->width, 0);
    EXPECT_GT(t->height, 0);
    Sprite s(1, 1, "images\\no_such_image.tga");
    EXPECT_GT(s.frameWidth, 0.0f);
    s.position = Vec2(500, 500);
    s.UpdateCorners();
    AddToRenderList(&s);
    gltest::BeginFrame();
    gltest::RenderList();
    EXPECT_FALSE(IsBlack(gltest::ReadPixel(500, 500))) << "the placeholder is visible";
}

}  // namespace

namespace {

// A blended strip whose texture coordinates are all (0, 0), drawn the long way (textured)
// and drawn untextured with the sampled colour folded into its own.
std::vector<gltest::Rgba> DrawOneTexelStrip(Texture* texture, bool shortcuts) {
    ComplexSprite strip;
    strip.Allocate(4, true, true);
    const float xy[4][2] = {{100, 100}, {100, 200}, {300, 100}, {300, 200}};
    for (int v = 0; v < 4; ++v) {
        strip.vertices[v * 3] = xy[v][0];
        strip.vertices[v * 3 + 1] = xy[v][1];
        for (int c = 0; c < 4; ++c) strip.colours[v * 4 + c] = c == 3 ? 0.9f - 0.3f * v / 3.0f : 0.4f + 0.2f * v;
    }
    strip.screenSpace = true;
    strip.blendMode = BlendMode::kAlpha;
    strip.texture = texture;
    strip.oneTexel = true;
    renderer.shortcuts = shortcuts;
    gltest::BeginFrame();
    strip.Draw();
    renderer.EndOrtho();
    renderer.shortcuts = true;
    std::vector<gltest::Rgba> pixels;
    for (int y = 102; y < 200; y += 7)
        for (int x = 102; x < 300; x += 11) pixels.push_back(gltest::ReadPixel(x, y));
    return pixels;
}

}  // namespace

TEST_F(Drawing, OneTexelStripDrawsUntexturedWhatItsTextureWouldGive) {
    // Four different corners: repeating, the linear sample at (0, 0) mixes all four;
    // clamped (no mipmaps), texel (0, 0) with the transparent border.
    auto corners = [](int x, int y) -> uint32_t {
        if (x == 0 && y == 0) return 0xFF2040FF;
        if (x == 3 && y == 0) return 0x20FF40C0;
        if (x == 0 && y == 3) return 0x4020FF80;
        return x == 3 && y == 3 ? 0xFFFFFF40 : 0x000000FF;
    };
    WriteTestTga("corners_mip.tga", 4, 4, corners);
    WriteTestTga("corners_flat.tga", 4, 4, corners);
    textureManager.mipmaps = 1;
    Texture* repeating = textureManager.GetTexture("corners_mip.tga");
    textureManager.mipmaps = 0;
    Texture* clamped = textureManager.GetTexture("corners_flat.tga");
    textureManager.mipmaps = 1;
    for (Texture* t : {repeating, clamped}) {
        const auto longWay = DrawOneTexelStrip(t, false);
        const auto shortWay = DrawOneTexelStrip(t, true);
        int worst = 0, lit = 0;
        for (size_t i = 0; i < longWay.size(); ++i) {
            worst = std::max({worst, std::abs(longWay[i].r - shortWay[i].r), std::abs(longWay[i].g - shortWay[i].g),
                              std::abs(longWay[i].b - shortWay[i].b)});
            lit += longWay[i].r + longWay[i].g + longWay[i].b > 0;
        }
        EXPECT_LE(worst, 1) << t->fileName;
        EXPECT_EQ(lit, static_cast<int>(longWay.size())) << t->fileName << ": the strip shows everywhere";
    }
}

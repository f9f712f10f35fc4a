// Bitmap font text drawn into a real GL context. The font images are written by
// the tests: every cell is filled with a colour that encodes its number, so a pixel
// tells which cell was drawn there.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Font.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Renderer.h"
#include "TextureManager.h"

namespace {

constexpr int kCellW = 63;
constexpr int kCellH = 42;
constexpr int kTransparentCell = 3;  // '!'

struct CellColour {
    int r, g, b;
};
CellColour ColourOf(int cell) { return {10 + 2 * cell, 200 - cell, 60}; }

// Uncompressed 32-bit Targa, top row first, in cells of kCellW x kCellH.
bool WriteGridTga(const std::string& path, int columns, int rows) {
    const int w = columns * kCellW, h = rows * kCellH;
    std::vector<unsigned char> data(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int cell = (y / kCellH) * columns + x / kCellW;
            const CellColour c = ColourOf(cell);
            unsigned char* p = &data[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<unsigned char>(c.b);
            p[1] = static_cast<unsigned char>(c.g);
            p[2] = static_cast<unsigned char>(c.r);
            p[3] = cell == kTransparentCell ? 0 : 255;
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      static_cast<unsigned char>(w & 0xFF),
                                      static_cast<unsigned char>(w >> 8),
                                      static_cast<unsigned char>(h & 0xFF),
                                      static_cast<unsigned char>(h >> 8), 32, 0x28};
    std::fwrite(header, 1, sizeof header, f);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
    return true;
}

// Loaded as the game loads its fonts: mipmaps off (linear, clamped).
Font MakeFont(const std::string& path, int columns, int rows) {
    Font font;
    if (!WriteGridTga(path, columns, rows)) return font;
    const uint8_t saved = textureManager.mipmaps;
    textureManager.mipmaps = 0;
    font.texture = textureManager.GetTexture(path);
    textureManager.mipmaps = saved;
    font.textureWidth = static_cast<float>(font.texture->width);
    font.textureHeight = static_cast<float>(font.texture->height);
    font.glyphWidth = static_cast<float>(kCellW);
    font.glyphHeight = static_cast<float>(kCellH);
    return font;
}

// Ten by ten cells: codes 30 to 129.
Font& FullFont() {
    static Font font = MakeFont("text_test_font_10x10.tga", 10, 10);
    return font;
}

const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

void ExpectCell(int x, int y, int cell) {
    const CellColour c = ColourOf(cell);
    const gltest::Rgba p = gltest::ReadPixel(x, y);
    EXPECT_NEAR(p.r, c.r, 1) << "cell " << cell << " at " << x << "," << y;
    EXPECT_NEAR(p.g, c.g, 1) << "cell " << cell << " at " << x << "," << y;
    EXPECT_NEAR(p.b, c.b, 1) << "cell " << cell << " at " << x << "," << y;
}

void ExpectBlack(int x, int y) {
    const gltest::Rgba p = gltest::ReadPixel(x, y);
    EXPECT_EQ(p.r + p.g + p.b, 0) << "at " << x << "," << y << ": " << p.r << " " << p.g << " "
                                  << p.b;
}

float ReadDepth(int x, int y) {
    float d = -1.0f;
    glReadPixels(x, 599 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
    return d;
}

// Draws inside a frame and returns the box; the frame is left open for reading.
TextCorners Draw(Font& font, int x, int y, const char* text, Vec2 scale = Vec2(1.0f, 1.0f),
                 const float* colour = kWhite, float z = 0.0f) {
    return font.DrawText(x, y, z, text, colour, scale);
}

void EndFrame() {
    renderer.EndOrtho();
    glFinish();
}

int Advance(Font& font, const char* text, Vec2 scale = Vec2(1.0f, 1.0f)) {
    const TextCorners c = Draw(font, 0, 0, text, scale);
    return static_cast<int>(c[1].x);
}

}  // namespace

// ---------------------------------------------------------------------------
// Advance widths and the returned box

TEST(FontAdvance, WidthsPerCharacterClassAtScaleOne) {
    REQUIRE_GL();
    Font& font = FullFont();
    ASSERT_NE(font.texture, nullptr);
    ASSERT_FALSE(font.texture->placeholder);
    gltest::BeginFrame();
    for (const char* s : {"A", "Z", "!", "/", ":", "{", "~"}) EXPECT_EQ(Advance(font, s), 43) << s;
    for (const char* s : {"a", "z", "`"}) EXPECT_EQ(Advance(font, s), 33) << s;
    for (const char* s : {"0", "9", " "}) EXPECT_EQ(Advance(font, s), 28) << s;
    EXPECT_EQ(Advance(font, "Gold 120"), 43 + 3 * 33 + 28 + 3 * 28);
    EXPECT_EQ(Advance(font, "Level 7"), 43 + 4 * 33 + 28 + 28);
    EndFrame();
}

TEST(FontAdvance, ReturnedBoxIsUnscaledAndTruncatedPerCharacter) {
    REQUIRE_GL();
    Font& font = FullFont();
    gltest::BeginFrame();

    TextCorners c = Draw(font, 120, 80, "Play!");
    EXPECT_EQ(c[0], Vec2(120.0f, 80.0f));
    EXPECT_EQ(c[1], Vec2(120.0f + 43 + 3 * 33 + 43, 80.0f));
    EXPECT_EQ(c[2], Vec2(120.0f, 122.0f));
    EXPECT_EQ(c[3], Vec2(120.0f + 43 + 3 * 33 + 43, 122.0f));

    // Empty text: a box of no width and one glyph's height.
    c = Draw(font, -15, 40, "");
    EXPECT_EQ(c[0], Vec2(-15.0f, 40.0f));
    EXPECT_EQ(c[1], Vec2(-15.0f, 40.0f));
    EXPECT_EQ(c[2], Vec2(-15.0f, 82.0f));
    EXPECT_EQ(c[3], Vec2(-15.0f, 82.0f));

    // Scale changes only the kerning term; height stays unscaled.
    c = Draw(font, 10, 20, "A", Vec2(2.0f, 3.0f));
    EXPECT_EQ(c[1], Vec2(10.0f + 23, 20.0f));
    EXPECT_EQ(c[3], Vec2(10.0f + 23, 62.0f));
    EXPECT_EQ(Advance(font, "a", Vec2(2.0f, 1.0f)), 3);
    EXPECT_EQ(Advance(font, "A", Vec2(0.5f, 1.0f)), 53);
    // 63 - 0.55 * 30 = 46.5 per letter, truncated after each one: 46, then 92 (not 93).
    EXPECT_EQ(Advance(font, "a", Vec2(0.55f, 1.0f)), 46);
    EXPECT_EQ(Advance(font, "aa", Vec2(0.55f, 1.0f)), 92);

    // Spaced in proportion: the advance is that of scale 1 at any size, so the drawn
    // width shrinks with the scale rather than spreading the letters.
    Font aid = font.Proportional();
    EXPECT_EQ(Advance(aid, "Gold 120", Vec2(0.5f, 0.5f)), 43 + 3 * 33 + 28 + 3 * 28);
    EXPECT_FLOAT_EQ(aid.InkWidth("Gold 120", Vec2(0.5f, 0.5f)), 0.5f * aid.InkWidth("Gold 120", Vec2(1.0f, 1.0f)));
    EXPECT_LT(aid.InkWidth("Gold 120", Vec2(0.5f, 0.5f)), font.InkWidth("Gold 120", Vec2(0.5f, 0.5f)));
    EndFrame();
}

// ---------------------------------------------------------------------------
// What reaches the screen

TEST(FontDraw, GlyphsLandWhereExpected) {
    REQUIRE_GL();
    Font& font = FullFont();
    gltest::BeginFrame();
    // A is cell 35 (row 3, column 5), 1 is cell 19, a is cell 67; pens 0, 43, 71.
    Draw(font, 100, 200, "A1a");
    EndFrame();
    ExpectCell(110, 221, 35);
    ExpectCell(160, 221, 19);  // the 1 covers the A's right edge from x = 143
    ExpectCell(202, 221, 67);
    ExpectCell(230, 238, 67);
    ExpectBlack(99, 221);
    ExpectBlack(235, 221);
    ExpectBlack(120, 198);
    ExpectBlack(120, 243);

    // Scaled: glyphs are twice as wide and the pen (23 units) moves 46 pixels.
    gltest::BeginFrame();
    Draw(font, 100, 300, "AB", Vec2(2.0f, 1.0f));
    EndFrame();
    ExpectCell(120, 320, 35);
    ExpectCell(240, 320, 36);
    ExpectCell(270, 340, 36);
    ExpectBlack(274, 320);
}

TEST(FontDraw, IgnoresTheCameraAndRestoresGlState) {
    REQUIRE_GL();
    Font& font = FullFont();
    gltest::BeginFrame();
    glTranslatef(-250.0f, 75.0f, 0.0f);  // a camera offset already on the matrix
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    Draw(font, 300, 100, "A");
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(before[k], after[k]) << k;
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EndFrame();
    ExpectCell(320, 120, 35);
}

TEST(FontDraw, ColourTintsAndDepthIsZ) {
    REQUIRE_GL();
    Font& font = FullFont();
    gltest::BeginFrame();
    const float red[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    Draw(font, 400, 400, "A", Vec2(1.0f, 1.0f), red, 0.5f);
    EndFrame();
    const gltest::Rgba p = gltest::ReadPixel(420, 420);
    EXPECT_NEAR(p.r, ColourOf(35).r, 1);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);
    // z 0.5 in the frame's projection (near -1, far 1) is window depth 0.25.
    EXPECT_NEAR(ReadDepth(420, 420), 0.25f, 1e-3f);
}

TEST(FontDraw, ZeroAlphaWritesNothing) {
    REQUIRE_GL();
    Font& font = FullFont();
    gltest::BeginFrame();
    const float clear[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    Draw(font, 100, 100, "AAA", Vec2(1.0f, 1.0f), clear, 0.5f);
    // A transparent cell is rejected even at full colour alpha.
    Draw(font, 100, 300, "!!!", Vec2(1.0f, 1.0f), kWhite, 0.5f);
    // Control: the same text, visible, lands colour and depth.
    Draw(font, 500, 100, "AAA", Vec2(1.0f, 1.0f), kWhite, 0.5f);
    EndFrame();
    for (int x : {105, 150, 200}) {
        ExpectBlack(x, 120);
        EXPECT_EQ(ReadDepth(x, 120), 1.0f) << x;  // no depth written either
        ExpectBlack(x, 320);
        EXPECT_EQ(ReadDepth(x, 320), 1.0f) << x;
    }
    ExpectCell(520, 120, 35);
    EXPECT_NEAR(ReadDepth(520, 120), 0.25f, 1e-3f);
}

// ---------------------------------------------------------------------------
// Characters without a cell

TEST(FontOutOfGrid, CharactersOutsideTheImageAdvanceButDrawNothing) {
    REQUIRE_GL();
    // Ten by five cells: codes 30 to 79 only, so lower case has no cell.
    static Font small = MakeFont("text_test_font_10x5.tga", 10, 5);
    ASSERT_NE(small.texture, nullptr);
    ASSERT_EQ(small.textureHeight, 5.0f * kCellH);

    gltest::BeginFrame();
    // A (drawn), z (cell 92: skipped, advances 33), A (drawn at 76).
    TextCorners c = Draw(small, 100, 100, "AzA");
    EXPECT_EQ(c[1].x, 100.0f + 43 + 33 + 43);
    // Codes below 30 and bytes from 158 up wrap to negative cells: advance 43 each.
    const char low[] = {'A', '\x01', '\x1d', 'A', '\0'};
    c = Draw(small, 100, 300, low);
    EXPECT_EQ(c[1].x, 100.0f + 4 * 43);
    const char high[] = {'\xc8', '\xff', '\x9e', 'A', '\0'};
    c = Draw(small, 100, 450, high);
    EXPECT_EQ(c[1].x, 100.0f + 4 * 43);
    EndFrame();

    ExpectCell(110, 120, 35);
    ExpectBlack(170, 120);  // where the z would be, between the two As
    ExpectCell(200, 120, 35);
    ExpectCell(110, 320, 35);
    ExpectBlack(180, 320);
    ExpectBlack(220, 320);
    ExpectCell(245, 320, 35);  // the second A at pen 129
    ExpectBlack(110, 470);
    ExpectBlack(200, 470);
    ExpectCell(245, 470, 35);

    // On the full grid the same z is drawn, so the black above is the skip.
    gltest::BeginFrame();
    Draw(FullFont(), 100, 100, "AzA");
    EndFrame();
    ExpectCell(170, 120, 92);
}

TEST(FontOutOfGrid, DegenerateGlyphSizeDrawsNothing) {
    REQUIRE_GL();
    Font font = FullFont();
    font.glyphWidth = 0.0f;  // no grid at all
    gltest::BeginFrame();
    const TextCorners c = Draw(font, 300, 300, "AB");
    EndFrame();
    EXPECT_EQ(c[1].x, 300.0f - 40.0f);  // pen = int(0 - 20 + pen), twice
    ExpectBlack(305, 310);
    ExpectBlack(350, 320);
}

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "AssetTable.h"
#include "DecodedImage.h"

namespace {

constexpr int kCellW = 63, kCellH = 42;

// The advance the text routine gives a character at scale 1.
int Advance(int c) {
    int g = static_cast<signed char>(c - 30);
    if (g >= 66 && g <= 92) return kCellW - 30;
    if ((g >= 18 && g <= 27) || g == 2) return kCellW - 35;
    return kCellW - 20;
}

struct Box {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
    bool Empty() const { return right < 0; }
};

// Ink bounds of character c's cell, relative to the cell.
Box Ink(const DecodedImage& font, int c) {
    const int perRow = font.Width() / kCellW;
    const int g = c - 30, cx = (g % perRow) * kCellW, cy = (g / perRow) * kCellH;
    Box b;
    for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < kCellW; ++x)
            if (font.Alpha(cx + x, cy + y) > 0) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

class FontTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        font_ = std::make_unique<DecodedImage>(ImagePath(GetParam()));
        ASSERT_TRUE(font_->Ok()) << font_->Error();
    }
    std::unique_ptr<DecodedImage> font_;
};

}  // namespace

TEST_P(FontTest, GridCoversPrintableAsciiWithEveryGlyphInsideItsAdvance) {
    const DecodedImage& font = *font_;
    ASSERT_EQ(font.Width() % kCellW, 0);
    const int cells = (font.Width() / kCellW) * (font.Height() / kCellH);
    ASSERT_GE(cells, 127 - 30) << "the grid must reach '~'";
    for (int c = 33; c <= 126; ++c) {
        SCOPED_TRACE(std::string("character '") + static_cast<char>(c) + "'");
        Box b = Ink(font, c);
        ASSERT_FALSE(b.Empty());
        // A clear column and row at the cell's edges: filtering must not pull in a neighbour.
        EXPECT_GE(b.left, 1);
        EXPECT_GE(b.top, 1);
        EXPECT_LE(b.bottom, kCellH - 2);
        // Ink ends before the next glyph starts, at scale 1.
        EXPECT_LE(b.right, Advance(c) - 2);
    }
    for (int c : {30, 31, 32}) EXPECT_TRUE(Ink(font, c).Empty()) << "cell of code " << c;
}

TEST_P(FontTest, GlyphsAreDistinctAndShapedLikeLetters) {
    const DecodedImage& font = *font_;
    // A missing glyph shows as the same box in many cells.
    std::set<std::vector<uint8_t>> shapes;
    const int perRow = font.Width() / kCellW;
    for (int c = 33; c <= 126; ++c) {
        const int g = c - 30, cx = (g % perRow) * kCellW, cy = (g / perRow) * kCellH;
        std::vector<uint8_t> mask;
        for (int y = 0; y < kCellH; y += 2)
            for (int x = 0; x < kCellW; x += 2) mask.push_back(font.Alpha(cx + x, cy + y) > 128);
        shapes.insert(mask);
    }
    EXPECT_EQ(shapes.size(), 94u);
    // Capitals stand tall; lower case is shorter; descenders drop below the line.
    const Box H = Ink(font, 'H'), x = Ink(font, 'x'), g = Ink(font, 'g');
    EXPECT_GE(H.bottom - H.top, 22);
    EXPECT_LT(x.bottom - x.top, H.bottom - H.top - 4);
    EXPECT_GT(g.bottom, x.bottom + 4);
    EXPECT_NEAR(H.bottom, x.bottom, 1) << "one baseline";
    // Glyphs use their advance: a capital is wider than an 'i'.
    const Box I = Ink(font, 'i'), M = Ink(font, 'M');
    EXPECT_GT(M.right - M.left, 2 * (I.right - I.left));
}

INSTANTIATE_TEST_SUITE_P(BothFonts, FontTest, ::testing::Values("caribbeanfont_wood.tga", "caribbeanfont.tga"));

TEST(Fonts, PlainGlyphsAreWhite) {
    DecodedImage font(ImagePath("caribbeanfont.tga"));
    ASSERT_TRUE(font.Ok());
    size_t solid = 0, white = 0;
    for (int y = 0; y < font.Height(); ++y)
        for (int x = 0; x < font.Width(); ++x)
            if (font.Alpha(x, y) > 250) {
                ++solid;
                const uint8_t* p = font.Rgba(x, y);
                white += std::min({p[0], p[1], p[2]}) >= 230;
            }
    ASSERT_GT(solid, 5000u);
    EXPECT_GT(static_cast<double>(white) / solid, 0.95);
}

TEST(Fonts, WoodenGlyphsArePaleGrainInADarkOutline) {
    DecodedImage font(ImagePath("caribbeanfont_wood.tga"));
    ASSERT_TRUE(font.Ok());
    std::vector<double> luma;
    size_t dark = 0;
    for (int y = 0; y < font.Height(); ++y)
        for (int x = 0; x < font.Width(); ++x)
            if (font.Alpha(x, y) > 250) {
                const double l = font.Luma(x, y);
                luma.push_back(l);
                dark += l < 0.25;
            }
    ASSERT_GT(luma.size(), 5000u);
    std::sort(luma.begin(), luma.end());
    // Mostly light, so the text colour shows; a real share of dark outline.
    EXPECT_GT(luma[luma.size() * 3 / 4], 0.8);
    EXPECT_GT(static_cast<double>(dark) / luma.size(), 0.15);
    // Grain: the light fill is not one flat tone.
    double sum = 0, sq = 0;
    size_t n = 0;
    for (double l : luma)
        if (l > 0.6) {
            sum += l;
            sq += l * l;
            ++n;
        }
    ASSERT_GT(n, 0u);
    const double mean = sum / n;
    EXPECT_GT(sq / n - mean * mean, 0.02 * 0.02);
}

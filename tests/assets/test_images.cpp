#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "AssetTable.h"
#include "DecodedImage.h"

namespace {

// Each image decoded once for the whole program.
const DecodedImage& Load(const std::string& name) {
    static std::map<std::string, std::unique_ptr<DecodedImage>> cache;
    auto& slot = cache[name];
    if (!slot) slot = std::make_unique<DecodedImage>(ImagePath(name));
    return *slot;
}

double OpaqueFraction(const DecodedImage& image, int threshold) {
    size_t count = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) count += image.Alpha(x, y) >= threshold;
    return static_cast<double>(count) / (static_cast<double>(image.Width()) * image.Height());
}

}  // namespace

TEST(ImageFiles, EveryImageDecodesWithItsSizeAndChannels) {
    for (const ImageEntry& entry : ImageTable()) {
        SCOPED_TRACE(entry.name);
        const DecodedImage& image = Load(entry.name);
        ASSERT_TRUE(image.Ok()) << image.Error();
        EXPECT_EQ(image.Width(), entry.width);
        EXPECT_EQ(image.Height(), entry.height);
        EXPECT_EQ(image.BytesPerPixel(), entry.bytesPerPixel);
    }
}

TEST(ImageFiles, DecodedBytesAreInTheOrderTheTextureUploadAssumes) {
    // 32-bit Targa surfaces are uploaded as B,G,R,A and 24-bit ones as B,G,R.
    for (const char* name : {"MerchantShip.tga", "sky.tga", "island2.tga", "flag.tga"}) {
        SCOPED_TRACE(name);
        const DecodedImage& image = Load(name);
        ASSERT_TRUE(image.Ok());
        int checked = 0;
        for (int y = 0; y < image.Height() && checked < 50; y += 7)
            for (int x = 0; x < image.Width() && checked < 50; x += 5) {
                const uint8_t* rgba = image.Rgba(x, y);
                if (rgba[3] < 255 || std::abs(rgba[0] - rgba[2]) < 20) continue;
                const uint8_t* bytes = image.SurfaceBytes(x, y);
                EXPECT_EQ(bytes[0], rgba[2]);
                EXPECT_EQ(bytes[1], rgba[1]);
                EXPECT_EQ(bytes[2], rgba[0]);
                if (image.BytesPerPixel() == 4) {
                    EXPECT_EQ(bytes[3], rgba[3]);
                }
                ++checked;
            }
        EXPECT_EQ(checked, 50) << "too few coloured opaque pixels to check";
    }
}

TEST(Sprites, HaveATransparentEdgeAndAVisibleBody) {
    // Textures repeat and are mipmapped, so an opaque edge would bleed onto the
    // opposite edge of the quad.
    for (const ImageEntry& entry : ImageTable()) {
        if (!entry.sprite) continue;
        SCOPED_TRACE(entry.name);
        const DecodedImage& image = Load(entry.name);
        ASSERT_TRUE(image.Ok());
        int opaqueEdge = 0;
        for (int x = 0; x < image.Width(); ++x)
            opaqueEdge += (image.Alpha(x, 0) > 0) + (image.Alpha(x, image.Height() - 1) > 0);
        for (int y = 0; y < image.Height(); ++y)
            opaqueEdge += (image.Alpha(0, y) > 0) + (image.Alpha(image.Width() - 1, y) > 0);
        EXPECT_EQ(opaqueEdge, 0);
        const double transparent = 1.0 - OpaqueFraction(image, 1);
        EXPECT_GT(transparent, 0.05);
        EXPECT_GT(OpaqueFraction(image, 128), 0.02);
    }
}

TEST(Sprites, TransparentTexelsNextToTheBodyCarryItsColour) {
    // Filtering averages transparent texels into the edge: black ones would give
    // every sprite a dark fringe.
    for (const char* name : {"MerchantShip.tga", "tower.tga", "flag.tga", "splash.tga", "mine.tga", "cursor.tga",
                             "ui_button_wood.tga", "cloud.tga"}) {
        SCOPED_TRACE(name);
        const DecodedImage& image = Load(name);
        ASSERT_TRUE(image.Ok());
        double worst = 0;
        int pairs = 0;
        const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (int y = 1; y < image.Height() - 1; ++y)
            for (int x = 1; x < image.Width() - 1; ++x) {
                if (image.Alpha(x, y) != 0) continue;
                for (const auto& d : dirs) {
                    if (image.Alpha(x + d[0], y + d[1]) < 64) continue;
                    const uint8_t* a = image.Rgba(x, y);
                    const uint8_t* b = image.Rgba(x + d[0], y + d[1]);
                    double dist = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
                    worst = std::max(worst, dist);
                    ++pairs;
                }
            }
        EXPECT_GT(pairs, 0);
        EXPECT_LT(worst, 150) << "a transparent texel is far from its visible neighbour's colour";
    }
}

TEST(Ships, KeelsSitOnTheBottomEdgeAndShipsFaceRight) {
    // The game puts a ship's bottom edge on the water line.
    for (const char* name : {"MerchantShip.tga", "ramboat.tga", "minelayer.tga"}) {
        SCOPED_TRACE(name);
        const DecodedImage& image = Load(name);
        ASSERT_TRUE(image.Ok());
        int keel = 0;
        for (int x = 0; x < image.Width(); ++x) keel += image.Alpha(x, image.Height() - 4) > 200;
        EXPECT_GT(keel, image.Width() / 4) << "no hull along the bottom rows";
    }
    // The merchant ship's bowsprit and the ram boat's ram reach furthest right.
    auto rightmost = [](const DecodedImage& image, int& row) {
        int best = -1;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = image.Width() - 1; x > best; --x)
                if (image.Alpha(x, y) > 128) {
                    best = x;
                    row = y;
                    break;
                }
        return best;
    };
    int row = 0;
    const DecodedImage& merchant = Load("MerchantShip.tga");
    EXPECT_GT(rightmost(merchant, row), merchant.Width() - 16);
    EXPECT_LT(row, merchant.Height() / 2) << "the bowsprit should rise above the hull";
    const DecodedImage& ram = Load("ramboat.tga");
    EXPECT_GT(rightmost(ram, row), ram.Width() - 10);
    EXPECT_GT(row, ram.Height() * 2 / 3) << "the ram should be low, at the waterline";
}

TEST(Cannon, BarrelLiesOnTheCentreLineAndPointsAlongPlusX) {
    const DecodedImage& cannon = Load("Cannon.tga");
    ASSERT_TRUE(cannon.Ok());
    const int w = cannon.Width(), h = cannon.Height();
    double sumY = 0, count = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cannon.Alpha(x, y) > 128) {
                sumY += y;
                ++count;
            }
    ASSERT_GT(count, 0);
    EXPECT_NEAR(sumY / count, (h - 1) / 2.0, 3.0);
    EXPECT_GT(cannon.Alpha(w / 2, h / 2), 200) << "the pivot must be on the barrel";
    auto thickness = [&](int x) {
        int n = 0;
        for (int y = 0; y < h; ++y) n += cannon.Alpha(x, y) > 128;
        return n;
    };
    // Thick breech at the left, narrower chase towards the muzzle at the right.
    EXPECT_GT(thickness(34), thickness(160));
    EXPECT_GT(thickness(w - 12), 0) << "the muzzle should reach the right edge";
}

TEST(Flag, LightClothFliesRightOfAPoleOnTheCentreLine) {
    const DecodedImage& flag = Load("flag.tga");
    ASSERT_TRUE(flag.Ok());
    const int w = flag.Width(), h = flag.Height();
    int pole = 0;
    for (int y = 0; y < h; ++y) pole += flag.Alpha(w / 2, y) > 200;
    EXPECT_GT(pole, h * 8 / 10);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2 - 10; ++x) ASSERT_EQ(flag.Alpha(x, y), 0) << "cloth left of the pole";
    std::vector<double> luma;
    for (int y = 0; y < h; ++y)
        for (int x = w / 2 + 8; x < w; ++x)
            if (flag.Alpha(x, y) > 250) luma.push_back(flag.Luma(x, y));
    ASSERT_GT(luma.size(), 1000u);
    std::sort(luma.begin(), luma.end());
    EXPECT_GT(luma[luma.size() / 2], 0.75) << "the cloth must be light for the capturer's colour to tint it";
}

TEST(Water, TexelZeroIsATranslucentSeaColourAndTheWholeImageMatchesIt) {
    const DecodedImage& water = Load("water.tga");
    ASSERT_TRUE(water.Ok());
    const uint8_t* t = water.Rgba(0, 0);
    EXPECT_GT(t[2], t[0] + 40) << "blue over red";
    EXPECT_GT(t[1], t[0]) << "green over red";
    EXPECT_LT(t[3], 250) << "the sea must let the island show through";
    EXPECT_GT(t[3], 128);
    // Every sea vertex samples (0, 0) with wrapping filters: all texels must agree.
    for (int y = 0; y < water.Height(); ++y)
        for (int x = 0; x < water.Width(); ++x)
            for (int k = 0; k < 4; ++k) ASSERT_EQ(water.Rgba(x, y)[k], t[k]);
}

TEST(Fog, TilesWithoutASeamAndStaysSeeThrough) {
    const DecodedImage& fog = Load("fog.tga");
    ASSERT_TRUE(fog.Ok());
    const int w = fog.Width(), h = fog.Height();
    auto diff = [&](int x0, int y0, int x1, int y1) {
        const uint8_t* a = fog.Rgba(x0, y0);
        const uint8_t* b = fog.Rgba(x1, y1);
        return std::abs(a[3] - b[3]) + std::abs(a[1] - b[1]);
    };
    // The step across each wrap is no larger than the largest step between
    // neighbouring columns (rows) inside the picture.
    auto column = [&](int a, int b) {
        double s = 0;
        for (int y = 0; y < h; ++y) s += diff(a, y, b, y);
        return s;
    };
    auto row = [&](int a, int b) {
        double s = 0;
        for (int x = 0; x < w; ++x) s += diff(x, a, x, b);
        return s;
    };
    double innerX = 0, innerY = 0;
    for (int x = 0; x + 1 < w; ++x) innerX = std::max(innerX, column(x, x + 1));
    for (int y = 0; y + 1 < h; ++y) innerY = std::max(innerY, row(y, y + 1));
    EXPECT_LE(column(w - 1, 0), innerX) << "a seam where the fog wraps sideways";
    EXPECT_LE(row(h - 1, 0), innerY) << "a seam where the fog wraps vertically";
    double alpha = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) alpha += fog.Alpha(x, y);
    alpha /= 255.0 * w * h;
    EXPECT_GT(alpha, 0.05);
    EXPECT_LT(alpha, 0.5) << "the fog is drawn at full strength over the whole window";
}

TEST(Sky, IsOpaqueAndLightAndBrightensTowardsTheHorizon) {
    const DecodedImage& sky = Load("sky.tga");
    ASSERT_TRUE(sky.Ok());
    auto rowLuma = [&](int y) {
        double s = 0;
        for (int x = 0; x < sky.Width(); ++x) s += sky.Luma(x, y);
        return s / sky.Width();
    };
    double total = 0;
    for (int y = 0; y < sky.Height(); y += 10) total += rowLuma(y);
    EXPECT_GT(total / (sky.Height() / 10), 0.7) << "the sky colours multiply it, so it must be light";
    EXPECT_LT(rowLuma(5), rowLuma(420));
}

TEST(Island, GrassAboveSandAndADarkerSeabedAtTheBottom) {
    const DecodedImage& island = Load("island2.tga");
    ASSERT_TRUE(island.Ok());
    auto mean = [&](int y, int k) {
        double s = 0;
        for (int x = 0; x < island.Width(); ++x) s += island.Rgba(x, y)[k];
        return s / island.Width();
    };
    // A tower's hill shows rows from about 420 down; the flat seabed rows 575 to 600.
    EXPECT_GT(mean(400, 1), mean(400, 0)) << "green grass at the hilltops";
    EXPECT_GT(mean(480, 0), mean(480, 2) + 30) << "sand below the grass";
    EXPECT_LT(island.Luma(0, 595) + island.Luma(1000, 595), island.Luma(0, 480) + island.Luma(1000, 480));
}

TEST(Tower, HasAnOpenGunPlatformAndAFootingAcrossItsBottomFifth) {
    const DecodedImage& tower = Load("tower.tga");
    ASSERT_TRUE(tower.Ok());
    const int w = tower.Width(), h = tower.Height();
    // The cannon sits 20 screen pixels (67 image pixels at 0.3) below the top,
    // behind the tower: the embrasure above it must be open.
    for (int y = 4; y < 60; ++y) EXPECT_EQ(tower.Alpha(w / 2, y), 0) << "row " << y;
    EXPECT_GT(tower.Alpha(w / 2, 80), 200) << "the parapet under the gun";
    int footing = 0;
    for (int x = 0; x < w; ++x) footing += tower.Alpha(x, h - h / 12) > 200;
    EXPECT_GT(footing, w * 8 / 10);
}

TEST(Ui, ButtonNothingAndCursorFitHowTheGameUsesThem) {
    const DecodedImage& button = Load("ui_button_wood.tga");
    ASSERT_TRUE(button.Ok());
    EXPECT_GT(button.Alpha(button.Width() / 2, button.Height() / 2), 250);
    EXPECT_EQ(button.Alpha(2, 2), 0) << "rounded corners";
    const DecodedImage& nothing = Load("Nothing.tga");
    ASSERT_TRUE(nothing.Ok());
    for (int y = 0; y < nothing.Height(); ++y)
        for (int x = 0; x < nothing.Width(); ++x) EXPECT_EQ(nothing.Alpha(x, y), 0);
    // A price line's hit box must cover the half-scale text above its centre.
    EXPECT_GE(nothing.Height() * 5 / 2.0, 21.0);
    EXPECT_LE(nothing.Height() * 5, 50) << "hit boxes of lines 50 pixels apart would overlap";
    // The cursor's sight is centred on the mouse position, its corners clear.
    const DecodedImage& cursor = Load("cursor.tga");
    ASSERT_TRUE(cursor.Ok());
    EXPECT_GT(cursor.Alpha(16, 16), 128) << "the sight's centre";
    EXPECT_GT(cursor.Alpha(16, 16 - 9), 128) << "the ring around it";
    EXPECT_EQ(cursor.Alpha(3, 3), 0);
}

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DecodedImage.h"
#include "DecodedSound.h"
#include "Image.h"
#include "Mp3Encoder.h"
#include "Noise.h"
#include "TgaWriter.h"

namespace {

std::string Scratch(const std::string& name) { return std::string(BRINEGATE_BUILD_DIR) + "/tests/assets/" + name; }

}  // namespace

TEST(TgaWriter, RoundTripsThroughTheGameDecoderTopRowFirst) {
    Image image(3, 2);
    const uint8_t pixels[6][4] = {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0},
                                  {10, 20, 30, 40}, {200, 100, 50, 255}, {1, 2, 3, 4}};
    for (int i = 0; i < 6; ++i) std::copy(pixels[i], pixels[i] + 4, image.Pixel(i % 3, i / 3));
    for (bool alpha : {true, false}) {
        SCOPED_TRACE(alpha ? "32-bit" : "24-bit");
        const std::string path = Scratch(alpha ? "roundtrip32.tga" : "roundtrip24.tga");
        ASSERT_TRUE(TgaWriter::Write(path, image, alpha));
        DecodedImage decoded(path);
        ASSERT_TRUE(decoded.Ok()) << decoded.Error();
        ASSERT_EQ(decoded.Width(), 3);
        ASSERT_EQ(decoded.Height(), 2);
        EXPECT_EQ(decoded.BytesPerPixel(), alpha ? 4 : 3);
        for (int i = 0; i < 6; ++i) {
            const uint8_t* p = decoded.Rgba(i % 3, i / 3);
            for (int k = 0; k < 3; ++k) EXPECT_EQ(p[k], pixels[i][k]) << "pixel " << i << " channel " << k;
            EXPECT_EQ(p[3], alpha ? pixels[i][3] : 255) << "pixel " << i;
        }
    }
}

TEST(Image, BleedingColoursTransparentTexelsAndKeepsThemTransparent) {
    Image image(5, 3);
    image.Set(0, 1, Colour(1, 0, 0, 1));
    image.Set(4, 1, Colour(0, 0, 1, 1));
    image.BleedColour();
    EXPECT_EQ(image.Pixel(1, 1)[0], 255);
    EXPECT_EQ(image.Pixel(1, 1)[2], 0);
    EXPECT_EQ(image.Pixel(3, 1)[2], 255);
    EXPECT_EQ(image.Pixel(3, 1)[0], 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 4; ++x) EXPECT_EQ(image.Pixel(x, y)[3], 0);
}

TEST(Noise, PeriodicFieldsWrapExactlyAndOthersDoNot) {
    Noise noise(99);
    for (double x : {0.1, 1.7, 3.3})
        for (double y : {0.4, 5.9}) {
            const double v = noise.Fbm(x, y, 4, 4, 8);
            EXPECT_NEAR(noise.Fbm(x + 4, y, 4, 4, 8), v, 1e-12);
            EXPECT_NEAR(noise.Fbm(x, y + 8, 4, 4, 8), v, 1e-12);
            EXPECT_GE(v, 0.0);
            EXPECT_LE(v, 1.0);
        }
    int differ = 0;
    for (double x : {0.1, 1.7, 3.3}) differ += std::abs(noise.Fbm(x, 0.5, 4) - noise.Fbm(x + 4, 0.5, 4)) > 1e-3;
    EXPECT_GT(differ, 0);
}

TEST(Mp3Encoder, DecodesToExactlyTheSamplesThatWentIn) {
    std::vector<float> tone(44100);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.5f * std::sin(2 * M_PI * 440 * i / 44100.0);
    const std::string path = Scratch("tone.mp3");
    ASSERT_TRUE(Mp3Encoder::Encode(tone, 1, 44100, 96, path));
    DecodedSound decoded(path);
    ASSERT_TRUE(decoded.Ok()) << decoded.Error();
    ASSERT_EQ(decoded.Frames(), tone.size()) << "encoder delay and padding must be trimmed";
    double err = 0, ref = 0;
    for (size_t i = 1000; i < tone.size() - 1000; ++i) {
        const double d = decoded.At(i, 0) - tone[i];
        err += d * d;
        ref += static_cast<double>(tone[i]) * tone[i];
    }
    EXPECT_LT(err / ref, 0.01) << "the samples line up with the input";
}

// Files that are there but damaged: each is named once on stderr and stands in as a
// missing one would (the checker placeholder, a sound that plays nothing); a cut-short
// image whose header is sound keeps its size.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Camera.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Mp3Encoder.h"
#include "SoundManager.h"
#include "TextureManager.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
const fs::path kData = BRINEGATE_DATA_DIR;

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes, size_t size) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(size));
}

// A Targa header (map entries of 3 bytes) followed by `rest` bytes of 0x81.
Bytes Targa(int type, int width, int height, int bits, size_t rest, int idLength = 0, int map = 0) {
    Bytes b = {uint8_t(idLength), uint8_t(map > 0), uint8_t(type), 0, 0, uint8_t(map), 0,
               uint8_t(map > 0 ? 24 : 0), 0, 0, 0, 0, uint8_t(width), 0, uint8_t(height), 0, uint8_t(bits), 0};
    b.resize(b.size() + rest, 0x81);
    return b;
}

bool Whole(const Bytes& b, size_t size) { return TextureManager::TargaDamage(b.data(), size).empty(); }
bool Whole(const Bytes& b) { return Whole(b, b.size()); }

std::vector<std::string> Lines(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

TEST(DamagedTarga, LengthIsCheckedAgainstEveryPartTheHeaderPromises) {
    // 5 x 3 at 32 bits after a 7-byte identification field: 85 bytes.
    const Bytes plain = Targa(2, 5, 3, 32, 7 + 5 * 3 * 4, 7);
    EXPECT_TRUE(Whole(plain));
    for (size_t size : {0, 17, 20, 84}) EXPECT_FALSE(Whole(plain, size)) << size;
    // Colour-mapped 4 x 2: cut inside the 4-entry map.
    EXPECT_FALSE(Whole(Targa(1, 4, 2, 8, 4 * 3 + 8, 0, 4), 18 + 5));
    // Run-length 4 x 3 at 24 bits: a run of 8 (0x87, one pixel), then 4 raw (0x03, 4 pixels).
    Bytes packed = Targa(10, 4, 3, 24, 0);
    for (uint8_t b : {0x87, 1, 2, 3, 0x03}) packed.push_back(b);
    packed.resize(packed.size() + 12, 9);
    EXPECT_TRUE(Whole(packed));
    EXPECT_FALSE(Whole(packed, 18 + 4));
    EXPECT_FALSE(Whole(packed, packed.size() - 1));
    EXPECT_FALSE(Whole(Targa(2, 0, 4, 32, 64)));  // no pixels
    EXPECT_FALSE(Whole(Targa(1, 1, 1, 8, 1)));    // colour-mapped without a map
    // Every file the generator writes is whole.
    for (const auto& entry : fs::directory_iterator(kData / "images"))
        EXPECT_TRUE(Whole(ReadAll(entry.path()))) << entry.path();
}

TEST(DamagedTarga, CutFileLoadsAsThePlaceholderAndIsNamedOnce) {
    REQUIRE_GL();
    // The working directory is searched first, so the cut copy stands in for the game's.
    const Bytes water = ReadAll(kData / "images/water.tga");
    WriteAll("images/water.tga", water, 20);
    WriteAll("images/whole_water.tga", water, water.size());

    testing::internal::CaptureStderr();
    Texture* cut = textureManager.GetTexture("images\\water.tga");
    // Cached by the file: other spellings are neither read nor named again.
    EXPECT_EQ(textureManager.GetTexture("images\\WATER.tga"), cut);
    EXPECT_EQ(textureManager.GetTexture("images//water.tga"), cut);
    Texture* whole = textureManager.GetTexture("images\\whole_water.tga");
    const auto lines = Lines(testing::internal::GetCapturedStderr(), "brinegate:");

    // Drawn as the checker at the size its header gives, so whatever the game builds on
    // the image (a sprite's size and box) is as with the whole file.
    EXPECT_TRUE(cut->placeholder);
    EXPECT_EQ(cut->width, water[12] | (water[13] << 8));
    EXPECT_EQ(cut->height, water[14] | (water[15] << 8));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("images\\water.tga"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("damaged"), std::string::npos) << lines[0];
    EXPECT_FALSE(whole->placeholder);
    EXPECT_EQ(whole->width, water[12] | (water[13] << 8));
}

TEST(DamagedTarga, ImageThatIsNoFileIsNamedAndDrawnAsTheCheckerWithoutWaiting) {
    REQUIRE_GL();
    // Nothing ever writes to the FIFO: an open that waited for a writer would never return.
    fs::create_directories("images/folder.tga");
    ASSERT_EQ(mkfifo("images/fifo.tga", 0600), 0);
    for (const char* name : {"images\\fifo.tga", "images\\folder.tga"}) {
        testing::internal::CaptureStderr();
        Texture* t = textureManager.GetTexture(name);
        const auto lines = Lines(testing::internal::GetCapturedStderr(), "brinegate:");
        ASSERT_EQ(lines.size(), 1u) << name;
        EXPECT_NE(lines[0].find(name), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find("not a regular file"), std::string::npos) << lines[0];
        ASSERT_TRUE(t->placeholder) << name;
        Bytes texels(8 * 8 * 4);
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glBindTexture(GL_TEXTURE_2D, t->glName);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
        glBindTexture(GL_TEXTURE_2D, GLuint(previous));
        // Magenta at the corner, black two texels on: the checker.
        EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 4), (Bytes{255, 0, 255, 255})) << name;
        EXPECT_EQ(Bytes(texels.begin() + 8, texels.begin() + 12), (Bytes{0, 0, 0, 255})) << name;
    }
}

// An uncompressed 24-bit Targa, top row first, whose pixel (x, y) is BGR of Shade(x, y).
uint32_t Shade(int x, int y) { return uint32_t(x * 7 + y * 31) * 0x010203u; }
Bytes Targa24(int width, int height) {
    Bytes b = Targa(2, 0, 0, 24, 0);
    b[12] = uint8_t(width), b[13] = uint8_t(width >> 8), b[14] = uint8_t(height), b[15] = uint8_t(height >> 8);
    b[17] = 0x20;  // top-left origin
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) b.push_back(uint8_t(Shade(x, y) >> (8 * c)));
    return b;
}

TEST(ValidTarga, EveryWidthUploadsAsDecodedAndOversizeIsTheNamedChecker) {
    REQUIRE_GL();
    // Widths whose 24-bit rows are padded to a length that is no whole number of pixels.
    for (int width : {5, 798}) {
        const std::string name = "images/wide" + std::to_string(width) + ".tga";
        const Bytes file = Targa24(width, 6);
        WriteAll(name, file, file.size());
        Texture* t = textureManager.GetTexture(name);
        ASSERT_FALSE(t->placeholder);
        GLint previous = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glBindTexture(GL_TEXTURE_2D, t->glName);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        Bytes texels(size_t(width) * 6 * 3);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, texels.data());
        glBindTexture(GL_TEXTURE_2D, GLuint(previous));
        int wrong = 0;
        for (size_t i = 0; i < texels.size(); ++i) wrong += texels[i] != file[18 + i];
        EXPECT_EQ(wrong, 0) << width << " wide";
    }

    // Past what GL can draw: the checker, one line naming the file, and a header that
    // promises 65535 x 65535 is refused before its runs are read or decoded.
    const Bytes wide = Targa24(32768, 4);
    WriteAll("images/bar.tga", wide, wide.size());
    Bytes huge = Targa(11, 0, 0, 8, 0);
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
    for (int i = 0; i < 64; ++i) huge.insert(huge.end(), {0xFF, 0x80});
    WriteAll("images/huge.tga", huge, huge.size());
    for (const char* name : {"images\\bar.tga", "images\\huge.tga"}) {
        testing::internal::CaptureStderr();
        Texture* t = textureManager.GetTexture(name);
        const auto lines = Lines(testing::internal::GetCapturedStderr(), "brinegate:");
        EXPECT_TRUE(t->placeholder) << name;
        ASSERT_EQ(lines.size(), 1u) << name;
        EXPECT_NE(lines[0].find(name), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find("a side"), std::string::npos) << lines[0];
    }
}

TEST(DamagedMp3, SoundOfNothingIsNamedOnceAndPlaysNothing) {
    // OpenAL Soft writes its mix to a file, so no sound card is needed.
    std::ofstream("alsoft.conf") << "[general]\ndrivers = wave\n[wave]\nfile = " << fs::absolute("mix.wav").string()
                                 << "\n";
    setenv("ALSOFT_CONF", fs::absolute("alsoft.conf").c_str(), 1);
    unsetenv("BRINEGATE_NO_SOUND");
    soundManager.Shutdown();
    camera.SetView(Vec2(400, 300), Vec2(800, 600));
    ASSERT_TRUE(soundManager.Start());
    // Encoded from no samples at all: a valid MP3 that decodes to nothing.
    ASSERT_TRUE(Mp3Encoder::Encode({}, 1, 44100, 96, "nothing.mp3"));
    fs::copy_file("nothing.mp3", "nothing music.mp3");
    const Bytes splash = ReadAll(kData / "Sound/Splash.mp3");
    WriteAll("Sound/Splash.mp3", splash, 300);
    WriteAll("Sound/Whole.mp3", splash, splash.size());

    testing::internal::CaptureStderr();
    const unsigned ids[] = {soundManager.LoadSound("nothing.mp3", 0, 1),
                            soundManager.LoadSound("nothing music.mp3", 1, 1),
                            soundManager.LoadSound("Sound\\Splash.mp3", 0, 1)};
    for (const char* again : {"nothing.mp3", "nothing music.mp3", "Sound\\Splash.mp3"})
        soundManager.LoadSound(again, 0, 0);
    const unsigned whole = soundManager.LoadSound("Sound\\Whole.mp3", 0, 1);
    const auto lines = Lines(testing::internal::GetCapturedStderr(), "brinegate: sound:");

    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("\"nothing.mp3\" decodes to no sound"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("\"nothing music.mp3\" decodes to no sound"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("Sound\\Splash.mp3"), std::string::npos) << lines[2];
    for (unsigned id : ids)
        EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kNothingToPlay) << id;
    EXPECT_EQ(soundManager.PlaySound(whole, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
    soundManager.Shutdown();
}

}  // namespace

// Files that are there but damaged: each is named once on stderr and stands in as a
// missing one would (the checker placeholder, a sound that plays nothing).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Camera.h"
#include "GlTestContext.h"
#include "Mp3Encoder.h"
#include "SoundManager.h"
#include "TextureManager.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

Bytes Cut(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

// A Targa header; the caller appends identification, colour map and pixels.
Bytes Header(int type, int width, int height, int bits, int idLength = 0, int mapEntries = 0) {
    Bytes h(18, 0);
    h[0] = static_cast<uint8_t>(idLength);
    h[1] = mapEntries > 0 ? 1 : 0;
    h[2] = static_cast<uint8_t>(type);
    h[5] = static_cast<uint8_t>(mapEntries & 0xFF);
    h[6] = static_cast<uint8_t>(mapEntries >> 8);
    h[7] = mapEntries > 0 ? 24 : 0;
    h[12] = static_cast<uint8_t>(width & 0xFF);
    h[13] = static_cast<uint8_t>(width >> 8);
    h[14] = static_cast<uint8_t>(height & 0xFF);
    h[15] = static_cast<uint8_t>(height >> 8);
    h[16] = static_cast<uint8_t>(bits);
    return h;
}

void Append(Bytes& to, size_t count, uint8_t value) { to.insert(to.end(), count, value); }

bool Whole(const Bytes& b) { return TextureManager::TargaDamage(b.data(), b.size()).empty(); }

std::vector<std::string> LinesWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

TEST(DamagedTarga, LengthIsCheckedAgainstEveryPartTheHeaderPromises) {
    // Uncompressed 32-bit, 5 x 3, with a 7-byte identification field.
    Bytes plain = Header(2, 5, 3, 32, 7);
    Append(plain, 7 + 5 * 3 * 4, 0x80);
    EXPECT_TRUE(Whole(plain));
    for (size_t size : {size_t{0}, size_t{17}, size_t{20}, plain.size() - 1})
        EXPECT_FALSE(Whole(Cut(plain, size))) << size << " bytes";

    // Colour-mapped: the four 3-byte map entries come before the one-byte pixels.
    Bytes mapped = Header(1, 4, 2, 8, 0, 4);
    Append(mapped, 4 * 3 + 4 * 2, 1);
    EXPECT_TRUE(Whole(mapped));
    EXPECT_FALSE(Whole(Cut(mapped, 18 + 5)));  // inside the map
    EXPECT_FALSE(Whole(Cut(mapped, mapped.size() - 1)));

    // Run-length 24-bit, 4 x 3: a run of 8 pixels, then 4 raw ones.
    Bytes packed = Header(10, 4, 3, 24);
    packed.push_back(0x80 | 7);
    Append(packed, 3, 0x40);
    packed.push_back(3);
    Append(packed, 4 * 3, 0x20);
    EXPECT_TRUE(Whole(packed));
    EXPECT_FALSE(Whole(Cut(packed, 18 + 4)));            // after the run, no raw packet
    EXPECT_FALSE(Whole(Cut(packed, packed.size() - 1)));  // inside the raw packet

    // Headers that describe no picture this loader can take.
    EXPECT_FALSE(Whole(Header(0, 4, 4, 32)));
    Bytes noWidth = Header(2, 0, 4, 32);
    EXPECT_FALSE(Whole(noWidth));
    Bytes greyIn24 = Header(3, 1, 1, 24);
    Append(greyIn24, 3, 0);
    EXPECT_FALSE(Whole(greyIn24));
    Bytes mapless = Header(1, 1, 1, 8);
    Append(mapless, 1, 0);
    EXPECT_FALSE(Whole(mapless));

    // Every file the generator writes is whole; the sea cut to 20 bytes is not.
    for (const auto& entry : fs::directory_iterator(fs::path(BRINEGATE_DATA_DIR) / "images")) {
        const Bytes file = ReadAll(entry.path());
        EXPECT_TRUE(Whole(file)) << entry.path() << ": "
                                 << TextureManager::TargaDamage(file.data(), file.size());
    }
    EXPECT_FALSE(Whole(Cut(ReadAll(fs::path(BRINEGATE_DATA_DIR) / "images/water.tga"), 20)));
}

TEST(DamagedTarga, CutFileLoadsAsThePlaceholderAndIsNamedOnce) {
    REQUIRE_GL();
    // The working directory is searched first, so these copies stand in for the game's.
    const Bytes water = ReadAll(fs::path(BRINEGATE_DATA_DIR) / "images/water.tga");
    const Bytes sky = ReadAll(fs::path(BRINEGATE_DATA_DIR) / "images/sky.tga");
    ASSERT_GT(water.size(), 20u);
    WriteAll("images/water.tga", Cut(water, 20));
    WriteAll("images/sky.tga", Cut(sky, sky.size() / 2));
    WriteAll("images/whole_water.tga", water);

    testing::internal::CaptureStderr();
    Texture* cutWater = textureManager.GetTexture("images\\water.tga");
    Texture* cutSky = textureManager.GetTexture("images\\sky.tga");
    Texture* whole = textureManager.GetTexture("images\\whole_water.tga");
    textureManager.GetTexture("images\\WATER.tga");  // cached: not loaded or named again
    const std::vector<std::string> lines =
        LinesWith(testing::internal::GetCapturedStderr(), "Brinegate:");

    for (Texture* t : {cutWater, cutSky}) {
        EXPECT_TRUE(t->placeholder) << t->fileName;
        EXPECT_EQ(t->width, 8);
        EXPECT_EQ(t->height, 8);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("images\\water.tga"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("images\\sky.tga"), std::string::npos) << lines[1];
    EXPECT_NE(lines[0].find("damaged"), std::string::npos) << lines[0];
    // The same bytes uncut load at the size the header gives.
    EXPECT_FALSE(whole->placeholder);
    EXPECT_EQ(whole->width, water[12] | (water[13] << 8));
    EXPECT_EQ(whole->height, water[14] | (water[15] << 8));
}

// OpenAL Soft writes its mix to a file here, so the test needs no sound card.
void UseFileOutputDevice() {
    const fs::path dir = fs::current_path();
    std::ofstream(dir / "alsoft.conf") << "[general]\ndrivers = wave\n[wave]\nfile = "
                                       << (dir / "mix.wav").string() << "\n";
    setenv("ALSOFT_CONF", (dir / "alsoft.conf").c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    unsetenv("BRINEGATE_NO_SOUND");
}

TEST(DamagedMp3, SoundOfNothingIsNamedOnceAndPlaysNothing) {
    UseFileOutputDevice();
    soundManager.Shutdown();
    camera.SetView(Vec2(400, 300), Vec2(800, 600));
    ASSERT_TRUE(soundManager.Start());
    // An MP3 encoded from no samples at all opens as a valid file.
    ASSERT_TRUE(Mp3Encoder::Encode({}, 1, 44100, 96, "nothing.mp3"));
    fs::copy_file("nothing.mp3", "nothing music.mp3");
    const Bytes splash = ReadAll(fs::path(BRINEGATE_DATA_DIR) / "Sound/Splash.mp3");
    WriteAll("Sound/Splash.mp3", Cut(splash, 300));
    WriteAll("Sound/Whole.mp3", splash);

    testing::internal::CaptureStderr();
    const unsigned effect = soundManager.LoadSound("nothing.mp3", 0, 1);
    const unsigned music = soundManager.LoadSound("nothing music.mp3", 1, 1);
    const unsigned cut = soundManager.LoadSound("Sound\\Splash.mp3", 0, 1);
    const unsigned whole = soundManager.LoadSound("Sound\\Whole.mp3", 0, 1);
    for (const char* again : {"nothing.mp3", "nothing music.mp3", "Sound\\Splash.mp3"})
        soundManager.LoadSound(again, 0, 0);
    const std::vector<std::string> lines = LinesWith(testing::internal::GetCapturedStderr(), "sound:");

    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("\"nothing.mp3\" decodes to no sound"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("\"nothing music.mp3\" decodes to no sound"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("Sound\\Splash.mp3"), std::string::npos) << lines[2];
    for (unsigned id : {effect, music, cut})
        EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kNothingToPlay)
            << id;
    EXPECT_EQ(soundManager.PlaySound(whole, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
    soundManager.Shutdown();
}

}  // namespace

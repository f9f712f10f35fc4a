#include "TgaWriter.h"

#include <cstdint>
#include <fstream>
#include <vector>

bool TgaWriter::Write(const std::string& path, const Image& image, bool withAlpha) {
    const int w = image.Width(), h = image.Height();
    const int bpp = withAlpha ? 4 : 3;
    std::vector<uint8_t> bytes(18 + static_cast<size_t>(w) * h * bpp, 0);
    uint8_t* header = bytes.data();
    header[2] = 2;  // uncompressed true colour
    header[12] = static_cast<uint8_t>(w & 0xFF);
    header[13] = static_cast<uint8_t>(w >> 8);
    header[14] = static_cast<uint8_t>(h & 0xFF);
    header[15] = static_cast<uint8_t>(h >> 8);
    header[16] = static_cast<uint8_t>(bpp * 8);
    // Bit 5: first stored row is the top one. Low bits: alpha bits per pixel.
    header[17] = static_cast<uint8_t>(0x20 | (withAlpha ? 8 : 0));
    uint8_t* out = bytes.data() + 18;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = image.Pixel(x, y);
            *out++ = p[2];
            *out++ = p[1];
            *out++ = p[0];
            if (withAlpha) *out++ = p[3];
        }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

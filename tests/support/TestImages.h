#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// Writes an uncompressed 32-bit Targa image, top row first; pixel(x, y) gives RGBA.
inline bool WriteTestTga(const std::string& path, int w, int h,
                         const std::function<uint32_t(int x, int y)>& rgba) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    uint8_t header[18] = {0};
    header[2] = 2;  // uncompressed true colour
    header[12] = static_cast<uint8_t>(w & 0xFF);
    header[13] = static_cast<uint8_t>(w >> 8);
    header[14] = static_cast<uint8_t>(h & 0xFF);
    header[15] = static_cast<uint8_t>(h >> 8);
    header[16] = 32;
    header[17] = 0x28;  // 8 alpha bits, top-left origin
    std::fwrite(header, 1, sizeof header, f);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t c = rgba(x, y);
            row[x * 4 + 0] = static_cast<uint8_t>(c >> 8);   // B
            row[x * 4 + 1] = static_cast<uint8_t>(c >> 16);  // G
            row[x * 4 + 2] = static_cast<uint8_t>(c >> 24);  // R
            row[x * 4 + 3] = static_cast<uint8_t>(c);        // A
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
    return true;
}

inline bool WriteSolidTga(const std::string& path, int w, int h, uint32_t rgba) {
    return WriteTestTga(path, w, h, [rgba](int, int) { return rgba; });
}

#pragma once

#include <string>

#include "Image.h"

// Writes uncompressed Targa files: 32-bit BGRA with 8 alpha bits, or 24-bit BGR
// for opaque pictures, rows stored top row first (origin flag set), which is the
// order SDL2_image hands to the texture upload.
class TgaWriter {
public:
    // Returns false when the file cannot be written.
    static bool Write(const std::string& path, const Image& image, bool withAlpha);
};

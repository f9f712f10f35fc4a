#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An image decoded the way the game decodes it (SDL2_image's IMG_Load), kept
// with the decoder's bytes per pixel and converted to straight RGBA for checks.
class DecodedImage {
public:
    // Loads a file; Ok() tells whether it decoded.
    explicit DecodedImage(const std::string& path);

    bool Ok() const { return width_ > 0; }
    const std::string& Error() const { return error_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BytesPerPixel() const { return bytesPerPixel_; }
    // Bytes of pixel (x, y) as they lie in the decoded surface's memory.
    const uint8_t* SurfaceBytes(int x, int y) const {
        return &raw_[(static_cast<size_t>(y) * width_ + x) * bytesPerPixel_];
    }

    // Straight RGBA of pixel (x, y), each 0..255 (alpha 255 for 24-bit images).
    const uint8_t* Rgba(int x, int y) const { return &rgba_[(static_cast<size_t>(y) * width_ + x) * 4]; }
    int Alpha(int x, int y) const { return Rgba(x, y)[3]; }
    // Luminance 0..1 of pixel (x, y).
    double Luma(int x, int y) const;
    const std::vector<uint8_t>& RgbaData() const { return rgba_; }

private:
    int width_ = 0, height_ = 0, bytesPerPixel_ = 0;
    std::vector<uint8_t> rgba_;
    std::vector<uint8_t> raw_;
    std::string error_;
};

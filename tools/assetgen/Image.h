#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Colour.h"

// An RGBA picture with straight alpha, 8 bits a channel, top row first: the form
// in which it is written to disk and in which the game's decoder hands it to GL.
class Image {
public:
    Image() = default;
    Image(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    uint8_t* Pixel(int x, int y) { return &pixels_[(static_cast<size_t>(y) * width_ + x) * 4]; }
    const uint8_t* Pixel(int x, int y) const {
        return &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    }
    const std::vector<uint8_t>& Data() const { return pixels_; }

    void Set(int x, int y, const Colour& c);
    Colour Get(int x, int y) const;
    void Fill(const Colour& c);

    // Converts a Cairo ARGB32 surface (premultiplied) to straight alpha.
    static Image FromSurface(cairo_surface_t* surface);

    // Gives every fully transparent pixel the colour of its nearest visible
    // neighbours (alpha stays 0). Linear filtering and mipmaps average colours of
    // transparent texels into the edges; without this, outlines would get a dark
    // fringe, and a sprite drawn without blending would show a black box.
    void BleedColour();

    // Clears a border of the given width to full transparency: textures repeat and
    // are mipmapped, so an opaque edge texel would bleed onto the opposite edge.
    void ClearBorder(int width);

    // Box blur of the given radius, three passes (close to a Gaussian), done on
    // premultiplied values so that colour does not leak from transparent texels.
    void Blur(int radius);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

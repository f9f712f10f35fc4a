#pragma once

#include <array>

#include "Vec2.h"

struct Texture;

// Corners of drawn text: top-left, top-right, bottom-left, bottom-right.
using TextCorners = std::array<Vec2, 4>;

// A bitmap font: one image holding a grid of equal glyph cells, cell 0 being
// character code 30. Filled by its owner.
struct Font {
    // How far one glyph advances: as designed (in unscaled units, with the kerning shrunk
    // by the scale, so small text spreads out), or in proportion to the scale (the glyphs
    // keep their spacing at scale 1 whatever the size: for the aids' texts).
    enum class Spacing { kDesign, kProportional };

    Texture* texture = nullptr;
    float textureWidth = 0.0f;   // pixels
    float textureHeight = 0.0f;  // pixels
    float glyphWidth = 0.0f;     // cell width, pixels
    float glyphHeight = 0.0f;    // cell height, pixels
    Spacing spacing = Spacing::kDesign;

    // This font with its spacing in proportion to the scale.
    Font Proportional() const {
        Font font = *this;
        font.spacing = Spacing::kProportional;
        return font;
    }

    // Draws text immediately in window pixels (the camera is ignored), at depth z,
    // with alpha testing. Call inside a frame. The returned box is in unscaled glyph
    // units added to (x, y). Characters outside the grid advance but draw nothing.
    TextCorners DrawText(int x, int y, float z, const char* text, const float colour[4],
                         Vec2 scale) const;

    // Window pixels from the text's left end to the right end of its last glyph's ink,
    // at this scale. The game's font images keep each glyph's ink within its advance at
    // scale 1, so this bounds every drawn pixel of the text.
    float InkWidth(const char* text, Vec2 scale) const;
    // Ink height in window pixels: the glyph cell, scaled.
    float InkHeight(Vec2 scale) const { return glyphHeight * scale.y; }
    // The largest scale at most `scale`, both axes shrunk alike, at which InkWidth is at
    // most maxWidth.
    Vec2 FitScale(const char* text, Vec2 scale, float maxWidth) const;

private:
    // The pen after one glyph of class g, from `pen`, in unscaled units.
    int Advance(int pen, int g, float scaleX) const;
};

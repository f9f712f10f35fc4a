#pragma once

#include <cairo.h>

#include <string>

#include "DecodedImage.h"

// Draws text from one of the game's font images the way the game's text routine
// does: 63 x 42 cells, glyph of c in cell c - 30, the pen advanced by the cell
// width less the scaled kerning term, and the colour multiplying the glyphs.
class BitmapText {
public:
    explicit BitmapText(const DecodedImage& font);
    ~BitmapText();
    BitmapText(const BitmapText&) = delete;
    BitmapText& operator=(const BitmapText&) = delete;

    // Returns the width of the text in unscaled units, as the game's routine does.
    // The kerning term is scaled by kerningScale, which the game sets to scaleX;
    // the contact sheet's own labels pass 1 to keep small text compact.
    int Draw(cairo_t* cr, int x, int y, const std::string& text, const double colour[4], double scaleX,
             double scaleY, double kerningScale = -1);
    static int Measure(const std::string& text, double scaleX);

private:
    const DecodedImage& font_;
    cairo_surface_t* white_;
};

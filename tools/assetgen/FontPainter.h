#pragma once

#include <string>

#include "Image.h"

// The two bitmap fonts: a grid of 63 x 42 cells, 16 to a row, the glyph of
// character c in cell c - 30 (space is cell 2), printable ASCII in cells 2..96.
// Each glyph lies inside the part of its cell that the text routine advances
// over at scale 1 (43 pixels for capitals and punctuation, 33 for lower case
// and `, 28 for digits), centred in it and narrowed where the face is wider.
class FontPainter {
public:
    static constexpr int kCellWidth = 63;
    static constexpr int kCellHeight = 42;
    static constexpr int kColumns = 16;
    static constexpr int kRows = 8;

    explicit FontPainter(std::string fontFile);

    // Pale wood grain inside a dark outline; light, so the text colour tints it.
    Image Wooden() const;
    // Plain white with a faint dark halo that keeps white text legible on parchment.
    Image Plain() const;

    // Advance at scale 1 that the text routine gives character c.
    static int Advance(unsigned char c);

private:
    enum class Style { kWooden, kPlain };
    Image Paint(Style style) const;
    std::string fontFile_;
};

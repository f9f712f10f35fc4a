#pragma once

#include "Image.h"

// Screen furniture, drawn in window pixels.
class UiPainter {
public:
    // 32 x 32: a gunsight centred on the mouse, drawn 1:1 and blended.
    Image Cursor() const;
    // 280 x 56: a wooden plank for the menu buttons (at 200 and 270, 70 apart), the
    // gold display (scale 0.7) and the life bar ((1, 0.5) centred on x = 145: 5 to 285).
    Image ButtonWood() const;
    // 48 x 48: a light heart tinted by the health colour (the game never shows it).
    Image Health() const;
    // 560 x 460: a parchment scroll drawn at (1, 0.5) around (400, 175), so it spans
    // 120..680 by 60..290 behind the price lines at y = 100 to 250.
    Image Scroll() const;
    // 8 x 9, fully transparent: times (40, 5) it is a 320 x 45 price-line hit box,
    // which covers the half-scale label drawn up to 21 pixels above the line's
    // centre and stays clear of the next line 50 pixels away.
    Image Nothing() const;

    // Wood grain in the given tones, for planks and the wooden font.
    static Image WoodGrain(int width, int height, unsigned seed, double ringScale);
};

#pragma once

#include "Vec2.h"

struct Font;

// Where a text may stand on a wooden plank ("images\ui_button_wood.tga", 280 x 56): clear
// of the nails at both ends and of the bevel along the edges, whatever the plank's scale.
class Plank {
public:
    // The plank's picture, and the wooden lettering of the game's buttons and texts.
    static constexpr const char* kImage = "images\\ui_button_wood.tga";
    static constexpr const char* kFontImage = "images\\caribbeanfont_wood.tga";

    // The smallest scale any aid's text is drawn at: that of the heads-up planks' labels.
    static constexpr float kSmallestText = 0.5f;

    // Pixels at each end that a text keeps clear of, at the plank's horizontal scale.
    static float EndClear(float scaleX) { return kEndClear * scaleX; }
    // Pixels along the top and the bottom edge.
    static float EdgeClear(float scaleY) { return kEdgeClear * scaleY; }
    // Room for text on a plank this wide.
    static float TextRoom(float width, float scaleX) { return width - 2.0f * EndClear(scaleX); }

    // The largest scale up to `scale`, and never below kSmallestText, at which `text`
    // fits `room`.
    static Vec2 FitText(const Font& font, const char* text, Vec2 scale, float room);

private:
    // The nails stand 18 image pixels in from each end, 3.5 round; a gap beyond them.
    static constexpr float kEndClear = 25.0f;
    static constexpr float kEdgeClear = 7.0f;
};

#include "ui/Plank.h"

#include <algorithm>

#include "Font.h"

Vec2 Plank::FitText(const Font& font, const char* text, Vec2 scale, float room) {
    const Vec2 fitted = font.FitScale(text, scale, room);
    const float floor = std::min(scale.x, kSmallestText);
    return fitted.x < floor ? Vec2(floor, floor * scale.y / scale.x) : fitted;
}

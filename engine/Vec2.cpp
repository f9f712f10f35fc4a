#include "Vec2.h"

Vec2 Vec2::operator*(float s) const {
    return Vec2(static_cast<float>(static_cast<double>(x) * static_cast<double>(s)),
                static_cast<float>(static_cast<double>(y) * static_cast<double>(s)));
}

Vec2 Vec2::operator+(const Vec2& o) const { return Vec2(x + o.x, y + o.y); }

Vec2 Vec2::operator-(const Vec2& o) const { return Vec2(x - o.x, y - o.y); }

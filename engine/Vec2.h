#pragma once

// Two floats; world or window pixels, y growing downwards.
struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    Vec2() = default;
    Vec2(float xIn, float yIn) : x(xIn), y(yIn) {}

    // Each product is formed in double and stored as float: the game's motion
    // integrates displacement = velocity * dt this way and its timing depends on it.
    Vec2 operator*(float s) const;
    Vec2 operator+(const Vec2& o) const;
    Vec2 operator-(const Vec2& o) const;
    bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Vec2& o) const { return !(*this == o); }
};

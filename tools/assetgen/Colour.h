#pragma once

// A colour with straight (not premultiplied) components in 0..1.
struct Colour {
    double r = 0, g = 0, b = 0, a = 1;

    constexpr Colour() = default;
    constexpr Colour(double red, double green, double blue, double alpha = 1)
        : r(red), g(green), b(blue), a(alpha) {}

    // Blend towards another colour; t = 0 keeps this one.
    constexpr Colour Mix(const Colour& o, double t) const {
        return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
    }
    constexpr Colour WithAlpha(double alpha) const { return {r, g, b, alpha}; }
    // Multiplies the colour part only: below 1 darkens, above 1 lightens (clamped on output).
    constexpr Colour Shade(double k) const { return {r * k, g * k, b * k, a}; }
};

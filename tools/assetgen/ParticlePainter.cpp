#include "ParticlePainter.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Noise.h"
#include "Palette.h"
#include "Rng.h"

Image ParticlePainter::Raindrop() const {
    Canvas canvas(16, 32);
    cairo_t* cr = canvas.Cr();
    // A teardrop: round at the bottom, drawn out to a point above.
    cairo_move_to(cr, 8, 4);
    cairo_curve_to(cr, 9.5, 12, 12.5, 17, 12.5, 22);
    cairo_arc(cr, 8, 22, 4.5, 0, M_PI);
    cairo_curve_to(cr, 3.5, 17, 6.5, 12, 8, 4);
    cairo_close_path(cr);
    canvas.SetLinearGradient(0, 4, 0, 27, {{0, Colour(0.85, 0.93, 1.0, 0.35)},
                                           {0.6, Colour(0.80, 0.90, 1.0, 0.85)},
                                           {1, Colour(0.70, 0.84, 0.98, 0.95)}});
    cairo_fill(cr);
    canvas.Ellipse(6.6, 21, 1.4, 2.2);
    canvas.SetColour(Colour(1, 1, 1, 0.9));
    cairo_fill(cr);
    return canvas.ToImage(1, true);
}

Image ParticlePainter::Smoke() const {
    const int size = 128;
    Canvas canvas(size, size);
    cairo_t* cr = canvas.Cr();
    Rng rng(0x5A0E);
    for (int i = 0; i < 7; ++i) {
        double a = i * 2 * M_PI / 7 + rng.Range(-0.3, 0.3);
        double d = i == 0 ? 0 : rng.Range(14, 24);
        double r = i == 0 ? 34 : rng.Range(18, 26);
        canvas.SetRadialGradient(64 + std::cos(a) * d, 64 + std::sin(a) * d, r,
                                 {{0, Colour(0.93, 0.93, 0.92, 0.8)},
                                  {0.7, Colour(0.88, 0.88, 0.87, 0.45)},
                                  {1, Colour(0.85, 0.85, 0.85, 0)}});
        cairo_paint(cr);
    }
    Image image = canvas.ToImage(0, false);
    // Curdle the puff with noise so a crowd of them reads as billowing smoke.
    Noise noise(31337);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = image.Pixel(x, y);
            double n = noise.Fbm(x / 16.0, y / 16.0, 3);
            double dx = (x - 63.5) / 62.0, dy = (y - 63.5) / 62.0;
            double edge = std::clamp(1.0 - std::sqrt(dx * dx + dy * dy), 0.0, 1.0);
            p[3] = static_cast<uint8_t>(std::clamp(p[3] * (0.6 + 0.8 * n) * std::min(1.0, edge * 3), 0.0, 255.0));
        }
    image.Blur(2);
    image.ClearBorder(2);
    image.BleedColour();
    return image;
}

Image ParticlePainter::Splash() const {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.Cr();
    auto blob = [&](double x, double y, double r, double a) {
        canvas.SetRadialGradient(x - r * 0.25, y - r * 0.3, r * 1.15,
                                 {{0, Colour(1, 1, 1, a)},
                                  {0.6, palette::kFoam.WithAlpha(a * 0.9)},
                                  {0.85, Colour(0.78, 0.88, 0.93, a * 0.6)},
                                  {1, Colour(0.78, 0.88, 0.93, 0)}});
        canvas.Ellipse(x, y, r, r);
        cairo_fill(cr);
    };
    blob(32, 34, 20, 1.0);
    blob(18, 24, 10, 0.9);
    blob(47, 22, 9, 0.9);
    blob(44, 47, 8, 0.85);
    blob(13, 45, 6, 0.8);
    blob(30, 10, 5, 0.8);
    return canvas.ToImage(2, true);
}

Image ParticlePainter::Fireball() const {
    const int size = 64;
    Canvas canvas(size, size);
    canvas.SetRadialGradient(32, 32, 29, {{0.0, palette::kFireCore.WithAlpha(1.0)},
                                          {0.3, Colour(1.0, 0.80, 0.35, 0.95)},
                                          {0.6, palette::kFire.WithAlpha(0.7)},
                                          {0.85, palette::kFireDeep.WithAlpha(0.25)},
                                          {1.0, palette::kFireDeep.WithAlpha(0)}});
    cairo_paint(canvas.Cr());
    Image image = canvas.ToImage(0, false);
    Noise noise(2718);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = image.Pixel(x, y);
            double n = noise.Fbm(x / 9.0, y / 9.0, 3);
            p[3] = static_cast<uint8_t>(std::clamp(p[3] * (0.7 + 0.6 * n), 0.0, 255.0));
        }
    image.ClearBorder(2);
    image.BleedColour();
    return image;
}

#include "SceneryPainter.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Palette.h"

namespace {

double Smoothstep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace

void SceneryPainter::PaintCumulus(Canvas& canvas, Rng& rng, double x, double y, double w, double h,
                                  double bodyAlpha) {
    cairo_t* cr = canvas.Cr();
    cairo_new_path(cr);
    // Lumps along the base, tallest in the middle, and a flat bottom.
    const int lumps = 5 + rng.Int(0, 2);
    for (int i = 0; i < lumps; ++i) {
        double t = (i + 0.5) / lumps;
        double cx = x + w * (0.08 + 0.84 * t) + rng.Range(-0.03, 0.03) * w;
        double bulge = std::sin(t * M_PI);
        double r = h * (0.2 + 0.26 * bulge) * rng.Range(0.9, 1.05);
        double cy = y + h - r * 0.85 - h * 0.05;
        canvas.Ellipse(cx, cy, r * 1.1, r);
    }
    canvas.RoundedRect(x + w * 0.06, y + h * 0.55, w * 0.88, h * 0.43, h * 0.2);
    canvas.SetLinearGradient(0, y, 0, y + h,
                             {{0.0, Colour(1, 1, 1, bodyAlpha)},
                              {0.55, Colour(0.97, 0.98, 1.0, bodyAlpha)},
                              {1.0, Colour(0.80, 0.84, 0.92, bodyAlpha)}});
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr);
}

Image SceneryPainter::Sky() const {
    const int w = 800, h = 600;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    canvas.SetLinearGradient(0, 0, 0, 440,
                             {{0.0, Colour(0.58, 0.70, 0.93)},
                              {0.6, Colour(0.80, 0.87, 0.97)},
                              {1.0, Colour(0.98, 0.98, 0.97)}});
    cairo_paint(cr);
    // Sun glow high on the right.
    canvas.SetRadialGradient(640, 110, 260, {{0.0, Colour(1, 1, 0.96, 0.85)},
                                             {0.25, Colour(1, 1, 0.95, 0.35)},
                                             {1.0, Colour(1, 1, 1, 0)}});
    cairo_paint(cr);
    canvas.Ellipse(640, 110, 34, 34);
    canvas.SetColour(Colour(1, 1, 0.97, 0.95));
    cairo_fill(cr);

    Rng rng(0x5C1);
    // Far clouds low and flat, near clouds higher and larger.
    struct Placement { double x, y, w, h, a; };
    const Placement clouds[] = {
        {20, 300, 230, 70, 0.75},  {300, 320, 180, 55, 0.7}, {520, 290, 260, 80, 0.75},
        {60, 120, 260, 110, 0.95}, {380, 60, 200, 90, 0.9},  {-80, 20, 180, 80, 0.85},
        {700, 200, 200, 80, 0.85},
    };
    for (const auto& c : clouds) PaintCumulus(canvas, rng, c.x, c.y, c.w, c.h, c.a);

    // Distant islands in the haze, just above where the back sea starts.
    Noise noise(77);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 470);
    for (int x = 0; x <= w; x += 4) {
        double n = noise.Fbm(x / 90.0, 3.5, 3);
        double hill = std::max(0.0, n - 0.45) * 140;
        cairo_line_to(cr, x, 436 - hill);
    }
    cairo_line_to(cr, w, 470);
    cairo_close_path(cr);
    canvas.SetColour(Colour(0.80, 0.85, 0.90));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 436, w, h - 436);
    canvas.SetLinearGradient(0, 436, 0, h, {{0, Colour(0.86, 0.90, 0.94)}, {1, Colour(0.78, 0.84, 0.90)}});
    cairo_fill(cr);

    Image image = canvas.ToImage(0, false);
    // Opaque everywhere: the backdrop is drawn without blending.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.Pixel(x, y)[3] = 255;
    return image;
}

Image SceneryPainter::Fog() const {
    const int w = 128, h = 256;
    Image image(w, h);
    Noise noise(9091);
    // Lattice cells of 32 pixels: 4 across and 8 down, so every octave wraps exactly.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double n = noise.Fbm(x / 32.0, y / 32.0, 4, w / 32, h / 32);
            double wisp = noise.Fbm(x / 16.0 + 5, y / 64.0 + 9, 3, w / 16, h / 64);
            // A thin haze everywhere and drifting banks with clear gaps, so ships
            // stay visible through a fog drawn at full strength.
            double a = 0.08 + Smoothstep(0.45, 0.78, n) * 0.45 + Smoothstep(0.6, 0.85, wisp) * 0.15;
            Colour c = Colour(0.70, 0.86, 0.78).Mix(Colour(0.88, 0.95, 0.90), n);
            image.Set(x, y, c.WithAlpha(std::clamp(a, 0.0, 0.7)));
        }
    return image;
}

Image SceneryPainter::Cloud() const {
    Canvas canvas(400, 240);
    Rng rng(0xC10D);
    PaintCumulus(canvas, rng, 20, 20, 360, 200, 1.0);
    Image image = canvas.ToImage(0, false);
    image.Blur(3);
    image.ClearBorder(2);
    image.BleedColour();
    return image;
}

Image SceneryPainter::Water() const {
    Image image(16, 16);
    image.Fill(palette::kSea.WithAlpha(0.77));
    return image;
}

Image SceneryPainter::Island() const {
    using namespace palette;
    const int w = 2048, h = 600;
    Image image(w, h);
    Noise coarse(4242), fine(5151), rocks(6262);
    for (int x = 0; x < w; ++x) {
        // The shore lines wander along the island.
        double grassEdge = 440 + (coarse.Fbm(x / 60.0, 0.5, 3) - 0.5) * 30;
        double wetEdge = 530 + (coarse.Fbm(x / 80.0, 7.5, 3) - 0.5) * 40;
        for (int y = 0; y < h; ++y) {
            // Texture features are wider than tall: the island is stretched about
            // 4.4 times along x and, near the bottom, up to 9 times along y.
            double leaf = fine.Fbm(x / 6.0, y / 5.0, 4);
            double speck = fine.Fbm(x / 2.0 + 300, y / 2.0, 2);
            Colour c;
            if (y < grassEdge) {
                double depth = Smoothstep(grassEdge, grassEdge - 200, y);
                c = kGrass.Mix(kGrassDark, depth * 0.7 + (leaf - 0.5) * 0.9);
                if (leaf > 0.62) c = c.Mix(kGrassDark.Shade(0.8), 0.5);
            } else if (y < wetEdge) {
                double t = Smoothstep(grassEdge, wetEdge, y);
                c = kSand.Mix(kSandWet, t * 0.6);
                c = c.Shade(0.93 + speck * 0.14);
                // A fringe of grass tufts just under the grass edge.
                if (y < grassEdge + 8 && leaf > 0.55) c = kGrassDark;
            } else {
                double t = Smoothstep(wetEdge, h, y);
                c = kSandWet.Mix(kSeabed, t);
                c = c.Shade(0.92 + (leaf - 0.5) * 0.25);
            }
            // Boulders: dark stones below the grass, more of them deeper down.
            double r = rocks.Fbm(x / 14.0, y / 10.0, 3);
            double threshold = y < grassEdge ? 0.78 : 0.70 - 0.08 * Smoothstep(wetEdge, h, y);
            if (r > threshold) {
                double k = Smoothstep(threshold, threshold + 0.06, r);
                Colour stone = kStone.Mix(kStoneDark, 0.3 + 0.5 * (1 - fine.Sample(x / 3.0, y / 3.0)));
                c = c.Mix(stone, k);
            }
            image.Set(x, y, c.WithAlpha(1));
        }
    }
    return image;
}

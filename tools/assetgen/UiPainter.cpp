#include "UiPainter.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Noise.h"
#include "Palette.h"

using namespace palette;

Image UiPainter::WoodGrain(int width, int height, unsigned seed, double ringScale) {
    // Returns a grey grain (1 = light wood, 0 = dark ring) in the red channel;
    // callers map it onto their own two tones.
    Image grain(width, height);
    Noise noise(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double warp = noise.Fbm(x / 90.0, y / 14.0, 3) * 6.0;
            double rings = y / ringScale + warp;
            double ring = 0.5 + 0.5 * std::sin(rings * 2 * M_PI);
            ring = std::pow(ring, 3.0);
            double fibre = noise.Sample(x / 40.0, y * 1.7);
            double v = std::clamp(1.0 - 0.65 * ring - 0.25 * (fibre - 0.5), 0.0, 1.0);
            grain.Set(x, y, Colour(v, v, v, 1));
        }
    return grain;
}

namespace {

// Maps a grey grain onto two tones.
Image TintGrain(const Image& grain, const Colour& light, const Colour& dark) {
    Image out(grain.Width(), grain.Height());
    for (int y = 0; y < grain.Height(); ++y)
        for (int x = 0; x < grain.Width(); ++x) out.Set(x, y, dark.Mix(light, grain.Get(x, y).r));
    return out;
}

void Nail(Canvas& canvas, double x, double y, double r) {
    canvas.Ellipse(x, y, r, r);
    canvas.SetRadialGradient(x - r * 0.35, y - r * 0.35, r * 1.2,
                             {{0, kBrassLight}, {0.6, kBrass}, {1, kBrass.Shade(0.6)}});
    cairo_fill_preserve(canvas.Cr());
    canvas.SetColour(kInk);
    cairo_set_line_width(canvas.Cr(), 1.5);
    cairo_stroke(canvas.Cr());
}

}  // namespace

Image UiPainter::Cursor() const {
    const int size = 32;
    Canvas canvas(size, size);
    cairo_t* cr = canvas.Cr();
    const double c = 16;
    auto sight = [&](double lineWidth, const Colour& colour) {
        canvas.SetColour(colour);
        cairo_set_line_width(cr, lineWidth);
        cairo_new_path(cr);
        cairo_arc(cr, c, c, 8.5, 0, 2 * M_PI);
        cairo_stroke(cr);
        const double dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& d : dirs) {
            cairo_move_to(cr, c + d[0] * 4.5, c + d[1] * 4.5);
            cairo_line_to(cr, c + d[0] * 13.0, c + d[1] * 13.0);
        }
        cairo_stroke(cr);
    };
    sight(4.2, kInk);
    sight(1.8, kBrassLight);
    canvas.Ellipse(c, c, 1.6, 1.6);
    canvas.SetColour(Colour(0.85, 0.15, 0.1));
    cairo_fill(cr);
    return canvas.ToImage(1, true);
}

Image UiPainter::ButtonWood() const {
    const int w = 280, h = 56;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    Image wood = TintGrain(WoodGrain(w, h, 808, 9.0), kWoodLight, kWood.Shade(0.85));
    canvas.RoundedRect(3.5, 3.5, w - 7, h - 7, 11);
    canvas.SetImageSource(wood);
    cairo_fill_preserve(cr);
    // Light from above: a sheen on the upper half, shade at the bottom.
    canvas.SetLinearGradient(0, 3, 0, h - 3, {{0, Colour(1, 1, 1, 0.30)},
                                              {0.45, Colour(1, 1, 1, 0.0)},
                                              {0.7, Colour(0, 0, 0, 0.0)},
                                              {1, Colour(0, 0, 0, 0.35)}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, 3.0);
    cairo_stroke(cr);
    // Bevel lines just inside the edge.
    canvas.RoundedRect(7, 7, w - 14, h - 14, 8);
    canvas.SetColour(Colour(1, 0.95, 0.85, 0.35));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // A seam between two planks.
    cairo_move_to(cr, 8, h * 0.52);
    cairo_line_to(cr, w - 8, h * 0.52);
    canvas.SetColour(kInk.WithAlpha(0.35));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (double x : {18.0, w - 18.0}) {
        Nail(canvas, x, h * 0.30, 3.5);
        Nail(canvas, x, h * 0.74, 3.5);
    }
    return canvas.ToImage(1, true);
}

Image UiPainter::Health() const {
    Canvas canvas(48, 48);
    cairo_t* cr = canvas.Cr();
    cairo_move_to(cr, 24, 41);
    cairo_curve_to(cr, 6, 29, 3, 19, 8, 12);
    cairo_curve_to(cr, 13, 5, 22, 7, 24, 14);
    cairo_curve_to(cr, 26, 7, 35, 5, 40, 12);
    cairo_curve_to(cr, 45, 19, 42, 29, 24, 41);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(6, Colour(1, 1, 1), 41, Colour(0.86, 0.86, 0.86), kInk, 2.5);
    canvas.Ellipse(14, 15, 3.5, 2.5);
    canvas.SetColour(Colour(1, 1, 1, 0.9));
    cairo_fill(cr);
    return canvas.ToImage(2, true);
}

Image UiPainter::Scroll() const {
    const int w = 560, h = 460;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    // Painted in display space (560 x 230) and stretched to twice the height, so
    // it looks right at the game's (1, 0.5).
    cairo_scale(cr, 1, 2);
    // The rolls sit near the ends and stay slim, so that lines of text at the sheet's top
    // and bottom (the shop's first and last price at 100 and 250 pixels) keep clear of them.
    const double top = 16, bottom = 214, left = 34, right = w - 34;
    Noise noise(1717);

    // Parchment sheet with gently ragged sides.
    cairo_move_to(cr, left, top);
    cairo_line_to(cr, right, top);
    for (double y = top; y <= bottom; y += 6)
        cairo_line_to(cr, right + (noise.Sample(3.0, y / 14.0) - 0.5) * 8, y);
    cairo_line_to(cr, right, bottom);
    cairo_line_to(cr, left, bottom);
    for (double y = bottom; y >= top; y -= 6)
        cairo_line_to(cr, left + (noise.Sample(9.0, y / 14.0) - 0.5) * 8, y);
    cairo_close_path(cr);
    Image stains(w, h / 2);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w; ++x) {
            double n = noise.Fbm(x / 70.0, y / 35.0, 4);
            double dx = (x - w / 2.0) / (w / 2.0), dy = (y - 115.0) / 100.0;
            double edge = std::clamp(std::sqrt(dx * dx * 0.6 + dy * dy * 0.5), 0.0, 1.0);
            Colour c = kParchment.Mix(kParchmentDark, std::clamp(0.15 + (n - 0.5) * 0.9 + edge * 0.45, 0.0, 1.0));
            stains.Set(x, y, c);
        }
    canvas.SetImageSource(stains);
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);

    // Rolled ends: a wooden rod through each roll, with turned handles.
    auto roll = [&](double cy) {
        const double rx0 = 22, rx1 = w - 22, rh = 7;
        for (double x : {8.0, w - 8.0 - 16}) {
            canvas.RoundedRect(x, cy - 6, 16, 12, 5);
            canvas.GradientFillAndOutline(cy - 6, kWoodLight, cy + 6, kWoodDark, kInk, 1.6);
        }
        canvas.RoundedRect(rx0, cy - rh, rx1 - rx0, rh * 2, rh);
        canvas.SetLinearGradient(0, cy - rh, 0, cy + rh, {{0, kParchmentDark},
                                                          {0.35, kParchment.Mix(Colour(1, 1, 1), 0.3)},
                                                          {1, kParchmentDark.Shade(0.7)}});
        cairo_fill_preserve(cr);
        canvas.SetColour(kInk);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
        // The curl's edge.
        cairo_move_to(cr, rx0 + 14, cy + 3);
        cairo_line_to(cr, rx1 - 14, cy + 3);
        canvas.SetColour(kInk.WithAlpha(0.35));
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    };
    roll(top);
    roll(bottom);
    return canvas.ToImage(2, true);
}

Image UiPainter::Nothing() const {
    Image image(8, 9);
    image.Fill(Colour(1, 1, 1, 0));
    return image;
}

#include "DefencePainter.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Noise.h"
#include "Palette.h"
#include "Rng.h"

using namespace palette;

namespace {

// Iron with a highlight towards the upper left.
void IronBall(Canvas& canvas, double x, double y, double r, double ink) {
    canvas.Ellipse(x, y, r, r);
    canvas.SetRadialGradient(x - r * 0.35, y - r * 0.4, r * 1.35,
                             {{0, kIronLight.Mix(Colour(1, 1, 1), 0.35)},
                              {0.3, kIronLight},
                              {0.75, kIron},
                              {1, kIron.Shade(0.6)}});
    cairo_fill_preserve(canvas.Cr());
    canvas.SetColour(kInk);
    cairo_set_line_width(canvas.Cr(), ink);
    cairo_stroke(canvas.Cr());
}

}  // namespace

Image DefencePainter::Tower() const {
    const int w = 256, h = 512;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double ink = 5.5;
    Rng rng(0x70E4);

    // Rocky footing: a mound of earth and stones, wider than the tower.
    const double footTop = 404;
    Noise noise(0x700D);
    cairo_move_to(cr, 4, h - 4);
    for (double x = 4; x <= w - 4; x += 6) {
        double t = (x - 4) / (w - 8);
        double hump = std::sin(t * M_PI);
        double y = h - 4 - (h - 4 - footTop) * std::pow(hump, 0.35) + (noise.Sample(x / 18.0, 2.0) - 0.5) * 14;
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, w - 4, h - 4);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(footTop, kSand.Mix(kStone, 0.4), h, kSandWet.Shade(0.7), kInk, ink);
    for (int i = 0; i < 14; ++i) {
        double x = rng.Range(20, w - 20), y = rng.Range(footTop + 30, h - 18);
        double r = rng.Range(9, 17), squash = rng.Range(0.6, 0.85);
        cairo_new_path(cr);
        for (int k = 0; k < 7; ++k) {
            double a = k * 2 * M_PI / 7 + rng.Range(-0.25, 0.25), rr = r * rng.Range(0.8, 1.15);
            double px = x + std::cos(a) * rr, py = y + std::sin(a) * rr * squash;
            if (k == 0) cairo_move_to(cr, px, py);
            else cairo_line_to(cr, px, py);
        }
        cairo_close_path(cr);
        Colour stone = kStone.Mix(kStoneDark, rng.Range(0.0, 0.5));
        canvas.GradientFillAndOutline(y - r, stone.Mix(Colour(1, 1, 1), 0.2), y + r, stone.Shade(0.75), kInk, 3.5);
    }
    // Grass along the mound's top.
    for (int i = 0; i < 9; ++i) {
        double x = 14 + i * 28.5 + rng.Range(-5, 5), y = footTop + 8 + std::abs(i - 4) * 6.0;
        cairo_move_to(cr, x - 12, y + 8);
        cairo_curve_to(cr, x - 8, y - 6, x - 2, y - 10, x, y - 14);
        cairo_curve_to(cr, x + 2, y - 6, x + 8, y - 4, x + 12, y + 8);
        cairo_close_path(cr);
        canvas.FillAndOutline(kGrass, kInk, 3);
    }

    // Body: a slightly tapering round tower.
    const double bodyTop = 96, bodyBottom = footTop + 14;
    auto bodyPath = [&]() {
        cairo_move_to(cr, 34, bodyTop);
        cairo_line_to(cr, w - 34, bodyTop);
        cairo_line_to(cr, w - 22, bodyBottom);
        cairo_line_to(cr, 22, bodyBottom);
        cairo_close_path(cr);
    };
    bodyPath();
    canvas.SetLinearGradient(22, 0, w - 22, 0, {{0, kStone.Shade(0.82)},
                                                {0.35, kStoneLight},
                                                {0.75, kStone},
                                                {1, kStoneDark}});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    // Courses of dressed stone, each course offset by half a block.
    canvas.SetColour(kStoneDark.WithAlpha(0.75));
    cairo_set_line_width(cr, 2.5);
    int course = 0;
    for (double y = bodyTop + 26; y < bodyBottom; y += 26, ++course) {
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, w, y);
        for (double x = (course % 2) * 22 + 10; x < w; x += 44) {
            cairo_move_to(cr, x, y - 26);
            cairo_line_to(cr, x, y);
        }
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    bodyPath();
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);

    // Arrow slits and an arched door.
    for (double y : {170.0, 270.0}) {
        canvas.RoundedRect(w / 2.0 - 8, y, 16, 46, 7);
        canvas.FillAndOutline(Colour(0.10, 0.08, 0.07), kInk, 3.5);
    }
    cairo_move_to(cr, w / 2.0 - 26, bodyBottom - 2);
    cairo_line_to(cr, w / 2.0 - 26, bodyBottom - 50);
    cairo_arc(cr, w / 2.0, bodyBottom - 50, 26, M_PI, 2 * M_PI);
    cairo_line_to(cr, w / 2.0 + 26, bodyBottom - 2);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(bodyBottom - 76, kWood, bodyBottom, kWoodDark, kInk, ink * 0.8);
    canvas.SetColour(kInk.WithAlpha(0.6));
    cairo_set_line_width(cr, 2);
    for (double x = w / 2.0 - 13; x < w / 2.0 + 14; x += 13) {
        cairo_move_to(cr, x, bodyBottom - 70);
        cairo_line_to(cr, x, bodyBottom - 4);
    }
    cairo_stroke(cr);
    canvas.Ellipse(w / 2.0 + 14, bodyBottom - 28, 3.5, 3.5);
    canvas.FillAndOutline(kBrass, kInk, 1.5);

    // Corbelled gallery and parapet, wider than the body, with an open embrasure
    // in the middle where the cannon shows.
    const double parapetTop = 70, corbelBottom = 112;
    for (double x = 20; x < w - 20; x += 24) {
        cairo_move_to(cr, x, corbelBottom - 22);
        cairo_line_to(cr, x + 24, corbelBottom - 22);
        cairo_line_to(cr, x + 18, corbelBottom);
        cairo_line_to(cr, x + 6, corbelBottom);
        cairo_close_path(cr);
        canvas.GradientFillAndOutline(corbelBottom - 22, kStone, corbelBottom, kStoneDark, kInk, 3.5);
    }
    cairo_rectangle(cr, 12, parapetTop, w - 24, corbelBottom - 22 - parapetTop);
    canvas.SetLinearGradient(12, 0, w - 12, 0, {{0, kStone.Shade(0.85)},
                                                {0.35, kStoneLight},
                                                {1, kStoneDark}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);
    // Merlons at the two sides; the middle stays open.
    for (double x : {12.0, 60.0, w - 12.0 - 34, w - 60.0 - 34}) {
        cairo_rectangle(cr, x, 8, 34, parapetTop - 8 + 2);
        canvas.SetLinearGradient(x, 0, x + 34, 0, {{0, kStoneLight}, {1, kStone.Shade(0.85)}});
        cairo_fill_preserve(cr);
        canvas.SetColour(kInk);
        cairo_set_line_width(cr, ink);
        cairo_stroke(cr);
    }
    return canvas.ToImage(2, true);
}

Image DefencePainter::Flag() const {
    const int w = 160, h = 200;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double ink = 3.5, pole = w / 2.0;
    // Cloth, waving: upper and lower edges as S curves, a swallowtail at the fly.
    const double x0 = pole + 3, x1 = 154, top = 22, bottom = 96;
    cairo_move_to(cr, x0, top);
    cairo_curve_to(cr, x0 + 25, top - 10, x0 + 45, top + 10, x1, top + 2);
    cairo_line_to(cr, x1 - 16, (top + bottom) / 2 + 4);
    cairo_line_to(cr, x1, bottom + 2);
    cairo_curve_to(cr, x0 + 45, bottom + 10, x0 + 25, bottom - 10, x0, bottom);
    cairo_close_path(cr);
    canvas.SetLinearGradient(x0, 0, x1, 0, {{0, Colour(0.97, 0.96, 0.93)},
                                            {0.3, Colour(0.86, 0.85, 0.82)},
                                            {0.6, Colour(1, 1, 0.98)},
                                            {1, Colour(0.88, 0.87, 0.84)}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);

    // Skull and crossbones in grey, so a tint leaves it darker than the cloth.
    const double ex = x0 + 32, ey = (top + bottom) / 2 + 2;
    canvas.SetColour(kEmblem);
    cairo_set_line_width(cr, 6);
    cairo_move_to(cr, ex - 17, ey - 2);
    cairo_line_to(cr, ex + 17, ey + 24);
    cairo_move_to(cr, ex + 17, ey - 2);
    cairo_line_to(cr, ex - 17, ey + 24);
    cairo_stroke(cr);
    canvas.Ellipse(ex, ey - 4, 13, 12);
    cairo_fill(cr);
    cairo_rectangle(cr, ex - 7, ey + 4, 14, 8);
    cairo_fill(cr);
    canvas.SetColour(Colour(0.95, 0.94, 0.9));
    canvas.Ellipse(ex - 5, ey - 4, 3.5, 3.5);
    cairo_fill(cr);
    canvas.Ellipse(ex + 5, ey - 4, 3.5, 3.5);
    cairo_fill(cr);

    // Pole with a brass finial.
    canvas.RoundedRect(pole - 4, 14, 8, h - 20, 3);
    canvas.GradientFillAndOutline(0, kWoodLight, h, kWood, kInk, 2.5);
    canvas.Ellipse(pole, 12, 7, 7);
    canvas.FillAndOutline(kBrassLight, kInk, 2.5);
    return canvas.ToImage(2, true);
}

Image DefencePainter::Cannon() const {
    const int w = 200, h = 64;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double cy = h / 2.0, ink = 4.0;
    // Cascabel knob behind the breech.
    canvas.Ellipse(12, cy, 8, 8);
    canvas.GradientFillAndOutline(cy - 8, kIronLight, cy + 8, kIron, kInk, ink * 0.8);
    cairo_rectangle(cr, 14, cy - 4, 12, 8);
    canvas.FillAndOutline(kIron, kInk, ink * 0.6);
    // Barrel tapering from breech to muzzle, with a swell at the mouth.
    cairo_move_to(cr, 30, cy - 19);
    cairo_line_to(cr, 176, cy - 12);
    cairo_line_to(cr, 178, cy - 15);
    cairo_line_to(cr, 194, cy - 15);
    cairo_line_to(cr, 194, cy + 15);
    cairo_line_to(cr, 178, cy + 15);
    cairo_line_to(cr, 176, cy + 12);
    cairo_line_to(cr, 30, cy + 19);
    cairo_curve_to(cr, 20, cy + 19, 20, cy - 19, 30, cy - 19);
    cairo_close_path(cr);
    canvas.SetLinearGradient(0, cy - 19, 0, cy + 19, {{0, kIronLight},
                                                      {0.3, kIronLight.Mix(Colour(1, 1, 1), 0.25)},
                                                      {0.55, kIron},
                                                      {1, kIron.Shade(0.55)}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);
    // Reinforcing rings.
    for (double x : {46.0, 100.0}) {
        double r = 19 - (x - 30) * 7.0 / 146 + 2.5;
        canvas.RoundedRect(x - 4, cy - r, 8, 2 * r, 2);
        canvas.GradientFillAndOutline(cy - r, kIronLight, cy + r, kIron.Shade(0.7), kInk, 2.5);
    }
    // Trunnion near the centre, where the gun pivots.
    canvas.Ellipse(w / 2.0 - 8, cy + 3, 7, 7);
    canvas.FillAndOutline(kIron.Shade(0.8), kInk, 2.5);
    // Dark bore at the muzzle.
    canvas.Ellipse(194, cy, 3, 9);
    canvas.SetColour(Colour(0.05, 0.05, 0.05));
    cairo_fill(cr);
    return canvas.ToImage(2, true);
}

Image DefencePainter::Cannonball() const {
    Canvas canvas(80, 80);
    IronBall(canvas, 40, 40, 32, 6);
    return canvas.ToImage(2, true);
}

Image DefencePainter::Mine() const {
    const int size = 320;
    Canvas canvas(size, size);
    cairo_t* cr = canvas.Cr();
    const double cx = 160, cy = 168, r = 96, ink = 18;
    // Horns first so the ball overlaps their roots.
    const double angles[] = {-90, -35, -145, 15, 165, 60, 120};
    for (double a : angles) {
        double rad = a * M_PI / 180, dx = std::cos(rad), dy = std::sin(rad);
        double bx = cx + dx * r * 0.8, by = cy + dy * r * 0.8;
        double tx = cx + dx * (r + 44), ty = cy + dy * (r + 44);
        cairo_move_to(cr, bx - dy * 15, by + dx * 15);
        cairo_line_to(cr, tx - dy * 11, ty + dx * 11);
        cairo_line_to(cr, tx + dy * 11, ty - dx * 11);
        cairo_line_to(cr, bx + dy * 15, by - dx * 15);
        cairo_close_path(cr);
        canvas.FillAndOutline(kIronLight, kInk, ink * 0.8);
        canvas.Ellipse(tx, ty, 15, 15);
        canvas.FillAndOutline(kBrass, kInk, ink * 0.8);
    }
    IronBall(canvas, cx, cy, r, ink);
    // A riveted band around the middle.
    cairo_save(cr);
    canvas.Ellipse(cx, cy, r - ink / 2, r - ink / 2);
    cairo_clip(cr);
    canvas.Ellipse(cx, cy + 6, r * 1.1, 22);
    canvas.SetColour(Colour(0.62, 0.16, 0.11));
    cairo_set_line_width(cr, 16);
    cairo_stroke(cr);
    cairo_restore(cr);
    return canvas.ToImage(2, true);
}

Image DefencePainter::TreasureChest() const {
    const int w = 128, h = 100;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double ink = 4;
    const double left = 12, right = w - 12, lidTop = 16, seam = 46, bottom = h - 6;
    // Coins heaped in the open lid's gap.
    Rng rng(0xC0145);
    for (int i = 0; i < 9; ++i) {
        double x = left + 12 + i * 10.5 + rng.Range(-2, 2), y = seam - 4 + rng.Range(-3, 2);
        canvas.Ellipse(x, y, 7, 5);
        canvas.FillAndOutline(kGold, kInk, 2);
    }
    // Body.
    cairo_rectangle(cr, left, seam, right - left, bottom - seam);
    canvas.GradientFillAndOutline(seam, kWoodLight, bottom, kWoodDark, kInk, ink);
    canvas.SetColour(kInk.WithAlpha(0.4));
    cairo_set_line_width(cr, 1.5);
    for (double y = seam + 15; y < bottom - 4; y += 15) {
        cairo_move_to(cr, left + 3, y);
        cairo_line_to(cr, right - 3, y);
    }
    cairo_stroke(cr);
    // Domed lid, lifted a little.
    cairo_move_to(cr, left - 2, seam - 8);
    cairo_curve_to(cr, left - 2, lidTop - 6, right + 2, lidTop - 6, right + 2, seam - 8);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(lidTop - 4, kWoodLight.Mix(Colour(1, 1, 1), 0.15), seam - 8, kWood, kInk, ink);
    // Brass straps and lock plate.
    for (double x : {left + 16, right - 24}) {
        cairo_rectangle(cr, x, seam, 8, bottom - seam);
        canvas.FillAndOutline(kBrass, kInk, 2.5);
        cairo_move_to(cr, x, seam - 8);
        cairo_curve_to(cr, x, lidTop + 2, x + 8, lidTop + 2, x + 8, seam - 8);
        canvas.SetColour(kBrass);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
    }
    canvas.RoundedRect(w / 2.0 - 10, seam - 4, 20, 22, 4);
    canvas.FillAndOutline(kBrassLight, kInk, 2.5);
    canvas.Ellipse(w / 2.0, seam + 5, 2.5, 2.5);
    canvas.SetColour(kInk);
    cairo_fill(cr);
    cairo_rectangle(cr, w / 2.0 - 1.2, seam + 5, 2.4, 7);
    cairo_fill(cr);
    return canvas.ToImage(2, true);
}

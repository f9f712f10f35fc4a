#include "ShipPainter.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "Canvas.h"
#include "Palette.h"
#include "UiPainter.h"

using namespace palette;

namespace {

// A square sail hung from a yard, bellied forward (to the right) by the wind.
void SquareSail(Canvas& canvas, double cx, double top, double bottom, double halfTop, double halfBottom,
                double belly, double ink) {
    cairo_t* cr = canvas.Cr();
    cairo_move_to(cr, cx - halfTop, top);
    cairo_line_to(cr, cx + halfTop, top);
    cairo_curve_to(cr, cx + halfTop + belly, top + (bottom - top) * 0.4, cx + halfBottom + belly,
                   top + (bottom - top) * 0.7, cx + halfBottom, bottom);
    cairo_curve_to(cr, cx + halfBottom * 0.3, bottom - belly * 0.6, cx - halfBottom * 0.3, bottom - belly * 0.6,
                   cx - halfBottom, bottom);
    cairo_curve_to(cr, cx - halfBottom + belly * 0.5, top + (bottom - top) * 0.6,
                   cx - halfTop + belly * 0.5, top + (bottom - top) * 0.3, cx - halfTop, top);
    cairo_close_path(cr);
    canvas.SetLinearGradient(cx - halfBottom, 0, cx + halfBottom + belly, 0,
                             {{0, kCanvasShade}, {0.45, kCanvas}, {0.8, Colour(1, 1, 0.97)}, {1, kCanvasShade}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);
    // Seams of the cloth.
    canvas.SetColour(kCanvasShade.Shade(0.85).WithAlpha(0.7));
    cairo_set_line_width(cr, ink * 0.3);
    for (int i = 1; i < 4; ++i) {
        double t = i / 4.0;
        double xt = cx - halfTop + 2 * halfTop * t, xb = cx - halfBottom + 2 * halfBottom * t;
        cairo_move_to(cr, xt, top + ink);
        cairo_curve_to(cr, xt + belly * 0.5, top + (bottom - top) * 0.4, xb + belly * 0.5,
                       top + (bottom - top) * 0.7, xb, bottom - belly * 0.3 - ink);
    }
    cairo_stroke(cr);
}

void Spar(Canvas& canvas, double x0, double y0, double x1, double y1, double width, double ink) {
    cairo_t* cr = canvas.Cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, width + 2 * ink);
    cairo_stroke_preserve(cr);
    canvas.SetColour(kWood);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void Line(Canvas& canvas, double x0, double y0, double x1, double y1, double width) {
    cairo_move_to(canvas.Cr(), x0, y0);
    cairo_line_to(canvas.Cr(), x1, y1);
    canvas.SetColour(kInk.WithAlpha(0.85));
    cairo_set_line_width(canvas.Cr(), width);
    cairo_stroke(canvas.Cr());
}

// Fills the current path with planking: wood grain in horizontal strakes.
void Planking(Canvas& canvas, double top, double bottom, const Colour& light, const Colour& dark,
              double strake, double ink, unsigned seed) {
    cairo_t* cr = canvas.Cr();
    Image grain = UiPainter::WoodGrain(canvas.Width(), canvas.Height(), seed, strake * 0.8);
    Image wood(grain.Width(), grain.Height());
    for (int y = 0; y < grain.Height(); ++y)
        for (int x = 0; x < grain.Width(); ++x) {
            double shade = 1.0 - 0.35 * std::clamp((y - top) / (bottom - top), 0.0, 1.0);
            wood.Set(x, y, dark.Mix(light, 0.55 + 0.45 * grain.Get(x, y).r).Shade(shade));
        }
    // Fill, strakes clipped to the hull, then the outline on top.
    cairo_path_t* hull = cairo_copy_path(cr);
    canvas.SetImageSource(wood);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    canvas.SetColour(kInk.WithAlpha(0.45));
    cairo_set_line_width(cr, ink * 0.35);
    for (double y = top + strake; y < bottom; y += strake) {
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, canvas.Width(), y);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, hull);
    cairo_path_destroy(hull);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);
}

}  // namespace

Image ShipPainter::MerchantShip() const {
    const int w = 512, h = 400;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double ink = 7;
    const double deck = 232, keel = h - 4;

    // Rigging behind everything.
    Line(canvas, 172, 22, 40, 168, 2.5);
    Line(canvas, 172, 22, 356, 48, 2.5);
    Line(canvas, 356, 48, 500, 196, 2.5);
    // Masts.
    Spar(canvas, 172, deck, 172, 14, 11, ink * 0.6);
    Spar(canvas, 356, deck, 356, 40, 10, ink * 0.6);
    // Bowsprit.
    Spar(canvas, 430, 214, 506, 176, 9, ink * 0.6);

    // Jib between the fore mast and the bowsprit.
    cairo_move_to(cr, 362, 56);
    cairo_line_to(cr, 498, 184);
    cairo_curve_to(cr, 450, 186, 410, 184, 372, 170);
    cairo_curve_to(cr, 380, 130, 372, 90, 362, 56);
    cairo_close_path(cr);
    canvas.SetLinearGradient(362, 0, 498, 0, {{0, kCanvasShade}, {0.5, kCanvas}, {1, kCanvasShade}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);

    // Square sails: topsails and courses, high enough to leave the waist open.
    SquareSail(canvas, 172, 30, 92, 52, 62, 14, ink);
    SquareSail(canvas, 172, 100, 170, 66, 74, 18, ink);
    SquareSail(canvas, 356, 54, 108, 44, 52, 12, ink);
    SquareSail(canvas, 356, 116, 172, 56, 62, 16, ink);
    for (auto [x, y, half] : {std::tuple{172.0, 30.0, 58.0}, {172.0, 100.0, 72.0}, {356.0, 54.0, 50.0},
                              {356.0, 116.0, 62.0}})
        Spar(canvas, x - half, y, x + half, y, 6, ink * 0.5);
    // Pennant at the main truck.
    cairo_move_to(cr, 176, 16);
    cairo_curve_to(cr, 200, 10, 215, 22, 240, 16);
    cairo_line_to(cr, 176, 30);
    cairo_close_path(cr);
    canvas.FillAndOutline(Colour(0.80, 0.16, 0.12), kInk, ink * 0.5);

    // Hull: high stern castle on the left, forecastle on the right, keel on the bottom edge.
    auto traceHull = [&] {
        cairo_move_to(cr, 26, 162);
        cairo_line_to(cr, 138, 168);
        cairo_curve_to(cr, 146, 200, 150, deck, 170, deck);
        cairo_line_to(cr, 372, deck);
        cairo_curve_to(cr, 384, deck, 390, 206, 400, 204);
        cairo_line_to(cr, 452, 198);
        cairo_curve_to(cr, 452, 290, 420, 350, 380, keel);
        cairo_line_to(cr, 92, keel);
        cairo_curve_to(cr, 60, 340, 40, 280, 26, 162);
        cairo_close_path(cr);
    };
    traceHull();
    Planking(canvas, 162, keel, kWoodLight, kWood, 22, ink, 4141);

    // A painted wale with gun ports, and a darker band at the waterline.
    cairo_save(cr);
    traceHull();
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 256, w, 34);
    canvas.SetColour(Colour(0.20, 0.33, 0.42));
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink * 0.6);
    cairo_stroke(cr);
    cairo_rectangle(cr, 0, 350, w, 60);
    canvas.SetColour(kWoodDark.Shade(0.8).WithAlpha(0.8));
    cairo_fill(cr);
    for (double x = 120; x < 420; x += 62) {
        canvas.RoundedRect(x, 262, 26, 22, 3);
        canvas.FillAndOutline(Colour(0.08, 0.06, 0.05), kInk, ink * 0.4);
    }
    cairo_restore(cr);

    // Stern windows glowing, and a lantern on the taffrail.
    for (double x = 40; x < 120; x += 26) {
        canvas.RoundedRect(x, 186, 16, 20, 3);
        canvas.FillAndOutline(Colour(1.0, 0.86, 0.45), kInk, ink * 0.4);
    }
    canvas.RoundedRect(30, 134, 14, 22, 4);
    canvas.FillAndOutline(Colour(1.0, 0.9, 0.5), kInk, ink * 0.45);

    // Rail posts along the waist.
    canvas.SetColour(kWoodDark);
    cairo_set_line_width(cr, 4);
    for (double x = 180; x < 372; x += 24) {
        cairo_move_to(cr, x, deck - 12);
        cairo_line_to(cr, x, deck);
    }
    cairo_stroke(cr);
    cairo_move_to(cr, 166, deck - 12);
    cairo_line_to(cr, 378, deck - 12);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    return canvas.ToImage(2, true);
}

Image ShipPainter::RamBoat() const {
    const int w = 160, h = 80;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double ink = 3;
    const double deck = 46, keel = h - 3;
    Spar(canvas, 62, deck, 62, 6, 3.5, ink * 0.6);
    // Lateen sail with a red stripe.
    cairo_move_to(cr, 66, 6);
    cairo_curve_to(cr, 96, 16, 114, 30, 118, 42);
    cairo_line_to(cr, 26, 42);
    cairo_curve_to(cr, 44, 30, 56, 18, 66, 6);
    cairo_close_path(cr);
    canvas.SetLinearGradient(26, 0, 118, 0, {{0, kCanvasShade}, {0.5, kCanvas}, {1, kCanvasShade}});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_rectangle(cr, 0, 24, w, 7);
    canvas.SetColour(Colour(0.78, 0.16, 0.12));
    cairo_fill(cr);
    cairo_restore(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink);
    cairo_stroke(cr);
    // Iron ram at the bow, at the waterline.
    cairo_move_to(cr, 126, 56);
    cairo_line_to(cr, 156, 64);
    cairo_line_to(cr, 126, 72);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(56, kIronLight, 72, kIron, kInk, ink);
    // Low hull, sharp at the bow.
    cairo_move_to(cr, 8, deck - 4);
    cairo_line_to(cr, 112, deck);
    cairo_curve_to(cr, 126, deck, 138, 50, 142, 58);
    cairo_curve_to(cr, 134, 70, 122, keel, 104, keel);
    cairo_line_to(cr, 26, keel);
    cairo_curve_to(cr, 14, keel, 10, 60, 8, deck - 4);
    cairo_close_path(cr);
    Planking(canvas, deck - 4, keel, kWood, kWoodDark, 9, ink, 5252);
    // Iron plates on the bow and an eye painted above the ram.
    cairo_move_to(cr, 112, deck);
    cairo_curve_to(cr, 126, deck, 138, 50, 142, 58);
    cairo_curve_to(cr, 134, 70, 122, keel, 104, keel);
    cairo_line_to(cr, 112, deck);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(deck, kIronLight, keel, kIron, kInk, ink);
    canvas.SetColour(kIronLight.Mix(Colour(1, 1, 1), 0.3));
    for (double y = deck + 6; y < keel - 4; y += 8) {
        canvas.Ellipse(117, y, 1.3, 1.3);
        cairo_fill(cr);
    }
    canvas.Ellipse(96, 55, 6, 4.5);
    canvas.FillAndOutline(Colour(1, 1, 0.95), kInk, 1.5);
    canvas.Ellipse(98, 55, 2.3, 2.3);
    canvas.SetColour(kInk);
    cairo_fill(cr);
    return canvas.ToImage(2, true);
}

Image ShipPainter::MineLayer() const {
    const int w = 440, h = 300;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();
    const double ink = 8;
    const double deck = 186, keel = h - 4;
    auto mine = [&](double x, double y, double r) {
        for (double a : {-90.0, -30.0, -150.0, 30.0, 150.0}) {
            double rad = a * M_PI / 180;
            cairo_move_to(cr, x + std::cos(rad) * r * 0.8, y + std::sin(rad) * r * 0.8);
            cairo_line_to(cr, x + std::cos(rad) * r * 1.45, y + std::sin(rad) * r * 1.45);
        }
        canvas.SetColour(kInk);
        cairo_set_line_width(cr, r * 0.35 + ink);
        cairo_stroke(cr);
        canvas.Ellipse(x, y, r, r);
        canvas.SetRadialGradient(x - r * 0.4, y - r * 0.4, r * 1.4,
                                 {{0, kIronLight.Mix(Colour(1, 1, 1), 0.3)}, {0.4, kIronLight}, {1, kIron}});
        cairo_fill_preserve(cr);
        canvas.SetColour(kInk);
        cairo_set_line_width(cr, ink * 0.8);
        cairo_stroke(cr);
    };

    // Mast and a square sail with a dark band.
    Spar(canvas, 196, deck, 196, 14, 10, ink * 0.5);
    SquareSail(canvas, 196, 34, 128, 62, 74, 16, ink);
    cairo_save(cr);
    cairo_rectangle(cr, 110, 70, 180, 22);
    canvas.SetColour(kIron.WithAlpha(0.75));
    cairo_fill(cr);
    cairo_restore(cr);
    Spar(canvas, 196 - 70, 34, 196 + 70, 34, 7, ink * 0.5);
    Line(canvas, 196, 16, 20, 150, 3);
    Line(canvas, 196, 16, 420, 170, 3);

    // Davit at the stern, with a mine hanging ready to drop.
    Spar(canvas, 64, deck, 64, 64, 12, ink * 0.5);
    Spar(canvas, 64, 70, 18, 92, 9, ink * 0.5);
    Line(canvas, 22, 92, 22, 130, 3);
    mine(22, 150, 20);

    // Mines stacked on deck.
    mine(270, deck - 22, 22);
    mine(320, deck - 22, 22);
    mine(370, deck - 22, 22);
    mine(295, deck - 58, 22);
    mine(345, deck - 58, 22);

    // A broad, blunt hull.
    cairo_move_to(cr, 36, deck - 10);
    cairo_line_to(cr, 412, deck - 10);
    cairo_curve_to(cr, 426, 220, 414, 260, 380, keel);
    cairo_line_to(cr, 78, keel);
    cairo_curve_to(cr, 48, 262, 38, 230, 36, deck - 10);
    cairo_close_path(cr);
    Planking(canvas, deck - 10, keel, kWoodLight, kWood, 20, ink, 6363);
    cairo_save(cr);
    cairo_move_to(cr, 36, deck - 10);
    cairo_line_to(cr, 412, deck - 10);
    cairo_curve_to(cr, 426, 220, 414, 260, 380, keel);
    cairo_line_to(cr, 78, keel);
    cairo_curve_to(cr, 48, 262, 38, 230, 36, deck - 10);
    cairo_close_path(cr);
    cairo_clip(cr);
    // Iron bands and a hazard stripe of red along the sheer.
    cairo_rectangle(cr, 0, deck + 2, w, 18);
    canvas.SetColour(Colour(0.70, 0.18, 0.13));
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, ink * 0.5);
    cairo_stroke(cr);
    for (double x = 110; x < 400; x += 90) {
        cairo_rectangle(cr, x, deck - 10, 12, keel - deck + 10);
        canvas.SetColour(kIron.WithAlpha(0.85));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    return canvas.ToImage(2, true);
}

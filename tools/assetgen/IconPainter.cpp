#include "IconPainter.h"

#include <cmath>

#include "Canvas.h"
#include "Palette.h"

using namespace palette;

namespace {

// Every shape is laid out on a 256-unit square and scaled to the size asked for.
constexpr double kUnits = 256;

constexpr Colour kDuskHigh{0.176, 0.247, 0.431};
constexpr Colour kDuskLow{0.965, 0.706, 0.404};
constexpr Colour kSun{1.0, 0.910, 0.659};
constexpr Colour kSeaDeep{0.055, 0.259, 0.345};
constexpr Colour kPennant{0.80, 0.16, 0.12};

void Frame(Canvas& canvas) { canvas.RoundedRect(8, 8, kUnits - 16, kUnits - 16, 44); }

void Sail(Canvas& canvas, double x, double top, double bottom, double half, double belly) {
    cairo_t* cr = canvas.Cr();
    cairo_move_to(cr, x - half, top);
    cairo_line_to(cr, x + half, top);
    cairo_curve_to(cr, x + half + belly, (top + bottom) / 2, x + half + belly * 0.6, bottom - 4,
                   x + half - 4, bottom);
    cairo_line_to(cr, x - half + 4, bottom);
    cairo_curve_to(cr, x - half + belly * 0.6, bottom - 4, x - half + belly, (top + bottom) / 2,
                   x - half, top);
    cairo_close_path(cr);
    canvas.SetLinearGradient(x - half, 0, x + half + belly, 0,
                             {{0, kCanvasShade}, {0.55, kCanvas}, {1, kCanvasShade}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
}

// A band of sea whose top edge rolls in waves of the given length.
void Waves(Canvas& canvas, double y, double amplitude, double length, double phase,
           const Colour& top, const Colour& bottom) {
    cairo_t* cr = canvas.Cr();
    cairo_move_to(cr, -10, kUnits + 10);
    for (double x = -10; x <= kUnits + 10; x += 2)
        cairo_line_to(cr, x, y - amplitude * std::cos((x / length + phase) * 2 * M_PI));
    cairo_line_to(cr, kUnits + 10, kUnits + 10);
    cairo_close_path(cr);
    canvas.SetLinearGradient(0, y - amplitude, 0, kUnits, {{0, top}, {1, bottom}});
    cairo_fill_preserve(cr);
    canvas.SetColour(kFoam);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

}  // namespace

Image IconPainter::Icon(int size) const {
    Canvas canvas(size, size);
    cairo_t* cr = canvas.Cr();
    cairo_scale(cr, size / kUnits, size / kUnits);

    Frame(canvas);
    cairo_save(cr);
    cairo_clip(cr);

    // Sky and a low sun behind the sails.
    canvas.SetLinearGradient(0, 8, 0, 180, {{0, kDuskHigh}, {1, kDuskLow}});
    cairo_paint(cr);
    canvas.Ellipse(178, 150, 40, 40);
    canvas.SetRadialGradient(178, 150, 40, {{0, kSun}, {0.8, kSun}, {1, kSun.WithAlpha(0)}});
    cairo_fill(cr);

    // Far sea behind the ship.
    Waves(canvas, 176, 4, 48, 0.25, kSea.Shade(1.15), kSeaDeep);

    // Mast, sails and pennant.
    cairo_move_to(cr, 124, 184);
    cairo_line_to(cr, 124, 34);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, 12);
    cairo_stroke(cr);
    cairo_move_to(cr, 124, 184);
    cairo_line_to(cr, 124, 34);
    canvas.SetColour(kWoodDark);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    Sail(canvas, 124, 50, 102, 46, 10);
    Sail(canvas, 124, 112, 168, 62, 12);
    cairo_move_to(cr, 128, 30);
    cairo_curve_to(cr, 148, 24, 160, 36, 182, 30);
    cairo_line_to(cr, 128, 46);
    cairo_close_path(cr);
    canvas.FillAndOutline(kPennant, kInk, 4);

    // Hull: raised stern on the left, bow rising on the right.
    cairo_move_to(cr, 36, 160);
    cairo_line_to(cr, 78, 164);
    cairo_curve_to(cr, 84, 176, 92, 180, 104, 180);
    cairo_line_to(cr, 196, 180);
    cairo_line_to(cr, 226, 168);
    cairo_curve_to(cr, 218, 196, 200, 214, 180, 222);
    cairo_line_to(cr, 70, 222);
    cairo_curve_to(cr, 52, 206, 42, 186, 36, 160);
    cairo_close_path(cr);
    canvas.GradientFillAndOutline(160, kWoodLight, 222, kWoodDark, kInk, 6);
    // A painted wale with gun ports.
    cairo_move_to(cr, 50, 196);
    cairo_line_to(cr, 212, 196);
    canvas.SetColour(kBrass);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    for (double x : {84.0, 118.0, 152.0, 186.0}) {
        cairo_rectangle(cr, x - 6, 202, 12, 9);
        canvas.SetColour(kIron);
        cairo_fill(cr);
    }

    // Near sea over the keel.
    Waves(canvas, 216, 7, 64, 0.0, kSea.Shade(1.3), kSeaDeep);
    cairo_restore(cr);

    // Outline of the whole badge.
    Frame(canvas);
    canvas.SetColour(kInk);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    return canvas.ToImage(0, false);
}

bool IconPainter::WritePng(const std::string& path, const Image& image) {
    cairo_surface_t* surface = Canvas::SurfaceFrom(image);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

#include "FontPainter.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "Canvas.h"
#include "Palette.h"
#include "UiPainter.h"

namespace {

constexpr double kMargin = 1.0;  // clear column and row at each cell edge
constexpr double kGap = 2.0;     // clear space kept before the next glyph
constexpr double kExtend = 1.12;  // horizontal stretch of the face

// One FreeType library for the program's life; faces opened from it may outlive
// a painter inside Cairo's font caches.
FT_Face OpenFace(const std::string& file) {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    FT_Face face = nullptr;
    if (!library || FT_New_Face(library, file.c_str(), 0, &face) != 0) return nullptr;
    return face;
}

}  // namespace

FontPainter::FontPainter(std::string fontFile) : fontFile_(std::move(fontFile)) {}

int FontPainter::Advance(unsigned char c) {
    int g = static_cast<signed char>(c - 30);
    int k = 20;
    if (g >= 66 && g <= 92) k = 30;
    else if ((g >= 18 && g <= 27) || g == 2) k = 35;
    return kCellWidth - k;
}

Image FontPainter::Wooden() const { return Paint(Style::kWooden); }
Image FontPainter::Plain() const { return Paint(Style::kPlain); }

Image FontPainter::Paint(Style style) const {
    const int w = kCellWidth * kColumns, h = kCellHeight * kRows;
    Canvas canvas(w, h);
    cairo_t* cr = canvas.Cr();

    FT_Face face = OpenFace(fontFile_);
    if (!face) {
        std::fprintf(stderr, "assetgen: cannot open font %s\n", fontFile_.c_str());
        return Image();
    }
    cairo_font_face_t* fontFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    // Cairo may keep the face in its caches after we let go: it closes the
    // FreeType face itself when the last reference goes.
    static cairo_user_data_key_t faceKey;
    cairo_font_face_set_user_data(fontFace, &faceKey, face,
                                  [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); });
    cairo_set_font_face(cr, fontFace);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);

    // The outline (wooden) or halo (plain) extends the ink on every side.
    const double rim = style == Style::kWooden ? 2.4 : 1.6;

    // Size the face so capitals and descenders fill the cell's height; the rare
    // taller glyphs (brackets, bar) are shrunk to fit one by one below.
    cairo_set_font_size(cr, 100);
    cairo_text_extents_t capital, descender;
    cairo_text_extents(cr, "H", &capital);
    cairo_text_extents(cr, "gjpqy", &descender);
    const double top = capital.y_bearing, bottom = descender.y_bearing + descender.height;
    const double roomTop = kMargin + rim + 0.5, roomBottom = kCellHeight - kMargin - rim - 0.5;
    const double size = 100 * (roomBottom - roomTop) / (bottom - top);
    const double baseline = roomTop + (-top) * size / 100;

    Image grain;
    if (style == Style::kWooden) {
        Image g = UiPainter::WoodGrain(w, h, 1234, 5.0);
        grain = Image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                grain.Set(x, y, palette::kWoodPaleGrain.Mix(palette::kWoodPale, 0.3 + 0.7 * g.Get(x, y).r));
    }

    for (int c = 33; c < 127; ++c) {
        const int cell = c - 30, cx = (cell % kColumns) * kCellWidth, cy = (cell / kColumns) * kCellHeight;
        const double limit = Advance(static_cast<unsigned char>(c)) - kMargin - kGap - 2 * rim;
        char text[2] = {static_cast<char>(c), 0};
        cairo_matrix_t m;
        cairo_matrix_init_scale(&m, size, size);
        cairo_set_font_matrix(cr, &m);
        cairo_text_extents_t e;
        cairo_text_extents(cr, text, &e);
        // Shrink a glyph that reaches above or below the room, about its baseline.
        double sy = 1.0;
        if (baseline + e.y_bearing < roomTop) sy = std::min(sy, (baseline - roomTop) / -e.y_bearing);
        if (baseline + e.y_bearing + e.height > roomBottom)
            sy = std::min(sy, (roomBottom - baseline) / (e.y_bearing + e.height));
        // A slightly extended face fills the fixed advances better; a glyph still
        // wider than its advance allows is narrowed to fit.
        double sx = sy * kExtend;
        if (e.width * sx > limit) sx = limit / e.width;
        cairo_matrix_init_scale(&m, size * sx, size * sy);
        cairo_set_font_matrix(cr, &m);
        cairo_text_extents(cr, text, &e);
        cairo_save(cr);
        cairo_rectangle(cr, cx, cy, kCellWidth, kCellHeight);
        cairo_clip(cr);
        cairo_new_path(cr);
        // The text routine spaces every glyph of a class alike, so each glyph is
        // centred in its advance: narrow letters do not leave ragged gaps.
        const double slack = std::max(0.0, limit - e.width);
        cairo_move_to(cr, cx + kMargin + rim + 0.5 + slack / 2 - e.x_bearing, cy + baseline);
        cairo_text_path(cr, text);
        if (style == Style::kWooden) {
            canvas.SetColour(palette::kInk);
            cairo_set_line_width(cr, 2 * rim);
            cairo_stroke_preserve(cr);
            canvas.SetImageSource(grain);
            cairo_fill_preserve(cr);
            // A light edge along the top of each stroke, as if carved.
            cairo_save(cr);
            cairo_clip_preserve(cr);
            cairo_translate(cr, 0, 1.2);
            canvas.SetColour(Colour(0.45, 0.30, 0.15, 0.45));
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            cairo_restore(cr);
            cairo_new_path(cr);
        } else {
            canvas.SetColour(Colour(0.1, 0.08, 0.06, 0.35));
            cairo_set_line_width(cr, 2 * rim);
            cairo_stroke_preserve(cr);
            canvas.SetColour(Colour(1, 1, 1));
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }

    cairo_font_options_destroy(options);
    cairo_set_font_face(cr, nullptr);
    cairo_font_face_destroy(fontFace);
    return canvas.ToImage(0, true);
}

#include "BitmapText.h"

namespace {

constexpr double kCellW = 63, kCellH = 42;

int Kerning(int g) {
    if (g >= 66 && g <= 92) return 30;
    if ((g >= 18 && g <= 27) || g == 2) return 35;
    return 20;
}

}  // namespace

BitmapText::BitmapText(const DecodedImage& font) : font_(font) {
    white_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, font.Width(), font.Height());
    cairo_surface_flush(white_);
    unsigned char* data = cairo_image_surface_get_data(white_);
    const int stride = cairo_image_surface_get_stride(white_);
    for (int y = 0; y < font.Height(); ++y)
        for (int x = 0; x < font.Width(); ++x) {
            const uint8_t* p = font.Rgba(x, y);
            uint32_t a = p[3];
            uint32_t r = p[0] * a / 255, g = p[1] * a / 255, b = p[2] * a / 255;
            reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    cairo_surface_mark_dirty(white_);
}

BitmapText::~BitmapText() { cairo_surface_destroy(white_); }

int BitmapText::Measure(const std::string& text, double scaleX) {
    int pen = 0;
    for (unsigned char c : text) pen = static_cast<int>(kCellW - scaleX * Kerning(static_cast<signed char>(c - 30)) + pen);
    return pen;
}

int BitmapText::Draw(cairo_t* cr, int x, int y, const std::string& text, const double colour[4], double scaleX,
                     double scaleY, double kerningScale) {
    if (kerningScale < 0) kerningScale = scaleX;
    const int perRow = static_cast<int>(font_.Width() / kCellW);
    // GL multiplies the glyph by the colour: here the glyph is multiplied by the
    // tint and masked back to its own alpha (exact where the glyph is opaque).
    int pen = 0;
    for (unsigned char c : text) {
        const int g = static_cast<signed char>(c - 30);
        const int row = g / perRow, column = g % perRow;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, scaleX, scaleY);
        cairo_rectangle(cr, pen, 0, kCellW, kCellH);
        cairo_clip(cr);
        cairo_push_group(cr);
        cairo_set_source_surface(cr, white_, pen - column * kCellW, -row * kCellH);
        cairo_paint(cr);
        // Multiply by the tint, keeping the glyph's alpha.
        cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
        cairo_set_source_rgba(cr, colour[0], colour[1], colour[2], 1.0);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_surface(cr, white_, pen - column * kCellW, -row * kCellH);
        cairo_paint(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, colour[3]);
        cairo_restore(cr);
        pen = static_cast<int>(kCellW - kerningScale * Kerning(g) + pen);
    }
    return pen;
}

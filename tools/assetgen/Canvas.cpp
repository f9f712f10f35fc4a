#include "Canvas.h"

#include <cmath>

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::SetColour(const Colour& c) { cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a); }

void Canvas::FillAndOutline(const Colour& fill, const Colour& ink, double lineWidth) {
    SetColour(fill);
    cairo_fill_preserve(cr_);
    SetColour(ink);
    cairo_set_line_width(cr_, lineWidth);
    cairo_stroke(cr_);
}

void Canvas::GradientFillAndOutline(double y0, const Colour& top, double y1, const Colour& bottom,
                                    const Colour& ink, double lineWidth) {
    SetLinearGradient(0, y0, 0, y1, {{0, top}, {1, bottom}});
    cairo_fill_preserve(cr_);
    SetColour(ink);
    cairo_set_line_width(cr_, lineWidth);
    cairo_stroke(cr_);
}

void Canvas::SetLinearGradient(double x0, double y0, double x1, double y1,
                               std::initializer_list<std::pair<double, Colour>> stops) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    for (const auto& [offset, c] : stops) cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, c.a);
    cairo_set_source(cr_, p);
    cairo_pattern_destroy(p);
}

void Canvas::SetRadialGradient(double cx, double cy, double r,
                               std::initializer_list<std::pair<double, Colour>> stops) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    for (const auto& [offset, c] : stops) cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, c.a);
    cairo_set_source(cr_, p);
    cairo_pattern_destroy(p);
}

void Canvas::SetImageSource(const Image& image, double x, double y) {
    cairo_surface_t* s = SurfaceFrom(image);
    cairo_set_source_surface(cr_, s, x, y);
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_REPEAT);
    cairo_surface_destroy(s);
}

void Canvas::RoundedRect(double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry) {
    cairo_save(cr_);
    cairo_translate(cr_, cx, cy);
    cairo_scale(cr_, rx, ry);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr_);
    cairo_restore(cr_);
}

Image Canvas::ToImage(int clearBorder, bool bleed) {
    Image image = Image::FromSurface(surface_);
    if (clearBorder > 0) image.ClearBorder(clearBorder);
    if (bleed) image.BleedColour();
    return image;
}

cairo_surface_t* Canvas::SurfaceFrom(const Image& image) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.Width(), image.Height());
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.Height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = image.Pixel(x, y);
            uint32_t a = p[3];
            uint32_t r = (p[0] * a + 127) / 255, g = (p[1] * a + 127) / 255, b = (p[2] * a + 127) / 255;
            row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

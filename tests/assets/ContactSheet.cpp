#include "ContactSheet.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BitmapText.h"

namespace {

void Checker(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int j = 0; j * 12 < h; ++j)
        for (int i = 0; i * 12 < w; ++i) {
            double v = (i + j) % 2 ? 0.80 : 0.68;
            cairo_set_source_rgb(cr, v, v, v * 1.02);
            cairo_rectangle(cr, x + i * 12, y + j * 12, 12, 12);
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

}  // namespace

bool ContactSheet::Write(const ScenePreview& preview, const std::string& pngPath) {
    struct Tile {
        const char* name;
        int span;  // tiles across
    };
    const std::vector<Tile> tiles = {
        {"MerchantShip", 1}, {"ramboat", 1}, {"minelayer", 1}, {"tower", 1}, {"flag", 1}, {"Cannon", 1},
        {"cannonball", 1}, {"mine", 1}, {"treasurechest", 1}, {"cloud", 1}, {"smoke", 1}, {"fireball", 1},
        {"splash", 1}, {"raindrop", 1}, {"fog", 1}, {"water", 1}, {"cursor", 1}, {"ui_health", 1},
        {"Nothing", 1}, {"ui_button_wood", 2}, {"scroll", 2}, {"sky", 2}, {"island2", 4},
        {"caribbeanfont_wood", 4}, {"caribbeanfont", 4},
    };
    const int tileW = kWidth / 8, tileH = 230, columns = 8;
    int rows = 0, used = columns;
    for (const Tile& t : tiles) {
        if (used + t.span > columns) {
            ++rows;
            used = 0;
        }
        used += t.span;
    }
    const int scenesH = 1200;
    const int height = scenesH + rows * tileH;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.16, 0.14, 0.13);
    cairo_paint(cr);

    const ScenePreview::Kind kinds[] = {ScenePreview::Kind::kMenu, ScenePreview::Kind::kPlay,
                                        ScenePreview::Kind::kShop, ScenePreview::Kind::kGhost};
    for (int i = 0; i < 4; ++i) {
        cairo_surface_t* frame = preview.Render(kinds[i]);
        cairo_set_source_surface(cr, frame, (i % 2) * 800, (i / 2) * 600);
        cairo_paint(cr);
        cairo_surface_destroy(frame);
    }

    BitmapText label(preview.Image("caribbeanfont"));
    const double ink[4] = {0.95, 0.92, 0.85, 1};
    int row = -1, column = columns;
    for (const Tile& t : tiles) {
        if (column + t.span > columns) {
            ++row;
            column = 0;
        }
        const double x = column * tileW, y = scenesH + row * tileH, w = t.span * tileW;
        const DecodedImage& image = preview.Image(t.name);
        const double boxW = w - 16, boxH = tileH - 40;
        Checker(cr, x + 8, y + 8, boxW, boxH);
        const double s = std::min({boxW / image.Width(), boxH / image.Height(), 4.0});
        cairo_surface_t* surface = ScenePreview::Surface(image);
        cairo_save(cr);
        cairo_translate(cr, x + 8 + (boxW - image.Width() * s) / 2, y + 8 + (boxH - image.Height() * s) / 2);
        cairo_scale(cr, s, s);
        cairo_set_source_surface(cr, surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), s > 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(surface);
        char text[96];
        std::snprintf(text, sizeof text, "%s %dx%d", t.name, image.Width(), image.Height());
        label.Draw(cr, static_cast<int>(x + 8), static_cast<int>(y + tileH - 28), text, ink, 0.34, 0.34, 1.0);
        column += t.span;
    }
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(sheet, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return ok;
}

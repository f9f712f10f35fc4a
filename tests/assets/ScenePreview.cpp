#include "ScenePreview.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "BitmapText.h"

namespace {

const char* const kNames[] = {
    "cursor", "caribbeanfont_wood", "caribbeanfont", "ui_button_wood", "ui_health", "island2", "water",
    "sky", "fog", "cloud", "raindrop", "smoke", "splash", "fireball", "MerchantShip", "ramboat",
    "minelayer", "mine", "treasurechest", "tower", "flag", "Cannon", "cannonball", "scroll", "Nothing",
};

// Sky colours of the scene set-up: living top, living bottom, ghost top, ghost bottom.
const double kLivingTop[3] = {0.8, 0.8, 1.0}, kLivingBottom[3] = {0.5, 0.7, 1.0};
const double kGhostTop[3] = {0.0, 0.25, 0.0}, kGhostBottom[3] = {0.31, 0.0, 0.15};

}  // namespace

cairo_surface_t* ScenePreview::Surface(const DecodedImage& image, double r, double g, double b, double a) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.Width(), image.Height());
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = image.Rgba(x, y);
            double al = p[3] / 255.0 * a;
            auto ch = [&](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * al * 255)); };
            uint32_t A = static_cast<uint32_t>(std::lround(al * 255));
            reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] =
                (A << 24) | (ch(p[0] / 255.0 * r) << 16) | (ch(p[1] / 255.0 * g) << 8) | ch(p[2] / 255.0 * b);
        }
    cairo_surface_mark_dirty(s);
    return s;
}

ScenePreview::ScenePreview(const std::string& dataDir) {
    for (const char* name : kNames) {
        auto image = std::make_unique<DecodedImage>(dataDir + "/images/" + name + ".tga");
        if (!image->Ok()) ok_ = false;
        images_[name] = std::move(image);
    }
}

const DecodedImage& ScenePreview::Image(const std::string& name) const { return *images_.at(name); }

void ScenePreview::Sprite(cairo_t* cr, const std::string& name, double x, double y, double sx, double sy,
                          double rotation, Tint tint, bool mirrored, bool additive) const {
    const DecodedImage& image = Image(name);
    cairo_surface_t* s = Surface(image, tint.r, tint.g, tint.b, tint.a);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, rotation * M_PI / 180);
    cairo_scale(cr, mirrored ? -sx : sx, sy);
    cairo_set_source_surface(cr, s, -image.Width() / 2.0, -image.Height() / 2.0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    if (additive) cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

void ScenePreview::Sky(cairo_t* cr, bool ghost) const {
    const DecodedImage& sky = Image("sky");
    const double* top = ghost ? kGhostTop : kLivingTop;
    const double* bottom = ghost ? kGhostBottom : kLivingBottom;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 800, 600);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < 600; ++y) {
        const double t = (y + 0.5) / 600.0;
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = sky.Rgba(x * sky.Width() / 800, y * sky.Height() / 600);
            uint32_t c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = static_cast<uint32_t>(std::lround(p[k] * (top[k] + (bottom[k] - top[k]) * t)));
            reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] =
                0xFF000000u | (c[0] << 16) | (c[1] << 8) | c[2];
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(s);
}

double ScenePreview::IslandTop(double x, bool raised) const {
    // Raised under the tower at x = 560 to one fifth of its height above its foot.
    if (!raised) return 575;
    const double d = std::abs(x - 560);
    return 575 - 155 * std::pow(std::clamp(1 - d / 190, 0.0, 1.0), 1.2);
}

void ScenePreview::Island(cairo_t* cr, bool raised) const {
    const DecodedImage& tex = Image("island2");
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 800, 600);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int x = 0; x < 800; ++x) {
        const double top = IslandTop(x, raised), vTop = top / 600;
        const double u = (x + 4500) / 9000.0;
        for (int y = static_cast<int>(std::ceil(top)); y < 600; ++y) {
            const double v = vTop + (y - top) / (800 - top) * (1 - vTop);
            const int tx = std::clamp(static_cast<int>(u * tex.Width()), 0, tex.Width() - 1);
            const int ty = std::clamp(static_cast<int>(v * tex.Height()), 0, tex.Height() - 1);
            const uint8_t* p = tex.Rgba(tx, ty);
            reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] =
                0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2];
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(s);
    // The island's black outline along its top edge.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 5);
    for (int x = 0; x <= 800; x += 10) {
        if (x == 0) cairo_move_to(cr, x, IslandTop(x, raised));
        else cairo_line_to(cr, x, IslandTop(x, raised));
    }
    cairo_stroke(cr);
}

void ScenePreview::Sea(cairo_t* cr, double surface, double lineWidth, double depth, bool ghost, double phase) const {
    const uint8_t* t = Image("water").Rgba(0, 0);
    const double g = ghost ? depth * 0.5 + 0.3 : 1.0, b = ghost ? 0.5 : 1.0;
    const double r0 = t[0] / 255.0, g0 = t[1] / 255.0 * g, b0 = t[2] / 255.0 * b, a0 = t[3] / 255.0;
    auto wave = [&](double x) { return surface + 3 * std::sin(x / 47.0 + phase) + 2 * std::sin(x / 19.0 + 2 * phase); };
    cairo_new_path(cr);
    cairo_move_to(cr, 0, wave(0));
    for (int x = 10; x <= 800; x += 10) cairo_line_to(cr, x, wave(x));
    cairo_line_to(cr, 800, surface + 300);
    cairo_line_to(cr, 0, surface + 300);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, surface, 0, surface + 300);
    cairo_pattern_add_color_stop_rgba(p, 0, r0, g0, b0, a0 * 0.95);
    cairo_pattern_add_color_stop_rgba(p, 1, r0, g0, b0, a0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    if (ghost && depth > 0.5) return;  // a frozen sea draws no line
    cairo_move_to(cr, 0, wave(0));
    for (int x = 10; x <= 800; x += 10) cairo_line_to(cr, x, wave(x));
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void ScenePreview::Text(cairo_t* cr, const std::string& font, int x, int y, const std::string& text,
                        const double colour[4], double scale) const {
    BitmapText bitmap(Image(font));
    bitmap.Draw(cr, x, y, text, colour, scale, scale);
}

void ScenePreview::Label(cairo_t* cr, const std::string& font, const std::string& text, double cx, double cy,
                         double w, double h, const double colour[4], double textScale) const {
    // The button's label rule: centred on the face by the unscaled width, never
    // starting left of the face, top at the face's middle less half a cell.
    const double left = cx - w / 2, top = cy - h / 2;
    const int width = BitmapText::Measure(text, textScale);
    double x = (w - width) * 0.5 + left;
    if (left > x) x = left;
    const double y = (h - 42) * 0.5 + top;
    BitmapText bitmap(Image(font));
    bitmap.Draw(cr, static_cast<int>(x), static_cast<int>(y), text, colour, textScale, textScale);
}

cairo_surface_t* ScenePreview::Render(Kind kind) const {
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 800, 600);
    cairo_t* cr = cairo_create(target);
    const bool ghost = kind == Kind::kGhost;
    const double white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
    Sky(cr, ghost);
    Sea(cr, 430, 3, 0.1, ghost, 1.3);
    Island(cr, kind != Kind::kMenu);

    const DecodedImage& ship = Image("MerchantShip");
    const double shipY = 450 - ship.Height() * 0.23 / 2;
    const double cannonY = shipY + Image("Cannon").Height() * 0.15 * 0.5;
    const double towerY = 375, towerTop = towerY - Image("tower").Height() * 0.3 / 2;
    const double fade = ghost ? 0.45 : 1.0;

    if (kind != Kind::kMenu) {
        // Tower with its flag behind and its gun behind it, aiming at the player.
        Sprite(cr, "flag", 560, towerY - 80, 0.4, 0.4, 0, {1, 1, 1, fade}, false);
        Sprite(cr, "Cannon", 560, towerTop + 20, 0.35, 0.25, -150, {1, 1, 1, 1}, false);
        Sprite(cr, "tower", 560, towerY, 0.3, 0.3, 0, {1, 1, 1, ghost ? 0.5 : 1}, false);
        // The player's ship (red) with its gun behind it; an enemy ship facing left.
        Sprite(cr, "Cannon", 300, cannonY, 0.15, 0.15, -35, {1, 1, 1, 1}, false);
        Sprite(cr, "MerchantShip", 300, shipY, 0.21, 0.23, -2, {1, 0.5, 0.5, ghost ? 0.4 : 1}, false);
        Sprite(cr, "Cannon", 715, cannonY, 0.15, 0.15, -150, {1, 1, 1, 1}, false);
        if (ghost) {
            // A wreck risen as a ghost: tinted and half as large again.
            Sprite(cr, "MerchantShip", 715, 450 - ship.Height() * 0.23 * 1.5 / 2, 0.315, 0.345, 1,
                   {0.2, 0.8, 0.2, 1}, true);
            Sprite(cr, "minelayer", 110, 450 - Image("minelayer").Height() * 0.2 / 2, 0.2, 0.2, 0,
                   {0.1, 0.9, 0.9, 0.9}, false);
        } else {
            Sprite(cr, "MerchantShip", 715, shipY, 0.21, 0.23, 1, {1, 1, 1, 1}, true);
            Sprite(cr, "ramboat", 120, 450 - Image("ramboat").Height() * 0.5 / 2, 0.5, 0.5, -1, {1, 1, 1, 1},
                   false);
            Sprite(cr, "mine", 430, 450 - 8, 0.05, 0.05, 0, {1, 1, 1, 1}, false);
            Sprite(cr, "treasurechest", 200, 450 - Image("treasurechest").Height() * 0.25 / 2, 0.25, 0.25, 3,
                   {1, 1, 1, 1}, false);
            Sprite(cr, "cannonball", 440, 300, 0.1, 0.1, 0, {1, 1, 1, 1}, false);
            Sprite(cr, "cannonball", 650, 220, 0.1, 0.1, 0, {1, 1, 1, 1}, false);
            // Wake behind the player, muzzle smoke at the tower, a fire on the enemy.
            for (int i = 0; i < 8; ++i)
                Sprite(cr, "splash", 250 + i * 6, 440 - (i % 3) * 5, 0.18, 0.18, 0, {1, 1, 1, 1 - i * 0.1}, false);
            for (int i = 0; i < 5; ++i)
                Sprite(cr, "smoke", 520 - i * 9, towerTop + 10 - i * 6, 0.15 + i * 0.05, 0.15 + i * 0.05, 0,
                       {0.6, 0.6, 0.6, 0.35}, false);
            for (int i = 0; i < 6; ++i)
                Sprite(cr, "smoke", 700 + i * 5, 380 - i * 14, 0.2 + i * 0.07, 0.2 + i * 0.07, 0,
                       {0.45, 0.45, 0.45, 0.4}, false);
            for (int i = 0; i < 9; ++i)
                Sprite(cr, "fireball", 690 + (i % 3) * 14, 420 - (i / 3) * 12, 0.5 - i * 0.03, 0.5 - i * 0.03, 0,
                       {1, 1, 1, 0.7}, false, true);
            for (int i = 0; i < 12; ++i)
                Sprite(cr, "raindrop", 410 + (i * 37) % 60, 400 - (i * 23) % 50, 0.3, 0.3, 0, {1, 1, 1, 1}, false);
        }
    }
    Sea(cr, 450, 7, 0.7, ghost, 0.0);
    if (!ghost) Sprite(cr, "cloud", 660, 90, 0.55, 0.55, 0, {1, 1, 1, 1}, false);

    if (kind == Kind::kMenu) {
        const double title[4] = {0.9, 0.9, 0.5, 1};
        Text(cr, "caribbeanfont_wood", 50, 75, "Brinegate", title, 1.3);
        Sprite(cr, "ui_button_wood", 220, 200, 1, 1, 0, {1, 1, 1, 1}, false);  // hovered: eased right
        Label(cr, "caribbeanfont_wood", "Play!", 220, 200, 280, 56, white, 1.0);
        Sprite(cr, "ui_button_wood", 200, 270, 1, 1, 0, {1, 1, 1, 1}, false);
        Label(cr, "caribbeanfont_wood", "Options", 200, 270, 280, 56, white, 1.0);
        Sprite(cr, "ui_button_wood", 200, 340, 1, 1, 0, {1, 1, 1, 1}, false);
        Label(cr, "caribbeanfont_wood", "Quit", 200, 340, 280, 56, white, 1.0);
    } else {
        // Life bar: dimmed full length behind, 70 % in front, cropped on the right.
        Sprite(cr, "ui_button_wood", 145, 15, 1, 0.5, 0, {0.5, 0.5, 0.5, 0.5}, false);
        cairo_save(cr);
        cairo_rectangle(cr, 5, 0, 280 * 0.7, 40);
        cairo_clip(cr);
        Sprite(cr, "ui_button_wood", 145, 15, 1, 0.5, 0, {1, 1, 1, 1}, false);
        cairo_restore(cr);
        Text(cr, "caribbeanfont_wood", 10, 2, "Life", white, 0.7);
        Sprite(cr, "ui_button_wood", 100, 50, 0.7, 0.7, 0, {1, 1, 1, 1}, false);
        Label(cr, "caribbeanfont_wood", "Gold 120", 100, 50, 196, 39.2, white, 0.6);
        if (kind == Kind::kPlay) Text(cr, "caribbeanfont_wood", 200, 200, "Level 1", black, 1.0);
        if (ghost) {
            const double red[4] = {0.7, 0.1, 0.1, 1};
            Text(cr, "caribbeanfont_wood", 10, 70, "Tap 'R'!!", red, 0.6);
        }
    }
    if (kind == Kind::kShop) {
        Sprite(cr, "scroll", 400, 175, 1, 0.5, 0, {1, 1, 1, 1}, false);
        const DecodedImage& nothing = Image("Nothing");
        const double bw = nothing.Width() * 40, bh = nothing.Height() * 5;
        const struct { const char* text; double x, y; bool hover; } lines[] = {
            {"Gunpower:10", 430, 100, false}, {"Speed:12", 475, 150, true},
            {"Strength:15", 430, 200, false}, {"Reload Rate:1837", 400, 250, false}};
        for (const auto& l : lines) Label(cr, "caribbeanfont", l.text, l.x, l.y, bw, bh, l.hover ? white : black, 0.5);
    }
    if (ghost) Sprite(cr, "fog", 400, 300, 8.5, 4, 0, {1, 1, 1, 1}, false);
    Sprite(cr, "cursor", 520, 260, 1, 1, 0, {1, 1, 1, 1}, false);
    cairo_destroy(cr);
    return target;
}

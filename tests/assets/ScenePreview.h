#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <string>

#include "DecodedImage.h"

// Puts the generated images together the way the game draws them, at the game's
// positions, scales, colours and depth order, so a person can judge whether the
// art reads as one world at 800 x 600.
class ScenePreview {
public:
    enum class Kind { kPlay, kMenu, kShop, kGhost };

    explicit ScenePreview(const std::string& dataDir);
    const DecodedImage& Image(const std::string& name) const;
    bool Ok() const { return ok_; }

    // The image times a colour, premultiplied, as GL's colour modulates the
    // texture; the caller destroys the surface.
    static cairo_surface_t* Surface(const DecodedImage& image, double r = 1, double g = 1, double b = 1,
                                    double a = 1);

    // An 800 x 600 frame; the caller destroys the surface.
    cairo_surface_t* Render(Kind kind) const;

private:
    struct Tint {
        double r = 1, g = 1, b = 1, a = 1;
    };
    void Sprite(cairo_t* cr, const std::string& name, double x, double y, double sx, double sy,
                double rotation, Tint tint, bool mirrored, bool additive = false) const;
    void Sky(cairo_t* cr, bool ghost) const;
    void Island(cairo_t* cr, bool raised) const;
    void Sea(cairo_t* cr, double surface, double lineWidth, double depth, bool ghost, double phase) const;
    void Label(cairo_t* cr, const std::string& font, const std::string& text, double cx, double cy,
               double w, double h, const double colour[4], double textScale) const;
    void Text(cairo_t* cr, const std::string& font, int x, int y, const std::string& text, const double colour[4],
              double scale) const;
    double IslandTop(double x, bool raised) const;

    std::map<std::string, std::unique_ptr<DecodedImage>> images_;
    bool ok_ = true;
};

#pragma once

#include <cairo.h>

#include <initializer_list>
#include <utility>

#include "Colour.h"
#include "Image.h"

// A Cairo drawing surface with the few shape and paint helpers the painters share.
// Coordinates are image pixels, y down.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() { return cr_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void SetColour(const Colour& c);
    // Fills the current path with a colour, then outlines it with ink; the path is consumed.
    void FillAndOutline(const Colour& fill, const Colour& ink, double lineWidth);
    // Fills the current path with a vertical gradient from top to bottom colour, then outlines it.
    void GradientFillAndOutline(double y0, const Colour& top, double y1, const Colour& bottom,
                                const Colour& ink, double lineWidth);
    // Sets a linear gradient source through the given (offset, colour) stops.
    void SetLinearGradient(double x0, double y0, double x1, double y1,
                           std::initializer_list<std::pair<double, Colour>> stops);
    void SetRadialGradient(double cx, double cy, double r,
                           std::initializer_list<std::pair<double, Colour>> stops);
    // Uses an image as the source, its top-left at (x, y), repeating.
    void SetImageSource(const Image& image, double x = 0, double y = 0);

    void RoundedRect(double x, double y, double w, double h, double r);
    void Ellipse(double cx, double cy, double rx, double ry);

    // The picture with straight alpha. A transparent border keeps repeating and
    // mipmapped textures from wrapping colour across edges; bleeding gives the
    // transparent texels the colour of their visible neighbours.
    Image ToImage(int clearBorder = 2, bool bleed = true);

    // A Cairo surface holding the image, premultiplied; the caller destroys it.
    static cairo_surface_t* SurfaceFrom(const Image& image);

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

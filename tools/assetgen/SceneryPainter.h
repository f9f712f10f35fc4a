#pragma once

#include "Canvas.h"
#include "Image.h"
#include "Rng.h"

// The backdrop and the land and sea: sky, fog, cloud, water and island.
class SceneryPainter {
public:
    // 800 x 600, opaque: drawn once over the window and multiplied by the sky's
    // four vertex colours, so it is kept light (the colours make it blue by day
    // and green and purple in the ghost sea).
    Image Sky() const;
    // 128 x 256, tileable both ways: it scrolls and is stretched (8.5, 4) over the window.
    Image Fog() const;
    // 400 x 240: a white cumulus that the cloud darkens while it rains.
    Image Cloud() const;
    // 16 x 16 of one colour: every sea vertex samples texel (0, 0), and a uniform
    // picture keeps linear filtering across the wrapped edges from changing it.
    Image Water() const;
    // 2048 x 600, opaque: stretched once along the 9000-pixel island; row y is
    // where the island's top edge shows at world y, so low rows are seabed.
    Image Island() const;

    // A cumulus of overlapping lumps in the given box, shaded darker underneath.
    static void PaintCumulus(Canvas& canvas, Rng& rng, double x, double y, double w, double h,
                             double bodyAlpha);
};

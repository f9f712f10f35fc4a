#pragma once

#include <vector>

#include "Backdrop.h"
#include "ComplexSprite.h"

// An opaque screen-space backdrop covering the whole picture (the sky). Once it has
// been drawn the same way on two frames running, the renderer has it drawn alone on
// the cleared picture and copied into a texture of the viewport's size; from then on
// the copy is drawn texel for pixel in its place, until anything it is drawn with
// changes. The copy is what the backdrop drew, so the picture stays the same, and
// the copy spares the modulation of its texture by its colours on every pixel.
class CachedBackdrop : public ComplexSprite, public Backdrop {
public:
    CachedBackdrop();
    ~CachedBackdrop() override;

    void Draw() override;
    // Right after the frame's clear: makes the copy when it is due.
    void BakeIfSteady() override;
    bool HoldsCopy() const override { return !baked_.empty(); }

private:
    // Everything the drawn picture depends on; empty when the copy cannot stand in.
    std::vector<float> Key() const;
    void DrawCopy();

    std::vector<float> baked_;      // the key of the copy held
    std::vector<float> lastDrawn_;  // the key of the last draw the long way
    int steadyDraws_ = 0;           // draws in a row with that key
    unsigned copy_ = 0;             // GL texture name
    bool unsupported_ = false;      // no textures of the viewport's size here
};

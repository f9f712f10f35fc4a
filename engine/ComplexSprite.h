#pragma once

#include <vector>

#include "Box.h"
#include "GL.h"
#include "Renderable.h"

// Arbitrary vertex arrays filled by the owner (water, sky, island, particles).
class ComplexSprite : public Renderable {
public:
    ComplexSprite() = default;
    ~ComplexSprite() override;

    void UpdateCorners() override;
    void Draw() override;
    void SetImage(const std::string& name) override;
    void SetDepth(float d) override;
    float GetDepth() override;
    float GetWidth() override { return corners[kBottomRight].x - corners[kTopLeft].x; }
    float GetHeight() override { return corners[kBottomRight].y - corners[kTopLeft].y; }

    // Allocates the arrays for count vertices; colours and texture coordinates on request.
    void Allocate(int count, bool withColours, bool withTexCoords);
    // Draws at once a line through every other vertex from the first: the top edge of
    // a strip laid out in top and bottom pairs. Untextured, alpha blended, in one colour,
    // `width` pixels wide and smoothed on request; moved by the position only.
    void DrawTopEdge(const float colour[4], float width, bool smooth) const;

protected:
    // Transform, client arrays and the draw call, after texture and blend are set.
    // Draws the first `count` vertices (all of them when count is negative).
    void DrawArrays(int count = -1);
    // The state DrawArrays sets up around its draw call, for drawers of their own.
    void BeginArrays();
    void EndArrays();

private:
    void DrawOneTexel();
    std::vector<float> folded_;  // colours times the sampled colour, RGBA per vertex

public:
    uint32_t primitive = GL_TRIANGLE_STRIP;
    // Set by owners whose texture coordinates are all (0, 0): every pixel shows the
    // one colour sampled there times the colours, so the strip is drawn untextured
    // with the two multiplied beforehand, for about a third less fill.
    bool oneTexel = false;
    float* colours = nullptr;   // RGBA per vertex, or null
    float* vertices = nullptr;  // x, y, z per vertex
};

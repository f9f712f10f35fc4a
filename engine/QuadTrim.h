#pragma once

#include <cstdint>

#include "BlendMode.h"

struct Texture;

// Cuts a textured quad down to the part of its texture that can show (Texture::shown),
// moving the texture coordinates with the edges, so that the pixels left out are those
// that would have blended in nothing. Which mipmap levels a quad can sample follows from
// its size on screen, taken from the matrices in force when Begin is called.
class QuadTrim {
public:
    // Whether quads of this texture drawn now, with this blend mode, may be cut: only
    // with the renderer's shortcuts on, and where a texel of alpha 0 blends in nothing.
    bool Begin(const Texture* texture, BlendMode blendMode);
    // The part (s0, t0, s1, t1, in texture coordinates) of the texture that can show in a
    // quad w by h units (before the matrices) whose texture coordinates span spanS by
    // spanT; s0 > s1 when nothing can.
    const float* Shown(float w, float h, float spanS, float spanT) const;

private:
    const Texture* texture_ = nullptr;
    float texelsPerUnit_ = 0.0f;  // most texels a pixel can cover, per texel of the quad's span
};

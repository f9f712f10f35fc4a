#pragma once

#include <cstdint>

// How a drawing mixes with what is already on the screen.
enum class BlendMode : uint32_t {
    kOpaque = 0,     // no blending
    kAlpha = 1,      // ordinary transparency
    kAdditive = 2,   // adds light: overlapping flames glow
    kDestAlpha = 3,  // weighted by the alpha already on the screen
    // Any higher value leaves the blend state as it was.
};

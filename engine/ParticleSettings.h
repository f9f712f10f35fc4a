#pragma once

#include <cstdint>

#include "Vec2.h"

// Writes an RGBA colour into one of the settings' four-float colours.
inline void SetRgba(float* dst, float r, float g, float b, float a) {
    dst[0] = r;
    dst[1] = g;
    dst[2] = b;
    dst[3] = a;
}

// A base value and the most a particle may differ from it either way.
struct ParticleRange {
    float base = 0.0f;
    float spread = 0.0f;
};

struct ParticleRange2 {
    Vec2 base;
    Vec2 spread;
};

// Filled by the owner and copied by ParticleSystem::Setup. World pixels and seconds.
struct ParticleSettings {
    uint8_t continuous = 0;  // 1: dead particles are emitted again
    int32_t count = 0;       // particles in the pool
    // Only the top-left and bottom-right corners are read. Starts as the empty box.
    Vec2 emitterBox[4] = {Vec2(1e6f, 1e6f), Vec2(-1e6f, 1e6f), Vec2(1e6f, -1e6f),
                          Vec2(-1e6f, -1e6f)};
    float z = 0.0f;  // depth of every particle vertex
    float startColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float endColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    ParticleRange2 velocity;      // pixels per second
    ParticleRange2 acceleration;  // pixels per second squared
    ParticleRange2 size;          // multiples of the texture's width and height
    Vec2 sizeGrowth;              // added to the size per second
    ParticleRange rotation;       // kept and advanced, never drawn
    float spin = 0.0f;            // added to the rotation per second
    ParticleRange lifetime;       // seconds
};

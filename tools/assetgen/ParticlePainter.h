#pragma once

#include "Image.h"

// Particle pictures. Each is stretched over a whole particle quad and tinted by
// the emitter's colours, so they are soft, light shapes that fade to transparent
// well inside the picture's edge.
class ParticlePainter {
public:
    // 16 x 32: a falling drop; rain draws it at (0.5, 1.0), splashes at about 0.3.
    Image Raindrop() const;
    // 128 x 128: a soft grey puff that grows from 0.1 to about 0.7 of its size.
    Image Smoke() const;
    // 64 x 64: a blob of foam for a ship's wake, drawn at 0.05 to 0.25.
    Image Splash() const;
    // 64 x 64: a glowing ball of flame, additive in fires, tinted dark for muzzle smoke.
    Image Fireball() const;
};

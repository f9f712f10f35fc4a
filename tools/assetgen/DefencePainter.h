#pragma once

#include "Image.h"

// Towers, their flags and guns, and what guns and ships leave in the water.
class DefencePainter {
public:
    // 256 x 512 at scale 0.3: 77 x 154 on screen. An open gun platform at the top
    // (the cannon sits 20 pixels below the top edge, behind the tower), and a rocky
    // footing in the bottom fifth, the part the island rises to meet.
    Image Tower() const;
    // 160 x 200 at scale 0.4: 64 x 80. The pole is on the centre line, the cloth
    // flies to the right; light cloth so the capturer's colour tints it.
    Image Flag() const;
    // 200 x 64: the barrel lies along the centre line pointing to +x, trunnions near
    // the centre (the sprite turns about its centre). 30 x 10 on ships (0.15),
    // 70 x 16 on towers (0.35, 0.25).
    Image Cannon() const;
    // 80 x 80 at scale 0.1: an 8-pixel iron ball.
    Image Cannonball() const;
    // 320 x 320 at scale 0.05: a 16-pixel horned sea mine.
    Image Mine() const;
    // 128 x 100 at 0.1 to 0.4: 13 to 51 pixels wide, bigger for more gold.
    Image TreasureChest() const;
};

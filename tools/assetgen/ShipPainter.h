#pragma once

#include "Image.h"

// The three ship types, all facing right (the game mirrors them when they sail
// left), each with its keel on the bottom edge: the game sets the sprite's bottom
// edge on the mean water line.
class ShipPainter {
public:
    // 512 x 400 at (0.21, 0.23): 108 x 92 on screen. The deck rail runs just below
    // the centre, where the ship's cannon pivots behind the hull, and the sails
    // leave a gap above it for the barrel.
    Image MerchantShip() const;
    // 160 x 80 at 0.5: 80 x 40. A low boat with an iron ram at the bow.
    Image RamBoat() const;
    // 440 x 300 at 0.2: 88 x 60. A broad barge with mines on deck and a davit astern.
    Image MineLayer() const;
};

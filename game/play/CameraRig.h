#pragma once

#include "Vec2.h"

class MerchantShip;

// How the camera frames the player's ship: it follows the ship along the sea, stops
// short of the ends where the ship comes round the other side, and stretches as the
// ship is steered fast.
class CameraRig {
public:
    // `topLeft` is the camera's corner at the frame's start.
    static void Follow(MerchantShip& ship, Vec2 topLeft);
    // Set before the ship is steered this frame: the stretch follows its speed so far.
    static void Zoom(const MerchantShip& ship, bool steering);
};

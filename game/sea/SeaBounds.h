#pragma once

#include <cstdint>

// The sea along x, in world pixels, centred on 0: the seas and the island reach from
// -kHalfWidth to kHalfWidth, and play keeps well inside that.
struct SeaBounds {
    static constexpr int32_t kHalfWidth = 4500;  // where the seas and the island begin and end
    static constexpr int32_t kWrapX = 4400;      // a ship beyond it comes round the other side,
    static constexpr int32_t kWrapToX = 4350;    // at this distance from the centre
    static constexpr int32_t kFollowX = 4100;    // the camera stops following the ship beyond it
    static constexpr int32_t kRippleX = 4000;    // the sea ripples by itself within it during play
    // Towers stand within this distance of the centre, short of where the player's ship
    // wraps around (kWrapX), so every tower can be reached and taken.
    static constexpr int32_t kTowerReach = 4300;
    static_assert(kFollowX < kWrapToX && kWrapToX < kWrapX && kWrapX < kHalfWidth,
                  "a ship that comes round must land inside the wrap and beyond the camera's stop");
    static_assert(kTowerReach < kWrapX, "every tower must stand where the player's ship can reach it");
};

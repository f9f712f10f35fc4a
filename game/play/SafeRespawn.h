#pragma once

#include "List.h"
#include "sea/SeaBounds.h"

class MerchantShip;
class Tower;

// The safe respawn, an assist: a new player's ship comes back where no enemy is near,
// and is spared for a moment. Without it (the game's own rule) the ship always comes
// back at (450, 0), which from level 2 on is often among a hostile tower's fleet.
class SafeRespawn {
public:
    // Where a new ship has always appeared; used whenever it has room.
    static constexpr float kHomeX = 450.0f;
    // A hostile tower this near (horizontally) can shoot the ship: its gun reaches
    // about 333 pixels, and the ship is some 100 wide.
    static constexpr float kTowerNear = 500.0f;
    // A hostile ship this near reaches the ship soon after its grace: merchant ships
    // close in at up to about 180 pixels a second and shoot from 333, ram boats charge
    // from 200 to 350.
    static constexpr float kShipNear = 1500.0f;
    // A mine this near would be touched at once.
    static constexpr float kMineNear = 120.0f;
    // Places are tried this far apart, outward from home, and never past where the
    // view stops following (short of where the ship wraps round).
    static constexpr float kStep = 50.0f;
    static constexpr float kBound = SeaBounds::kFollowX;
    // Seconds the new ship is spared; a shot of its own ends them.
    static constexpr float kGraceSeconds = 3.0f;

    // Where a new ship goes: home when it has room, else the nearest place along the
    // sea that has room, else the place farthest from every enemy.
    static float ChooseX(const List<Tower*>& towers);
    // How far a place is from the nearest enemy, each kind measured against its own
    // "near" (so 0 or less means no room there).
    static float Room(float x, const List<Tower*>& towers);
    // Moves a ship just made to the chosen place and starts its grace.
    static void Place(MerchantShip& ship, const List<Tower*>& towers);
};

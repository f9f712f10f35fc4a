#pragma once

#include <cstdint>

// Something that happened in the world, told to the player's aids (the popups, the
// records, the pad's rumble) where it happens. It is no game state: nothing of the game
// reads it back, and the state digest and the trace log never see it.
struct GameEvent {
    enum class Kind : uint8_t {
        kGoldIn,      // a ship's purse grew by `amount`
        kGoldOut,     // a ship paid `amount`
        kHit,         // a ship lost health to a ball, a ram or a mine
        kSunk,        // a ship began to sink, spilling `amount` gold as chests
        kChestTaken,  // a ship took a chest's gold
        kTowerTaken,  // a tower went over to the player's side
        kTowerLost,   // a tower of the player's went back to the enemy
        kPurchase,    // a ship bought an upgrade for `amount`
    };

    Kind kind;
    uint64_t subject = 0;   // serial of the ship, or of the tower
    int64_t amount = 0;
    bool byPlayer = false;  // kSunk: a hostile ship sunk by a ball of the player's
};

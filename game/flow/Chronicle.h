#pragma once

#include <cstdint>
#include <unordered_set>

#include "List.h"
#include "Popups.h"
#include "Records.h"

class MerchantShip;
class Tower;

// Follows one game, from "Play!" on, for its record and for the hints: what the player
// did, read from the world without changing it.
class Chronicle {
public:
    struct Events {
        bool towerTaken = false;
        bool chestTaken = false;
    };

    // One frame of play, before the level logic (which clears a level's towers once all
    // are taken). `change` is what the ship gained and lost since the last look.
    Events Watch(const List<Tower*>& towers, int32_t level, const MerchantShip* ship, const ShipChange& change,
                 float dt);
    // Gold that came in outside the world's pass ('M').
    void Gathered(int32_t gold) { record_.gold += gold; }
    const GameRecord& Record() const { return record_; }

private:
    GameRecord record_;
    int32_t level_ = 0;
    int taken_ = 0;  // towers of this level the player holds
    double seconds_ = 0.0;
    std::unordered_set<uint64_t> sinking_;  // hostile ships already counted
};

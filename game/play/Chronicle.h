#pragma once

#include <cstdint>
#include <unordered_set>

#include "List.h"
#include "aids/Popups.h"
#include "store/Records.h"

class MerchantShip;
class Tower;

// Follows one game, from "Play!" on, for its record and for the hints: what the player
// did, read from the world without changing it.
class Chronicle {
public:
    struct Events {
        bool towerTaken = false;  // by the player's ship, the first time this level
        bool towerLost = false;   // a tower the player held went back to the enemy
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
    // Counts the towers the player's ship took (each once a level) and those lost.
    void WatchTowers(const List<Tower*>& towers, Events& events);

    int32_t level_ = 0;
    std::unordered_set<uint64_t> counted_;  // towers of this level the player has taken
    std::unordered_set<uint64_t> held_;     // towers of this level the player held at the last look
    double seconds_ = 0.0;
    std::unordered_set<uint64_t> sinking_;  // hostile ships already counted
};

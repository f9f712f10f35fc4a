#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "objects/GameEvent.h"
#include "store/Records.h"

// Follows one game, from "Play!" on, for its record and for the hints: what the player
// did, as the world tells it (GameEvents), never changing it.
class Chronicle {
public:
    // What this frame's events meant for the hints.
    struct Events {
        bool towerTaken = false;  // by the player's ship, the first time this level
        bool towerLost = false;   // a tower the player held went back to the enemy
        bool chestTaken = false;  // by the player's ship
        bool bought = false;      // an upgrade, by the player's ship
    };

    // One frame of play at `level`, before the level logic (which clears a level's towers
    // once all are taken).
    void Tick(int32_t level, float dt);
    // Counts what happened; `playerShip` is the serial of the player's ship (0: none).
    Events Hear(const std::vector<GameEvent>& events, uint64_t playerShip);
    const GameRecord& Record() const { return record_; }

private:
    GameRecord record_;
    int32_t level_ = 0;
    std::unordered_set<uint64_t> counted_;  // towers of this level the player has taken
    double seconds_ = 0.0;
};

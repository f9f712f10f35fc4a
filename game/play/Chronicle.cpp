#include "play/Chronicle.h"

#include <algorithm>
#include <cmath>

void Chronicle::Tick(int32_t level, float dt) {
    if (level != level_) {
        // A new level brings new towers, none of them taken.
        level_ = level;
        counted_.clear();
    }
    record_.level = std::max(record_.level, level);
    seconds_ += dt;
    record_.seconds = static_cast<int64_t>(std::floor(seconds_));
}

Chronicle::Events Chronicle::Hear(const std::vector<GameEvent>& events, uint64_t playerShip) {
    Events heard;
    for (const GameEvent& event : events) {
        const bool ours = playerShip != 0 && event.subject == playerShip;
        switch (event.kind) {
            case GameEvent::Kind::kTowerTaken:
                if (counted_.insert(event.subject).second) {
                    ++record_.towers;
                    heard.towerTaken = true;
                }
                break;
            case GameEvent::Kind::kTowerLost:
                ++record_.lost;
                heard.towerLost = true;
                break;
            // A hostile ship counts once, as it starts to sink under a ball of the player's
            // (ships rammed, mined or shot by a tower are not the player's doing).
            case GameEvent::Kind::kSunk:
                if (event.byPlayer) ++record_.ships;
                break;
            case GameEvent::Kind::kGoldIn:
                if (ours) record_.gold += event.amount;
                break;
            case GameEvent::Kind::kChestTaken:
                heard.chestTaken = heard.chestTaken || ours;
                break;
            case GameEvent::Kind::kPurchase:
                heard.bought = heard.bought || ours;
                break;
            default:
                break;
        }
    }
    return heard;
}

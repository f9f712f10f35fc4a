#include "play/Chronicle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Box.h"
#include "Renderable.h"
#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "ships/MerchantShip.h"
#include "ships/TreasureChest.h"

namespace {

bool Overlap(const Vec2* a, const Vec2* b) {
    return a[kTopLeft].x <= b[kBottomRight].x && b[kTopLeft].x <= a[kBottomRight].x &&
           a[kTopLeft].y <= b[kBottomRight].y && b[kTopLeft].y <= a[kBottomRight].y;
}

}  // namespace

void Chronicle::WatchTowers(const List<Tower*>& towers, Events& events) {
    std::unordered_set<uint64_t> held;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        const Tower* tower = *it;
        const uint64_t serial = tower->Serial();
        if (tower->team == GameObj::kPlayerSide) {
            held.insert(serial);
            if (tower->takenByPlayer && counted_.insert(serial).second) {
                ++record_.towers;
                events.towerTaken = true;
            }
        } else if (held_.count(serial)) {
            ++record_.lost;
            events.towerLost = true;
        }
    }
    held_ = std::move(held);
}

Chronicle::Events Chronicle::Watch(const List<Tower*>& towers, int32_t level, const MerchantShip* ship,
                                   const ShipChange& change, float dt) {
    Events events;
    if (level != level_) {
        // A new level brings new towers, none of them taken.
        level_ = level;
        counted_.clear();
        held_.clear();
    }
    record_.level = std::max(record_.level, level);
    WatchTowers(towers, events);

    record_.gold += change.gained;
    seconds_ += dt;
    record_.seconds = static_cast<int64_t>(std::floor(seconds_));

    // A hostile ship counts once, when it starts to sink under a ball of the player's
    // (ghosts healed out of the sea sink too, and are no loss to anyone; ships rammed,
    // mined or shot by a tower are not the player's doing).
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* object = *it;
        if (object->team == GameObj::kPlayerSide || object->state != Life::kSinking ||
            object->realm == GameObj::kGhostRealm)
            continue;
        const auto* sinking = dynamic_cast<Ship*>(object);
        if (!sinking || !sinking->sunkByPlayer) continue;
        if (sinking_.insert(object->Serial()).second) ++record_.ships;
    }
    for (auto it = sinking_.begin(); it != sinking_.end();)
        it = GameObj::IsAlive(*it) ? std::next(it) : sinking_.erase(it);

    // Gold came in while an emptied chest touches the ship: the ship took it.
    if (change.gained > 0 && ship && ship->renderable) {
        for (auto it = goManager.objects.Begin(); !it.AtEnd() && !events.chestTaken; ++it) {
            auto* chest = dynamic_cast<TreasureChest*>(*it);
            if (chest && chest->value == 0.0f && chest->renderable &&
                Overlap(chest->renderable->corners, ship->renderable->corners))
                events.chestTaken = true;
        }
    }
    return events;
}

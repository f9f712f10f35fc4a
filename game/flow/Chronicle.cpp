#include "Chronicle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "GOManager.h"
#include "MerchantShip.h"
#include "Renderable.h"
#include "Tower.h"
#include "TreasureChest.h"

namespace {

bool Overlap(const Vec2* a, const Vec2* b) {
    return a[0].x <= b[3].x && b[0].x <= a[3].x && a[0].y <= b[3].y && b[0].y <= a[3].y;
}

}  // namespace

Chronicle::Events Chronicle::Watch(const List<Tower*>& towers, int32_t level, const MerchantShip* ship,
                                   const ShipChange& change, float dt) {
    Events events;
    if (level != level_) {
        // A new level brings new towers, none of them taken.
        level_ = level;
        taken_ = 0;
    }
    record_.level = std::max(record_.level, level);
    int taken = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) taken += (*it)->team != GameObj::kHostile ? 1 : 0;
    if (taken > taken_) {
        record_.towers += taken - taken_;
        events.towerTaken = true;
    }
    taken_ = taken;

    record_.gold += change.gained;
    seconds_ += dt;
    record_.seconds = static_cast<int64_t>(std::floor(seconds_));

    // A hostile ship counts once, when it starts to sink (ghosts healed out of the sea
    // sink too, and are no loss to anyone).
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* object = *it;
        if (object->team == GameObj::kPlayerSide || object->state != GameObj::kSinking ||
            object->realm == GameObj::kGhostRealm)
            continue;
        if (!dynamic_cast<Ship*>(object)) continue;
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

#include "play/SafeRespawn.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "ships/MerchantShip.h"

namespace {

// Ships that hunt the player's, afloat in the living sea.
bool IsHostileShip(GameObj& o) {
    if (o.team != GameObj::kHostile || o.realm == GameObj::kGhostRealm) return false;
    if (o.state == Life::kSinking || o.state == Life::kDead) return false;
    const char* type = o.GetType();
    return std::strcmp(type, "MerchantShip") == 0 || std::strcmp(type, "RamBoat") == 0 ||
           std::strcmp(type, "MineLayer") == 0;
}

}  // namespace

float SafeRespawn::Room(float x, const List<Tower*>& towers) {
    float room = FLT_MAX;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        Tower* tower = *it;
        if (tower->team == GameObj::kHostile) room = std::min(room, std::fabs(tower->GetPosition()->x - x) - kTowerNear);
    }
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj& o = **it;
        if (!o.renderable) continue;
        if (IsHostileShip(o)) {
            room = std::min(room, std::fabs(o.GetPosition()->x - x) - kShipNear);
        } else if (o.team == GameObj::kHostile && o.state != Life::kDead && std::strcmp(o.GetType(), "Mine") == 0) {
            room = std::min(room, std::fabs(o.GetPosition()->x - x) - kMineNear);
        }
    }
    return room;
}

float SafeRespawn::ChooseX(const List<Tower*>& towers) {
    if (Room(kHomeX, towers) > 0.0f) return kHomeX;
    float best = kHomeX;
    float bestRoom = Room(kHomeX, towers);
    const int steps = static_cast<int>((kBound + std::fabs(kHomeX)) / kStep);
    for (int i = 1; i <= steps; ++i) {
        for (const float side : {-1.0f, 1.0f}) {
            const float x = kHomeX + side * kStep * static_cast<float>(i);
            if (x < -kBound || x > kBound) continue;
            const float room = Room(x, towers);
            if (room > 0.0f) return x;
            if (room > bestRoom) {
                bestRoom = room;
                best = x;
            }
        }
    }
    return best;
}

void SafeRespawn::Place(MerchantShip& ship, const List<Tower*>& towers) {
    ship.SetPosition(Vec2(ChooseX(towers), 0.0f));
    ship.graceTime = kGraceSeconds;
}

#include "play/HintProgress.h"

#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "ships/TreasureChest.h"
#include "store/Settings.h"

uint32_t HintProgress::Done(const List<Tower*>& towers, const Chronicle::Events& events, uint32_t byInput) {
    int32_t purchases = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it)
        if ((*it)->upgrader) purchases += (*it)->upgrader->purchases;
    uint32_t done = byInput;
    if (events.towerTaken) done |= 1u << Settings::kHintTower;
    if (events.chestTaken) done |= 1u << Settings::kHintChest;
    if (purchases > purchasesSeen_) done |= 1u << Settings::kHintBuy;
    purchasesSeen_ = purchases;
    return done;
}

uint32_t HintProgress::Due(const List<Tower*>& towers, int hostileTowers) {
    bool owned = false;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) owned = owned || (*it)->team == GameObj::kPlayerSide;
    bool chest = false;
    for (auto it = goManager.objects.Begin(); !it.AtEnd() && !chest; ++it)
        if (auto* c = dynamic_cast<TreasureChest*>(*it)) chest = c->value > 0.0f && c->state != Life::kDead;
    uint32_t due = 1u << Settings::kHintSteer | 1u << Settings::kHintFire | 1u << Settings::kHintSea;
    if (hostileTowers > 0) due |= 1u << Settings::kHintTower;
    if (chest) due |= 1u << Settings::kHintChest;
    if (owned) due |= 1u << Settings::kHintBuy;
    return due;
}

#pragma once

#include <cstdint>

#include "List.h"
#include "defences/ShopPrices.h"
#include "objects/ObjRef.h"
#include "ships/MerchantShip.h"

class Tower;
class Water;
class World;

// The state of play and its (non-owning) pointers to the key objects: the record the
// game's parts (the heads-up, the level director, the screens) read and change.
class GameFields {
public:
    World* world = nullptr;
    Water* sea = nullptr;
    Water* secondSea = nullptr;
    Sea seaMode = Sea::kLiving;
    ObjRef<MerchantShip> playerShip;  // none while a new one is due
    List<Tower*> towers;
    float levelTime = 0.0f;
    int32_t level = 1;
    ShopPrices prices;  // this game's, from its first tower to its last
    // The safe respawn (SafeRespawn): off in the game's own rule; the program turns it
    // on from the settings, or from the recording it replays.
    bool safeRespawn = false;

    // Hostile towers of this level and all of its towers.
    int HostileTowers() const;
};

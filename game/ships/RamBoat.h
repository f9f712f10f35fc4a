#pragma once

#include <cstdint>

#include "objects/ObjRef.h"
#include "ships/Ship.h"

// Cruises towards its prey, charges when close, backs off after a hit.
class RamBoat : public Ship {
public:
    const char* GetType() override { return "RamBoat"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;

    ObjRef<GameObj> target;
    int32_t chargeDistance = 0;  // pixels; below it the boat charges
};

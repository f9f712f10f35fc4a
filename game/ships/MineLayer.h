#pragma once

#include "objects/ObjRef.h"
#include "ships/Ship.h"

// Keeps a distance from its prey and drops a mine every two seconds (the first after three).
class MineLayer : public Ship {
public:
    const char* GetType() override { return "MineLayer"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;

    ObjRef<GameObj> target;
    float mineTimer = 3.0f;  // seconds until the next mine
};

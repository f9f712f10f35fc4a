#pragma once

#include "objects/ObjRef.h"
#include "ships/Ship.h"

class Cannon;

// The armed ship: the player's (kPlayerSide, aimed with the mouse) or a computer-steered
// enemy that keeps its distance from its prey and lobs shots at it.
class MerchantShip : public Ship {
public:
    const char* GetType() override { return "MerchantShip"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;
    // Also releases the cannon.
    void Kill() override;

    // The player's shot: the cannon inherits the ship's velocity, fires if loaded
    // (rippling the sea), and the ship recoils either way.
    void FireCannon();

    ObjRef<Cannon> cannon;
    float keepDistance = 0.0f;  // pixels kept from the target horizontally
    float fireTimer = 0.0f;     // seconds since the last shot
    ObjRef<GameObj> target;

private:
    // The computer's steering and gunnery: close in on the prey, lob a shot every 3 s.
    void Hunt(float dt, const Vec2& position);
};

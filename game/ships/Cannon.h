#pragma once

#include "objects/GameObj.h"
#include "objects/ObjRef.h"

class ParticleObj;

// The gun of a tower or a merchant ship: aim, charge, reload clock, a barrel turned
// along the aim and a smoke puff at the muzzle. Its carrier aims it and calls Fire.
class Cannon : public GameObj {
public:
    const char* GetType() override { return "Cannon"; }
    void Update(float dt) override;
    void Init() override;
    // Releases the smoke.
    void Kill() override;

    // Fires a ball when loaded (strictly more than reloadTime since the last shot).
    bool Fire();

    Vec2 aim{0.0f, 1.0f};     // direction of the next shot, set by the carrier
    ParticleObj* smoke = nullptr;  // owned through the manager, released by Kill
    ObjRef<GameObj> owner;    // the ship carrying it; none on a tower
    float charge = 1.0f;      // speed multiplier of the next shot
    float reloadTime = 3.0f;  // seconds between shots
    float reloadTimer = 3.0f; // seconds since the last shot
    unsigned fireSound = 0;
    float maxCharge = 2.0f;
};

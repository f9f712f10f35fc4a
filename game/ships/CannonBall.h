#pragma once

#include "objects/GameObj.h"
#include "objects/ObjRef.h"

// A shot on a ballistic path. States: normal while flying (dies after 10 s), sinking once
// spent (slows, dies after 2 s), dead. The sea and the ships it hits mark it spent.
class CannonBall : public GameObj {
public:
    const char* GetType() override { return "CannonBall"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;

    ObjRef<GameObj> owner;   // the ship that fired it (its gold gets the lob bonus); none for a tower
    float elevation = 0.0f;  // launch elevation, degrees 0..90
    bool byPlayer = false;   // fired by the player's ship (kept when that ship is gone)
    // Whether an object met in a collision is a ball the player's ship fired.
    static bool ByPlayer(const GameObj* object);
};

#pragma once

#include "objects/GameObj.h"

class Fire;

// A spinning fireball carrying a fire emitter along a straight line.
class FireBall : public GameObj {
public:
    const char* GetType() override { return "FireBall"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;
    void Kill() override;

    Fire* fire = nullptr;  // owned through the manager, released by Kill
    Vec2 heading;          // speed is heading * 30 pixels per second
};

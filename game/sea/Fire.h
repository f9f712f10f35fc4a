#pragma once

#include "sea/ParticleObj.h"

class ParticleSystem;

// Flames with a smoke plume that follows them and stops and starts with them.
class Fire : public ParticleObj {
public:
    Fire() = default;
    ~Fire() override;

    const char* GetType() override { return "Fire"; }
    void Init() override;
    void Update(float dt) override;
    // The sea puts it out.
    void Collide(GameObj* other) override;
    void Kill() override;
    void StopEmitting() override;
    void StartEmitting() override;

    ParticleSystem* smoke = nullptr;  // owned; made by Init
};

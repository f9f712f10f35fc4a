#pragma once

#include <cstdint>

#include "ParticleSettings.h"
#include "objects/GameObj.h"

class ParticleSystem;

// A game object that owns one particle system: splashes, spray, explosions.
// Creators fill Settings() after GOManager::Create and before Init, then give it its
// image with MakeSprite and set the system's emission rate.
class ParticleObj : public GameObj {
public:
    ParticleObj();

    const char* GetType() override { return "ParticleObj"; }
    // Centres the emitter box on the point, keeping its size.
    void SetPosition(const Vec2& p) override;
    Vec2* GetPosition() override { return &position; }
    void Update(float dt) override;
    void Init() override;
    virtual void StopEmitting();
    virtual void StartEmitting();

    // The settings in force: the object's own before Init, the system's copy after.
    ParticleSettings& Settings();
    // The particle system (the renderable), or null before Init.
    ParticleSystem* System();
    // Before Init the rate is kept and handed to the system when Init makes it.
    void SetEmissionRate(float perSecond);

    Vec2 position;  // kept for the interface; the emitter box is what moves
    ParticleSettings settings;
    uint8_t removeWhenSpent = 1;

private:
    ParticleSystem* system_ = nullptr;  // same object as renderable once Init has run
    float pendingRate_ = 0.0f;
};

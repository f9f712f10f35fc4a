#include "sea/ParticleObj.h"

#include "Box.h"
#include "ParticleSystem.h"
#include "objects/GameObjFactory.h"

ParticleObj::ParticleObj() {
    BoxSet(settings.emitterBox, 0.0f, 0.0f, 1.0f, 1.0f);
    for (float& c : settings.startColour) c = 1.0f;
    settings.rotation.base = 0.0f;
    settings.rotation.spread = 0.0f;
    settings.spin = 0.0f;  // no creator sets it
}

ParticleSettings& ParticleObj::Settings() { return system_ ? system_->settings : settings; }

ParticleSystem* ParticleObj::System() { return system_; }

void ParticleObj::SetEmissionRate(float perSecond) {
    if (system_) system_->emissionRate = perSecond;
    else pendingRate_ = perSecond;
}

void ParticleObj::SetPosition(const Vec2& p) { BoxMoveCentreTo(Settings().emitterBox, p); }

void ParticleObj::Init() {
    // A second Init restarts the system with the settings in force, not stale ones.
    const ParticleSettings current = Settings();
    if (!system_) {
        // Whatever stood in for the renderable before (nothing, normally) is replaced.
        delete renderable;
        system_ = new ParticleSystem;
        system_->emissionRate = pendingRate_;
        // Blended: particles fade out through their alpha, and dead ones keep their last
        // quads, which must then draw as nothing rather than as solid squares.
        system_->blendMode = BlendMode::kAlpha;
        renderable = system_;
    }
    system_->Setup(current);
    AddToRenderList(system_);
}

void ParticleObj::Update(float dt) {
    // The base step updates the renderable again, so every effect runs at twice its
    // nominal speed; the game's particle settings are tuned for that.
    if (system_) system_->Update(dt);
    BaseStep(dt);
    if (!system_) return;
    if (system_->liveCount <= 0 && system_->settings.continuous == 0 && removeWhenSpent &&
        state != Life::kDead)
        SetState(Life::kDead);
}

void ParticleObj::StopEmitting() {
    if (system_) system_->stopEmitting = 1;
}

void ParticleObj::StartEmitting() {
    if (!system_) return;
    system_->stopEmitting = 0;
    system_->finished = 0;
}

GameObj* MakeParticleObj() { return new ParticleObj; }

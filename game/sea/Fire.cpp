#include "sea/Fire.h"

#include <cstring>

#include "ParticleSystem.h"
#include "objects/GameObjFactory.h"

Fire::~Fire() { delete smoke; }

void Fire::Init() {
    ParticleSettings s;
    s.continuous = 1;
    s.count = 1000;
    s.z = 0.35f;
    SetRgba(s.startColour, 0.7f, 0.7f, 0.7f, 0.4f);
    SetRgba(s.endColour, 0.1f, 0.1f, 0.1f, 0.0f);
    s.velocity.base = Vec2(0.0f, -50.0f);
    s.velocity.spread = Vec2(20.0f, 40.0f);
    s.acceleration.base = Vec2(-5.0f, -5.0f);
    s.acceleration.spread = Vec2(0.0f, 0.0f);
    s.size.base = Vec2(0.1f, 0.1f);
    s.size.spread = Vec2(0.2f, 0.2f);
    s.sizeGrowth = Vec2(0.2f, 0.2f);
    s.lifetime.base = 2.0f;
    s.lifetime.spread = 0.2f;
    if (!smoke) smoke = new ParticleSystem;
    smoke->SetImage("images\\smoke.tga");
    smoke->emissionRate = 70.0f;
    smoke->Setup(s);
    smoke->blendMode = BlendMode::kAlpha;
    AddToRenderList(smoke);

    ParticleSettings& f = Settings();
    f.z = 0.4f;
    f.continuous = 1;
    SetRgba(f.startColour, 1.0f, 1.0f, 1.0f, 1.0f);
    SetRgba(f.endColour, 0.1f, 0.1f, 0.1f, 0.0f);
    f.velocity.base = Vec2(0.0f, -50.0f);
    f.velocity.spread = Vec2(20.0f, 40.0f);
    f.acceleration.base = Vec2(-5.0f, -5.0f);
    f.acceleration.spread = Vec2(0.0f, 0.0f);
    f.lifetime.base = 1.5f;
    f.lifetime.spread = 0.2f;
    f.size.base = Vec2(0.5f, 0.5f);
    f.size.spread = Vec2(0.2f, 0.2f);
    f.sizeGrowth = Vec2(-0.5f, -0.5f);
    f.count = 1000;

    ParticleObj::Init();
    System()->blendMode = BlendMode::kAdditive;  // additive: overlapping flames glow
    removeWhenSpent = 1;
    MakeSprite("images//fireball.tga");
    SetEmissionRate(70.0f);
}

void Fire::Update(float dt) {
    ParticleSystem* flames = System();
    if (flames && smoke)
        std::memcpy(smoke->settings.emitterBox, flames->settings.emitterBox,
                    sizeof smoke->settings.emitterBox);
    ParticleObj::Update(dt);
    if (!flames || !smoke) return;
    smoke->Update(dt);
    if (flames->stopEmitting == 0) {
        smoke->stopEmitting = 0;
        smoke->finished = 0;
    } else {
        smoke->stopEmitting = 1;
    }
}

void Fire::Collide(GameObj* other) {
    if (std::strcmp(other->GetType(), "Water") == 0) StopEmitting();
}

void Fire::Kill() {
    ParticleObj::Kill();
    if (smoke) RemoveFromRenderList(smoke);
}

void Fire::StopEmitting() {
    ParticleObj::StopEmitting();
    if (smoke) smoke->stopEmitting = 1;
}

void Fire::StartEmitting() {
    ParticleObj::StartEmitting();
    if (!smoke) return;
    smoke->stopEmitting = 0;
    smoke->finished = 0;
}

GameObj* MakeFire() { return new Fire; }

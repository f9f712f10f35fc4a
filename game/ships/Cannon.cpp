#include "ships/Cannon.h"

#include <cmath>

#include "Box.h"
#include "ParticleSystem.h"
#include "Renderable.h"
#include "SoundManager.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/ParticleObj.h"
#include "ships/CannonBall.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
// The float nearest 57.29578, widened: the elevation is measured with it.
constexpr double kElevationDegrees = 57.295780181884766;
constexpr double kQuarterTurn = 1.5707963267948966;

// Degrees of the barrel: always upward, leaning to the side the aim points to. A vertical
// (or zero) aim stands straight up without dividing by zero.
float BarrelAngle(const Vec2& aim) {
    if (aim.x == 0.0f) return -90.0f;
    const float q = std::fabs(aim.y) / aim.x;
    float r = static_cast<float>(-std::atan(q) * kDegreesPerRadian);
    if (aim.x < 0.0f) r -= 180.0f;
    return r;
}

// Launch elevation in degrees, 0 to 90. A vertical aim is 90; a zero aim counts as level.
float Elevation(const Vec2& aim) {
    const float ax = std::fabs(aim.x);
    const float ay = std::fabs(aim.y);
    if (ax == 0.0f) return ay == 0.0f ? 0.0f : static_cast<float>(kQuarterTurn * kElevationDegrees);
    return static_cast<float>(std::atan(ay / ax) * kElevationDegrees);
}

}  // namespace

void Cannon::Init() {
    fireSound = soundManager.LoadSound("Sound\\CannonFire.mp3", 0, 1);
    MakeSprite("images\\Cannon.tga");
    renderable->scale = Vec2(0.15f, 0.15f);
    renderable->UpdateCorners();
    AddToRenderList(renderable);

    smoke = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    if (!smoke) return;
    ParticleSettings& s = smoke->Settings();
    s.z = 0.3f;
    s.continuous = 0;
    SetRgba(s.startColour, 1.0f, 1.0f, 1.0f, 0.5f);
    SetRgba(s.endColour, 0.0f, 0.0f, 0.0f, 0.1f);
    s.velocity.base = aim * 500.0f;
    s.velocity.spread = Vec2(50.0f, 50.0f);
    s.acceleration.base = Vec2(0.0f, 0.0f);
    s.acceleration.spread = Vec2(0.0f, 0.0f);
    s.lifetime.base = 0.7f;
    s.lifetime.spread = 0.3f;
    s.size.base = Vec2(0.2f, 0.2f);
    s.size.spread = Vec2(0.1f, 0.1f);
    s.sizeGrowth = Vec2(-0.1f, -0.1f);
    s.count = 100;
    smoke->Init();
    // The puff is re-armed on every shot, so the emitter lives as long as the cannon.
    smoke->removeWhenSpent = 0;
    smoke->MakeSprite("images//fireball.tga");
    smoke->SetEmissionRate(100.0f);
    if (smoke->renderable) smoke->renderable->blendMode = BlendMode::kAlpha;
}

void Cannon::Update(float dt) {
    reloadTimer += dt;
    const float r = BarrelAngle(aim);
    if (renderable) {
        const Vec2 p = renderable->position;
        if (smoke) {
            ParticleSettings& s = smoke->Settings();
            BoxSet(s.emitterBox, p.x - 10.0f, p.y - 10.0f, p.x + 10.0f, p.y + 10.0f);
            s.velocity.base = Vec2(aim.x * 110.0f + velocity.x, aim.y * 110.0f);
        }
        renderable->rotation = r;
    }
}

bool Cannon::Fire() {
    if (reloadTimer <= reloadTime) return false;
    reloadTimer = 0.0f;

    auto* ball = static_cast<CannonBall*>(goManager.Create("CannonBall"));
    if (ball) {
        ball->Init();
        ball->velocity = Vec2((aim.x * 500.0f + velocity.x) * charge, aim.y * 500.0f * charge);
        ball->SetPosition(*GetPosition());
        ball->owner = owner.Get();
        ball->byPlayer = owner.Get() && owner.Get()->team == kPlayerSide;
        ball->team = team;
        ball->elevation = Elevation(aim);
        soundManager.PlaySound(fireSound, *GetPosition(),
                               Vec2(ball->velocity.x / 10.0f, ball->velocity.y / 10.0f));
    }
    charge = 1.0f;
    // A fresh puff: every particle waits to be emitted again.
    if (smoke && smoke->System()) smoke->System()->Reset();
    return true;
}

void Cannon::Kill() {
    RemoveFromRenderList(renderable);
    if (smoke) goManager.QueueForDeletion(smoke);
    smoke = nullptr;
}

GameObj* MakeCannon() { return new Cannon; }

#include "ships/Mine.h"

#include <cmath>
#include <cstring>

#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/ParticleObj.h"
#include "sea/Water.h"

namespace {

// A burst of flame from the mine's box that removes itself once burnt out.
void Explode(const Vec2* box) {
    auto* blast = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    if (!blast) return;
    ParticleSettings& s = blast->Settings();
    for (int k = 0; k < 4; ++k) s.emitterBox[k] = box[k];
    s.z = 0.3f;
    s.continuous = 0;
    SetRgba(s.startColour, 1.0f, 1.0f, 1.0f, 1.0f);
    SetRgba(s.endColour, 0.0f, 0.0f, 0.0f, 0.0f);
    s.velocity.base = Vec2(0.0f, -200.0f);
    s.velocity.spread = Vec2(200.0f, 40.0f);
    s.acceleration.base = Vec2(0.0f, 400.0f);
    s.acceleration.spread = Vec2(0.0f, 40.0f);
    s.size.base = Vec2(0.6f, 0.6f);
    s.size.spread = Vec2(1.0f, 1.0f);
    s.lifetime.base = 1.0f;
    s.lifetime.spread = 0.0f;
    s.count = 100;
    blast->Init();
    blast->removeWhenSpent = 1;
    blast->MakeSprite("images//fireball.tga");
    blast->SetEmissionRate(5000.0f);
}

}  // namespace

void Mine::Init() {
    MakeSprite("images\\mine.tga");
    AddToRenderList(renderable);
    SetState(Floater::Phase::kFlying);
    Throw();

    renderable->scale = Vec2(0.05f, 0.05f);
    renderable->UpdateCorners();
}

void Mine::Update(float dt) {
    Float(dt);
    if (!renderable) return;
    if (state == Floater::Phase::kFlying) velocity.y += 750.0f * dt;
    if (state == Life::kNormal && fuse < stateTime) SetState(Phase::kExploding);

    // Without a sea the surface is the line y = 0. Only a flying mine lands: one already
    // exploding under the surface still goes off.
    Water* sea = water.Get();
    const float h = sea ? sea->GetHeight(renderable->position.x, &slope) : 0.0f;
    if (renderable->position.y > h && state == Floater::Phase::kFlying) SetState(Life::kNormal);

    if (state == Phase::kExploding) {
        Explode(renderable->corners);
        SetState(Life::kDead);
    }
    Move(velocity * dt);
}

void Mine::Collide(GameObj* other) {
    if (state != Life::kNormal && state != Floater::Phase::kFlying) return;
    if (other->state == Life::kDead) return;  // about to be removed
    const char* type = other->GetType();
    if (std::strcmp(type, "MerchantShip") == 0 || std::strcmp(type, "CannonBall") == 0)
        SetState(Phase::kExploding);
}

GameObj* MakeMine() { return new Mine; }

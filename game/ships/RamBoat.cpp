#include "ships/RamBoat.h"

#include <cmath>
#include <cstring>

#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "ships/CannonBall.h"

void RamBoat::Init() {
    MakeSprite("images//ramboat.tga");
    Ship::Init();
    renderable->scale = Vec2(0.5f, 0.5f);
    renderable->UpdateCorners();
    chargeDistance = Rand() % 151 + 200;
}

void RamBoat::Update(float dt) {
    Ship::Update(dt);
    if (!renderable) return;

    GameObj* prey = SeekPrey(target);
    const float d = prey ? prey->GetPosition()->x - renderable->position.x : 0.0f;
    const float reach = static_cast<float>(chargeDistance);

    if (state == Life::kNormal) {
        if (!prey) {
            velocity.x = 0.0f;
        } else if (std::fabs(d) > reach) {
            // Cruising: a fresh, slightly uneven speed every frame.
            velocity.x = d >= 0.0f ? static_cast<float>(10 + Rand() % 21)
                                   : static_cast<float>(-10 - Rand() % 21);
        } else if (d >= 0.0f) {
            velocity.x += 750.0f * dt;
        } else {
            velocity.x -= 750.0f * dt;
        }
    } else if (state == Floater::Phase::kRammed && prey) {
        if (std::fabs(d) > reach) SetState(Life::kNormal);
        else if (d > 0.0f) velocity.x -= 200.0f * dt;
        else velocity.x += 200.0f * dt;
    }
    Move(velocity * dt);
}

void RamBoat::Collide(GameObj* other) {
    Ship::Collide(other);
    if (other->state == Life::kDead) return;  // about to be removed

    if (target.Is(other) && state != Life::kSinking && state != Floater::Phase::kRammed) {
        SetState(Floater::Phase::kRammed);
        if (realm != kGhostRealm) velocity.x = -velocity.x;  // bounces off
    }
    if (std::strcmp(other->GetType(), "CannonBall") != 0) return;

    if (other->team != team && other->state != Life::kSinking) {
        const Vec2& v = other->velocity;
        if (std::fabs(v.x) > 0.0f) {
            const float hurt = std::sqrt(v.x * v.x + v.y * v.y) / 40.0f;
            const float before = health;
            health += realm == kGhostRealm ? hurt : -hurt;  // ghosts feed on shot
            NoteShot(CannonBall::ByPlayer(other), before);
            if (health <= 0.0f && state == Floater::Phase::kRammed) SetState(Life::kSinking);
        }
        if (renderable) renderable->rotation += 0.1f;
    }
    target.Reset();
}

GameObj* MakeRamBoat() { return new RamBoat; }

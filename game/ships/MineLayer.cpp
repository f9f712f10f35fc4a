#include "ships/MineLayer.h"

#include <cmath>
#include <cstring>

#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/Water.h"
#include "ships/CannonBall.h"
#include "ships/Mine.h"

void MineLayer::Init() {
    MakeSprite("images//minelayer.tga");
    Ship::Init();
    renderable->scale = Vec2(0.2f, 0.2f);
    renderable->UpdateCorners();
}

void MineLayer::Update(float dt) {
    Ship::Update(dt);
    if (!renderable) return;

    GameObj* prey = SeekPrey(target);
    // Sinking, toggled or after a collision the layer neither lays nor moves.
    if (state != Life::kNormal) return;

    mineTimer -= dt;
    if (mineTimer < 0.0f) {
        if (auto* mine = static_cast<Mine*>(goManager.Create("Mine"))) {
            mine->water = water.Get();
            mine->Init();
            mine->SetPosition(renderable->position);
        }
        mineTimer = 2.0f;
    }

    if (prey) {
        const float d = prey->GetPosition()->x - renderable->position.x;
        const float keep = static_cast<float>(Rand() % 101 + 200);
        if (std::fabs(d) > keep) {
            const float push = static_cast<float>(100 + Rand() % 201) * dt;
            velocity.x += d >= 0.0f ? push : -push;
        } else if (d > 0.0f) {
            velocity.x -= 250.0f * dt;
        } else {
            velocity.x += 250.0f * dt;
        }
    }
    Move(velocity * dt);
}

void MineLayer::Collide(GameObj* other) {
    Ship::Collide(other);
    if (other->state == Life::kDead || std::strcmp(other->GetType(), "CannonBall") != 0) return;
    if (other->team != team && other->state != Life::kSinking) {
        const Vec2& v = other->velocity;
        if (std::fabs(v.x) > 0.0f) {
            const float hurt = std::sqrt(v.x * v.x + v.y * v.y) / 40.0f;
            const float before = health;
            health += realm == kGhostRealm ? hurt : -hurt;  // ghosts feed on shot
            NoteShot(CannonBall::ByPlayer(other), before);
        }
        if (renderable) renderable->rotation += 0.1f;
    }
    target.Reset();
}

GameObj* MakeMineLayer() { return new MineLayer; }

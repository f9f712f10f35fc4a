#include "ships/MerchantShip.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "Camera.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/Water.h"
#include "ships/Cannon.h"
#include "ships/CannonBall.h"
#include "ships/Mine.h"
#include "ships/TreasureChest.h"

namespace {

float Length(const Vec2& v) { return std::sqrt(v.x * v.x + v.y * v.y); }

bool Is(const char* type, const char* name) { return std::strcmp(type, name) == 0; }

void Shake(float magnitude) {
    camera.shakeTime = 0.2f;
    camera.shakeMagnitude = magnitude;
}

}  // namespace

void MerchantShip::Init() {
    MakeSprite("Images\\MerchantShip.tga");
    Ship::Init();
    renderable->SetDepth(0.5f);
    renderable->scale = Vec2(0.21f, 0.23f);
    renderable->UpdateCorners();
    keepDistance = static_cast<float>(Rand() % 201 + 133);

    auto* gun = static_cast<Cannon*>(goManager.Create("Cannon"));
    if (gun) {
        gun->Init();
        gun->team = team;
        if (gun->renderable) gun->renderable->SetDepth(0.4f);
        gun->owner = this;
        gun->reloadTime -= 2.5f;
        if (gun->reloadTime < 0.01f) gun->reloadTime = 0.01f;
    }
    cannon = gun;
    realm = kLivingRealm;
}

void MerchantShip::Update(float dt) {
    Ship::Update(dt);
    if (!renderable) return;
    Cannon* gun = cannon.Get();
    Vec2 position = renderable->position;

    if (gun && gun->renderable) {
        Renderable* barrel = gun->renderable;
        gun->SetPosition(
            Vec2(position.x, position.y + barrel->GetHeight() * barrel->scale.x * 0.5f));
    }

    if (aiControlled == 0 && gun) {
        const Vec2 aim = (orlop.mousePosition + camera.GetTopLeft()) - position;
        const float length = Length(aim);
        // With the mouse right on the ship there is no direction: keep the last one.
        if (length > 0.0f && std::isfinite(length)) gun->aim = Vec2(aim.x / length, aim.y / length);
    }

    Move(velocity * dt);
    position = renderable->position;

    if (aiControlled) Hunt(dt, position);

    if (state == Life::kSinking) {
        if (health > 1.0f && realm != kGhostRealm) SetState(Phase::kGhostRising);
    } else if (state == Life::kDead) {
        if (gun && gun->state != Life::kDead) gun->SetState(Life::kDead);
    } else if (state == SeaSwitch::kToGhost) {
        if (realm == kGhostRealm && gun) AddToRenderList(gun->renderable);
    } else if (state == SeaSwitch::kToLiving) {
        if (realm == kGhostRealm && gun) RemoveFromRenderList(gun->renderable);
    }
}

void MerchantShip::Hunt(float dt, const Vec2& position) {
    fireTimer += dt;
    GameObj* prey = SeekPrey(target);
    if (!prey) return;
    if (state == Life::kSinking) return;

    const float dx = position.x - prey->GetPosition()->x;
    if (std::fabs(dx) > keepDistance) {
        const int kick = 5 + Rand() % 3;
        if (dx > 0.0f) velocity.x -= static_cast<float>(kick);
        else velocity.x += static_cast<float>(kick);
    }

    // The lob angle from the range formula sin 2θ = range × g / v² (g 750, v 500).
    const float v = dx * 750.0f / 250000.0f;
    if (!(std::fabs(v) < 1.0f)) return;
    const double theta = std::asin(static_cast<double>(v)) * 0.5;
    const Vec2 shot = dx > 0.0f ? Vec2(static_cast<float>(-std::cos(theta)),
                                       static_cast<float>(-std::sin(theta)))
                                : Vec2(static_cast<float>(std::cos(theta)),
                                       static_cast<float>(std::sin(theta)));
    Cannon* gun = cannon.Get();
    if (fireTimer > 3.0f && gun) {
        gun->aim = shot;
        gun->Fire();
        fireTimer = 0.0f;
    }
}

void MerchantShip::Collide(GameObj* other) {
    // Spent balls and exploded mines linger for a pass before deletion.
    if (other->state == Life::kDead) return;
    Ship::Collide(other);
    const char* type = other->GetType();

    if (Is(type, "CannonBall")) {
        const float speed = Length(other->velocity);
        // A ship in its grace is missed: the ball flies on.
        if (InGrace() && other->team != team) return;
        if (other->team != team && other->state != Life::kSinking) {
            other->SetState(Life::kSinking);
            if (std::fabs(other->velocity.x) > 0.0f) {
                const float before = health;
                // Shot passes through a ghost and feeds it.
                if (realm == kGhostRealm) health += speed / 40.0f;
                else health -= speed / 40.0f;
                NoteShot(CannonBall::ByPlayer(other), before);
            }
            renderable->rotation += 0.1f;
        }
        if (team == kPlayerSide && other->team != kPlayerSide) Shake(speed / 10.0f);
    } else if (Is(type, "MerchantShip")) {
        Renderable* hull = other->renderable;
        const float ours = velocity.x;
        const float theirs = other->velocity.x;
        if (std::fabs(renderable->position.x - other->GetPosition()->x) <
                hull->scale.x * hull->GetWidth() / 3.0f &&
            ((ours > 0.0f && theirs > 0.0f) || (ours < 0.0f && theirs < 0.0f)))
            velocity.x = static_cast<float>(velocity.x + (Rand() % 11) / 10.0);
    } else if (Is(type, "RamBoat")) {
        if (other->team != team && !other->frozen && other->state != Life::kSinking && !InGrace()) {
            const float speed = Length(other->velocity);
            if (realm != kGhostRealm) velocity.x = -other->velocity.x;
            health -= speed / 50.0f;
            if (team == kPlayerSide) Shake(speed);
        }
    } else if (Is(type, "TreasureChest")) {
        auto* chest = dynamic_cast<TreasureChest*>(other);
        if (chest && chest->state != Life::kSinking && state != Life::kSinking && state != Life::kDead) {
            AddGold(chest->value);
            chest->value = 0.0f;
        }
    } else if (Is(type, "Mine")) {
        if (!other->frozen) {
            if (InGrace()) return;
            if (other->team != team && other->state != Mine::Phase::kExploding) health -= 20.0f;
            if (team == kPlayerSide) Shake(100.0f);
        }
    }
}

void MerchantShip::Kill() {
    Ship::Kill();
    // A dead cannon is queued by the manager itself.
    Cannon* gun = cannon.Get();
    if (gun && gun->state != Life::kDead) goManager.QueueForDeletion(gun);
    cannon.Reset();
}

void MerchantShip::FireCannon() {
    Cannon* gun = cannon.Get();
    if (!gun) return;
    gun->velocity = velocity;
    if (gun->Fire()) {
        // A ship that fights is no longer spared.
        graceTime = 0.0f;
        if (Water* sea = water.Get()) sea->Disturb(0.051f, renderable->position.x);
    }
    // Recoil with the charge left after the attempt (a shot resets it to 1).
    velocity.x = static_cast<float>(velocity.x - gun->aim.x * 50.0 * gun->charge);
}

GameObj* MakeMerchantShip() { return new MerchantShip; }

#include "ships/Ship.h"

#include <algorithm>

#include <cmath>
#include <cstring>

#include "Box.h"
#include "Random.h"
#include "Renderable.h"
#include "Sprite.h"
#include "objects/GOManager.h"
#include "sea/Fire.h"
#include "sea/ParticleObj.h"
#include "sea/Water.h"
#include "ships/TreasureChest.h"

namespace {

bool IsShipType(const char* type) {
    return std::strcmp(type, "MerchantShip") == 0 || std::strcmp(type, "RamBoat") == 0 ||
           std::strcmp(type, "MineLayer") == 0;
}

void SetBox(Vec2* box, const Vec2* from) {
    for (int k = 0; k < 4; ++k) box[k] = from[k];
}

}  // namespace

void Ship::Init() {
    AddToRenderList(renderable);
    fire = static_cast<Fire*>(goManager.Create("Fire"));
    wake = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    if (fire) {
        fire->Init();
        fire->StopEmitting();
    }
    if (wake) {
        ParticleSettings& s = wake->Settings();
        if (renderable) SetBox(s.emitterBox, renderable->corners);
        s.z = 0.9f;
        s.continuous = 1;
        for (int k = 0; k < 4; ++k) s.startColour[k] = 1.0f;
        for (int k = 0; k < 3; ++k) s.endColour[k] = 1.0f;
        s.endColour[3] = 0.0f;
        s.velocity.base = Vec2(0.0f, -100.0f);
        s.velocity.spread = Vec2(20.0f, 20.0f);
        s.acceleration.base = Vec2(0.0f, 550.0f);
        s.acceleration.spread = Vec2(0.0f, 0.0f);
        s.size.base = Vec2(0.15f, 0.15f);
        s.size.spread = Vec2(0.1f, 0.1f);
        s.sizeGrowth = Vec2(-0.1f, -0.1f);
        s.lifetime.base = 0.5f;
        s.lifetime.spread = 0.1f;
        s.count = 100;
        wake->Init();
        wake->removeWhenSpent = 0;
        wake->MakeSprite("images//splash.tga");
        wake->SetEmissionRate(100.0f);
    }
    realm = kLivingRealm;
}

void Ship::Update(float dt) {
    if (graceTime > 0.0f) graceTime = std::max(0.0f, graceTime - dt);
    Float(dt);
    if (!renderable) return;

    const Vec2* c = renderable->corners;
    if (wake) {
        Vec2* box = wake->Settings().emitterBox;
        box[kTopLeft] = Vec2(c[kTopLeft].x - 10.0f, c[kTopLeft].y + 45.0f);
        box[kTopRight] = Vec2(c[kBottomRight].x + 10.0f, c[kTopLeft].y + 45.0f);
        box[kBottomLeft] = Vec2(c[kTopLeft].x - 10.0f, c[kBottomRight].y);
        box[kBottomRight] = Vec2(c[kBottomRight].x + 10.0f, c[kBottomRight].y);
    }
    if (auto* sprite = dynamic_cast<Sprite*>(renderable)) {
        if (velocity.x > 50.0f) sprite->mirrored = 0;
        if (velocity.x < -50.0f) sprite->mirrored = 1;
    }
    if (fire) SetBox(fire->Settings().emitterBox, c);

    float& alpha = renderable->colour[3];
    if (state == Life::kNormal || state == Floater::Phase::kRammed) {
        Afloat(dt);
    } else if (state == Life::kSinking) {
        if (realm == kGhostRealm) {
            if (alpha < 0.0f) {
                if (fire) fire->StopEmitting();
                SetState(Life::kDead);
            }
            Move(Vec2(0.0f, -70.0f * dt));
            alpha -= dt;
        } else {
            if (renderable->position.y > 800.0f) {
                if (fire) fire->StopEmitting();
                SetState(Life::kDead);
            }
            Move(Vec2(0.0f, 70.0f * dt));
            alpha = 0.5f;
        }
    } else if (state == SeaSwitch::kToGhost) {
        if (realm == kLivingRealm && team != kPlayerSide) {
            alpha -= dt;
            if (alpha < 0.4f) {
                SetState(Life::kNormal);
                if (health >= 0.0f) frozen = 1;
                else MakeGhost();
            }
        } else if (realm == kBothRealms) {
            alpha -= 2.0f * dt;
            if (stateTime > 1.0f) SetState(Life::kNormal);
        } else if (realm == kGhostRealm) {
            alpha += dt;
            if (alpha > 0.4f) SetState(Life::kNormal);
            if (fire) fire->StartEmitting();
            if (wake) wake->StartEmitting();
        }
    } else if (state == SeaSwitch::kToLiving) {
        if (realm == kLivingRealm || realm == kBothRealms) {
            alpha += dt;
            if (alpha >= 1.0f) SetState(Life::kNormal);
        } else if (realm == kGhostRealm) {
            alpha -= dt;
            if (alpha <= 0.0f) {
                if (fire) fire->StopEmitting();
                if (wake) wake->StopEmitting();
                frozen = 1;
            }
        }
    } else if (state == Phase::kGhostRising) {
        RiseGhost(dt);
    }
}

void Ship::Afloat(float dt) {
    if (fire) {
        if (health > 0.25f * maxHealth) fire->StopEmitting();
        else fire->StartEmitting();
    }
    if (std::fabs(slope) > 0.7f && team != kPlayerSide) health -= std::fabs(slope) * dt * 300.0f;
    if (wake) {
        wake->SetEmissionRate(std::fabs(velocity.x * 0.5f));
        wake->Settings().velocity.base =
            Vec2(-velocity.x * 0.25f, -std::fabs(velocity.x / 3.0f));
    }
    if (realm == kGhostRealm) {
        // A ghost healed above nothing leaves the sea.
        if (health > 0.0f) SetState(Life::kSinking);
    } else if (health < 0.0f) {
        SetState(Life::kSinking);
        DropTreasure();
    }
}

void Ship::MakeGhost() {
    SetState(Phase::kGhostRising);
    realm = kGhostRealm;
    static const float kTints[3][3] = {{0.2f, 0.8f, 0.2f}, {0.1f, 0.9f, 0.9f}, {0.9f, 0.9f, 0.75f}};
    const float* tint = kTints[Rand() % 3];
    for (int k = 0; k < 3; ++k) renderable->colour[k] = tint[k];
    renderable->SetScale(renderable->scale * 1.5f);
}

void Ship::RiseGhost(float dt) {
    Water* sea = water.Get();
    const float surface = sea ? sea->GetHeight(renderable->position.x, &slope) : 0.0f;
    const float t = surface - renderable->scale.y * renderable->GetHeight() * 0.5f;
    Move(Vec2(0.0f, ((t - renderable->position.y) - 5.0f) * 10.0f * dt));
    if (renderable->position.y < t) {
        SetState(Life::kNormal);
        renderable->colour[3] = 1.0f;
    }
}

int32_t Ship::TreasureStep(int32_t amount) {
    // The smallest multiple of 10 (at least 10) with amount / step <= 20, found directly:
    // counting up in tens would take millions of rounds for a large hoard.
    const int32_t least = amount > 0 ? amount / 21 + 1 : 1;
    const int32_t step = (least + 9) / 10 * 10;
    return step < 10 ? 10 : step;
}

void Ship::DropTreasure() {
    const int32_t step = TreasureStep(gold);
    const int32_t half = gold / 2;
    const Vec2 at = renderable ? renderable->position : Vec2();
    while (gold > 0) {
        if (gold < half && team == kPlayerSide) break;
        if (auto* chest = static_cast<TreasureChest*>(goManager.Create("TreasureChest"))) {
            chest->value = static_cast<float>(step);
            chest->water = water.Get();
            chest->Init();
            chest->SetPosition(at);
        }
        gold -= step;
    }
}

void Ship::Collide(GameObj* other) {
    if (other->state == Life::kDead || !IsShipType(other->GetType())) return;
    if (team == kPlayerSide || other->team == kPlayerSide || state != Life::kNormal || other->state != Life::kNormal)
        return;
    // Two hostile hulls push apart, each in its own turn.
    if (renderable->position.x <= other->GetPosition()->x) velocity.x -= 1.0f;
    else velocity.x += 1.0f;
}

void Ship::Kill() {
    RemoveFromRenderList(renderable);
    if (wake) goManager.QueueForDeletion(wake);
    if (fire) goManager.QueueForDeletion(fire);
    wake = nullptr;
    fire = nullptr;
}

void Ship::SteerLeft(float dt) {
    (void)dt;
    velocity.x = std::fmax(velocity.x - 50.0f, -maxSpeed);
}

void Ship::SteerRight(float dt) {
    (void)dt;
    velocity.x = std::fmin(velocity.x + 50.0f, maxSpeed);
}

void Ship::AddMaxSpeed(float amount) { maxSpeed += amount; }

void Ship::AddMaxHealth(float amount) { maxHealth += amount; }

void Ship::AddHealth(float amount) {
    health += amount;
    if (health > maxHealth) health = maxHealth;
}

void Ship::Repair() {
    if (gold < 5 || !(health < maxHealth)) return;
    health = std::fmin(health + 10.0f, maxHealth);
    velocity.y -= 10.0f;
    gold -= 5;
}

void Ship::AddGold(double amount) {
    const double sum = static_cast<double>(gold) + std::trunc(amount);
    if (std::isnan(sum)) return;
    if (sum >= static_cast<double>(INT32_MAX)) gold = INT32_MAX;
    else if (sum <= static_cast<double>(INT32_MIN)) gold = INT32_MIN;
    else gold = static_cast<int32_t>(sum);
}

void Ship::NoteShot(bool byPlayer, float before) {
    if (byPlayer && before >= 0.0f && health < 0.0f) sunkByPlayer = 1;
}

GameObj* Ship::SeekPrey(ObjRef<GameObj>& target) {
    GameObj* prey = target.Get();
    if (!prey) {
        prey = goManager.FindTarget(team, renderable->position, "MerchantShip");
        target = prey;
    }
    if (prey && (prey->state == Life::kSinking || prey->state == Life::kDead || prey->InGrace())) {
        target.Reset();
        prey = nullptr;
    }
    return prey;
}

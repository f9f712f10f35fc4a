#include "ships/TreasureChest.h"

#include <cmath>
#include <cstring>

#include "Random.h"
#include "Renderable.h"
#include "objects/GameObjFactory.h"
#include "sea/Water.h"

std::deque<ObjRef<TreasureChest>> TreasureChest::made_;

int TreasureChest::CountAfloat() {
    int afloat = 0;
    for (auto it = made_.begin(); it != made_.end();) {
        const TreasureChest* chest = it->Get();
        if (!chest || chest->state == Life::kDead || chest->state == Life::kSinking) {
            it = made_.erase(it);
            continue;
        }
        ++afloat;
        ++it;
    }
    return afloat;
}

void TreasureChest::Init() {
    if (CountAfloat() >= kMaxAfloat) {
        // The oldest one still holding gold goes down (emptied ones go at their next
        // touch); when all are empty, the oldest of them.
        TreasureChest* oldest = made_.front().Get();
        for (const ObjRef<TreasureChest>& ref : made_)
            if (ref.Get()->value != 0.0f) {
                oldest = ref.Get();
                break;
            }
        oldest->SetState(Life::kSinking);
        oldest->realm = kNoRealm;  // out of the sea toggle
        oldest->velocity = Vec2(0.0f, 40.0f);
    }
    made_.push_back(this);

    MakeSprite("images\\treasurechest.tga");
    AddToRenderList(renderable);
    SetState(Floater::Phase::kFlying);
    Throw();

    // Bigger hoards show as bigger chests.
    double s = value / 3.0 / 100.0;
    if (s > 0.4) s = 0.4;
    if (s < 0.1) s = 0.1;
    renderable->scale = Vec2(static_cast<float>(s), static_cast<float>(s));
    renderable->UpdateCorners();

    realm = kBothRealms;
}

void TreasureChest::Update(float dt) {
    Float(dt);
    if (!renderable) return;
    if (state == Life::kSinking) {
        // Down and out of sight, then gone.
        Move(velocity * dt);
        renderable->colour[3] -= dt;
        if (renderable->colour[3] <= 0.0f) SetState(Life::kDead);
        return;
    }
    if (state == Floater::Phase::kFlying) velocity.y += 750.0f * dt;
    velocity.x -= velocity.x * dt;
    velocity.y -= velocity.y * dt;
    Move(velocity * dt);

    if (state == SeaSwitch::kToGhost) {
        value += 10.0f * dt;
        if (stateTime > 1.0f) SetState(Life::kNormal);
    }
    if (state == SeaSwitch::kToLiving) {
        value -= 10.0f * dt;
        if (stateTime > 1.0f) SetState(Life::kNormal);
    }
    if (state == Floater::Phase::kFlying) {
        Water* sea = water.Get();
        const float h = sea ? sea->GetHeight(renderable->position.x, &slope) : 0.0f;
        if (h < renderable->position.y) SetState(Life::kNormal);
    }
}

void TreasureChest::Collide(GameObj* other) {
    // Nothing brings back a chest that has gone, nor does a dead object touch anything.
    if (state == Life::kDead || state == Life::kSinking || other->state == Life::kDead) return;
    const char* type = other->GetType();
    // Emptied by a ship in an earlier turn: gone at the next touch.
    if (std::strcmp(type, "MerchantShip") == 0 && value == 0.0f) SetState(Life::kDead);
    if (std::strcmp(type, "Water") == 0) SetState(Life::kNormal);
}

GameObj* MakeTreasureChest() { return new TreasureChest; }

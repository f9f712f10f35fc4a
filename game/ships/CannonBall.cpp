#include "ships/CannonBall.h"

#include <cstdint>
#include <cstring>

#include "Renderable.h"
#include "objects/GameObjFactory.h"
#include "ships/Ship.h"

void CannonBall::Init() {
    MakeSprite("images\\cannonball.tga");
    renderable->scale = Vec2(0.1f, 0.1f);
    renderable->UpdateCorners();
    renderable->SetDepth(0.41f);
    AddToRenderList(renderable);
}

void CannonBall::Update(float dt) {
    // Two separate tests: the frame that passes the top of the path is pulled twice,
    // and a ball with no vertical speed at all is not pulled.
    if (velocity.y < 0.0f) velocity.y += 750.0f * dt;
    if (velocity.y > 0.0f) velocity.y += 750.0f * dt;
    Move(velocity * dt);
    BaseStep(dt);
    if (state == Life::kNormal && stateTime > 10.0f) SetState(Life::kDead);
    if (state == Life::kSinking) {
        velocity.x -= velocity.x / 20.0f;  // once a frame, whatever the step
        if (stateTime > 2.0f) SetState(Life::kDead);
    }
}

void CannonBall::Collide(GameObj* other) {
    if (state == Life::kDead || other->state == Life::kDead) return;  // the dead are about to be removed
    const char* type = other->GetType();
    if (std::strcmp(type, "CannonBall") == 0) {
        if (other->team != team) {
            velocity.x = velocity.x * -0.5f;
            velocity.y += 10.0f;
        }
        return;
    }
    if (std::strcmp(type, "MerchantShip") != 0) return;
    if (owner.Is(other) || state == Life::kSinking || other->team == team || other->frozen) return;
    if (Ship* payee = dynamic_cast<Ship*>(owner.Get())) {
        // Steep lobs pay; above 70 degrees both amounts are paid.
        if (elevation > 45.0f) payee->AddGold(static_cast<int32_t>(elevation / 3.0f));
        if (elevation > 70.0f) payee->AddGold(static_cast<int32_t>(elevation / 2.5));
    }
    velocity.y += 10.0f;
}

GameObj* MakeCannonBall() { return new CannonBall; }

bool CannonBall::ByPlayer(const GameObj* object) {
    const auto* ball = dynamic_cast<const CannonBall*>(object);
    return ball && ball->byPlayer;
}

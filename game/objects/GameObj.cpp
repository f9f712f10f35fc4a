#include "GameObj.h"

#include "Renderable.h"
#include "Sprite.h"

GameObj::~GameObj() { delete renderable; }

Vec2* GameObj::GetCorners() { return renderable->corners; }

void GameObj::SetPosition(const Vec2& p) {
    renderable->position = p;
    renderable->UpdateCorners();
}

Vec2* GameObj::GetPosition() { return &renderable->position; }

void GameObj::BaseStep(float dt) {
    lastStep = dt;
    stateTime += dt;
    if (renderable) renderable->Update(dt);
}

void GameObj::Update(float dt) { BaseStep(dt); }

void GameObj::Init() {
    if (renderable) AddToRenderList(renderable);
}

void GameObj::Kill() {
    if (renderable) RemoveFromRenderList(renderable);
}

void GameObj::SetState(int32_t newState) {
    if (state == newState) return;
    frozen = 0;
    stateTime = 0.0f;
    state = newState;
}

void GameObj::MakeSprite(const std::string& imageName) {
    if (!renderable) {
        renderable = new Sprite(rows, columns, imageName);
        renderable->blendMode = 1;
    } else {
        renderable->SetImage(imageName);
    }
}

void GameObj::Move(const Vec2& displacement) {
    renderable->position = renderable->position + displacement;
    renderable->UpdateCorners();
}

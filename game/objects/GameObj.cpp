#include "objects/GameObj.h"

#include <unordered_set>

#include "Renderable.h"
#include "Sprite.h"

namespace {

// Serials of the objects that exist now; constructed on first use so that objects made
// during static construction find it ready.
std::unordered_set<uint64_t>& LiveSerials() {
    static std::unordered_set<uint64_t> live;
    return live;
}

uint64_t nextSerial = 1;

}  // namespace

GameObj::GameObj() : serial_(nextSerial++) { LiveSerials().insert(serial_); }

GameObj::~GameObj() {
    LiveSerials().erase(serial_);
    delete renderable;
}

bool GameObj::IsAlive(uint64_t serial) { return LiveSerials().count(serial) != 0; }

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
    // An object may be killed before it ever got its renderable.
    if (renderable) RemoveFromRenderList(renderable);
}

void GameObj::SetState(ObjState newState) {
    if (state.Number() == newState.Number()) return;
    frozen = 0;
    stateTime = 0.0f;
    state = newState;
}

void GameObj::MakeSprite(const std::string& imageName) {
    if (!renderable) {
        renderable = new Sprite(rows, columns, imageName);
        renderable->blendMode = BlendMode::kAlpha;
    } else {
        renderable->SetImage(imageName);
    }
}

void GameObj::Move(const Vec2& displacement) {
    renderable->position = renderable->position + displacement;
    renderable->UpdateCorners();
}

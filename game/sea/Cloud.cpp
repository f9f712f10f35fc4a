#include "sea/Cloud.h"

#include <cstdint>
#include <cstring>

#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/Rain.h"

Cloud::~Cloud() {
    if (rain && rain->heldBy == &rain) rain->heldBy = nullptr;
}

void Cloud::Init() {
    MakeSprite("Images\\cloud.tga");
    renderable->scale = Vec2(0.0f, 0.0f);
    renderable->UpdateCorners();
    // Two draws, x first: sequenced explicitly.
    const int rx = Rand() % 20;
    const int ry = Rand() % 20;
    targetScale = Vec2(static_cast<float>(rx / 40.0 + 0.2), static_cast<float>(ry / 40.0 + 0.2));
    AddToRenderList(renderable);
    renderable->SetDepth(1.0f);
}

void Cloud::Update(float dt) {
    if (!renderable) {  // not initialised: nothing to grow or tint
        BaseStep(dt);
        moisture = 0;
        return;
    }
    if (targetScale.x > renderable->scale.x) {
        renderable->scale.x += dt;
        renderable->UpdateCorners();
    }
    if (targetScale.y > renderable->scale.y) {
        renderable->scale.y += dt;
        renderable->UpdateCorners();
    }
    BaseStep(dt);

    float* colour = renderable->colour;
    if (state == Life::kNormal) {
        if (moisture > 1) {
            rain = static_cast<Rain*>(goManager.Create("Rain"));
            if (rain) {
                rain->heldBy = &rain;
                rain->Init();
                rain->intensity = static_cast<float>(moisture);
                rain->SetEmissionRate(2.0f * static_cast<float>(moisture));
                rain->SetPosition(renderable->position);
            }
            SetState(Phase::kRaining);
        }
    } else if (state == Phase::kRaining) {
        if (rain) {
            rain->intensity = static_cast<float>(moisture);
            rain->SetEmissionRate(2.0f * static_cast<float>(moisture));
        }
        rainTime = static_cast<float>(moisture);
        for (int i = 0; i < 3; ++i) colour[i] += (0.5f - colour[i]) * dt;
        colour[3] = 1.0f;
        // Rain lasts while the overlaps go on: with none, the next update ends it.
        if (rainTime < stateTime) SetState(Phase::kClearing);
    } else if (state == Phase::kClearing) {
        if (rain) rain->StopEmitting();
        colour[3] += (0.0f - colour[3]) * dt;
        if (stateTime > 3.0) SetState(Phase::kSpent);
    }
    moisture = 0;
}

void Cloud::Collide(GameObj* other) {
    if (std::strcmp(other->GetType(), "Cloud") != 0) return;
    const int32_t theirs = static_cast<Cloud*>(other)->moisture;
    // Clouds that keep overlapping feed each other's counts, which grow without bound;
    // saturate rather than overflow.
    const int64_t sum = static_cast<int64_t>(moisture) + (theirs > 0 ? theirs : 1);
    moisture = sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

void Cloud::Kill() {
    if (rain) {
        rain->heldBy = nullptr;
        goManager.QueueForDeletion(rain);
        rain = nullptr;
    }
    GameObj::Kill();
}

GameObj* MakeCloud() { return new Cloud; }

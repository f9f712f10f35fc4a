#include "ui/LifeBar.h"

#include "Sprite.h"
#include "objects/GameObjFactory.h"

namespace {

Sprite* MakeBarSprite(const Vec2& anchor, const float colour[4], float depth) {
    Sprite* s = new Sprite(1, 1, "images\\ui_button_wood.tga");
    s->scale = Vec2(1.0f, 0.5f);
    s->UpdateCorners();
    s->position = anchor;
    s->UpdateCorners();
    s->screenSpace = true;
    s->blendMode = BlendMode::kAlpha;
    for (int i = 0; i < 4; ++i) s->colour[i] = colour[i];
    s->SetDepth(depth);
    AddToRenderList(s);
    return s;
}

}  // namespace

void LifeBar::Init() {
    const float dim[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    const float full[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    background = MakeBarSprite(anchor, dim, 0.8f);
    renderable = MakeBarSprite(anchor, full, 0.9f);
    realm = kBothRealms;
}

void LifeBar::Update(float dt) {
    BaseStep(dt);
    if (!background) return;
    if (renderable->inRenderList) AddToRenderList(background);
    else RemoveFromRenderList(background);
    renderable->texCoords[2].x -= 1.0f - fraction;
    renderable->texCoords[3].x -= 1.0f - fraction;
}

void LifeBar::SetValue(float value, float maximum) {
    if (value == shownValue && maximum == shownMax) return;
    shownValue = value;
    shownMax = maximum;
    fraction = value / maximum;
    if (value < 0.0f) fraction = 0.0f;
    renderable->scale = Vec2(fraction, 0.5f);
    renderable->UpdateCorners();
    float w = renderable->GetWidth();
    renderable->position =
        Vec2(anchor.x - w * 0.5f + w * fraction * 0.5f, anchor.y);
    renderable->UpdateCorners();
}

void LifeBar::Kill() {
    delete background;
    background = nullptr;
    RemoveFromRenderList(renderable);
}

GameObj* MakeLifeBar() { return new LifeBar; }

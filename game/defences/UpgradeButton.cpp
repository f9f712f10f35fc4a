#include "defences/UpgradeButton.h"

#include "Box.h"
#include "Orlop.h"
#include "Renderable.h"
#include "objects/GameObjFactory.h"

void UpgradeButton::Init() {
    MakeSprite("Images\\Nothing.tga");
    renderable->colour[0] = 1.0f;
    renderable->colour[1] = 1.0f;
    renderable->colour[2] = 1.0f;
    renderable->colour[3] = 0.0f;
    renderable->screenSpace = true;
    renderable->SetDepth(0.9f);
    AddToRenderList(renderable);
    renderable->scale = Vec2(40.0f, 5.0f);
    renderable->UpdateCorners();
    textScale = Vec2(0.5f, 0.5f);
}

void UpgradeButton::Update(float dt) {
    UIButton::Update(dt);
    if (state != Life::kNormal) return;
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    hovered = BoxContains(renderable->corners, orlop.mousePosition) ? 1 : 0;
    const float gold[4] = {0.95f, 0.6f, 0.05f, 1.0f};
    const float* c = hovered ? white : black;
    for (int i = 0; i < 4; ++i) textColour[i] = c[i] + (gold[i] - c[i]) * glow;
}

GameObj* MakeUpgradeButton() { return new UpgradeButton; }

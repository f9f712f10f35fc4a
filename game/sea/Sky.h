#pragma once

#include "objects/GameObj.h"

class ComplexSprite;
class Sprite;

// The screen-space backdrop, tinted top and bottom, with a drifting fog layer in front.
// The sea toggle (SeaSwitch::kToGhost, SeaSwitch::kToLiving) blends it between its living and ghost
// colours.
class Sky : public GameObj {
public:
    Sky() = default;
    ~Sky() override;

    const char* GetType() override { return "Sky"; }
    void Init() override;
    void Update(float dt) override;
    void Kill() override;

    // The backdrop (the renderable), or null before Init.
    ComplexSprite* Backdrop();

    // Set by the creator before Init; RGBA.
    float ghostTop[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float ghostBottom[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float livingTop[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float livingBottom[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    Sprite* fog = nullptr;  // owned; made by Init, deleted by Kill

private:
    void SetColours(const float* top, const float* bottom);
};

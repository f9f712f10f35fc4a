#pragma once

#include "objects/GameObj.h"

class Sprite;

// The player's health: a bar cut (not squeezed) to value / maximum over a dimmed
// full-length copy. Keeps the base type name.
class LifeBar : public GameObj {
public:
    void Update(float dt) override;
    void Init() override;
    void Kill() override;

    void SetValue(float value, float maximum);

    float fraction = 0.0f;
    Sprite* background = nullptr;
    Vec2 anchor{145.0f, 15.0f};  // centre of the full bar, window pixels
    float shownValue = 0.0f;
    float shownMax = 0.0f;
};

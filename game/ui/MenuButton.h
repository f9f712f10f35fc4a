#pragma once

#include "ui/UIButton.h"

class Water;

// A main-menu button: slides right under the cursor; once pressed it falls into the
// sea, floats there while fading, and comes back home.
// States: normal (idle), falling, floating, returning (one update).
class MenuButton : public UIButton {
public:
    static constexpr int32_t kFalling = 0x600;
    static constexpr int32_t kFloating = 12;
    static constexpr int32_t kReturning = 2;

    void Update(float dt) override;
    void Collide(GameObj* other) override;

    Vec2 home;
    Water* water = nullptr;
    float savedAlpha = 1.0f;
    uint8_t hovered = 0;
};

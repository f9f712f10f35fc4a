#pragma once

#include "ui/UIButton.h"

class Water;

// A main-menu button: slides right under the cursor; once pressed it falls into the
// sea, floats there while fading, and comes back home.
// States: normal (idle), falling, floating, returning (one update).
class MenuButton : public UIButton {
public:
    enum class Phase : int32_t { kFalling = 0x600, kFloating = 12, kReturning = 2 };
    static_assert(PhasesClearOfShared({Phase::kFalling, Phase::kFloating, Phase::kReturning}));

    void Update(float dt) override;
    void Collide(GameObj* other) override;

    Vec2 home;
    Water* water = nullptr;
    float savedAlpha = 1.0f;
    uint8_t hovered = 0;
};

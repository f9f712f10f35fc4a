#pragma once

#include <cstdint>

#include "Floater.h"

// Gold left by a sunk ship: thrown up, floats, taken by the first merchant ship to touch it.
// States: 5600 flying, 1 floating, 5 and 6 the sea toggle, 3 dead.
class TreasureChest : public Floater {
public:
    static constexpr int32_t kFlying = 5600;

    const char* GetType() override { return "TreasureChest"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;

    float value = 0.0f;  // gold; set by the creator before Init
};

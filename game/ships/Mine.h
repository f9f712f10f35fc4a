#pragma once

#include <cstdint>

#include "ships/Floater.h"

// Thrown into the air, lands and floats, explodes after three seconds afloat or on touch.
// States: flying, normal (floating), exploding (one update), dead.
class Mine : public Floater {
public:
    enum class Phase : int32_t { kExploding = 2 };  // for one update
    static_assert(PhasesClearOfShared({Phase::kExploding}));

    const char* GetType() override { return "Mine"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;

    float fuse = 3.0f;  // seconds afloat before it explodes by itself
};

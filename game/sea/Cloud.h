#pragma once

#include <cstdint>

#include "objects/GameObj.h"

class Rain;

// Grows to a random size and rains while it overlaps at least two clouds' worth of
// moisture. States: normal (drifting), then raining, clearing and spent.
class Cloud : public GameObj {
public:
    enum class Phase : int32_t { kRaining = 1000, kClearing = 2, kSpent = 4 };
    static_assert(PhasesClearOfShared({Phase::kRaining, Phase::kClearing, Phase::kSpent}));

    Cloud() = default;
    ~Cloud() override;

    const char* GetType() override { return "Cloud"; }
    void Init() override;
    void Update(float dt) override;
    void Collide(GameObj* other) override;
    // Queues its rain for deletion.
    void Kill() override;

    Rain* rain = nullptr;  // not owned: the manager owns it
    Vec2 targetScale{0.01f, 0.01f};
    int32_t moisture = 0;  // overlaps counted since the last update
    float rainTime = 0.0f;
};

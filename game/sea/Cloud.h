#pragma once

#include <cstdint>

#include "objects/GameObj.h"

class Rain;

// Grows to a random size and rains while it overlaps at least two clouds' worth of
// moisture. States: normal (drifting), then raining, clearing and spent.
class Cloud : public GameObj {
public:
    static constexpr int32_t kRaining = 1000;
    static constexpr int32_t kClearing = 2;
    static constexpr int32_t kSpent = 4;

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

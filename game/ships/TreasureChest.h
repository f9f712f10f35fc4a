#pragma once

#include <cstdint>
#include <deque>

#include "objects/ObjRef.h"
#include "ships/Floater.h"

// Gold left by a sunk ship: thrown up, floats, taken by the first merchant ship to touch it.
// States: flying, normal (floating), the sea toggle, sinking out of reach, dead.
class TreasureChest : public Floater {
public:
    // At most this many chests float at once: a new one past it sends the oldest
    // uncollected chest to the bottom, so a long game cannot fill the sea with them.
    static constexpr int kMaxAfloat = 40;
    // Chests not yet sinking or dead.
    static int CountAfloat();

    const char* GetType() override { return "TreasureChest"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;

    float value = 0.0f;  // gold; set by the creator before Init

private:
    // Every chest made, oldest first; gone ones are dropped as they are met.
    static std::deque<ObjRef<TreasureChest>> made_;
};

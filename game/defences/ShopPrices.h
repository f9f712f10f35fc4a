#pragma once

#include <cstdint>

// What the shop asks for the next upgrade of each kind. A set belongs to a game: every
// tower's panel in it sells at the same prices, and a new game starts again at kStart.
struct ShopPrices {
    static constexpr int32_t kStart = 10;
    int32_t gunpower = kStart;
    int32_t speed = kStart;
    int32_t strength = kStart;
    int32_t reload = kStart;
};

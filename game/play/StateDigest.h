#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Game;

// 64-bit FNV-1a over bytes fed in order.
class Fnv1a {
public:
    void Add(const void* bytes, size_t count);
    void AddInt(int64_t v) { Add(&v, sizeof v); }
    // By bit pattern: -0.0 and 0.0 differ, as any change of state should show.
    void AddFloat(float v) { Add(&v, sizeof v); }
    void AddText(const char* text);
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

// A digest of the whole game state: every object's type, state, position, velocity and
// difficulty (and health and gold for ships), the game record's level and phase, and
// the random generator's state. Two runs that played alike give the same digest.
uint64_t ComputeStateDigest(const Game* game);

// "digest " and sixteen hex digits.
std::string FormatDigest(uint64_t digest);

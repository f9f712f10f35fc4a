#pragma once

#include <cstdint>

// Small deterministic generator (splitmix64): the same seed draws the same art on
// every machine, so builds are reproducible.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Uniform() { return (Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    int Int(int lo, int hiInclusive) {
        return lo + static_cast<int>(Next() % static_cast<uint64_t>(hiInclusive - lo + 1));
    }

private:
    uint64_t state_;
};

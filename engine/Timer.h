#pragma once

#include <cstdint>

// Frame pacing clock on the monotonic high-resolution counter (nanosecond ticks).
class Timer {
public:
    Timer();

    // Seconds since the previous call (or construction), computed in double.
    float Elapsed();
    // Busy-waits until at least 1 / framesPerSecond has passed.
    float WaitForRate(float framesPerSecond);

    static int64_t Now();

    int64_t frequency;
    int64_t start;
    int64_t last;
};

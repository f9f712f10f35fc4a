#pragma once

#include <cstdint>

// Frame pacing clock on the monotonic high-resolution counter (nanosecond ticks).
class Timer {
public:
    using Clock = int64_t (*)();
    using Sleeper = void (*)(int64_t nanoseconds);

    Timer();

    // Seconds since the previous call (or construction), computed in double.
    float Elapsed();
    // Returns once at least 1 / framesPerSecond has passed since the previous call
    // ended (or since the last Elapsed). Sleeps through most of the wait and spins only
    // the last stretch, where the scheduler's wake-up error could overshoot.
    float WaitForRate(float framesPerSecond);

    static int64_t Now();
    static void Sleep(int64_t nanoseconds);

    // The counter and the sleep the timer uses; tests substitute clocks they control.
    Clock clock = &Timer::Now;
    Sleeper sleeper = &Timer::Sleep;

    int64_t frequency;
    int64_t start;
    int64_t last;

    // Waits shorter than this are spun rather than slept (nanoseconds).
    static constexpr int64_t kSpinNanoseconds = 1000000;
};

#include "Timer.h"

#include <chrono>

int64_t Timer::Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Timer::Timer() : frequency(1000000000), start(Now()), last(start) {}

float Timer::Elapsed() {
    int64_t now = Now();
    double seconds = static_cast<double>(now - last) / static_cast<double>(frequency);
    last = now;
    return static_cast<float>(seconds);
}

float Timer::WaitForRate(float framesPerSecond) {
    float period = 1.0f / framesPerSecond;
    float sum = 0.0f;
    while (sum < period) sum += Elapsed();
    return sum;
}

#include "Timer.h"

#include <chrono>
#include <cmath>
#include <thread>

int64_t Timer::Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Timer::Sleep(int64_t nanoseconds) {
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}

Timer::Timer() : frequency(1000000000), start(Now()), last(start) {}

float Timer::Elapsed() {
    int64_t now = clock();
    double seconds = static_cast<double>(now - last) / static_cast<double>(frequency);
    last = now;
    return static_cast<float>(seconds);
}

float Timer::WaitForRate(float framesPerSecond) {
    // The period is the float 1 / rate, compared in whole counter ticks: a running float
    // sum of many tiny pieces would round away up to a percent of the real time.
    const float period = 1.0f / framesPerSecond;
    const int64_t periodTicks =
        static_cast<int64_t>(std::ceil(static_cast<double>(period) * static_cast<double>(frequency)));
    const int64_t spinTicks = kSpinNanoseconds * frequency / 1000000000;
    const int64_t from = last;
    int64_t now = clock();
    while (now - from < periodTicks) {
        const int64_t remaining = periodTicks - (now - from);
        if (remaining > spinTicks) sleeper((remaining - spinTicks) * 1000000000 / frequency);
        now = clock();
    }
    last = now;
    return static_cast<float>(static_cast<double>(now - from) / static_cast<double>(frequency));
}

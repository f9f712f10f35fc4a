#include "sea/WaveSim.h"

#include <cmath>

namespace {

// 0.0007 as the original arithmetic produced it; the gain is rounded from this double.
constexpr double kFlowBase = 7.000000000000001e-4;
constexpr double kFlowDamping = 0.997;
constexpr double kFlowToVolume = 0.1;
constexpr double kTotalVolume = 0.01;
// Pushes reach five boundaries either side, so this many columns must lie beyond.
constexpr int kEdgeGuard = 6;

}  // namespace

void WaveSim::Init(int n, float scale) {
    count = n > 0 ? n : 0;
    cellWidth = count > 0 ? 1.0f / static_cast<float>(count) : 0.0f;
    heightScale = scale;
    heights.assign(count, 0.0f);
    flows.assign(count + 1, 0.0f);
    volumes.assign(count, count > 0 ? static_cast<float>(kTotalVolume / count) : 0.0f);
    flowGain = count > 0 ? static_cast<float>(kFlowBase / (static_cast<double>(cellWidth) * 5.0))
                         : 0.0f;
    impulseGain = 7e-5f;
}

void WaveSim::Step() {
    const int n = count;
    if (n <= 0) return;
    float* v = volumes.data();
    float* q = flows.data();
    float* h = heights.data();

    // The sum is formed in float, the damping applied in double, as the gains demand.
    for (int i = 1; i < n; ++i) {
        const float pushed = q[i] + (v[i - 1] - v[i]) * flowGain;
        q[i] = static_cast<float>(pushed * kFlowDamping);
    }

    // A column cannot hold less than nothing: what it lacks is owed by everyone alike,
    // which keeps the total exact without favouring any place.
    float deficit = 0.0f;
    for (int i = 0; i < n; ++i) {
        v[i] = static_cast<float>(v[i] + (q[i] - q[i + 1]) * kFlowToVolume);
        if (v[i] < 0.0f) {
            deficit += v[i];
            v[i] = 0.0f;
        }
    }

    const float share = deficit / static_cast<float>(n);
    const float toHeight = heightScale / cellWidth;
    for (int i = 0; i < n; ++i) {
        v[i] += share;
        h[i] = v[i] * toHeight * 100.0f;
    }
}

bool WaveSim::Impulse(int index, float strength, float& f) const {
    if (index < kEdgeGuard || index >= count - kEdgeGuard) return false;
    // A bad caller's NaN or infinity would poison every column for good.
    if (!std::isfinite(strength)) return false;
    f = static_cast<float>(static_cast<double>(impulseGain) * -static_cast<double>(strength));
    return true;
}

void WaveSim::Ripple(int j, float strength) {
    float f = 0.0f;
    if (!Impulse(j, strength, f)) return;
    float* q = flows.data();
    q[j - 5] -= f / 7.0f;
    q[j - 4] -= f / 6.0f;
    q[j - 3] -= f / 5.0f;
    q[j - 2] = static_cast<float>(q[j - 2] - f * 0.25);
    q[j - 1] -= f / 7.0f;
    q[j + 1] += f / 7.0f;
    q[j + 2] = static_cast<float>(q[j + 2] + f * 0.25);
    q[j + 3] += f / 5.0f;
    q[j + 4] += f / 6.0f;
    q[j + 5] += f / 7.0f;
}

void WaveSim::Surge(int j, float strength) {
    float f = 0.0f;
    if (!Impulse(j, strength, f)) return;
    float* q = flows.data();
    q[j - 5] = static_cast<float>(q[j - 5] - f * 0.125);
    q[j - 4] -= f / 7.0f;
    q[j - 3] -= f / 6.0f;
    q[j - 2] -= f / 5.0f;
    q[j - 1] = static_cast<float>(q[j - 1] - f * 0.25);
    q[j + 1] = static_cast<float>(q[j + 1] + f * 0.25);
    q[j + 2] += f / 5.0f;
    q[j + 3] += f / 6.0f;
    q[j + 4] -= f / 7.0f;
    q[j + 5] = static_cast<float>(q[j + 5] - f * 0.125);
}

double WaveSim::TotalVolume() const {
    double sum = 0.0;
    for (float v : volumes) sum += v;
    return sum;
}

#include "SoundSynth.h"

#include <algorithm>
#include <cmath>

#include "Biquad.h"
#include "Rng.h"

namespace {

constexpr double kRateD = SoundSynth::kRate;

double Smoothstep(double e0, double e1, double x) {
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace

void SoundSynth::Finish(std::vector<float>& samples, double peak, double fadeSeconds) {
    float maxAbs = 0;
    for (float s : samples) maxAbs = std::max(maxAbs, std::abs(s));
    if (maxAbs <= 0) return;
    const double gain = peak / maxAbs;
    const size_t fade = std::min(samples.size(), static_cast<size_t>(fadeSeconds * kRateD));
    for (size_t i = 0; i < samples.size(); ++i) {
        double g = gain;
        size_t fromEnd = samples.size() - 1 - i;
        if (fromEnd < fade) g *= static_cast<double>(fromEnd) / fade;
        samples[i] = static_cast<float>(samples[i] * g);
    }
}

std::vector<float> SoundSynth::CannonFire() const {
    const size_t n = static_cast<size_t>(1.8 * kRateD);
    std::vector<float> dry(n);
    Rng rng(0xB00E);
    Biquad body, rumble(Biquad::Kind::kLowPass, 110, 0.8, kRateD), crackTone(Biquad::Kind::kHighPass, 900, 0.7, kRateD);
    double phase = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = i / kRateD;
        if (i % 32 == 0) body.Set(Biquad::Kind::kLowPass, 180 + 3200 * std::exp(-t / 0.05), 0.9, kRateD);
        const double white = rng.Range(-1, 1);
        const double crack = crackTone.Process(white) * std::exp(-t / 0.004) * 1.6;
        const double freq = 38 + 80 * std::exp(-t / 0.045);
        phase += 2 * M_PI * freq / kRateD;
        const double thump = std::sin(phase) * std::exp(-t / 0.22) * Smoothstep(0, 0.002, t) * 1.1;
        const double blast = body.Process(white) * std::exp(-t / 0.28) * 1.4;
        const double roll = rumble.Process(white) * std::exp(-t / 0.6) * Smoothstep(0, 0.04, t) * 3.0;
        dry[i] = static_cast<float>(crack + thump + blast + roll);
    }
    // Two soft echoes, duller than the shot.
    std::vector<float> out(dry);
    for (auto [delay, gain] : {std::pair{0.23, 0.22}, {0.41, 0.11}}) {
        Biquad dull(Biquad::Kind::kLowPass, 700, 0.7, kRateD);
        const size_t d = static_cast<size_t>(delay * kRateD);
        for (size_t i = d; i < n; ++i) out[i] += static_cast<float>(dull.Process(dry[i - d]) * gain);
    }
    Finish(out, 0.9, 0.08);
    return out;
}

std::vector<float> SoundSynth::Splash() const {
    const size_t n = static_cast<size_t>(1.2 * kRateD);
    std::vector<float> out(n, 0.0f);
    Rng rng(0x5B1A5);
    Biquad spray, hiss(Biquad::Kind::kHighPass, 3000, 0.7, kRateD);
    double phase = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = i / kRateD;
        if (i % 32 == 0) spray.Set(Biquad::Kind::kBandPass, 900 + 1800 * std::exp(-t / 0.12), 0.8, kRateD);
        const double white = rng.Range(-1, 1);
        phase += 2 * M_PI * (130 + 220 * std::exp(-t / 0.025)) / kRateD;
        const double plop = std::sin(phase) * std::exp(-t / 0.045) * Smoothstep(0, 0.003, t) * 0.8;
        const double env = Smoothstep(0, 0.01, t) * (std::exp(-t / 0.16) + 0.25 * std::exp(-t / 0.5));
        const double burst = spray.Process(white) * env * 2.2;
        const double fizz = hiss.Process(white) * Smoothstep(0, 0.02, t) * std::exp(-t / 0.3) * 0.25;
        out[i] = static_cast<float>(plop + burst + fizz);
    }
    // Bubbles: short rising chirps scattered through the tail.
    for (int b = 0; b < 28; ++b) {
        const double start = rng.Range(0.04, 0.95), f0 = rng.Range(700, 2400);
        const double amp = 0.22 * std::exp(-start / 0.45);
        const size_t s0 = static_cast<size_t>(start * kRateD), len = static_cast<size_t>(0.04 * kRateD);
        double ph = 0;
        for (size_t k = 0; k < len && s0 + k < n; ++k) {
            const double t = k / kRateD;
            ph += 2 * M_PI * f0 * (1 + 0.8 * t / 0.04) / kRateD;
            out[s0 + k] += static_cast<float>(std::sin(ph) * amp * std::exp(-t / 0.012) * Smoothstep(0, 0.002, t));
        }
    }
    Biquad dc(Biquad::Kind::kHighPass, 60, 0.7, kRateD);
    for (auto& s : out) s = static_cast<float>(dc.Process(s));
    Finish(out, 0.85, 0.1);
    return out;
}

std::vector<float> SoundSynth::Dead() const {
    const double length = 3.5;
    const size_t n = static_cast<size_t>(length * kRateD);
    std::vector<float> out(n, 0.0f);
    Rng rng(0xDEAD);
    Biquad wind, wind2, sub(Biquad::Kind::kLowPass, 90, 0.7, kRateD);
    double p1 = 0, p2 = 0, p3 = 0, p4 = 0;
    for (size_t i = 0; i < n; ++i) {
        const double t = i / kRateD;
        const double env = Smoothstep(0, 1.1, t) * (1 - Smoothstep(1.5, length, t));
        if (i % 32 == 0) {
            const double sweep = std::sin(M_PI * std::min(1.0, t / 2.6));
            wind.Set(Biquad::Kind::kBandPass, 110 + 480 * sweep * sweep, 1.4, kRateD);
            wind2.Set(Biquad::Kind::kBandPass, 220 + 800 * sweep * sweep, 2.5, kRateD);
        }
        const double white = rng.Range(-1, 1);
        const double whoosh = (wind.Process(white) * 2.6 + wind2.Process(white) * 0.7) * env;
        // A low drone of a fifth and a rubbing minor second that beat slowly.
        p1 += 2 * M_PI * 55.0 / kRateD;
        p2 += 2 * M_PI * 58.27 / kRateD;
        p3 += 2 * M_PI * 82.41 / kRateD;
        const double drone = (std::sin(p1) + 0.7 * std::sin(p2) + 0.5 * std::sin(p3) + 0.3 * std::sin(2 * p1)) * 0.22 * env;
        // A wail sinking an octave, trembling.
        const double wailFreq = 392.0 * std::pow(0.5, std::min(1.0, t / 3.0));
        p4 += 2 * M_PI * wailFreq / kRateD;
        const double wail = std::sin(p4 + 0.3 * std::sin(p4 * 2)) * (0.6 + 0.4 * std::sin(2 * M_PI * 6 * t)) *
                            0.10 * Smoothstep(0.3, 1.2, t) * (1 - Smoothstep(1.8, length, t));
        const double rumble = sub.Process(white) * 2.5 * env;
        out[i] = static_cast<float>(whoosh + drone + wail + rumble);
    }
    // A sparse echo gives the ghost sea its hollow space.
    std::vector<float> wet(out);
    for (auto [delay, gain] : {std::pair{0.113, 0.35}, {0.271, 0.25}, {0.457, 0.15}}) {
        const size_t d = static_cast<size_t>(delay * kRateD);
        for (size_t i = d; i < n; ++i) wet[i] += static_cast<float>(out[i - d] * gain);
    }
    Finish(wet, 0.85, 0.2);
    return wet;
}

#include "Biquad.h"

#include <algorithm>
#include <cmath>

void Biquad::Set(Kind kind, double frequency, double q, double sampleRate) {
    frequency = std::clamp(frequency, 10.0, sampleRate * 0.45);
    const double w0 = 2 * M_PI * frequency / sampleRate;
    const double cw = std::cos(w0), alpha = std::sin(w0) / (2 * q);
    double b0, b1, b2;
    switch (kind) {
        case Kind::kLowPass:
            b0 = (1 - cw) / 2;
            b1 = 1 - cw;
            b2 = (1 - cw) / 2;
            break;
        case Kind::kHighPass:
            b0 = (1 + cw) / 2;
            b1 = -(1 + cw);
            b2 = (1 + cw) / 2;
            break;
        case Kind::kBandPass:
        default:
            b0 = alpha;
            b1 = 0;
            b2 = -alpha;
            break;
    }
    const double a0 = 1 + alpha;
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
    a1_ = -2 * cw / a0;
    a2_ = (1 - alpha) / a0;
}

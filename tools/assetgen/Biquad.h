#pragma once

// A second-order filter (the usual audio cookbook forms), used for the noise
// shaping of the effects and the tone of the instruments.
class Biquad {
public:
    enum class Kind { kLowPass, kHighPass, kBandPass };

    Biquad() = default;
    Biquad(Kind kind, double frequency, double q, double sampleRate) { Set(kind, frequency, q, sampleRate); }

    // Changing the coefficients keeps the filter's state, so a sweep stays smooth.
    void Set(Kind kind, double frequency, double q, double sampleRate);
    double Process(double x) {
        double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

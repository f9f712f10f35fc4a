#include "Noise.h"

#include <cmath>

namespace {

int Wrap(int v, int period) {
    if (period <= 0) return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

double Noise::Lattice(int x, int y) const {
    uint32_t h = seed_ ^ (static_cast<uint32_t>(x) * 0x8DA6B343u) ^ (static_cast<uint32_t>(y) * 0xD8163841u);
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    h *= 0x27D4EB2Du;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double Noise::Sample(double x, double y, int periodX, int periodY) const {
    double fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    double tx = Fade(x - fx), ty = Fade(y - fy);
    int xa = Wrap(x0, periodX), xb = Wrap(x0 + 1, periodX);
    int ya = Wrap(y0, periodY), yb = Wrap(y0 + 1, periodY);
    double a = Lattice(xa, ya), b = Lattice(xb, ya);
    double c = Lattice(xa, yb), d = Lattice(xb, yb);
    double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double Noise::Fbm(double x, double y, int octaves, int periodX, int periodY) const {
    double sum = 0, amplitude = 1, total = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        int px = periodX > 0 ? periodX * static_cast<int>(frequency) : 0;
        int py = periodY > 0 ? periodY * static_cast<int>(frequency) : 0;
        // Each octave gets its own offset so the octaves do not line up at the origin.
        sum += amplitude * Sample(x * frequency + 17.3 * i, y * frequency + 31.7 * i, px, py);
        total += amplitude;
        amplitude *= 0.5;
        frequency *= 2;
    }
    return sum / total;
}

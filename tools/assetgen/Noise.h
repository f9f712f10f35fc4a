#pragma once

#include <cstdint>

// Smooth value noise on an integer lattice, optionally periodic so that
// scrolling textures (the fog) tile without a seam.
class Noise {
public:
    explicit Noise(uint32_t seed) : seed_(seed) {}

    // Noise in [0, 1]; with a period > 0 the lattice wraps every period cells.
    double Sample(double x, double y, int periodX = 0, int periodY = 0) const;
    // Sum of octaves, each twice the frequency and half the amplitude; normalised to [0, 1].
    // Periods double with each octave, so a periodic field stays periodic.
    double Fbm(double x, double y, int octaves, int periodX = 0, int periodY = 0) const;

private:
    double Lattice(int x, int y) const;
    uint32_t seed_;
};

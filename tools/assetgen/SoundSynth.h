#pragma once

#include <vector>

// The three effects, mono at 44.1 kHz (the game places them in 3-D), as samples
// in -1..1.
class SoundSynth {
public:
    static constexpr int kRate = 44100;

    // About 1.8 s: a sharp crack, a falling thump and a rolling rumble with a
    // faint echo off the shore.
    std::vector<float> CannonFire() const;
    // About 1.2 s: a plop, a burst of spray and bubbles settling.
    std::vector<float> Splash() const;
    // About 3.5 s: the dark whoosh of the sea turning to the ghost sea, a swell of
    // filtered wind over a low, beating drone and a sinking wail.
    std::vector<float> Dead() const;

    // Scales to the given peak and fades the last milliseconds to silence.
    static void Finish(std::vector<float>& samples, double peak, double fadeSeconds);
};

#pragma once

#include <cstddef>
#include <vector>

// The music: an original shanty in D Dorian for concertina, fiddle, plucked bass,
// strummed chords and a frame drum. 16 bars of 4/4 at 120 beats a minute, 32 s.
// It is rendered as a circle: notes and echoes that ring past the end continue at
// the start, so the loop joins without a click.
class ShantyComposer {
public:
    static constexpr int kRate = 44100;
    static constexpr int kBars = 16;
    static constexpr double kBeatSeconds = 0.5;
    static constexpr size_t kFrames = static_cast<size_t>(kBars * 4 * kBeatSeconds * kRate);

    // Interleaved stereo, kFrames frames.
    std::vector<float> Compose() const;
};

#pragma once

#include <string>
#include <vector>

// MP3 through libmp3lame, with the LAME header that records the encoder delay and
// padding, so a gapless decoder returns exactly the samples that went in (the
// music loop depends on it).
class Mp3Encoder {
public:
    // samples: interleaved, -1..1. Returns false when encoding or writing fails.
    static bool Encode(const std::vector<float>& samples, int channels, int sampleRate, int kbps,
                       const std::string& path);
};

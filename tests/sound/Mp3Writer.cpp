#include "Mp3Writer.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace soundtest {

bool WriteToneMp3(const std::string& path, double seconds, int rate, int channels,
                  double frequency, double amplitudeLeft, double amplitudeRight) {
    lame_t lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    // Plain stereo keeps a silent channel silent; joint stereo would blur them.
    lame_set_mode(lame, channels == 1 ? MONO : STEREO);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    const int frames = static_cast<int>(seconds * rate);
    std::vector<short> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * pi * frequency * i / rate);
        left[static_cast<size_t>(i)] = static_cast<short>(std::lround(32767.0 * amplitudeLeft * s));
        right[static_cast<size_t>(i)] = static_cast<short>(std::lround(32767.0 * amplitudeRight * s));
    }
    std::vector<unsigned char> mp3(static_cast<size_t>(frames) * 5 / 4 + 7200 + 16384);
    int bytes = lame_encode_buffer(lame, left.data(), channels == 2 ? right.data() : left.data(),
                                   frames, mp3.data(), static_cast<int>(mp3.size()));
    if (bytes < 0) {
        lame_close(lame);
        return false;
    }
    int tail = lame_encode_flush(lame, mp3.data() + bytes, static_cast<int>(mp3.size()) - bytes);
    if (tail < 0) {
        lame_close(lame);
        return false;
    }
    bytes += tail;
    FILE* f = std::fopen(path.c_str(), "w+b");
    bool ok = f && std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), f) ==
                       static_cast<size_t>(bytes);
    if (f) {
        // Fills in the info frame at the start of the file: delay and padding for gapless play.
        if (ok) lame_mp3_tags_fid(lame, f);
        ok = std::fclose(f) == 0 && ok;
    }
    lame_close(lame);
    return ok;
}

}  // namespace soundtest

#include "Mp3Encoder.h"

#include <lame/lame.h>

#include <cstdio>
#include <fstream>

bool Mp3Encoder::Encode(const std::vector<float>& samples, int channels, int sampleRate, int kbps,
                        const std::string& path) {
    lame_global_flags* lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, sampleRate);
    lame_set_out_samplerate(lame, sampleRate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }

    const int frames = static_cast<int>(samples.size() / channels);
    std::vector<float> left(frames), right(frames);
    for (int i = 0; i < frames; ++i) {
        left[i] = samples[static_cast<size_t>(i) * channels];
        right[i] = channels > 1 ? samples[static_cast<size_t>(i) * channels + 1] : left[i];
    }
    std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames + 7200 + 16384));
    int bytes = lame_encode_buffer_ieee_float(lame, left.data(), right.data(), frames, mp3.data(),
                                              static_cast<int>(mp3.size()));
    if (bytes < 0) {
        lame_close(lame);
        return false;
    }
    int tail = lame_encode_flush(lame, mp3.data() + bytes, static_cast<int>(mp3.size()) - bytes);
    if (tail < 0) {
        lame_close(lame);
        return false;
    }
    mp3.resize(static_cast<size_t>(bytes + tail));
    // The first frame was left empty for this tag (delay, padding, length).
    unsigned char tag[2880];
    size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof(tag));
    lame_close(lame);
    if (tagBytes == 0 || tagBytes > mp3.size()) return false;
    std::copy(tag, tag + tagBytes, mp3.begin());

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    return static_cast<bool>(file);
}

#include "DecodedSound.h"

#include <mpg123.h>

DecodedSound::DecodedSound(const std::string& path) {
    mpg123_init();
    int err = MPG123_OK;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh) {
        error_ = mpg123_plain_strerror(err);
        return;
    }
    // Float output at whatever rate and channel count the file has.
    mpg123_format_none(mh);
    for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(mh, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(mh, path.c_str()) != MPG123_OK) {
        error_ = mpg123_strerror(mh);
        mpg123_delete(mh);
        return;
    }
    int encoding = 0;
    mpg123_getformat(mh, &rate_, &channels_, &encoding);
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        size_t done = 0;
        int r = mpg123_read(mh, buffer.data(), buffer.size(), &done);
        const float* f = reinterpret_cast<const float*>(buffer.data());
        samples_.insert(samples_.end(), f, f + done / sizeof(float));
        if (r == MPG123_DONE) break;
        if (r == MPG123_NEW_FORMAT) {
            mpg123_getformat(mh, &rate_, &channels_, &encoding);
            continue;
        }
        if (r != MPG123_OK) {
            error_ = mpg123_strerror(mh);
            break;
        }
    }
    mpg123_close(mh);
    mpg123_delete(mh);
    ok_ = error_.empty() && channels_ > 0 && !samples_.empty();
}

std::vector<float> DecodedSound::Channel(int channel) const {
    std::vector<float> out(Frames());
    for (size_t i = 0; i < out.size(); ++i) out[i] = At(i, channel);
    return out;
}

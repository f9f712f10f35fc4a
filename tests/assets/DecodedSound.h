#pragma once

#include <string>
#include <vector>

// An MP3 decoded with libmpg123 at its default settings (gapless on), as the
// game's sound code decodes it: interleaved samples in -1..1.
class DecodedSound {
public:
    explicit DecodedSound(const std::string& path);

    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    long Rate() const { return rate_; }
    int Channels() const { return channels_; }
    size_t Frames() const { return channels_ ? samples_.size() / channels_ : 0; }
    double Seconds() const { return rate_ ? static_cast<double>(Frames()) / rate_ : 0; }
    float At(size_t frame, int channel) const { return samples_[frame * channels_ + channel]; }
    // One channel's samples.
    std::vector<float> Channel(int channel) const;

private:
    bool ok_ = false;
    std::string error_;
    long rate_ = 0;
    int channels_ = 0;
    std::vector<float> samples_;
};

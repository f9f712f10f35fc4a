#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct mpg123_handle_struct;

// Decodes an MP3 file to interleaved signed 16-bit samples, either piecewise
// (the music stream) or all at once (effects).
class Mp3Decoder {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Opens the file and reads its first frame; false when it is not a decodable MP3.
    bool Open(const std::string& path);
    long Rate() const { return rate_; }
    int Channels() const { return channels_; }

    // Decodes up to `frames` frames into `out`; 0 at the end of the file or on an error.
    size_t Read(int16_t* out, size_t frames);
    // Like Read, but starts again from the beginning at the end of the file.
    size_t ReadLooping(int16_t* out, size_t frames);
    bool Rewind();
    // Decodes the first sample and goes back to the start: false for a file that opens
    // but holds no sound.
    bool HoldsSound();

private:
    mpg123_handle_struct* handle_ = nullptr;
    long rate_ = 0;
    int channels_ = 0;
};

// What a file turned out to hold.
enum class Mp3Content {
    kSound,       // at least one sample
    kUnreadable,  // not an MP3 this decoder can open
    kSilent,      // a valid MP3 that decodes to no samples at all (e.g. encoded from nothing)
};

// Decodes a whole file. With toMono, stereo is mixed down to one channel.
// Anything but kSound leaves nothing decoded.
Mp3Content DecodeMp3(const std::string& path, bool toMono, std::vector<int16_t>& samples, long& rate,
                     int& channels);

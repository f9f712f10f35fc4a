#pragma once

#include <sys/types.h>

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

    // Sound files larger than this are not read.
    static constexpr size_t kMaxFileBytes = 64u << 20;

    // Reads the whole file (a regular file only: a FIFO or a device is never waited on)
    // and decodes its first frame; false when it is not a decodable MP3.
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
    // The file's bytes, which mpg123 reads and seeks through the callbacks.
    struct Bytes {
        std::string data;
        size_t at = 0;
    };
    static ssize_t ReadBytes(void* bytes, void* out, size_t count);
    static off_t SeekBytes(void* bytes, off_t offset, int whence);

    Bytes bytes_;
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

#include "Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "DataFile.h"

namespace {

void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

Mp3Decoder::~Mp3Decoder() {
    if (handle_) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

ssize_t Mp3Decoder::ReadBytes(void* bytes, void* out, size_t count) {
    Bytes& b = *static_cast<Bytes*>(bytes);
    const size_t n = std::min(count, b.data.size() - b.at);
    std::memcpy(out, b.data.data() + b.at, n);
    b.at += n;
    return static_cast<ssize_t>(n);
}

off_t Mp3Decoder::SeekBytes(void* bytes, off_t offset, int whence) {
    Bytes& b = *static_cast<Bytes*>(bytes);
    const off_t size = static_cast<off_t>(b.data.size());
    const off_t from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(b.at) : size;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    if (offset < -from || offset > size - from) return -1;
    b.at = static_cast<size_t>(from + offset);
    return static_cast<off_t>(b.at);
}

bool Mp3Decoder::Open(const std::string& path) {
    DataFile file;
    if (!file.Read(path, kMaxFileBytes)) return false;
    bytes_.data = std::move(file.bytes);
    bytes_.at = 0;
    InitLibrary();
    int err = MPG123_OK;
    handle_ = mpg123_new(nullptr, &err);
    if (!handle_) return false;
    // mpg123 would otherwise print its own notes about damaged frames.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Only 16-bit output, at the file's own rate and channel count.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(handle_, &ReadBytes, &SeekBytes, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, &bytes_) != MPG123_OK)
        return false;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate_, &channels_, &encoding) != MPG123_OK) return false;
    if (encoding != MPG123_ENC_SIGNED_16 || (channels_ != 1 && channels_ != 2) || rate_ <= 0)
        return false;
    // Keep the format fixed: a later frame with other parameters is converted, not passed on.
    mpg123_format_none(handle_);
    mpg123_format(handle_, rate_, channels_, MPG123_ENC_SIGNED_16);
    return true;
}

size_t Mp3Decoder::Read(int16_t* out, size_t frames) {
    if (!handle_ || channels_ == 0) return 0;
    const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(channels_);
    unsigned char* dst = reinterpret_cast<unsigned char*>(out);
    size_t got = 0;
    while (got < frames * frameBytes) {
        size_t done = 0;
        int r = mpg123_read(handle_, dst + got, frames * frameBytes - got, &done);
        got += done;
        if (r == MPG123_NEW_FORMAT) continue;
        if (r != MPG123_OK || done == 0) break;
    }
    return got / frameBytes;
}

size_t Mp3Decoder::ReadLooping(int16_t* out, size_t frames) {
    size_t got = 0;
    bool rewound = false;
    while (got < frames) {
        size_t n = Read(out + got * static_cast<size_t>(channels_), frames - got);
        if (n == 0) {
            // A file that yields nothing right after a rewind would loop forever.
            if (rewound || !Rewind()) break;
            rewound = true;
            continue;
        }
        got += n;
        rewound = false;
    }
    return got;
}

bool Mp3Decoder::Rewind() { return handle_ && mpg123_seek(handle_, 0, SEEK_SET) >= 0; }

bool Mp3Decoder::HoldsSound() {
    int16_t frame[2];
    return Read(frame, 1) > 0 && Rewind();
}

Mp3Content DecodeMp3(const std::string& path, bool toMono, std::vector<int16_t>& samples, long& rate,
                     int& channels) {
    samples.clear();
    Mp3Decoder decoder;
    if (!decoder.Open(path)) return Mp3Content::kUnreadable;
    const int fileChannels = decoder.Channels();
    std::vector<int16_t> chunk(8192 * static_cast<size_t>(fileChannels));
    const size_t chunkFrames = chunk.size() / static_cast<size_t>(fileChannels);
    while (size_t n = decoder.Read(chunk.data(), chunkFrames)) {
        if (toMono && fileChannels == 2) {
            for (size_t i = 0; i < n; ++i)
                samples.push_back(static_cast<int16_t>((chunk[2 * i] + chunk[2 * i + 1]) / 2));
        } else {
            samples.insert(samples.end(), chunk.begin(),
                           chunk.begin() + static_cast<std::ptrdiff_t>(n * fileChannels));
        }
    }
    if (samples.empty()) return Mp3Content::kSilent;
    rate = decoder.Rate();
    channels = toMono ? 1 : fileChannels;
    return Mp3Content::kSound;
}

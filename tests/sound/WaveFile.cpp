#include "WaveFile.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace soundtest {

namespace {

uint32_t U32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool Fail(std::string* error, const char* what) {
    if (error) *error = what;
    return false;
}

}  // namespace

bool ReadWave(const std::string& path, Recording& out, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(error, "cannot open the file");
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return Fail(error, "not a RIFF WAVE file");
    int format = 0, channels = 0, bits = 0;
    size_t pos = 12;
    const unsigned char* data = nullptr;
    size_t dataSize = 0;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + pos;
        size_t size = U32(chunk + 4);
        const size_t body = pos + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || body + size > bytes.size()) return Fail(error, "short fmt chunk");
            format = U16(chunk + 8);
            channels = U16(chunk + 10);
            out.rate = static_cast<int>(U32(chunk + 12));
            bits = U16(chunk + 22);
            // Extensible: the real format is the first two bytes of the sub-format GUID.
            if (format == 0xFFFE && size >= 26) format = U16(chunk + 32);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (size == 0 || body + size > bytes.size()) size = bytes.size() - body;
            data = bytes.data() + body;
            dataSize = size;
            break;
        }
        pos = body + size + (size & 1);
    }
    if (!data) return Fail(error, "no data chunk");
    if (channels != 2) return Fail(error, "not stereo");
    const bool isFloat = format == 3 && bits == 32;
    const bool isInt16 = format == 1 && bits == 16;
    if (!isFloat && !isInt16) return Fail(error, "unsupported sample format");
    const size_t frameBytes = static_cast<size_t>(bits / 8) * 2;
    const size_t frames = dataSize / frameBytes;
    out.left.resize(frames);
    out.right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char* f = data + i * frameBytes;
        if (isFloat) {
            std::memcpy(&out.left[i], f, 4);
            std::memcpy(&out.right[i], f + 4, 4);
        } else {
            out.left[i] = static_cast<int16_t>(U16(f)) / 32768.0f;
            out.right[i] = static_cast<int16_t>(U16(f + 2)) / 32768.0f;
        }
    }
    return true;
}

double Energy(const std::vector<float>& samples, size_t begin, size_t end) {
    double sum = 0.0;
    for (size_t i = begin; i < end && i < samples.size(); ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return sum;
}

double Rms(const std::vector<float>& samples, size_t begin, size_t end) {
    if (end > samples.size()) end = samples.size();
    if (end <= begin) return 0.0;
    return std::sqrt(Energy(samples, begin, end) / static_cast<double>(end - begin));
}

}  // namespace soundtest

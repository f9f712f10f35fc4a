// MP3 files from arbitrary bytes, through both ways the sound manager decodes them:
// piecewise and looping (the music stream) and all at once (effects, mixed to mono).
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Mp3Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteScratch("input.mp3", data, size);
    {
        Mp3Decoder stream;
        if (stream.Open(path) && stream.HoldsSound()) {
            // Odd sizes, so reads end inside a decoded frame; then past the end and round again.
            std::vector<int16_t> buffer(2 * 4099);
            while (stream.Read(buffer.data(), 4099) > 0) {
            }
            stream.ReadLooping(buffer.data(), 4099);
            stream.ReadLooping(buffer.data(), 17);
        }
    }
    std::vector<int16_t> samples;
    long rate = 0;
    int channels = 0;
    const bool toMono = size > 0 && (data[size - 1] & 1);
    const Mp3Content content = DecodeMp3(path, toMono, samples, rate, channels);
    if (content == Mp3Content::kSound && (channels < 1 || samples.size() % static_cast<size_t>(channels) != 0))
        fuzz::Fail("%zu samples decoded in %d channels", samples.size(), channels);
    return 0;
}

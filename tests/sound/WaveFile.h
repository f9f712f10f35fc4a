#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace soundtest {

// A stereo recording in samples of -1..1.
struct Recording {
    int rate = 0;
    std::vector<float> left, right;
    size_t Frames() const { return left.size(); }
};

// Reads a stereo WAV file of 16-bit integer or 32-bit float samples (plain or
// extensible format). A data chunk whose size was never written runs to the end.
bool ReadWave(const std::string& path, Recording& out, std::string* error = nullptr);

// Sum of squares of samples [begin, end).
double Energy(const std::vector<float>& samples, size_t begin, size_t end);
inline double Energy(const std::vector<float>& samples) {
    return Energy(samples, 0, samples.size());
}
// Root mean square of samples [begin, end); 0 for an empty range.
double Rms(const std::vector<float>& samples, size_t begin, size_t end);

}  // namespace soundtest

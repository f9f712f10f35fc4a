#pragma once

#include <string>

namespace soundtest {

// Writes `seconds` of a sine tone as an MP3 file (with a LAME info frame, so that
// decoders can drop the encoder's padding). A mono file uses amplitudeLeft only.
bool WriteToneMp3(const std::string& path, double seconds, int rate, int channels,
                  double frequency, double amplitudeLeft, double amplitudeRight);

}  // namespace soundtest

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "DecodedSound.h"

namespace {

std::string SoundPath(const std::string& name) { return std::string(BRINEGATE_DATA_DIR) + "/" + name; }

double Rms(const std::vector<float>& s, size_t from, size_t to) {
    double acc = 0;
    for (size_t i = from; i < to; ++i) acc += static_cast<double>(s[i]) * s[i];
    return std::sqrt(acc / std::max<size_t>(1, to - from));
}

// Share of the energy below about 300 Hz (two one-pole low-pass stages).
double LowShare(const std::vector<float>& s, double rate) {
    const double a = std::exp(-2 * M_PI * 300 / rate);
    double y1 = 0, y2 = 0, low = 0, all = 0;
    for (float x : s) {
        y1 = (1 - a) * x + a * y1;
        y2 = (1 - a) * y1 + a * y2;
        low += y2 * y2;
        all += static_cast<double>(x) * x;
    }
    return low / all;
}

struct Effect {
    const char* file;
    double minSeconds, maxSeconds;
};

}  // namespace

TEST(Sounds, EffectsAreMonoAt44kAudibleAndUnclipped) {
    for (const Effect& e : {Effect{"Sound/CannonFire.mp3", 1.0, 3.0}, Effect{"Sound/Splash.mp3", 0.5, 2.0},
                            Effect{"Sound/Dead.mp3", 2.0, 6.0}}) {
        SCOPED_TRACE(e.file);
        DecodedSound sound(SoundPath(e.file));
        ASSERT_TRUE(sound.Ok()) << sound.Error();
        EXPECT_EQ(sound.Rate(), 44100);
        EXPECT_EQ(sound.Channels(), 1) << "effects are placed in 3-D, so mono";
        EXPECT_GE(sound.Seconds(), e.minSeconds);
        EXPECT_LE(sound.Seconds(), e.maxSeconds);
        const std::vector<float> s = sound.Channel(0);
        float peak = 0;
        for (float v : s) peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 0.5f);
        EXPECT_LT(peak, 0.99f);
        EXPECT_GT(Rms(s, 0, s.size()), 0.02);
        // They end in silence rather than being cut off.
        EXPECT_LT(Rms(s, s.size() - 441, s.size()), 0.01);
    }
}

TEST(Sounds, TheShotHitsAtOnceAndDiesAwayAndTheWhooshIsDarkerThanTheSplash) {
    DecodedSound shot(SoundPath("Sound/CannonFire.mp3"));
    ASSERT_TRUE(shot.Ok());
    const std::vector<float> s = shot.Channel(0);
    const size_t peakAt = std::max_element(s.begin(), s.end(), [](float a, float b) { return std::abs(a) < std::abs(b); }) - s.begin();
    EXPECT_LT(peakAt, static_cast<size_t>(0.1 * 44100)) << "a shot is loudest at its start";
    EXPECT_LT(Rms(s, s.size() - 8820, s.size()), Rms(s, 0, 8820) / 10);

    DecodedSound dead(SoundPath("Sound/Dead.mp3")), splash(SoundPath("Sound/Splash.mp3"));
    ASSERT_TRUE(dead.Ok());
    ASSERT_TRUE(splash.Ok());
    const double deadLow = LowShare(dead.Channel(0), 44100), splashLow = LowShare(splash.Channel(0), 44100);
    EXPECT_GT(deadLow, 0.4) << "the ghost sea's whoosh is dark";
    EXPECT_GT(deadLow, 2 * splashLow);
}

TEST(Music, LoopsForAtLeastThirtySecondsAndItsEndJoinsItsStart) {
    DecodedSound music(SoundPath("pirates.mp3"));
    ASSERT_TRUE(music.Ok()) << music.Error();
    EXPECT_EQ(music.Rate(), 44100);
    ASSERT_GE(music.Channels(), 1);
    EXPECT_GE(music.Seconds(), 30.0);
    // A whole number of beats (120 a minute): the decoder trimmed exactly the
    // encoder's delay and padding, so the loop has no gap of silence.
    EXPECT_EQ(music.Frames() % 22050, 0u) << music.Frames() << " frames";
    const size_t n = music.Frames(), window = 4096;
    for (int c = 0; c < music.Channels(); ++c) {
        SCOPED_TRACE("channel " + std::to_string(c));
        const std::vector<float> s = music.Channel(c);
        // Typical sample-to-sample steps around the join.
        std::vector<float> steps;
        for (size_t i = n - window; i + 1 < n; ++i) steps.push_back(std::abs(s[i + 1] - s[i]));
        for (size_t i = 0; i + 1 < window; ++i) steps.push_back(std::abs(s[i + 1] - s[i]));
        std::sort(steps.begin(), steps.end());
        const float typical = steps[steps.size() * 99 / 100];
        const float jump = std::abs(s[0] - s[n - 1]);
        EXPECT_LE(jump, typical * 1.5f + 1e-4f) << "a click where the loop wraps";
        // The music plays through the join: no fade out and in to hide it.
        const double endRms = Rms(s, n - 2205, n), startRms = Rms(s, 0, 2205);
        EXPECT_GT(endRms, 0.02);
        EXPECT_GT(startRms, 0.02);
        EXPECT_LT(std::max(endRms, startRms) / std::min(endRms, startRms), 4.0);
    }
}

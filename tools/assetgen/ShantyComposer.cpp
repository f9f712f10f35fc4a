#include "ShantyComposer.h"

#include <algorithm>
#include <cmath>

#include "Biquad.h"
#include "Rng.h"

namespace {

constexpr double kRateD = ShantyComposer::kRate;

struct Note {
    double beat;      // from the start of the loop
    double length;    // in beats
    int midi;
};

double Frequency(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// A stereo buffer that wraps: whatever is written past the end lands at the start.
class Loop {
public:
    explicit Loop(size_t frames) : left_(frames, 0.0), right_(frames, 0.0) {}
    size_t Frames() const { return left_.size(); }
    void Add(size_t frame, double value, double pan) {
        size_t i = frame % left_.size();
        left_[i] += value * std::sqrt(0.5 * (1 - pan));
        right_[i] += value * std::sqrt(0.5 * (1 + pan));
    }
    std::vector<double>& Left() { return left_; }
    std::vector<double>& Right() { return right_; }

private:
    std::vector<double> left_, right_;
};

size_t FrameOf(double beat) { return static_cast<size_t>(std::llround(beat * ShantyComposer::kBeatSeconds * kRateD)); }

// One cycle of a band-limited wave with the given harmonic amplitudes, below the cutoff.
std::vector<double> WaveTable(double frequency, double (*amplitude)(int), double cutoff) {
    const int size = 2048;
    std::vector<double> table(size, 0.0);
    for (int h = 1; h * frequency < cutoff && h < 64; ++h) {
        double a = amplitude(h);
        for (int i = 0; i < size; ++i) table[i] += a * std::sin(2 * M_PI * h * i / size);
    }
    double peak = 1e-9;
    for (double v : table) peak = std::max(peak, std::abs(v));
    for (double& v : table) v /= peak;
    return table;
}

double ReedHarmonic(int h) { return (h % 2 ? 1.0 : 0.45) / h; }
double BowedHarmonic(int h) { return 1.0 / std::pow(h, 1.15); }

struct Voice {
    double (*harmonic)(int);
    double cutoff;
    double attack, release;
    double detuneCents;     // a second, detuned voice (the concertina's two reeds)
    double vibratoDepth;    // fraction of the frequency
    double vibratoDelay;
    double pan, gain;
};

void Play(Loop& loop, const Voice& v, const Note& note) {
    const double f = Frequency(note.midi);
    const std::vector<double> table = WaveTable(f, v.harmonic, v.cutoff);
    const double held = note.length * ShantyComposer::kBeatSeconds * 0.92;
    const size_t start = FrameOf(note.beat), frames = static_cast<size_t>((held + v.release) * kRateD);
    const double detune = std::pow(2.0, v.detuneCents / 1200.0);
    double pa = 0, pb = 0.37;
    for (size_t k = 0; k < frames; ++k) {
        const double t = k / kRateD;
        double env = std::min(1.0, t / v.attack) * (0.85 + 0.15 * std::exp(-t / 0.08));
        if (t > held) env *= std::max(0.0, 1.0 - (t - held) / v.release);
        const double vib = 1 + v.vibratoDepth * std::sin(2 * M_PI * 5.5 * t) * std::min(1.0, std::max(0.0, (t - v.vibratoDelay) / 0.2));
        pa += f * vib / kRateD;
        pb += f * vib * detune / kRateD;
        pa -= std::floor(pa);
        pb -= std::floor(pb);
        auto look = [&](double p) {
            double x = p * table.size();
            size_t i = static_cast<size_t>(x) % table.size();
            double frac = x - std::floor(x);
            return table[i] + (table[(i + 1) % table.size()] - table[i]) * frac;
        };
        double s = v.detuneCents != 0 ? 0.5 * (look(pa) + look(pb)) : look(pa);
        loop.Add(start + k, s * env * v.gain, v.pan);
    }
}

void Bass(Loop& loop, double beat, int midi, double gain) {
    const double f = Frequency(midi);
    const size_t start = FrameOf(beat), frames = static_cast<size_t>(0.9 * kRateD);
    double p = 0;
    for (size_t k = 0; k < frames; ++k) {
        const double t = k / kRateD;
        p += 2 * M_PI * f / kRateD;
        double s = std::sin(p) + 0.45 * std::sin(2 * p) + 0.22 * std::sin(3 * p) + 0.1 * std::sin(4 * p);
        double env = std::min(1.0, t / 0.004) * std::exp(-t / 0.38) * (t > 0.8 ? (0.9 - t) / 0.1 : 1.0);
        loop.Add(start + k, s * env * gain, 0.0);
    }
}

// Karplus-Strong plucked strings, each a little after the last, like a strum.
void Strum(Loop& loop, Rng& rng, double beat, const std::vector<int>& chord, double gain, double pan) {
    const size_t length = static_cast<size_t>(0.42 * kRateD);
    for (size_t s = 0; s < chord.size(); ++s) {
        const size_t period = static_cast<size_t>(std::lround(kRateD / Frequency(chord[s])));
        std::vector<double> line(period);
        double previous = 0;
        for (auto& x : line) {
            double r = rng.Range(-1, 1);
            x = 0.5 * (r + previous);
            previous = r;
        }
        const size_t start = FrameOf(beat) + static_cast<size_t>(s * 0.011 * kRateD);
        size_t pos = 0;
        for (size_t k = 0; k < length; ++k) {
            const double out = line[pos];
            const double next = line[(pos + 1) % period];
            line[pos] = 0.5 * (out + next) * 0.996;
            pos = (pos + 1) % period;
            double fade = k + 2205 > length ? (length - k) / 2205.0 : 1.0;
            loop.Add(start + k, out * gain * fade, pan);
        }
    }
}

void Drum(Loop& loop, Rng& rng, double beat, double gain) {
    const size_t start = FrameOf(beat), frames = static_cast<size_t>(0.35 * kRateD);
    Biquad skin(Biquad::Kind::kLowPass, 1800, 0.7, kRateD);
    double p = 0;
    for (size_t k = 0; k < frames; ++k) {
        const double t = k / kRateD;
        p += 2 * M_PI * (52 + 60 * std::exp(-t / 0.03)) / kRateD;
        double s = std::sin(p) * std::exp(-t / 0.16) * std::min(1.0, t / 0.002);
        s += skin.Process(rng.Range(-1, 1)) * std::exp(-t / 0.008) * 0.6;
        loop.Add(start + k, s * gain, 0.0);
    }
}

void Clap(Loop& loop, Rng& rng, double beat, double gain, double pan, double centre, double decay) {
    const size_t start = FrameOf(beat), frames = static_cast<size_t>(decay * 8 * kRateD);
    Biquad band(Biquad::Kind::kBandPass, centre, 1.1, kRateD);
    for (size_t k = 0; k < frames; ++k) {
        const double t = k / kRateD;
        double s = band.Process(rng.Range(-1, 1)) * std::exp(-t / decay) * std::min(1.0, t / 0.001);
        loop.Add(start + k, s * gain, pan);
    }
}

// A small Schroeder reverb, run over two turns of the loop so that its tail
// wraps: the second turn is the steady state of a loop that plays for ever.
void Reverb(std::vector<double>& channel, double wet, int spread) {
    const int combDelays[] = {1116 + spread, 1188 + spread, 1277 + spread, 1356 + spread};
    const int allDelays[] = {556 + spread, 441 + spread};
    const size_t n = channel.size();
    std::vector<std::vector<double>> combs, alls;
    for (int d : combDelays) combs.emplace_back(d, 0.0);
    for (int d : allDelays) alls.emplace_back(d, 0.0);
    std::vector<size_t> ci(4, 0), ai(2, 0);
    std::vector<double> damp(4, 0.0), out(n, 0.0);
    for (int turn = 0; turn < 2; ++turn)
        for (size_t i = 0; i < n; ++i) {
            const double x = channel[i] * 0.2;
            double sum = 0;
            for (int c = 0; c < 4; ++c) {
                double y = combs[c][ci[c]];
                damp[c] = y * 0.6 + damp[c] * 0.4;
                combs[c][ci[c]] = x + damp[c] * 0.8;
                ci[c] = (ci[c] + 1) % combs[c].size();
                sum += y;
            }
            for (int a = 0; a < 2; ++a) {
                double b = alls[a][ai[a]];
                alls[a][ai[a]] = sum + b * 0.5;
                sum = b - sum * 0.5;
                ai[a] = (ai[a] + 1) % alls[a].size();
            }
            if (turn == 1) out[i] = sum;
        }
    for (size_t i = 0; i < n; ++i) channel[i] += out[i] * wet;
}

int ThirdBelow(int midi) {
    // Diatonic third below in D Dorian.
    static const int scale[] = {50, 52, 53, 55, 57, 59, 60, 62, 64, 65, 67, 69, 71, 72, 74, 76, 77, 79, 81, 83, 84};
    for (int i = 2; i < 21; ++i)
        if (scale[i] == midi) return scale[i - 2];
    return midi - 3;
}

}  // namespace

std::vector<float> ShantyComposer::Compose() const {
    Loop loop(kFrames);
    Rng rng(0x5EA5);

    // Melody, bar by bar: (length in beats, note); 4 beats to a bar.
    const std::vector<std::vector<std::pair<double, int>>> bars = {
        {{1.5, 74}, {0.5, 72}, {1, 69}, {1, 65}},
        {{0.5, 67}, {0.5, 69}, {0.5, 65}, {0.5, 62}, {2, 69}},
        {{1.5, 67}, {0.5, 69}, {1, 72}, {1, 76}},
        {{0.5, 74}, {0.5, 72}, {0.5, 69}, {0.5, 67}, {2, 64}},
        {{1.5, 74}, {0.5, 72}, {1, 69}, {1, 74}},
        {{0.5, 77}, {0.5, 76}, {0.5, 74}, {0.5, 72}, {2, 69}},
        {{1, 67}, {1, 72}, {0.5, 71}, {0.5, 69}, {0.5, 67}, {0.5, 64}},
        {{1.5, 62}, {0.5, 65}, {1, 69}, {1, 76}},
        {{1.5, 81}, {0.5, 79}, {1, 77}, {1, 81}},
        {{1.5, 79}, {0.5, 77}, {1, 76}, {1, 72}},
        {{0.5, 74}, {0.5, 76}, {0.5, 77}, {0.5, 79}, {1, 81}, {1, 74}},
        {{0.5, 72}, {0.5, 74}, {0.5, 76}, {0.5, 72}, {2, 69}},
        {{1.5, 81}, {0.5, 79}, {1, 77}, {1, 81}},
        {{1.5, 79}, {0.5, 77}, {1, 76}, {1, 79}},
        {{0.5, 77}, {0.5, 76}, {0.5, 74}, {0.5, 72}, {1, 69}, {1, 72}},
        {{3, 74}, {0.5, 69}, {0.5, 72}},
    };
    // Chord of each bar: bass root and the strummed voicing.
    struct Chord { int root; std::vector<int> voicing; };
    const Chord dm{38, {50, 57, 62, 65}}, c{36, {48, 55, 60, 64}}, f{41, {53, 57, 60, 65}}, am{45, {45, 52, 57, 60}};
    const Chord chords[kBars] = {dm, dm, c, c, dm, f, c, dm, f, c, dm, am, f, c, am, dm};

    const Voice concertina{ReedHarmonic, 7000, 0.012, 0.07, 5.0, 0.0, 0.0, -0.15, 0.30};
    const Voice fiddle{BowedHarmonic, 6500, 0.06, 0.12, 0.0, 0.004, 0.15, 0.45, 0.16};

    for (int bar = 0; bar < kBars; ++bar) {
        double beat = bar * 4.0;
        for (const auto& [length, midi] : bars[bar]) {
            Play(loop, concertina, {beat, length, midi});
            // The second half answers in thirds on the fiddle.
            if (bar >= 8) Play(loop, fiddle, {beat, length, ThirdBelow(midi)});
            beat += length;
        }
        const Chord& chord = chords[bar];
        const double b0 = bar * 4.0;
        Bass(loop, b0, chord.root, 0.34);
        Bass(loop, b0 + 2, chord.root + 7, 0.28);
        if (bar % 2 == 1) Bass(loop, b0 + 3.5, chord.root + 12, 0.18);
        Strum(loop, rng, b0 + 1, chord.voicing, 0.22, -0.45);
        Strum(loop, rng, b0 + 3, chord.voicing, 0.22, -0.45);
        if (bar >= 8) Strum(loop, rng, b0 + 3.5, chord.voicing, 0.12, -0.45);
        Drum(loop, rng, b0, 0.55);
        Drum(loop, rng, b0 + 2, 0.45);
        Drum(loop, rng, b0 + 3.5, 0.25);
        Clap(loop, rng, b0 + 1, 0.22, 0.2, 1400, 0.012);
        Clap(loop, rng, b0 + 3, 0.22, 0.2, 1400, 0.012);
        if (bar >= 8 || bar == 7)
            for (int e = 0; e < 8; ++e) Clap(loop, rng, b0 + e * 0.5, e % 2 ? 0.09 : 0.05, -0.2, 7000, 0.006);
    }

    Reverb(loop.Left(), 0.9, 0);
    Reverb(loop.Right(), 0.9, 23);

    double peak = 1e-9;
    for (size_t i = 0; i < kFrames; ++i) peak = std::max({peak, std::abs(loop.Left()[i]), std::abs(loop.Right()[i])});
    const double gain = 0.85 / peak;
    std::vector<float> out(kFrames * 2);
    for (size_t i = 0; i < kFrames; ++i) {
        out[2 * i] = static_cast<float>(loop.Left()[i] * gain);
        out[2 * i + 1] = static_cast<float>(loop.Right()[i] * gain);
    }
    return out;
}

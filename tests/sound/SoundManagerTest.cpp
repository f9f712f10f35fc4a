// The sound manager against a real OpenAL Soft device: its wave-file back end
// writes the mix to a WAV file in real time, which the tests decode and measure.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Camera.h"
#include "FileResolver.h"
#include "Mp3Writer.h"
#include "SoundManager.h"
#include "WaveFile.h"

namespace fs = std::filesystem;
using soundtest::Energy;
using soundtest::Recording;
using soundtest::Rms;

namespace {

constexpr int kRate = 44100;

struct Paths {
    std::string dir;     // temporary folder holding everything below
    std::string wave;    // where OpenAL Soft writes its output
    std::string config;  // OpenAL Soft configuration selecting the wave writer
};

Paths& Shared() {
    static Paths paths;
    return paths;
}

std::string InDir(const std::string& name) { return Shared().dir + "/" + name; }

// OpenAL Soft reads its configuration once per process, at the first ALC call, so
// the wave writer is chosen here, before any test opens a device.
class SoundEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/brinegate-sound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Paths& p = Shared();
        p.dir = pattern;
        p.wave = InDir("mix.wav");
        p.config = InDir("alsoft.conf");
        std::ofstream conf(p.config);
        conf << "[general]\n"
                "drivers = wave\n"
                "channels = stereo\n"
                "sample-type = float32\n"
                "frequency = 44100\n"
                "hrtf = false\n"
                "stereo-mode = speakers\n"
                "stereo-encoding = panpot\n"
                "output-limiter = false\n"
                "dither = false\n"
                "[wave]\n"
                "file = "
             << p.wave << "\n";
        conf.close();
        ASSERT_TRUE(conf);
        setenv("ALSOFT_CONF", p.config.c_str(), 1);
        unsetenv("ALSOFT_DRIVERS");
        unsetenv("BRINEGATE_NO_SOUND");

        using soundtest::WriteToneMp3;
        ASSERT_TRUE(WriteToneMp3(InDir("mono.mp3"), 0.3, kRate, 1, 440.0, 0.5, 0.0));
        ASSERT_TRUE(WriteToneMp3(InDir("left.mp3"), 0.3, kRate, 2, 440.0, 0.5, 0.0));
        ASSERT_TRUE(WriteToneMp3(InDir("both.mp3"), 0.3, kRate, 2, 440.0, 0.5, 0.5));
        ASSERT_TRUE(WriteToneMp3(InDir("loop.mp3"), 0.25, kRate, 2, 440.0, 0.5, 0.5));
        ASSERT_TRUE(WriteToneMp3(InDir("long.mp3"), 8.0, kRate, 1, 220.0, 0.01, 0.0));
        ASSERT_TRUE(WriteToneMp3(InDir("second.mp3"), 1.0, kRate, 1, 440.0, 0.5, 0.0));
        ASSERT_TRUE(WriteToneMp3(InDir("half.mp3"), 0.5, kRate / 2, 1, 440.0, 0.5, 0.0));
        fs::create_directories(InDir("SFX"));
        ASSERT_TRUE(WriteToneMp3(InDir("SFX/Tone.mp3"), 0.1, kRate, 1, 660.0, 0.5, 0.0));
        std::ofstream(InDir("garbage.mp3")) << "This is a text file, not an MPEG audio stream.\n";
        std::ofstream(InDir("empty.mp3")).close();
        FileResolver::AddSearchRoot(p.dir);
    }

    void TearDown() override {
        soundManager.Shutdown();
        std::error_code ec;
        fs::remove_all(Shared().dir, ec);
    }
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SoundEnvironment);

// Lines the sound manager wrote (OpenAL Soft may add lines of its own).
std::vector<std::string> SoundLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("brinegate: sound:", 0) == 0) lines.push_back(line);
    return lines;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Opens a fresh device (start() loads and plays), runs frames of Update for `seconds`
// or, with untilSilent, until every voice has finished; then closes the device and
// decodes what it wrote. `frame`, if given, runs before each Update with the time since
// the start.
Recording Record(const std::function<void()>& start, double seconds, bool untilSilent,
                 const std::function<void(double)>& frame = {}) {
    soundManager.Shutdown();
    start();
    EXPECT_TRUE(soundManager.IsOn());
    const auto t0 = std::chrono::steady_clock::now();
    for (;;) {
        if (frame) frame(Seconds(t0));
        soundManager.Update();
        if (untilSilent && soundManager.VoicesPlaying() == 0) break;
        if (Seconds(t0) > seconds) {
            EXPECT_FALSE(untilSilent) << "sounds still playing after " << seconds << " s";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The mixer has already written what it mixed; a little more silence does no harm.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    soundManager.Shutdown();
    Recording r;
    std::string error;
    EXPECT_TRUE(soundtest::ReadWave(Shared().wave, r, &error)) << error;
    EXPECT_EQ(r.rate, kRate);
    return r;
}

// One playback of `file` at `position` with the camera centred on `view`.
Recording PlayAt(const std::string& file, int is3D, Vec2 position, Vec2 view = Vec2(400, 300)) {
    camera.SetView(view, Vec2(800, 600));
    return Record(
        [&] {
            const unsigned id = soundManager.LoadSound(file, 0, is3D);
            soundManager.Update();
            EXPECT_EQ(soundManager.PlaySound(id, position, Vec2()), SoundManager::kPlaying);
        },
        3.0, true);
}

double TotalEnergy(const Recording& r) { return Energy(r.left) + Energy(r.right); }

// Ratio of amplitudes of two recordings of the same sound.
double AmplitudeRatio(const Recording& a, const Recording& b) {
    return std::sqrt(TotalEnergy(a) / TotalEnergy(b));
}

// First frame of the first 10 ms window louder than `threshold`, or size() if none.
size_t Onset(const std::vector<float>& samples, double threshold) {
    const size_t w = kRate / 100;
    for (size_t i = 0; i + w <= samples.size(); i += w)
        if (Rms(samples, i, i + w) > threshold) return i;
    return samples.size();
}

// Frequency of the tone in `samples` from `begin` for `seconds`, from the first and
// last rising zero crossings (interpolated).
double ToneFrequency(const std::vector<float>& samples, size_t begin, double seconds, int rate) {
    const size_t end = std::min(samples.size(), begin + static_cast<size_t>(seconds * rate));
    double first = -1.0, last = -1.0;
    int cycles = -1;
    for (size_t i = begin + 1; i < end; ++i) {
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
            const double t = static_cast<double>(i - 1) +
                             samples[i - 1] / static_cast<double>(samples[i - 1] - samples[i]);
            if (first < 0.0) first = t;
            last = t;
            ++cycles;
        }
    }
    if (cycles < 1) return 0.0;
    return cycles * rate / (last - first);
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        soundManager.Shutdown();
        unsetenv("BRINEGATE_NO_SOUND");
        camera.SetView(Vec2(400, 300), Vec2(800, 600));
    }
    void TearDown() override {
        soundManager.Shutdown();
        unsetenv("BRINEGATE_NO_SOUND");
    }
};

// ---------------------------------------------------------------------------------
// Ids

using SoundIds = SoundTest;

TEST_F(SoundIds, OneIdPerNameWhateverTheFlags) {
    EXPECT_EQ(soundManager.LoadSound("mono.mp3", 0, 1), 0u);
    EXPECT_EQ(soundManager.LoadSound("left.mp3", 0, 0), 1u);
    EXPECT_EQ(soundManager.LoadSound("mono.mp3", 0, 1), 0u);
    EXPECT_EQ(soundManager.LoadSound("mono.mp3", 1, 0), 0u);
    EXPECT_EQ(soundManager.LoadSound("left.mp3", 1, 1), 1u);
    EXPECT_EQ(soundManager.LoadSound("loop.mp3", 1, 1), 2u);
    // Still the sample it was first loaded as: a stream would take a voice until stopped.
    EXPECT_EQ(soundManager.PlaySound(0, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
}

TEST_F(SoundIds, NamesAreCaseSensitiveAndIdsNeverReused) {
    const unsigned a = soundManager.LoadSound("SFX\\Tone.mp3", 0, 1);
    const unsigned b = soundManager.LoadSound("sfx\\tone.mp3", 0, 1);  // same file, other name
    const unsigned c = soundManager.LoadSound("SFX/Tone.mp3", 0, 1);
    const unsigned missing = soundManager.LoadSound("Sound\\Missing.mp3", 0, 1);
    const unsigned d = soundManager.LoadSound("mono.mp3", 0, 0);
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 1u);
    EXPECT_EQ(c, 2u);
    EXPECT_EQ(missing, 3u);  // a failed load still uses up its id
    EXPECT_EQ(d, 4u);
    EXPECT_EQ(soundManager.LoadSound("sfx\\tone.mp3", 0, 1), b);
    EXPECT_EQ(soundManager.LoadSound("Sound\\Missing.mp3", 0, 1), missing);
    // Every spelling finds the file through the resolver.
    for (unsigned id : {a, b, c, d})
        EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kPlaying) << id;
}

TEST_F(SoundIds, FileIsOpenedOnlyOnFirstLoad) {
    const std::string copy = InDir("copy.mp3");
    fs::copy_file(InDir("mono.mp3"), copy, fs::copy_options::overwrite_existing);
    const unsigned id = soundManager.LoadSound("copy.mp3", 0, 1);
    fs::remove(copy);
    testing::internal::CaptureStderr();
    EXPECT_EQ(soundManager.LoadSound("copy.mp3", 0, 1), id);
    EXPECT_TRUE(SoundLines(testing::internal::GetCapturedStderr()).empty());
    // Decoded on the first load, so it plays although the file is gone.
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
}

TEST_F(SoundIds, LongNamesAreStoredCutButStillOpenTheirFile) {
    // 11 "./" prefixes make a 30-character name for mono.mp3, one more than a record keeps.
    std::string name;
    for (int i = 0; i < 11; ++i) name += "./";
    name += "mono.mp3";
    ASSERT_EQ(name.size(), SoundManager::kMaxNameLength + 1);
    const unsigned first = soundManager.LoadSound(name, 0, 1);
    const unsigned second = soundManager.LoadSound(name, 0, 1);
    EXPECT_NE(first, second);  // the cut name never matches the full one
    EXPECT_EQ(soundManager.PlaySound(first, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
    EXPECT_EQ(soundManager.PlaySound(second, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
    // Exactly 29 characters still match.
    const std::string fits = name.substr(2);
    const unsigned fitting = soundManager.LoadSound(fits, 0, 1);
    EXPECT_EQ(soundManager.LoadSound(fits, 0, 1), fitting);
}

TEST_F(SoundIds, ShutdownStartsTheIdsAgain) {
    soundManager.LoadSound("mono.mp3", 0, 1);
    soundManager.LoadSound("left.mp3", 0, 1);
    soundManager.Shutdown();
    EXPECT_FALSE(soundManager.IsOn());
    EXPECT_EQ(soundManager.PlaySound(1, Vec2(), Vec2()), SoundManager::kSoundOff);
    EXPECT_EQ(soundManager.LoadSound("left.mp3", 0, 1), 0u);
    EXPECT_TRUE(soundManager.IsOn());
}

// ---------------------------------------------------------------------------------
// Files that cannot be played

using SoundFiles = SoundTest;

TEST_F(SoundFiles, MissingFileIsNamedOnceAndPlaysNothing) {
    testing::internal::CaptureStderr();
    const unsigned sample = soundManager.LoadSound("Sound\\Missing.mp3", 0, 1);
    const unsigned stream = soundManager.LoadSound("Missing music.mp3", 1, 1);
    EXPECT_EQ(soundManager.LoadSound("Sound\\Missing.mp3", 0, 0), sample);
    const std::vector<std::string> lines = SoundLines(testing::internal::GetCapturedStderr());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("Sound\\Missing.mp3"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Missing music.mp3"), std::string::npos) << lines[1];
    EXPECT_EQ(sample, 0u);
    EXPECT_EQ(stream, 1u);
    EXPECT_EQ(soundManager.PlaySound(sample, Vec2(400, 300), Vec2()), SoundManager::kNothingToPlay);
    EXPECT_EQ(soundManager.PlaySound(stream, Vec2(), Vec2()), SoundManager::kNothingToPlay);
    soundManager.Update();
    EXPECT_EQ(soundManager.VoicesPlaying(), 0u);
    // The next file still gets the next id and plays.
    const unsigned next = soundManager.LoadSound("mono.mp3", 0, 1);
    EXPECT_EQ(next, 2u);
    EXPECT_EQ(soundManager.PlaySound(next, Vec2(400, 300), Vec2()), SoundManager::kPlaying);
}

TEST_F(SoundFiles, UndecodableFilesAreNamedOnceAndPlayNothing) {
    testing::internal::CaptureStderr();
    const unsigned text = soundManager.LoadSound("garbage.mp3", 0, 1);
    const unsigned empty = soundManager.LoadSound("empty.mp3", 0, 0);
    const unsigned textStream = soundManager.LoadSound("GARBAGE.mp3", 1, 0);
    EXPECT_EQ(soundManager.LoadSound("garbage.mp3", 0, 1), text);
    const std::vector<std::string> lines = SoundLines(testing::internal::GetCapturedStderr());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("garbage.mp3"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("empty.mp3"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("GARBAGE.mp3"), std::string::npos) << lines[2];
    for (unsigned id : {text, empty, textStream})
        EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kNothingToPlay)
            << id;
    EXPECT_EQ(soundManager.VoicesCreated(), 0u);
}

// A pipe named like a sound is turned away at once instead of waiting for a writer.
TEST_F(SoundFiles, PipeNamedLikeASoundIsNamedAndNeverWaitedOn) {
    const std::string pipe = InDir("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    testing::internal::CaptureStderr();
    const unsigned sample = soundManager.LoadSound("pipe.mp3", 0, 1);
    const unsigned stream = soundManager.LoadSound("Pipe.mp3", 1, 1);
    const std::vector<std::string> lines = SoundLines(testing::internal::GetCapturedStderr());
    std::remove(pipe.c_str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("pipe.mp3\" cannot be read (it is a pipe)"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Pipe.mp3\" cannot be read (it is a pipe)"), std::string::npos) << lines[1];
    for (unsigned id : {sample, stream})
        EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kNothingToPlay);
}

TEST_F(SoundFiles, IdsNeverHandedOutAndBadPositionsPlayNothing) {
    const unsigned id = soundManager.LoadSound("mono.mp3", 0, 1);
    const unsigned flat = soundManager.LoadSound("both.mp3", 0, 0);
    EXPECT_EQ(soundManager.PlaySound(id + 2, Vec2(), Vec2()), SoundManager::kNothingToPlay);
    EXPECT_EQ(soundManager.PlaySound(4000000000u, Vec2(), Vec2()), SoundManager::kNothingToPlay);
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(NAN, 300), Vec2()), SoundManager::kBadPosition);
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, INFINITY), Vec2()), SoundManager::kBadPosition);
    EXPECT_EQ(soundManager.VoicesCreated(), 0u);
    // An unplaced sound has no use for its position; a bad velocity is dropped.
    EXPECT_EQ(soundManager.PlaySound(flat, Vec2(NAN, NAN), Vec2()), SoundManager::kPlaying);
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2(NAN, 0)), SoundManager::kPlaying);
    EXPECT_EQ(soundManager.VoicesCreated(), 2u);
}

// ---------------------------------------------------------------------------------
// Without a device

using NoDevice = SoundTest;

TEST_F(NoDevice, SwitchedOffByEnvironmentEveryCallIsSilent) {
    setenv("BRINEGATE_NO_SOUND", "1", 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(soundManager.Start());
    EXPECT_EQ(soundManager.LoadSound("mono.mp3", 0, 1), 0u);
    EXPECT_EQ(soundManager.LoadSound("loop.mp3", 1, 1), 1u);
    EXPECT_EQ(soundManager.LoadSound("Sound\\Missing.mp3", 0, 0), 2u);
    EXPECT_EQ(soundManager.LoadSound("mono.mp3", 1, 0), 0u);
    EXPECT_EQ(soundManager.PlaySound(0, Vec2(400, 300), Vec2()), SoundManager::kSoundOff);
    EXPECT_EQ(soundManager.PlaySound(1, Vec2(), Vec2()), SoundManager::kSoundOff);
    EXPECT_EQ(soundManager.PlaySound(99, Vec2(), Vec2()), SoundManager::kSoundOff);
    for (int i = 0; i < 3; ++i) soundManager.Update();
    EXPECT_FALSE(soundManager.Start());
    const std::vector<std::string> lines = SoundLines(testing::internal::GetCapturedStderr());
    ASSERT_EQ(lines.size(), 1u);  // no word about the missing file: nothing is opened
    EXPECT_NE(lines[0].find("off"), std::string::npos) << lines[0];
    EXPECT_FALSE(soundManager.IsOn());
    EXPECT_EQ(soundManager.MaxVoices(), 0u);
    EXPECT_EQ(soundManager.VoicesCreated(), 0u);
    EXPECT_EQ(soundManager.VoicesPlaying(), 0u);

    soundManager.SetOffByCommandLine(true);  // the player's word is named, not the variable
    soundManager.Shutdown();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(soundManager.Start());
    EXPECT_EQ(SoundLines(testing::internal::GetCapturedStderr()),
              std::vector<std::string>{"brinegate: sound: off (--no-sound)"});
    soundManager.SetOffByCommandLine(false);

    // Without the switch the next start finds the device.
    unsetenv("BRINEGATE_NO_SOUND");
    soundManager.Shutdown();
    EXPECT_TRUE(soundManager.Start());
}

struct ProbeResult {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out, err;
};

// Runs the probe program with extra environment variables, its output in files.
ProbeResult RunProbe(const std::vector<std::pair<std::string, std::string>>& env) {
    const std::string out = InDir("probe.out"), err = InDir("probe.err");
    // Everything the child needs is built here: between fork and exec it only makes calls
    // that cannot need a lock another thread might hold.
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& kv : env) replaced = replaced || entry.rfind(kv.first + "=", 0) == 0;
        if (!replaced) entries.push_back(entry);
    }
    for (const auto& [k, v] : env) entries.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (std::string& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char probe[] = SOUND_PROBE_PATH, effect[] = "mono.mp3", music[] = "loop.mp3";
    char* argv[] = {probe, effect, music, nullptr};
    const std::string dir = Shared().dir;
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0) _exit(120);
        dup2(o, 1);
        dup2(e, 2);
        // Short names, as the game uses: a record keeps only 29 characters of a name.
        if (chdir(dir.c_str()) != 0) _exit(122);
        execve(probe, argv, envp.data());
        _exit(121);
    }
    ProbeResult r;
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return r;
    if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
    std::ifstream fo(out), fe(err);
    std::stringstream so, se;
    so << fo.rdbuf();
    se << fe.rdbuf();
    r.out = so.str();
    r.err = se.str();
    return r;
}

TEST_F(NoDevice, FailingToOpenADeviceMeansSilenceNotACrash) {
    // The wave writer cannot create its file: it fails the way a sound card that is not
    // there fails, and OpenAL Soft complains about it on stderr.
    const std::string unwritable = InDir("unwritable.conf");
    std::ofstream(unwritable) << "[general]\ndrivers = wave\n[wave]\nfile = "
                              << InDir("no such folder/mix.wav") << "\n";
    const std::vector<std::vector<std::pair<std::string, std::string>>> setups = {
        {{"ALSOFT_DRIVERS", "no-such-backend"}},  // nothing to open at all
        {{"ALSOFT_CONF", unwritable}},
    };
    for (const auto& env : setups) {
        const ProbeResult r = RunProbe(env);
        EXPECT_EQ(r.status, 0) << r.err;
        // effect, missing file, effect again, music; played = kSoundOff; not on.
        EXPECT_EQ(r.out, "0 1 0 2 1 0\n");
        // One line on stderr, from us, and nothing from the libraries below.
        const std::vector<std::string> lines = SoundLines(r.err);
        ASSERT_EQ(lines.size(), 1u) << r.err;
        EXPECT_EQ(r.err, lines[0] + "\n");
        EXPECT_NE(lines[0].find("without sound"), std::string::npos) << lines[0];
    }
}

// ---------------------------------------------------------------------------------
// Lifetime

using Lifetime = SoundTest;

TEST_F(Lifetime, StaticDestructionReleasesEverything) {
    // The probe leaves a playing effect and music to the destructor; the sanitizers
    // (leaks included) turn any fault there into a failed exit.
    const ProbeResult r = RunProbe({});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 1 0 2 0 1\n");
    const std::vector<std::string> lines = SoundLines(r.err);
    ASSERT_EQ(lines.size(), 1u) << r.err;
    EXPECT_NE(lines[0].find("no such file.mp3"), std::string::npos) << lines[0];
}

TEST_F(Lifetime, ShutdownWhilePlayingReleasesEverythingAndCanStartAgain) {
    const unsigned music = soundManager.LoadSound("loop.mp3", 1, 1);
    const unsigned effect = soundManager.LoadSound("second.mp3", 0, 1);
    const unsigned flat = soundManager.LoadSound("SECOND.mp3", 0, 0);
    EXPECT_EQ(soundManager.PlaySound(music, Vec2(), Vec2()), SoundManager::kPlaying);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(soundManager.PlaySound(effect, Vec2(300.0f + 50 * i, 300), Vec2(5, 5)),
                  SoundManager::kPlaying);
        EXPECT_EQ(soundManager.PlaySound(flat, Vec2(), Vec2()), SoundManager::kPlaying);
    }
    soundManager.Update();
    EXPECT_EQ(soundManager.VoicesPlaying(), 11u);
    soundManager.Shutdown();
    EXPECT_FALSE(soundManager.IsOn());
    EXPECT_EQ(soundManager.VoicesCreated(), 0u);
    EXPECT_EQ(soundManager.PlaySound(effect, Vec2(), Vec2()), SoundManager::kSoundOff);
    soundManager.Update();
    // The next load opens a device again, and the music plays again.
    EXPECT_EQ(soundManager.LoadSound("loop.mp3", 1, 1), 0u);
    EXPECT_TRUE(soundManager.IsOn());
    EXPECT_EQ(soundManager.PlaySound(0, Vec2(), Vec2()), SoundManager::kPlaying);
    soundManager.Update();
    EXPECT_EQ(soundManager.VoicesPlaying(), 1u);
}

// ---------------------------------------------------------------------------------
// Placement and distance, measured on the mix

using Placement = SoundTest;

TEST_F(Placement, RightOfTheViewIsHeardOnTheRight) {
    const Recording right = PlayAt("mono.mp3", 1, Vec2(500, 300));
    const Recording left = PlayAt("mono.mp3", 1, Vec2(300, 300));
    std::printf("right: L %g R %g; left: L %g R %g\n", Energy(right.left), Energy(right.right),
                Energy(left.left), Energy(left.right));
    EXPECT_GT(Energy(right.right), 4.0 * Energy(right.left));
    EXPECT_GT(Energy(left.left), 4.0 * Energy(left.right));
    // Same distance either side: the louder channels match.
    EXPECT_NEAR(Energy(right.right) / Energy(left.left), 1.0, 0.1);
}

TEST_F(Placement, PositionedStereoFilesAreMixedToMono) {
    // All the sound is in the file's left channel; placed on the right, it is heard there.
    const Recording r = PlayAt("left.mp3", 1, Vec2(500, 300));
    std::printf("left-only file on the right: L %g R %g\n", Energy(r.left), Energy(r.right));
    EXPECT_GT(Energy(r.right), 4.0 * Energy(r.left));
    EXPECT_GT(Energy(r.right), 1.0);
}

TEST_F(Placement, ListenerFollowsTheCentreOfTheView) {
    const Recording viewLeft = PlayAt("mono.mp3", 1, Vec2(1000, 300), Vec2(900, 300));
    const Recording viewRight = PlayAt("mono.mp3", 1, Vec2(1000, 300), Vec2(1100, 300));
    EXPECT_GT(Energy(viewLeft.right), 4.0 * Energy(viewLeft.left));
    EXPECT_GT(Energy(viewRight.left), 4.0 * Energy(viewRight.right));

    // A sound already playing stays where it is in the world while the view moves past it.
    camera.SetView(Vec2(900, 300), Vec2(800, 600));
    const Recording moving = Record(
        [] {
            const unsigned id = soundManager.LoadSound("second.mp3", 0, 1);
            soundManager.Update();
            EXPECT_EQ(soundManager.PlaySound(id, Vec2(1000, 300), Vec2()), SoundManager::kPlaying);
        },
        3.0, true,
        [](double t) {
            if (t > 0.45) camera.SetView(Vec2(1100, 300), Vec2(800, 600));
        });
    const size_t onset = Onset(moving.right, 0.01);
    ASSERT_LT(onset + kRate, moving.Frames());
    const size_t early = onset + kRate / 5, late = onset + kRate * 7 / 10;
    EXPECT_GT(Energy(moving.right, onset, early), 4.0 * Energy(moving.left, onset, early));
    EXPECT_GT(Energy(moving.left, late, onset + kRate), 4.0 * Energy(moving.right, late, onset + kRate));
}

TEST_F(Placement, InverseDistanceClampedBetween100And100000) {
    const Vec2 centre(400, 300);
    const Recording at50 = PlayAt("mono.mp3", 1, centre + Vec2(50, 0));
    const Recording at100 = PlayAt("mono.mp3", 1, centre + Vec2(100, 0));
    const Recording at1000 = PlayAt("mono.mp3", 1, centre + Vec2(1000, 0));
    const Recording at100000 = PlayAt("mono.mp3", 1, centre + Vec2(100000, 0));
    const Recording at200000 = PlayAt("mono.mp3", 1, centre + Vec2(200000, 0));
    std::printf("50/100 %g 1000/100 %g 200000/100000 %g 100000/100 %g\n",
                AmplitudeRatio(at50, at100), AmplitudeRatio(at1000, at100),
                AmplitudeRatio(at200000, at100000), AmplitudeRatio(at100000, at100));
    // Full volume up to 100 pixels; 100 / d beyond; nothing quieter past 100000.
    EXPECT_NEAR(AmplitudeRatio(at50, at100), 1.0, 0.1);
    EXPECT_NEAR(AmplitudeRatio(at1000, at100), 0.1, 0.015);
    EXPECT_NEAR(AmplitudeRatio(at100000, at100), 0.001, 0.0002);
    EXPECT_NEAR(AmplitudeRatio(at200000, at100000), 1.0, 0.1);
}

TEST_F(Placement, UnplacedSoundsIgnorePositionAndKeepTheirChannels) {
    const Recording near = PlayAt("both.mp3", 0, Vec2(400, 300));
    const Recording far = PlayAt("both.mp3", 0, Vec2(100000, -50000));
    const Recording leftOnly = PlayAt("left.mp3", 0, Vec2(100000, 300));
    std::printf("unplaced far/near %g; L %g R %g; left-only L %g R %g\n",
                AmplitudeRatio(far, near), Energy(near.left), Energy(near.right),
                Energy(leftOnly.left), Energy(leftOnly.right));
    EXPECT_NEAR(AmplitudeRatio(far, near), 1.0, 0.1);
    EXPECT_NEAR(Energy(near.left) / Energy(near.right), 1.0, 0.1);
    // Not positioned, so not mixed down: the file's left stays on the left.
    EXPECT_GT(Energy(leftOnly.left), 100.0 * Energy(leftOnly.right));
}

TEST_F(Placement, VelocityShiftsThePitchAsSeenFromTheListener) {
    // Speed of sound 340 pixels per second; 100 towards the listener raises a 440 Hz tone
    // to 440 * 340 / 240, 100 away lowers it to 440 * 340 / 440.
    const double towards = 440.0 * 340.0 / 240.0, away = 440.0 * 340.0 / 440.0;
    struct Case {
        Vec2 offset, velocity;
        double expected;
    };
    const Case cases[] = {
        {Vec2(200, 0), Vec2(-100, 0), towards},  // right of the listener, moving left
        {Vec2(200, 0), Vec2(100, 0), away},
        {Vec2(0, 200), Vec2(0, -100), towards},  // below the view centre, moving up
        {Vec2(0, 200), Vec2(0, 100), away},
        {Vec2(0, -200), Vec2(0, 100), towards},  // above, moving down
    };
    for (const Case& c : cases) {
        const Vec2 centre(400, 300);
        camera.SetView(centre, Vec2(800, 600));
        const Recording r = Record(
            [&] {
                const unsigned id = soundManager.LoadSound("mono.mp3", 0, 1);
                soundManager.Update();
                EXPECT_EQ(soundManager.PlaySound(id, centre + c.offset, c.velocity),
                          SoundManager::kPlaying);
            },
            3.0, true);
        const std::vector<float>& louder = Energy(r.left) > Energy(r.right) ? r.left : r.right;
        const size_t onset = Onset(louder, 0.01);
        ASSERT_LT(onset, louder.size());
        const double f = ToneFrequency(louder, onset + kRate / 100, 0.15, kRate);
        EXPECT_NEAR(f, c.expected, c.expected * 0.02)
            << "offset " << c.offset.x << "," << c.offset.y << " velocity " << c.velocity.x << ","
            << c.velocity.y;
    }
}

// ---------------------------------------------------------------------------------
// The music stream

using Stream = SoundTest;

TEST_F(Stream, LoopsPastItsEndWhileUpdatedAtOneFifthVolume) {
    // The 3-D flag and the position are ignored: the view is far from the origin.
    camera.SetView(Vec2(50000, 50000), Vec2(800, 600));
    const double recordSeconds = 2.0;
    const Recording music = Record(
        [] {
            const unsigned id = soundManager.LoadSound("loop.mp3", 1, 1);
            soundManager.Update();
            EXPECT_EQ(soundManager.PlaySound(id, Vec2(), Vec2()), SoundManager::kPlaying);
        },
        recordSeconds, false);
    // The same file as a plain sample (another spelling, so another record) for reference.
    const Recording sample = PlayAt("LOOP.mp3", 0, Vec2());

    const size_t onset = Onset(music.left, 0.01);
    ASSERT_LT(onset, music.Frames());
    const size_t window = kRate / 10;
    const size_t end = music.Frames() > window ? music.Frames() - window : 0;
    // Well past the 0.25 s file and the second that PlaySound queues up front, and
    // sounding in every tenth of a second.
    ASSERT_GT(end, onset + kRate * 3 / 2);
    const size_t sampleOnset = Onset(sample.left, 0.01);
    const double reference = Rms(sample.left, sampleOnset, sampleOnset + window * 2);
    std::printf("music from %.3f s to %.3f s, reference RMS %g\n",
                static_cast<double>(onset) / kRate, static_cast<double>(music.Frames()) / kRate,
                reference);
    int quiet = 0;
    double sum = 0.0;
    int windows = 0;
    for (size_t i = onset; i + window <= end; i += window) {
        const double rms = Rms(music.left, i, i + window);
        if (rms < 0.1 * reference) ++quiet;
        sum += rms;
        ++windows;
    }
    EXPECT_EQ(quiet, 0);
    ASSERT_GT(windows, 0);
    EXPECT_NEAR(sum / windows / reference, SoundManager::kStreamVolume, 0.03);
}

TEST_F(Stream, VolumesOfTheMusicAndTheEffectsApplyAtOnce) {
    // The effects at 0 are silent, at full volume heard.
    soundManager.SetVolumes(SoundManager::kStreamVolume, 0.0f);
    const Recording muted = PlayAt("mono.mp3", 0, Vec2());
    soundManager.SetVolumes(SoundManager::kStreamVolume, 1.0f);
    const Recording full = PlayAt("mono.mp3", 0, Vec2());
    EXPECT_LT(Rms(muted.left, 0, muted.Frames()), 1e-4);
    const size_t onset = Onset(full.left, 0.01);
    ASSERT_LT(onset, full.Frames());
    EXPECT_GT(Rms(full.left, onset, onset + kRate / 10), 0.1);

    // The music at full volume, turned to 0 while it plays.
    soundManager.SetVolumes(1.0f, 1.0f);
    const Recording music = Record(
        [] {
            const unsigned id = soundManager.LoadSound("loop.mp3", 1, 0);
            EXPECT_EQ(soundManager.PlaySound(id, Vec2(), Vec2()), SoundManager::kPlaying);
        },
        1.2, false, [](double t) {
            if (t > 0.4) soundManager.SetVolumes(0.0f, 1.0f);
        });
    soundManager.SetVolumes(SoundManager::kStreamVolume, 1.0f);
    const size_t start = Onset(music.left, 0.01);
    ASSERT_LT(start + kRate / 5, music.Frames());
    EXPECT_GT(Rms(music.left, start, start + kRate / 5), 0.1);
    EXPECT_LT(Rms(music.left, music.Frames() - kRate / 5, music.Frames()), 1e-4);
}

TEST_F(Stream, PlayingAgainRestartsWithOneVoice) {
    const unsigned id = soundManager.LoadSound("loop.mp3", 1, 0);
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(), Vec2()), SoundManager::kPlaying);
    soundManager.Update();
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(), Vec2()), SoundManager::kPlaying);
    EXPECT_EQ(soundManager.VoicesCreated(), 1u);
    EXPECT_EQ(soundManager.VoicesPlaying(), 1u);
    // A stream keeps its voice after its length and all it queued at the start have passed.
    const auto t0 = std::chrono::steady_clock::now();
    while (Seconds(t0) < 1.3) {
        soundManager.Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(soundManager.VoicesPlaying(), 1u);
}

TEST_F(Stream, PlaysAtTheFilesOwnRateLikeASample) {
    // A 440 Hz tone recorded at 22050 Hz stays 440 Hz, streamed or not.
    const Recording music = Record(
        [] {
            const unsigned id = soundManager.LoadSound("half.mp3", 1, 0);
            EXPECT_EQ(soundManager.PlaySound(id, Vec2(), Vec2()), SoundManager::kPlaying);
        },
        0.6, false);
    const Recording sample = PlayAt("HALF.mp3", 0, Vec2());
    const size_t musicOnset = Onset(music.left, 0.01), sampleOnset = Onset(sample.left, 0.01);
    ASSERT_LT(musicOnset, music.Frames());
    ASSERT_LT(sampleOnset, sample.Frames());
    EXPECT_NEAR(ToneFrequency(music.left, musicOnset + kRate / 100, 0.15, kRate), 440.0, 8.0);
    EXPECT_NEAR(ToneFrequency(sample.left, sampleOnset + kRate / 100, 0.15, kRate), 440.0, 8.0);
}

// ---------------------------------------------------------------------------------
// Voices

using Voices = SoundTest;

TEST_F(Voices, FinishedVoicesAreReused) {
    const unsigned id = soundManager.LoadSound("mono.mp3", 0, 1);
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 8; ++i)
            ASSERT_EQ(soundManager.PlaySound(id, Vec2(400.0f + i, 300), Vec2()),
                      SoundManager::kPlaying);
        // Never more than were sounding at once (fewer if one ended before the last began).
        EXPECT_LE(soundManager.VoicesCreated(), 8u) << "round " << round;
        EXPECT_GE(soundManager.VoicesCreated(), 2u) << "round " << round;
        const auto t0 = std::chrono::steady_clock::now();
        while (soundManager.VoicesPlaying() > 0 && Seconds(t0) < 3.0) {
            soundManager.Update();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(soundManager.VoicesPlaying(), 0u);
    }
}

TEST_F(Voices, NoMoreThanTheDeviceAllows) {
    // Eight seconds long, so that none ends while the rest are started.
    const unsigned id = soundManager.LoadSound("long.mp3", 0, 1);
    const unsigned max = soundManager.MaxVoices();
    std::printf("voices: %u\n", max);
    ASSERT_GT(max, 0u);
    EXPECT_LE(max, SoundManager::kMaxVoices);
    for (unsigned i = 0; i < max; ++i)
        ASSERT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kPlaying) << i;
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kNoVoice);
    EXPECT_EQ(soundManager.PlaySound(id, Vec2(400, 300), Vec2()), SoundManager::kNoVoice);
    EXPECT_EQ(soundManager.VoicesCreated(), max);
}

}  // namespace

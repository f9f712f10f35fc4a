#include "SoundManager.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "Camera.h"
#include "DataFile.h"
#include "FileResolver.h"
#include "Mp3Decoder.h"
#include "Report.h"

SoundManager soundManager;

namespace {

// Four quarter-second buffers: plenty of slack for a frame that comes late.
constexpr int kStreamBuffers = 4;
constexpr size_t kStreamChunkFrames = 11025;
// Part of the voice budget reserved for stereo sources (music, unplaced effects).
constexpr ALCint kStereoVoices = 16;
// The speed of sound that FMOD assumed, in world pixels per second.
constexpr float kSpeedOfSound = 340.0f;

// Empty when `path` names a regular file; otherwise why it cannot be played from.
std::string Unopenable(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT ? "cannot be found" : "cannot be read (" + Why(errno) + ")";
    if (!S_ISREG(st.st_mode)) return "cannot be read (it is " + DataFile::Kind(st.st_mode) + ")";
    return {};
}

void ReportUnplayable(const std::string& name, Mp3Content content) {
    Report("sound: \"" + name + "\" " +
           (content == Mp3Content::kSilent ? "decodes to no sound" : "is not a readable MP3") +
           ", it will play nothing");
}

bool Finite(const Vec2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

bool SoundDisabledByEnvironment() {
    const char* v = std::getenv("BRINEGATE_NO_SOUND");
    return v && *v && std::strcmp(v, "0") != 0;
}

// ALSA and OpenAL Soft report on stderr every back end they fail to open; on a machine
// without sound the single line of our own says all a player needs. Whoever sets
// ALSOFT_LOGLEVEL wants their report, so it is left alone then.
class QuietStderr {
public:
    QuietStderr() {
        if (std::getenv("ALSOFT_LOGLEVEL")) return;
        std::fflush(stderr);
        saved_ = dup(2);
        const int null = open("/dev/null", O_WRONLY);
        if (saved_ < 0 || null < 0 || dup2(null, 2) < 0) Restore();
        if (null >= 0) close(null);
    }
    ~QuietStderr() { Restore(); }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    void Restore() {
        if (saved_ < 0) return;
        dup2(saved_, 2);
        close(saved_);
        saved_ = -1;
    }
    int saved_ = -1;
};

// A sample being played: where it sounds in the world, if it is placed at all.
struct Voice {
    ALuint source = 0;
    bool placed = false;
    Vec2 position;
};

// OpenAL's y grows upwards; the world's grows downwards (x is right in both).
void Place(ALuint source, Vec2 position, Vec2 listener) {
    alSource3f(source, AL_POSITION, position.x - listener.x, listener.y - position.y, 0.0f);
}

}  // namespace

struct SoundManager::Record {
    char name[kMaxNameLength + 1] = {};
    unsigned id = 0;
    unsigned char isStream = 0;
    unsigned char is3D = 0;
    // Samples: the whole decoded sound (0 when the file failed).
    ALuint buffer = 0;
    // Streams: the open decoder, the buffers it cycles through, and the voice playing it.
    std::unique_ptr<Mp3Decoder> decoder;
    ALuint streamBuffers[kStreamBuffers] = {};
    ALuint streamVoice = 0;
    std::vector<int16_t> scratch;
};

struct SoundManager::Device {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    unsigned maxVoices = 0;
    std::vector<ALuint> voices;     // every source created
    std::vector<ALuint> idle;       // finished, ready for reuse
    std::vector<Voice> oneShots;    // started samples, possibly finished by now
    // The centre of the view in world pixels. OpenAL Soft 1.19 takes the Doppler
    // direction from a source's position as if the listener stood at the origin, so the
    // listener stays there and the voices are placed relative to this point instead.
    Vec2 listener;
    std::vector<unsigned> streams;  // ids of streams that own a voice
};

SoundManager::SoundManager() = default;

SoundManager::~SoundManager() { Shutdown(); }

bool SoundManager::Start() {
    if (tried_) return device_ != nullptr;
    tried_ = true;
    if (offByCommandLine_) {
        Report("sound: off (--no-sound)");
        return false;
    }
    if (SoundDisabledByEnvironment()) {
        Report("sound: off (BRINEGATE_NO_SOUND is set)");
        return false;
    }
    ALCdevice* device = nullptr;
    {
        QuietStderr quiet;
        device = alcOpenDevice(nullptr);
    }
    if (!device) {
        Report("sound: no audio device, playing without sound");
        return false;
    }
    const ALCint attributes[] = {ALC_MONO_SOURCES, static_cast<ALCint>(kMaxVoices) - kStereoVoices,
                                 ALC_STEREO_SOURCES, kStereoVoices, 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        Report("sound: the audio device cannot play, playing without sound");
        return false;
    }
    auto d = std::make_unique<Device>();
    d->device = device;
    d->context = context;
    ALCint mono = 0, stereo = 0;
    alcGetIntegerv(device, ALC_MONO_SOURCES, 1, &mono);
    alcGetIntegerv(device, ALC_STEREO_SOURCES, 1, &stereo);
    const long granted = static_cast<long>(mono) + static_cast<long>(stereo);
    // An implementation that does not report its limit is found out by alGenSources failing.
    d->maxVoices = granted > 0 ? static_cast<unsigned>(std::min<long>(granted, kMaxVoices))
                               : kMaxVoices;
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    alSpeedOfSound(kSpeedOfSound);
    const ALfloat orientation[] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    alListenerfv(AL_ORIENTATION, orientation);
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alListenerf(AL_GAIN, muted_ ? 0.0f : 1.0f);
    alGetError();
    device_ = std::move(d);
    return true;
}

bool SoundManager::IsOn() const { return device_ != nullptr; }

void SoundManager::SetMuted(bool muted) {
    muted_ = muted;
    if (device_) alListenerf(AL_GAIN, muted ? 0.0f : 1.0f);
}

void SoundManager::SetVolumes(float music, float effects) {
    // A gain outside 0..1 would be clipped by OpenAL anyway; NaN would be refused.
    auto clamp = [](float gain) { return std::isfinite(gain) ? std::clamp(gain, 0.0f, 1.0f) : 0.0f; };
    musicVolume_ = clamp(music);
    effectsVolume_ = clamp(effects);
    if (!device_) return;
    for (const Voice& v : device_->oneShots) alSourcef(v.source, AL_GAIN, effectsVolume_);
    for (unsigned id : device_->streams)
        if (records_[id]->streamVoice) alSourcef(records_[id]->streamVoice, AL_GAIN, musicVolume_);
    alGetError();
}

void SoundManager::Shutdown() {
    if (device_) {
        Device& d = *device_;
        for (ALuint v : d.voices) {
            alSourceStop(v);
            alSourcei(v, AL_BUFFER, 0);
        }
        if (!d.voices.empty()) alDeleteSources(static_cast<ALsizei>(d.voices.size()), d.voices.data());
        for (size_t i = records_.size(); i-- > 0;) {
            Record& r = *records_[i];
            if (r.buffer) alDeleteBuffers(1, &r.buffer);
            if (r.decoder) alDeleteBuffers(kStreamBuffers, r.streamBuffers);
            r.decoder.reset();
        }
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(d.context);
        alcCloseDevice(d.device);
        device_.reset();
    }
    records_.clear();
    nextId_ = 0;
    tried_ = false;
}

unsigned SoundManager::LoadSound(const std::string& name, int stream, int is3D) {
    for (const auto& r : records_)
        if (std::strlen(r->name) == name.size() && std::memcmp(r->name, name.data(), name.size()) == 0)
            return r->id;

    auto record = std::make_unique<Record>();
    name.copy(record->name, kMaxNameLength);
    record->id = nextId_++;
    record->isStream = stream ? 1 : 0;
    record->is3D = is3D ? 1 : 0;
    if (Start()) OpenFile(*record, name);
    records_.push_back(std::move(record));
    return records_.back()->id;
}

void SoundManager::OpenFile(Record& record, const std::string& name) {
    const std::string path = FileResolver::Resolve(name);
    if (const std::string why = Unopenable(path); !why.empty()) {
        Report("sound: \"" + name + "\" " + why + ", it will play nothing");
        return;
    }
    alGetError();
    if (record.isStream) {
        auto decoder = std::make_unique<Mp3Decoder>();
        if (!decoder->Open(path)) {
            ReportUnplayable(name, Mp3Content::kUnreadable);
            return;
        }
        // A stream of no sound would fail at every play without a word; say so once now.
        if (!decoder->HoldsSound()) {
            ReportUnplayable(name, Mp3Content::kSilent);
            return;
        }
        alGenBuffers(kStreamBuffers, record.streamBuffers);
        if (alGetError() != AL_NO_ERROR) {
            Report("sound: no memory to stream \"" + name + "\", it will play nothing");
            std::fill(std::begin(record.streamBuffers), std::end(record.streamBuffers), 0u);
            return;
        }
        record.scratch.resize(kStreamChunkFrames * static_cast<size_t>(decoder->Channels()));
        record.decoder = std::move(decoder);
        return;
    }
    std::vector<int16_t> samples;
    long rate = 0;
    int channels = 0;
    // OpenAL places only mono sources, so positioned effects are mixed down.
    const Mp3Content content = DecodeMp3(path, record.is3D != 0, samples, rate, channels);
    if (content != Mp3Content::kSound) {
        ReportUnplayable(name, content);
        return;
    }
    if (samples.size() > static_cast<size_t>(std::numeric_limits<ALsizei>::max()) / sizeof(int16_t)) {
        Report("sound: \"" + name + "\" is too long for a sample, it will play nothing");
        return;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples.data(),
                 static_cast<ALsizei>(samples.size() * sizeof(int16_t)), static_cast<ALsizei>(rate));
    if (alGetError() != AL_NO_ERROR) {
        if (buffer) alDeleteBuffers(1, &buffer);
        alGetError();
        Report("sound: OpenAL refused \"" + name + "\", it will play nothing");
        return;
    }
    record.buffer = buffer;
}

int SoundManager::PlaySound(unsigned id, Vec2 position, Vec2 velocity) {
    if (!device_) return kSoundOff;
    if (id >= records_.size()) return kNothingToPlay;
    Record& r = *records_[id];
    if (r.isStream) return PlayStream(r);
    if (!r.buffer) return kNothingToPlay;
    if (r.is3D && !Finite(position)) return kBadPosition;
    if (!Finite(velocity)) velocity = Vec2();

    ALuint voice = AcquireVoice();
    if (!voice) return kNoVoice;
    alGetError();
    alSourcei(voice, AL_BUFFER, static_cast<ALint>(r.buffer));
    alSourcei(voice, AL_LOOPING, AL_FALSE);
    alSourcef(voice, AL_GAIN, effectsVolume_);
    alSourcef(voice, AL_PITCH, 1.0f);
    if (r.is3D) {
        alSourcei(voice, AL_SOURCE_RELATIVE, AL_FALSE);
        Place(voice, position, device_->listener);
        alSource3f(voice, AL_VELOCITY, velocity.x, -velocity.y, 0.0f);
        alSourcef(voice, AL_REFERENCE_DISTANCE, kMinDistance);
        alSourcef(voice, AL_MAX_DISTANCE, kMaxDistance);
        alSourcef(voice, AL_ROLLOFF_FACTOR, 1.0f);
    } else {
        alSourcei(voice, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(voice, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSource3f(voice, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
        alSourcef(voice, AL_ROLLOFF_FACTOR, 0.0f);
    }
    alSourcePlay(voice);
    if (alGetError() != AL_NO_ERROR) {
        alSourceStop(voice);
        alGetError();
        device_->idle.push_back(voice);
        return kFailed;
    }
    device_->oneShots.push_back(Voice{voice, r.is3D != 0, position});
    return kPlaying;
}

int SoundManager::PlayStream(Record& r) {
    if (!r.decoder) return kNothingToPlay;
    Device& d = *device_;
    if (r.streamVoice) {
        // Playing a stream again starts it over, as a stream has only one position.
        alSourceStop(r.streamVoice);
        alSourcei(r.streamVoice, AL_BUFFER, 0);
    } else {
        ALuint voice = AcquireVoice();
        if (!voice) return kNoVoice;
        r.streamVoice = voice;
        d.streams.push_back(r.id);
    }
    const ALuint voice = r.streamVoice;
    alGetError();
    r.decoder->Rewind();
    alSourcei(voice, AL_LOOPING, AL_FALSE);
    alSourcei(voice, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(voice, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(voice, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSourcef(voice, AL_ROLLOFF_FACTOR, 0.0f);
    alSourcef(voice, AL_GAIN, musicVolume_);
    alSourcef(voice, AL_PITCH, 1.0f);
    int queued = 0;
    for (ALuint b : r.streamBuffers) {
        if (!FillStreamBuffer(r, b)) break;
        alSourceQueueBuffers(voice, 1, &b);
        ++queued;
    }
    if (queued == 0) {
        StopStream(r);
        return kNothingToPlay;
    }
    alSourcePlay(voice);
    if (alGetError() != AL_NO_ERROR) {
        StopStream(r);
        return kFailed;
    }
    return kPlaying;
}

bool SoundManager::FillStreamBuffer(Record& r, unsigned buffer) {
    const size_t frames = r.decoder->ReadLooping(r.scratch.data(), kStreamChunkFrames);
    if (frames == 0) return false;
    const int channels = r.decoder->Channels();
    alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, r.scratch.data(),
                 static_cast<ALsizei>(frames * static_cast<size_t>(channels) * sizeof(int16_t)),
                 static_cast<ALsizei>(r.decoder->Rate()));
    return true;
}

void SoundManager::StopStream(Record& r) {
    if (!r.streamVoice) return;
    Device& d = *device_;
    alSourceStop(r.streamVoice);
    alSourcei(r.streamVoice, AL_BUFFER, 0);
    d.idle.push_back(r.streamVoice);
    r.streamVoice = 0;
    d.streams.erase(std::remove(d.streams.begin(), d.streams.end(), r.id), d.streams.end());
}

void SoundManager::RefillStreams() {
    Device& d = *device_;
    const std::vector<unsigned> streams = d.streams;
    for (unsigned id : streams) {
        Record& r = *records_[id];
        const ALuint voice = r.streamVoice;
        ALint processed = 0;
        alGetSourcei(voice, AL_BUFFERS_PROCESSED, &processed);
        for (; processed > 0; --processed) {
            ALuint b = 0;
            alSourceUnqueueBuffers(voice, 1, &b);
            if (FillStreamBuffer(r, b)) alSourceQueueBuffers(voice, 1, &b);
        }
        ALint queued = 0, state = AL_STOPPED;
        alGetSourcei(voice, AL_BUFFERS_QUEUED, &queued);
        alGetSourcei(voice, AL_SOURCE_STATE, &state);
        if (queued == 0)
            StopStream(r);
        else if (state != AL_PLAYING)
            alSourcePlay(voice);  // ran dry during a long frame: carry on
    }
}

unsigned SoundManager::AcquireVoice() {
    Device& d = *device_;
    if (d.idle.empty()) ReclaimVoices();
    if (!d.idle.empty()) {
        ALuint v = d.idle.back();
        d.idle.pop_back();
        return v;
    }
    if (d.voices.size() >= d.maxVoices) return 0;
    alGetError();
    ALuint v = 0;
    alGenSources(1, &v);
    if (alGetError() != AL_NO_ERROR || v == 0) {
        d.maxVoices = static_cast<unsigned>(d.voices.size());
        return 0;
    }
    d.voices.push_back(v);
    return v;
}

void SoundManager::ReclaimVoices() {
    Device& d = *device_;
    for (size_t i = 0; i < d.oneShots.size();) {
        ALint state = AL_STOPPED;
        alGetSourcei(d.oneShots[i].source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING) {
            ++i;
            continue;
        }
        d.idle.push_back(d.oneShots[i].source);
        d.oneShots[i] = d.oneShots.back();
        d.oneShots.pop_back();
    }
}

void SoundManager::Update() {
    if (!device_) return;
    Device& d = *device_;
    const Vec2* c = camera.corners;
    const Vec2 centre((c[0].x + c[1].x + c[2].x + c[3].x) * 0.25f,
                      (c[0].y + c[1].y + c[2].y + c[3].y) * 0.25f);
    RefillStreams();
    ReclaimVoices();
    if (Finite(centre) && centre != d.listener) {
        d.listener = centre;
        for (const Voice& v : d.oneShots)
            if (v.placed) Place(v.source, v.position, centre);
    }
    alGetError();
}

unsigned SoundManager::MaxVoices() const { return device_ ? device_->maxVoices : 0; }

unsigned SoundManager::VoicesCreated() const {
    return device_ ? static_cast<unsigned>(device_->voices.size()) : 0;
}

unsigned SoundManager::VoicesPlaying() const {
    if (!device_) return 0;
    unsigned n = 0;
    for (ALuint v : device_->voices) {
        ALint state = AL_STOPPED;
        alGetSourcei(v, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING) ++n;
    }
    return n;
}

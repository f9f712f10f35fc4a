#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "Singleton.h"
#include "Vec2.h"

// Loads the game's MP3 effects and music once each, hands out small ids for them, and
// plays them in world space through OpenAL with the listener at the centre of the view.
//
// The audio device is opened on first use (LoadSound or Start), not at static
// construction. Without a device, with BRINEGATE_NO_SOUND=1 in the environment, or when
// the player asked for silence (SetOffByCommandLine), one line on stderr says so and
// every call is silent; LoadSound still hands out ids.
class SoundManager : public singleton<SoundManager> {
public:
    // What PlaySound returns.
    enum Result {
        kPlaying = 0,        // a voice started
        kSoundOff = 1,       // no audio device
        kNothingToPlay = 2,  // unknown id, or its file was missing or not an MP3
        kNoVoice = 3,        // every voice the device allows is busy
        kBadPosition = 4,    // the position is not a finite point
        kFailed = 5,         // OpenAL refused to start the voice
    };

    static constexpr unsigned kMaxVoices = 2000;
    static constexpr float kMinDistance = 100.0f;
    static constexpr float kMaxDistance = 100000.0f;
    static constexpr float kStreamVolume = 0.2f;
    // Longer names are stored cut; such a name never matches its record again, so each
    // load of it opens the file anew under a new id.
    static constexpr size_t kMaxNameLength = 29;

    SoundManager();
    ~SoundManager() override;
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Returns the id of the file `name` (as the game writes it, e.g. "Sound\Splash.mp3"),
    // loading it on the first request. Names are compared byte for byte; a name already
    // loaded returns its id whatever the flags. Streams loop and ignore is3D; samples are
    // decoded whole, to mono when is3D so that they can be positioned.
    unsigned LoadSound(const std::string& name, int stream, int is3D);
    // Starts one playback of sound `id` at a world position (pixels, y downwards) moving
    // with `velocity` (pixels per second). Samples loaded without is3D play unplaced at
    // full volume; a stream plays unplaced at kStreamVolume and restarts if already playing.
    int PlaySound(unsigned id, Vec2 position, Vec2 velocity);
    // Once per frame: puts the listener at the centre of the camera's view, refills the
    // music and recycles finished voices.
    void Update();

    // Opens the audio device unless that has been tried already; true when sound is on.
    bool Start();
    bool IsOn() const;
    // The player's --no-sound: the next start stays off and says why. Kept across a
    // Shutdown, like the mute.
    void SetOffByCommandLine(bool off) { offByCommandLine_ = off; }
    // Stops and releases every voice, sound and the device, and forgets every id: the
    // manager is as constructed, and the next load opens the device again.
    void Shutdown();

    // Silences everything (the listener's gain) without stopping it, e.g. while the
    // window is in the background; kept across a restart of the device.
    void SetMuted(bool muted);
    bool IsMuted() const { return muted_; }
    // The gains (0 silent .. 1 full) of the music and of every effect, applied at once to
    // what is sounding and kept across a restart of the device. By default the music
    // plays at kStreamVolume and the effects at full volume.
    void SetVolumes(float music, float effects);
    float MusicVolume() const { return musicVolume_; }
    float EffectsVolume() const { return effectsVolume_; }

    // Voices the device allows (0 while sound is off).
    unsigned MaxVoices() const;
    // OpenAL sources in existence; finished ones are reused, so this stays bounded.
    unsigned VoicesCreated() const;
    // Voices currently sounding, the music included.
    unsigned VoicesPlaying() const;

private:
    struct Record;
    struct Device;

    void OpenFile(Record& record, const std::string& name);
    int PlayStream(Record& record);
    bool FillStreamBuffer(Record& record, unsigned buffer);
    void RefillStreams();
    void StopStream(Record& record);
    unsigned AcquireVoice();
    void ReclaimVoices();

    // In load order; a record's id is its index (ids are handed out 0, 1, 2, ...).
    std::vector<std::unique_ptr<Record>> records_;
    std::unique_ptr<Device> device_;
    unsigned nextId_ = 0;
    bool tried_ = false;
    bool muted_ = false;
    bool offByCommandLine_ = false;
    float musicVolume_ = kStreamVolume;
    float effectsVolume_ = 1.0f;
};

extern SoundManager soundManager;

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/Options.h"

class Game;
class Platform;
class RecordingPlatform;
class ReplayPlatform;
struct Settings;
class Sprite;
class WindowKeeper;

// One run of the game on the platform it is given: start-up, main loop and shut-down.
// It owns the game, the cursor and the frame count of its run; the engine it borrows is
// given back as it was found, so another Program can run after it in the same process.
class Program {
public:
    explicit Program(Platform& platform, Options options = Options());
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs the whole game; returns the process exit status (0 after a normal end,
    // kUsageStatus when a file named in the options cannot be used, nothing played).
    int Run();

    // The game and the cursor while the run goes on (null before and after it).
    Game* game() const { return game_.get(); }
    Sprite* cursor() const { return cursor_.get(); }
    // Frames run so far; the run ends normally after options.frames of them (0: no limit).
    uint64_t framesRun() const { return framesRun_; }

    // The program whose run is under way, and its game (null between runs).
    static Program* Running() { return running_; }
    static Game* RunningGame() { return running_ ? running_->game() : nullptr; }

private:
    // The frame function handed to the engine: one frame of the running program.
    static int32_t Frame(float dt);
    int32_t Step(float dt);
    int Play();
    // Opens the recording to replay or the file to record into; false (told on stderr)
    // when it cannot be used. A replay plays with the keys it was recorded with.
    bool OpenRecordingFiles(Settings& settings);
    // The cursor, the game and its settings and records, and the music.
    void Build(const Settings& settings);
    // The digest, the recording's end, the kept window and the records; the status.
    int Finish(const WindowKeeper& window);

    static Program* running_;

    Platform& platform_;
    const Options options_;
    std::string settingsPath_;
    uint32_t seed_ = 0;
    std::unique_ptr<ReplayPlatform> player_;
    std::unique_ptr<RecordingPlatform> recorder_;
    Platform* active_ = nullptr;  // the platform itself, or the replay or recording on it
    std::unique_ptr<Game> game_;
    std::unique_ptr<Sprite> cursor_;
    uint64_t framesRun_ = 0;
};

#include "app/Program.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>

#include "Camera.h"
#include "Culler.h"
#include "FileResolver.h"
#include "Orlop.h"
#include "Random.h"
#include "Report.h"
#include "SoundManager.h"
#include "Sprite.h"
#include "app/EngineSession.h"
#include "app/WindowKeeper.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "play/StateDigest.h"
#include "store/Recording.h"
#include "store/Records.h"
#include "store/Settings.h"
#include "store/SettingsApplier.h"
#include "store/WholeFile.h"

Program* Program::running_ = nullptr;

namespace {

// Without its data the game shows checkers and names each missing file; first say where
// the data was looked for.
void WarnWithoutData() {
    const char* probe = "images\\cursor.tga";
    std::error_code ec;
    // Something there that is no image (a pipe, a folder) is named by the image's loader.
    if (std::filesystem::exists(std::filesystem::symlink_status(FileResolver::Resolve(probe), ec))) return;
    std::string places = "the working directory (" + std::filesystem::current_path(ec).string() + ")";
    for (const std::string& root : FileResolver::SearchRoots()) places += ", " + root;
    Report("no game data found: \"" + FileResolver::Normalise(probe) + "\" is in none of " + places);
}

}  // namespace

Program::Program(Platform& platform, Options options) : platform_(platform), options_(std::move(options)) {}

Program::~Program() = default;

int32_t Program::Frame(float dt) { return running_->Step(dt); }

int32_t Program::Step(float dt) {
    // Decided at the frame's start: the frame that pauses still runs whole, the one that
    // resumes still stands.
    const bool standing = game_->Paused();
    bool result = game_->Update(dt);
    game_->Draw();
    if (!standing) goManager.Update(dt);
    // A paused frame draws the world as it stands.
    goManager.Draw();
    soundManager.Update();
    // Under the mouse in the view drawn, which a paused game holds.
    cursor_->position = orlop.mousePosition + camera.shown.topLeft;
    cursor_->UpdateCorners();
    ++framesRun_;
    if (options_.frames != 0 && framesRun_ >= options_.frames) result = false;
    return result ? 1 : 0;
}

int Program::Run() {
    running_ = this;
    const int status = Play();
    running_ = nullptr;
    // The replay or recording ends with its run.
    player_.reset();
    recorder_.reset();
    active_ = nullptr;
    return status;
}

int Program::Play() {
    // Every file named on the command line is checked before anything is shown.
    seed_ = options_.hasSeed ? options_.seed : static_cast<uint32_t>(std::time(nullptr));
    active_ = &platform_;
    // A damaged entry of the file is named on stderr and takes its default.
    settingsPath_ = options_.configPath.empty() ? Settings::DefaultPath() : options_.configPath;
    // One the game could not read whole is never written over: the run keeps its
    // settings in memory (Load says so).
    std::string unwritable;
    Settings settings = Settings::Load(settingsPath_, std::cerr, &unwritable);
    if (!unwritable.empty()) settingsPath_.clear();
    // What a run killed between writing and renaming left beside the files it keeps.
    for (const std::string& kept : {settingsPath_, Records::DefaultPath()})
        if (!kept.empty()) WholeFile::RemoveStale(WholeFile::Target(kept));
    if (!OpenRecordingFiles(settings)) return kUsageStatus;
    // Read when the first sound loads, which is after this.
    soundManager.SetOffByCommandLine(options_.noSound);
    SettingsApplier::ApplySound(settings);
    WarnWithoutData();

    SRand(seed_);
    framesRun_ = 0;
    WindowKeeper window;
    // Declared after the window's keeper: the engine is given back before it goes.
    EngineSession engine(*active_, options_.unpaced, options_.hasVsync ? options_.vsync : settings.vsync, Frame);
    WindowKeeper::Open(*active_, settings);
    if (!engine.Start()) return 1;
    // A recording plays under the input rule of the build that made it.
    orlop.everyRelease = !player_ || player_->Played().everyRelease;
    // The command line can ask for full screen, never for a window, over the file.
    if (options_.fullscreen || settings.fullscreen) active_->SetFullscreen(true);
    window.Started(*active_);
    SettingsApplier::ApplyKeys(settings);
    Build(settings);

    orlop.Run();

    const int status = Finish(window);
    game_->towers.Clear();
    game_.reset();
    culler.worldBehindScreen = false;
    camera.HoldView(false);
    cursor_.reset();
    // The engine's end clears the objects and closes the window.
    return status;
}

bool Program::OpenRecordingFiles(Settings& settings) {
    std::string error;
    if (!options_.replayPath.empty()) {
        Recording recording;
        if (!LoadRecording(options_.replayPath, recording, error)) {
            Report(error);
            return false;
        }
        seed_ = recording.seed;
        // Played with the keys it was recorded with, whatever the player uses now.
        for (int a = 0; a < Settings::kActionCount; ++a)
            settings.keys[a] = recording.keys.empty() ? Settings::kDesignedKeys[a] : recording.keys[a];
        // And with the rule it was recorded with: off in a recording from before the assist.
        settings.safeRespawn = recording.safeRespawn;
        player_ = std::make_unique<ReplayPlatform>(platform_, std::move(recording));
        active_ = player_.get();
    } else if (!options_.recordPath.empty()) {
        recorder_ = std::make_unique<RecordingPlatform>(platform_);
        const std::vector<uint32_t> keys(settings.keys, settings.keys + Settings::kActionCount);
        if (!recorder_->Open(options_.recordPath, seed_, keys, settings.safeRespawn, error)) {
            Report(error);
            return false;
        }
        active_ = recorder_.get();
    }
    return true;
}

void Program::Build(const Settings& settings) {
    cursor_.reset(new Sprite(1, 1, "images\\cursor.tga"));
    // Blended, so the cursor's transparent corners show the scene rather than a black box.
    cursor_->blendMode = BlendMode::kAlpha;
    cursor_->SetDepth(1.0f);
    AddToRenderList(cursor_.get());
    cursor_->aboveWorld = 1;

    game_.reset(new Game);
    game_->SetUp();
    // A replay never writes the player's settings, whatever it plays.
    game_->options().Use(settings, settingsPath_, !player_);
    game_->safeRespawn = settings.safeRespawn;
    // Nor its records: a damaged file is named, and set aside only outside a replay.
    // One that could not be read whole, nor set aside, is left as it is.
    const std::string recordsPath = Records::DefaultPath();
    std::string unwritable;
    const Records records = Records::Load(recordsPath, std::cerr, !player_, &unwritable);
    game_->UseRecords(records, recordsPath, !player_ && unwritable.empty());

    unsigned music = soundManager.LoadSound("pirates.mp3", 1, 1);
    soundManager.PlaySound(music, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));
}

int Program::Finish(const WindowKeeper& window) {
    // A normal end is a success for the shell and for launchers.
    int status = 0;
    std::string error;
    const uint64_t digest = ComputeStateDigest(game_.get());
    if (options_.printDigest) {
        // Asked for and not delivered (a full disk, a closed pipe) is a failure.
        std::clearerr(stdout);
        const bool printed = std::printf("%s\n", FormatDigest(digest).c_str()) > 0;
        if (std::fflush(stdout) != 0 || !printed || std::ferror(stdout)) {
            Report("cannot write the digest to the standard output: " + Why(errno));
            status = 1;
        }
    }
    if (recorder_ && !recorder_->Finish(digest, error)) {
        Report(error);
        status = 1;
    }
    if (player_ && player_->Played().hasDigest && player_->Played().frames == player_->FramesShown() &&
        player_->Played().digest != digest) {
        Report(options_.replayPath + ": the replay ended in another state than the recorded run");
        status = 1;
    }

    // The window as the player left it, for the next start; never from a replay.
    if (!player_) window.Finish(*active_, game_->options().Current(), game_->options().KeptAt());
    // A game ended by --frames, the window or Quit is counted alike.
    game_->SaveRecords();
    return status;
}

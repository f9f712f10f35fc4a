#include "Program.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "Camera.h"
#include "FileResolver.h"
#include "GOManager.h"
#include "Game.h"
#include "KeyMap.h"
#include "Orlop.h"
#include "Random.h"
#include "Recording.h"
#include "Records.h"
#include "Settings.h"
#include "SoundManager.h"
#include "Sprite.h"
#include "StateDigest.h"
#include "TextureManager.h"
#include "WindowKeeper.h"

Game* Program::game = nullptr;
Sprite* Program::cursor = nullptr;
uint64_t Program::frameLimit = 0;
uint64_t Program::framesRun = 0;

namespace {

// In the background the game stands still, and silent.
void FocusChanged(bool active) { soundManager.SetMuted(!active); }

// Without its data the game shows checkers and names each missing file; first say where
// the data was looked for.
void WarnWithoutData() {
    const char* probe = "images\\cursor.tga";
    std::error_code ec;
    if (std::filesystem::is_regular_file(FileResolver::Resolve(probe), ec)) return;
    std::string places = "the working directory (" + std::filesystem::current_path(ec).string() + ")";
    for (const std::string& root : FileResolver::SearchRoots()) places += ", " + root;
    std::fprintf(stderr, "brinegate: no game data found: \"%s\" is in none of %s\n",
                 FileResolver::Normalise(probe).c_str(), places.c_str());
}

}  // namespace

int32_t Program::Frame(float dt) {
    // Decided at the frame's start: the frame that pauses still runs whole, the one that
    // resumes still stands.
    const bool standing = game->paused;
    bool result = game->Update(dt);
    if (standing) game->DrawLabels();
    else goManager.Update(dt);
    soundManager.Update();
    cursor->position = orlop.mousePosition + camera.GetTopLeft();
    cursor->UpdateCorners();
    ++framesRun;
    if (frameLimit != 0 && framesRun >= frameLimit) result = false;
    return result ? 1 : 0;
}

int Program::Run(Platform& platform, const Options& options) {
    // Every file named on the command line is checked before anything is shown.
    std::unique_ptr<ReplayPlatform> player;
    std::unique_ptr<RecordingPlatform> recorder;
    std::string error;
    uint32_t seed = options.hasSeed ? options.seed : static_cast<uint32_t>(std::time(nullptr));
    Platform* active = &platform;
    // A damaged entry of the file is named on stderr and takes its default.
    const std::string settingsPath = options.configPath.empty() ? Settings::DefaultPath() : options.configPath;
    Settings settings = Settings::Load(settingsPath, std::cerr);
    if (!options.replayPath.empty()) {
        Recording recording;
        if (!LoadRecording(options.replayPath, recording, error)) {
            std::fprintf(stderr, "brinegate: %s\n", error.c_str());
            return kUsageStatus;
        }
        seed = recording.seed;
        // Played with the keys it was recorded with, whatever the player uses now.
        for (int a = 0; a < Settings::kActionCount; ++a)
            settings.keys[a] = recording.keys.empty() ? Settings::kDesignedKeys[a] : recording.keys[a];
        player = std::make_unique<ReplayPlatform>(platform, std::move(recording));
        active = player.get();
    } else if (!options.recordPath.empty()) {
        recorder = std::make_unique<RecordingPlatform>(platform);
        const std::vector<uint32_t> keys(settings.keys, settings.keys + Settings::kActionCount);
        if (!recorder->Open(options.recordPath, seed, keys, error)) {
            std::fprintf(stderr, "brinegate: %s\n", error.c_str());
            return kUsageStatus;
        }
        active = recorder.get();
    }
    // Read when the first sound loads, which is after this.
    soundManager.SetOffByCommandLine(options.noSound);
    OptionsScreen::ApplySound(settings);
    WarnWithoutData();

    SRand(seed);
    frameLimit = options.frames;
    framesRun = 0;
    const bool wasPaced = orlop.paced;
    if (options.unpaced) orlop.paced = false;
    orlop.platform = active;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.bits = 32.0f;
    orlop.title = "Brinegate";
    orlop.windowed = 1;
    orlop.frameCallback = Frame;
    orlop.focusCallback = FocusChanged;
    orlop.vsync = options.hasVsync ? options.vsync : settings.vsync;
    WindowKeeper window;
    WindowKeeper::Open(*active, settings);
    auto restoreEngine = [&] {
        orlop.paced = wasPaced;
        orlop.vsync = Vsync::kAuto;
        orlop.focusCallback = nullptr;
        orlop.platform = nullptr;  // the relays die with this call
        orlop.SetKeyMap(KeyMap());
        soundManager.SetMuted(false);
        soundManager.SetVolumes(SoundManager::kStreamVolume, 1.0f);
    };
    if (!orlop.Init()) {
        restoreEngine();
        return 1;
    }
    // The command line can ask for full screen, never for a window, over the file.
    if (options.fullscreen || settings.fullscreen) active->SetFullscreen(true);
    window.Started(*active);
    OptionsScreen::ApplyKeys(settings);

    cursor = new Sprite(1, 1, "images\\cursor.tga");
    // Blended, so the cursor's transparent corners show the scene rather than a black box.
    cursor->blendMode = 1;
    cursor->SetDepth(1.0f);
    AddToRenderList(cursor);

    game = new Game;
    game->SetUp();
    // A replay never writes the player's settings, whatever it plays.
    game->optionsScreen.Use(settings, settingsPath, !player);
    // Nor its records: a damaged file is named, and set aside only outside a replay.
    const std::string recordsPath = Records::DefaultPath();
    game->UseRecords(Records::Load(recordsPath, std::cerr, !player), recordsPath, !player);

    unsigned music = soundManager.LoadSound("pirates.mp3", 1, 1);
    soundManager.PlaySound(music, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));

    orlop.Run();

    // A normal end is a success for the shell and for launchers.
    int status = 0;
    const uint64_t digest = ComputeStateDigest(game);
    if (options.printDigest) {
        std::printf("%s\n", FormatDigest(digest).c_str());
        std::fflush(stdout);
    }
    if (recorder && !recorder->Finish(digest, error)) {
        std::fprintf(stderr, "brinegate: %s\n", error.c_str());
        status = 1;
    }
    if (player && player->Played().hasDigest && player->Played().frames == player->FramesShown() &&
        player->Played().digest != digest) {
        std::fprintf(stderr, "brinegate: %s: the replay ended in another state than the recorded run\n",
                     options.replayPath.c_str());
        status = 1;
    }

    // The window as the player left it, for the next start; never from a replay.
    if (!player) window.Finish(*active, game->optionsScreen.Current(), settingsPath);
    // A game ended by --frames, the window or Quit is counted alike.
    game->SaveRecords();

    game->towers.Clear();
    delete game;
    game = nullptr;
    delete cursor;
    cursor = nullptr;
    goManager.Clear();
    // The textures belong to this run's GL context, which ends here: a later run in the
    // same process (tests do that) must load its own rather than draw with dead names.
    textureManager.ReleaseAll();
    orlop.Shutdown();
    restoreEngine();
    return status;
}

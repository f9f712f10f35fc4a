// Replays a kept recording in a full-size window and saves the pictures the README
// shows: play with the heads-up (play.png), an open shop (shop.png) and the ghost sea
// (ghost-sea.png), each at the first frame that shows it well. Exits 1 when a picture
// could not be made.
#include <cstdio>
#include <string>

#include "GlTestContext.h"
#include "ScriptedPlay.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"

namespace {

// The picture at its real size, not the quarter window of the long tests.
struct FullSizePlatform : ScriptedPlatform {
    bool CreateMainWindow(const std::string& title, int width, int height, bool windowed, int bits) override {
        return SdlPlatform::CreateMainWindow(title, width, height, windowed, bits);
    }
};

bool PanelFullyOpen(Game* game) {
    for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) {
        const Upgrader* panel = (*it)->upgrader;
        if (panel && panel->state == Upgrader::Phase::kOpening && panel->fade >= 1.0f && panel->stateTime > 0.5f)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_screenshots RECORDING OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = std::string(argv[2]) + "/";
    gltest::UseDataFolder();
    Options options;
    options.replayPath = argv[1];
    options.configPath = out + ".screenshots-settings.ini";  // a new player's settings
    options.unpaced = options.noSound = true;
    FullSizePlatform platform;
    bool play = false, shop = false, ghost = false;
    int ghostFrames = 0;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        const bool playing = game->phase == Game::kPlaying && !game->paused && game->playerShip.Get();
        ghostFrames = playing && game->seaMode == Sea::kGhost ? ghostFrames + 1 : 0;
        if (!play && playing && frame > 1500 && game->seaMode == Sea::kLiving && game->HostileTowers() > 0)
            play = gltest::SaveScreenshot(out + "play.png");
        if (!shop && playing && PanelFullyOpen(game)) shop = gltest::SaveScreenshot(out + "shop.png");
        if (!ghost && ghostFrames == 150 && frame > 1500) ghost = gltest::SaveScreenshot(out + "ghost-sea.png");
        if (play && shop && ghost) p.Post(WM_CLOSE);  // the rest of the recording is not needed
    };
    Program(platform, options).Run();  // closed early: its status says nothing of the pictures
    std::remove((out + ".screenshots-settings.ini").c_str());
    const char* missing = !play ? "play" : !shop ? "shop" : !ghost ? "ghost sea" : nullptr;
    if (missing) {
        std::fprintf(stderr, "make_screenshots: no picture of the %s in %s\n", missing, argv[1]);
        return 1;
    }
    return 0;
}

// The page's figure for README: a frame of level 10 in full swing, simulated and drawn
// at 800 x 600, as bench/level/bench_level_frame measures it on the desktop
// (BM_LevelFrame/10: the same level, built the same way). Each frame ends by reading
// one pixel back, which waits for the drawing as glFinish does there. Prints
// "level 10 frame: N ms" on the console. Built with -DBRINEGATE_WEB_BENCH=ON; the
// desktop's build makes the same program as tests/web/web_level_frame, for the figure
// beside it (run under xvfb-run).
#include <chrono>
#include <cstdio>
#include <cstring>

#include "Camera.h"
#include "Culler.h"
#include "GL.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderer.h"
#include "SoundManager.h"
#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "play/StateDigest.h"
#include "ships/MerchantShip.h"
#include "ui/MenuButton.h"
#ifdef __EMSCRIPTEN__
#include "WebPlatform.h"
using MeasuredPlatform = WebPlatform;
#else
#include "FileResolver.h"
#include "SdlPlatform.h"
using MeasuredPlatform = SdlPlatform;
#endif

namespace {

constexpr int kLevel = 10;
constexpr int kWarmUpFrames = 1200;
constexpr int kMeasuredFrames = 600;
constexpr int kDigestEvery = 10;

void PlayerFires(Game& game) {
    orlop.mousePosition = Vec2(600.0f, 250.0f);
    orlop.inputEvent = 1;
    orlop.lastDown = 0;
    orlop.lastCode = 0;
    if (MerchantShip* ship = game.playerShip.Get()) ship->health = ship->maxHealth;
}

void SetFires() {
    int n = 0;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* o = *it;
        if (o->team != -1 || o->state != 1) continue;
        const char* type = o->GetType();
        if (std::strcmp(type, "MerchantShip") && std::strcmp(type, "RamBoat") && std::strcmp(type, "MineLayer"))
            continue;
        if (n++ % 2 == 0) continue;
        Ship* ship = static_cast<Ship*>(o);
        ship->health = 0.2f * ship->maxHealth;
    }
}

void Frame(Game& game, bool drawn) {
    renderer.BeginFrame();
    camera.Update(kFrameStep);
    PlayerFires(game);
    game.Update(kFrameStep);
    goManager.Update(kFrameStep);
    soundManager.Update();
    if (drawn) culler.Render();
    renderer.EndOrtho();
    unsigned char pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main() {
#ifndef __EMSCRIPTEN__
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
#endif
    goManager.OpenLogAt("");
    static MeasuredPlatform platform;
    orlop.platform = &platform;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.title = "Brinegate benchmark";
    orlop.windowed = 1;
    if (!orlop.Init()) return 1;
    Game game;
    SRand(20261208u);
    camera = Camera();
    camera.SetView(Vec2(400.0f, 300.0f), Vec2(800.0f, 600.0f));
    game.SetUp();
    game.playButton->SetState(MenuButton::kReturning);
    game.Update(kFrameStep);
    game.level = kLevel - 1;
    for (auto it = game.towers.Begin(); !it.AtEnd(); ++it) (*it)->team = 1;
    // The state now and then, so that the page and the desktop can be told apart.
    for (int i = 0; i < kWarmUpFrames; ++i) {
        if (i == kWarmUpFrames - 60) SetFires();
        Frame(game, false);
        if ((i + 1) % kDigestEvery == 0)
            std::printf("frame %d %s\n", i + 1, FormatDigest(ComputeStateDigest(&game)).c_str());
    }
    const double start = NowMs();
    for (int i = 0; i < kMeasuredFrames; ++i) Frame(game, true);
    const double ms = (NowMs() - start) / kMeasuredFrames;
    std::printf("level %d frame: %.2f ms (%d objects)\n", kLevel, ms, goManager.objects.Count());
    std::fflush(stdout);
    return 0;
}

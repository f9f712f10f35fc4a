// The page's figure for README: a frame of level 10 in full swing, simulated and drawn
// at 800 x 600, as bench/level/bench_level_frame measures it on the desktop
// (BM_LevelFrame/10: the same level, built the same way). Each frame ends by reading
// one pixel back, which waits for the drawing as glFinish does there. Prints
// "level 10 frame: N ms" on the console. Built with -DBRINEGATE_WEB_BENCH=ON; the
// desktop's build makes the same program as tests/web/web_level_frame, for the figure
// beside it (run under xvfb-run).
#include <chrono>
#include <cstdio>

#include "Camera.h"
#include "Culler.h"
#include "GL.h"
#include "LevelScene.h"
#include "Orlop.h"
#include "Renderer.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "play/StateDigest.h"
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
constexpr int kMeasuredFrames = 600;
constexpr int kDigestEvery = 10;

// The level's frame as bench_level_frame draws it; reading a pixel back waits for the
// drawing as glFinish does there.
void Frame(Game& game, bool drawn) {
    renderer.BeginFrame();
    camera.Update(kFrameStep);
    LevelStep(game);
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
    // The state now and then, so that the page and the desktop can be told apart.
    BuildLevel(game, kLevel, [](Game& g, int i) {
        Frame(g, false);
        if ((i + 1) % kDigestEvery == 0)
            std::printf("frame %d %s\n", i + 1, FormatDigest(ComputeStateDigest(&g)).c_str());
    });
    const double start = NowMs();
    for (int i = 0; i < kMeasuredFrames; ++i) Frame(game, true);
    const double ms = (NowMs() - start) / kMeasuredFrames;
    std::printf("level %d frame: %.2f ms (%d objects)\n", kLevel, ms, goManager.objects.Count());
    std::fflush(stdout);
    return 0;
}

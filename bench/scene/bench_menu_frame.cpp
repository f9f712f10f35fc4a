// One frame of the main menu as the loop runs it: game logic, every object's update,
// drawing the render list under the software renderer at 800 x 600, and finishing.
// Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "BenchLayers.h"
#include "BenchWindow.h"
#include "Camera.h"
#include "Culler.h"
#include "FileResolver.h"
#include "GL.h"
#include "Orlop.h"
#include "Renderer.h"
#include "SoundManager.h"
#include "objects/GOManager.h"
#include "play/Game.h"

namespace {

void BM_MenuFrame(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    Game game;
    game.SetUp();
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        renderer.BeginFrame();
        camera.Update(kFrameStep);
        game.Update(kFrameStep);
        goManager.Update(kFrameStep);
        soundManager.Update();
        culler.Render();
        renderer.EndOrtho();
        glFinish();
    }
    ReportAgainstFloor(state, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    goManager.Clear();
}

}  // namespace

BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();

// One whole battle frame as the loop runs it: the simulation, then drawing the render
// list under the software renderer at 800 x 600 and finishing. Needs a display (run
// under xvfb-run).
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "BattleScene.h"
#include "BenchWindow.h"
#include "Culler.h"
#include "GL.h"
#include "Renderer.h"

namespace {

void BM_BattleFrame(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    BattleScene battle;
    BattleCounters counters;
    double drawn = 0;
    // Wall time of the simulation and of the drawing (GL work the simulation queued, such
    // as the sea's surface line, is finished and so counted with the drawing).
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double, std::milli> simulating{0}, drawing{0};
    for (auto _ : state) {
        if (battle.Due()) {
            state.PauseTiming();
            battle.Build(state.range(0) != 0);
            state.ResumeTiming();
        }
        const auto t0 = Clock::now();
        renderer.BeginFrame();
        battle.Frame();
        const auto t1 = Clock::now();
        culler.Render();
        renderer.EndOrtho();
        glFinish();
        const auto t2 = Clock::now();
        simulating += t1 - t0;
        drawing += t2 - t1;
        if (battle.frame % 16 == 0) {
            state.PauseTiming();
            counters.Sample(battle);
            drawn += culler.drawnLastFrame;
            state.ResumeTiming();
        }
    }
    counters.Report(state);
    if (counters.frames > 0) state.counters["drawn"] = drawn / counters.frames;
    if (state.iterations() > 0) {
        state.counters["sim_ms"] = simulating.count() / static_cast<double>(state.iterations());
        state.counters["draw_ms"] = drawing.count() / static_cast<double>(state.iterations());
    }
    goManager.Clear();
}

}  // namespace

// 1: every ship burning, the scene the targets are set for; 0: no fires, for comparison.
BENCHMARK(BM_BattleFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_MAIN();

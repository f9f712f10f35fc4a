// One update of the standard sea (9000 wide, 200 deep, columns 15 apart) while the
// game keeps stirring it, and the height query every floater makes each frame.
#include <benchmark/benchmark.h>

#include "Box.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "sea/Water.h"

namespace {

Water* StirredSea() {
    auto* w = static_cast<Water*>(goManager.Create("Water"));
    w->width = 9000.0f;
    w->bottom = 200.0f;
    w->spacing = 15.0f;
    w->Init();
    w->SetPosition(Vec2(-4500.0f, 550.0f));
    w->renderable->SetDepth(0.7f);
    SRand(12345);
    for (int f = 0; f < 600; ++f) {
        w->Disturb(2.0f * kFrameStep, static_cast<float>(Rand() % 8001 - 4000));
        if (f % 30 == 0) w->Surge(30.0f * kFrameStep, static_cast<float>(Rand() % 8001 - 4000));
        w->Update(kFrameStep);
    }
    return w;
}

// No GL context: the surface line's calls go nowhere, so this is the simulation and
// the reshaping of the strip.
void BM_WaterUpdate(benchmark::State& state) {
    Water* w = StirredSea();
    for (auto _ : state) {
        w->Disturb(2.0f * kFrameStep, 123.0f);
        w->Update(kFrameStep);
        benchmark::DoNotOptimize(w->GetCorners()[kTopLeft].y);
    }
    goManager.Clear();
}
BENCHMARK(BM_WaterUpdate);

void BM_WaveSimStep(benchmark::State& state) {
    Water* w = StirredSea();
    for (auto _ : state) {
        w->sim.Step();
        benchmark::DoNotOptimize(w->sim.heights.data());
    }
    goManager.Clear();
}
BENCHMARK(BM_WaveSimStep);

// Twenty floaters spread along the strip, as a busy level has them.
void BM_WaterGetHeight20(benchmark::State& state) {
    Water* w = StirredSea();
    for (auto _ : state) {
        float sum = 0.0f;
        for (int k = 0; k < 20; ++k) {
            float slope = 0.0f;
            sum += w->GetHeight(-4400.0f + 440.0f * k, &slope);
        }
        benchmark::DoNotOptimize(sum);
    }
    goManager.Clear();
}
BENCHMARK(BM_WaterGetHeight20);

}  // namespace

BENCHMARK_MAIN();

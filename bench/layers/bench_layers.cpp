// The floor of this machine's renderer: a frame that only clears and finishes, and
// frames of N full-screen 800 x 600 layers drawn untextured, textured opaque with
// nearest or linear sampling, and blended, textured or not. A scene's frame time read against
// the floor of the layers it really has tells what is left to win in the game's own
// drawing. Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "BenchLayers.h"
#include "BenchWindow.h"
#include "GL.h"
#include "Renderer.h"

namespace {

void BM_ClearAndFinish(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    for (auto _ : state) {
        renderer.BeginFrame();
        renderer.EndOrtho();
        glFinish();
    }
}

void BM_Layers(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    const auto kind = static_cast<LayerKind>(state.range(0));
    const int layers = static_cast<int>(state.range(1));
    for (auto _ : state) DrawLayers(kind, layers);
    state.SetLabel(LayerKindName(kind));
}

void LayerArgs(benchmark::internal::Benchmark* b) {
    for (int kind = 0; kind < kLayerKinds; ++kind)
        for (int n : {1, 2, 4}) b->Args({kind, n});
}

}  // namespace

BENCHMARK(BM_ClearAndFinish)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Layers)->Apply(LayerArgs)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();

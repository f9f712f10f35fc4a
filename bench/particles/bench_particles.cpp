// One update of a 1000-particle continuous system in its steady state: every frame
// moves, ages and recolours the live particles and re-emits the ones that died.
#include <benchmark/benchmark.h>

#include "Box.h"
#include "Orlop.h"
#include "ParticleSystem.h"
#include "Random.h"

namespace {

void BM_ParticleSystemUpdate1000(benchmark::State& state) {
    SRand(12345);
    ParticleSettings s;
    s.continuous = 1;
    s.count = 1000;
    BoxSet(s.emitterBox, 0.0f, 0.0f, 400.0f, 50.0f);
    s.z = 0.5f;
    for (int j = 0; j < 4; ++j) {
        s.startColour[j] = 1.0f;
        s.endColour[j] = 0.25f;
    }
    s.velocity.base = Vec2(0.0f, -60.0f);
    s.velocity.spread = Vec2(30.0f, 20.0f);
    s.acceleration.base = Vec2(0.0f, 40.0f);
    s.acceleration.spread = Vec2(5.0f, 5.0f);
    s.size.base = Vec2(0.5f, 0.5f);
    s.size.spread = Vec2(0.2f, 0.2f);
    s.sizeGrowth = Vec2(0.3f, 0.3f);
    s.rotation.spread = 180.0f;
    s.spin = 45.0f;
    s.lifetime.base = 1.5f;
    s.lifetime.spread = 0.5f;

    ParticleSystem ps;
    ps.Setup(s);
    ps.textureWidth = 32.0f;  // no GL context here; emission only reads the size
    ps.textureHeight = 32.0f;
    ps.emissionRate = 1000.0f;
    for (int f = 0; f < 240; ++f) ps.Update(kFrameStep);  // fill the pool

    for (auto _ : state) {
        ps.Update(kFrameStep);
        benchmark::DoNotOptimize(ps.vertices);
        benchmark::ClobberMemory();
    }
    state.counters["live"] = ps.liveCount;
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ParticleSystemUpdate1000);

}  // namespace

BENCHMARK_MAIN();

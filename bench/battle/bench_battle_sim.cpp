// One battle frame without drawing: game logic, every object's update and collisions,
// the trace log and the sound update. No window and no GL context.
#include <cstring>

#include "BattleScene.h"

namespace {

void BM_BattleSimulation(benchmark::State& state) {
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
    BattleScene battle;
    BattleCounters counters;
    for (auto _ : state) {
        if (battle.Due()) {
            state.PauseTiming();
            battle.Build();
            state.ResumeTiming();
        }
        battle.Frame();
        if (battle.frame % 16 == 0) {
            state.PauseTiming();
            counters.Sample(battle);
            state.ResumeTiming();
        }
    }
    counters.Report(state);
    goManager.Clear();
}

}  // namespace

BENCHMARK(BM_BattleSimulation)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK_MAIN();

// One manager pass over plain objects: updates, the ordered-pair overlap test and
// the per-object trace lines.
#include <benchmark/benchmark.h>

#include "Box.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"

namespace {

class Plain : public Renderable {
public:
    float GetWidth() override { return 10; }
    float GetHeight() override { return 10; }
};

class Drifter : public GameObj {
public:
    Drifter(float x, float y) {
        renderable = new Plain;
        BoxSet(renderable->corners, x, y, x + 10, y + 10);
    }
};

void BM_ManagerPass(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i)
        goManager.objects.PushBack(new Drifter(static_cast<float>(i * 7 % 800),
                                               static_cast<float>(i * 13 % 600)));
    for (auto _ : state) goManager.Update(0.016666668f);
    state.SetItemsProcessed(state.iterations() * count);
    goManager.Clear();
    goManager.ReopenLog();
}

}  // namespace

BENCHMARK(BM_ManagerPass)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

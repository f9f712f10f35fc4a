#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "FileResolver.h"
#include "Orlop.h"
#include "SdlPlatform.h"

// Opens the game's 800 x 600 window with its GL context once per process, for the
// benchmarks that draw. Marks the benchmark skipped when there is no display or context.
inline bool OpenBenchWindow(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display");
        return false;
    }
    static bool open = false;
    if (open) return true;
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
    static SdlPlatform platform;
    orlop.platform = &platform;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.title = "Brinegate benchmark";
    orlop.windowed = 1;
    open = orlop.Init();
    if (!open) state.SkipWithError("no GL context");
    return open;
}

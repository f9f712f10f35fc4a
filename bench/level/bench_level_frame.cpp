// One frame of a level in full swing (the level is the benchmark's argument, e.g.
// BM_LevelFrame/20): floor(1.5 x level) hostile towers launching merchant ships, ram
// boats and mine layers, the ships they launched after twenty seconds, the player firing
// whenever the gun is loaded, and fires burning on damaged ships. Measured as the
// simulation alone (game logic and every object's update) and as the whole frame drawn
// by the software renderer at 800 x 600; BM_LevelMemory plays 10000 frames of level 30
// and reports the resident memory on the way. Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchLayers.h"
#include "BenchWindow.h"
#include "Camera.h"
#include "Culler.h"
#include "FileResolver.h"
#include "GL.h"
#include "LevelScene.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderer.h"
#include "SoundManager.h"
#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "ships/MerchantShip.h"
#include "ui/MenuButton.h"

namespace {

// Ten more seconds are measured; fewer may be asked for (profiling runs) through
// BRINEGATE_BENCH_FRAMES.
int MeasuredFrames() {
    const char* text = std::getenv("BRINEGATE_BENCH_FRAMES");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 600;
}

// The step and the drawn frame are kept out of line so that profilers can single them out.
__attribute__((noinline)) void SimulationStep(Game& game) { LevelStep(game); }

__attribute__((noinline)) void DrawnFrame(Game& game) {
    renderer.BeginFrame();
    camera.Update(kFrameStep);
    SimulationStep(game);
    culler.Render();
    renderer.EndOrtho();
    glFinish();
}

// A frame without the render list: the logic's own immediate drawing (texts, outlines)
// is still flushed, so that nothing piles up.
void UndrawnFrame(Game& game) {
    renderer.BeginFrame();
    camera.Update(kFrameStep);
    SimulationStep(game);
    renderer.EndOrtho();
    glFinish();
}

// The level with its towers, twenty seconds into it.
void WarmLevel(Game& game, int level) {
    BuildLevel(game, level, [](Game& g, int) { UndrawnFrame(g); });
}

void TearDown(Game& game) {
    game.towers.Clear();
    goManager.Clear();
    goManager.ReopenLog();
}

int CountObjects() { return goManager.objects.Count(); }

// The trace goes to a file of the benchmark's own, never restarted, so that its growth
// over the measured frames is the bytes the manager writes.
const std::string kLogPath = "bench_level_GOManLog.txt";

void TraceToOwnFile() {
    goManager.OpenLogAt(kLogPath);
    goManager.SetLogLimit(~0ull);
}

uint64_t LogBytes() {
    goManager.log.Flush();
    std::error_code error;
    const auto size = std::filesystem::file_size(kLogPath, error);
    return error ? 0 : size;
}

double ResidentMegabytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_LevelSimulation(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    const int level = static_cast<int>(state.range(0));
    TraceToOwnFile();
    Game game;
    WarmLevel(game, level);
    state.counters["towers"] = game.towers.Count();
    const int objects = CountObjects();
    state.counters["objects"] = objects;
    const uint64_t logBefore = LogBytes();
    for (auto _ : state) {
        SimulationStep(game);
        // Flushing the logic's immediate drawing belongs to the drawn frame.
        state.PauseTiming();
        renderer.BeginFrame();
        camera.Update(kFrameStep);
        renderer.EndOrtho();
        glFinish();
        state.ResumeTiming();
    }
    // Time per object and frame, and the trace's bytes per second of play (60 frames).
    state.counters["per_object"] = benchmark::Counter(
        objects, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["log_KB_per_s"] =
        static_cast<double>(LogBytes() - logBefore) / static_cast<double>(state.iterations()) * 60.0 / 1024.0;
    TearDown(game);
}

// The pixels one more drawn frame's render list writes, in screens of 800 x 600, counted
// by an occlusion query (the floor's layers are three screens of it).
double FillScreens(Game& game) {
    GLuint query = 0;
    glGenQueries(1, &query);
    renderer.BeginFrame();
    camera.Update(kFrameStep);
    SimulationStep(game);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    culler.Render();
    glEndQuery(GL_SAMPLES_PASSED);
    renderer.EndOrtho();
    GLuint samples = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);
    return static_cast<double>(samples) / (800.0 * 600.0);
}

void BM_LevelFrame(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    TraceToOwnFile();
    Game game;
    WarmLevel(game, static_cast<int>(state.range(0)));
    state.counters["objects"] = CountObjects();
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) DrawnFrame(game);
    ReportAgainstFloor(state, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    state.counters["fill_screens"] = FillScreens(game);
    TearDown(game);
}

// Resident memory after the warm-up, after 1000 frames more and after 10000, simulated
// only; the objects at the end show that the level stayed as busy.
void BM_LevelMemory(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    // The trace restarts as in the game, so that ten thousand frames cannot fill the disk.
    goManager.OpenLogAt(kLogPath);
    goManager.SetLogLimit(64ull * 1024 * 1024);
    Game game;
    WarmLevel(game, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.counters["rss_MB_0"] = ResidentMegabytes();
        for (int i = 1; i <= 10000; ++i) {
            UndrawnFrame(game);
            if (i == 1000) state.counters["rss_MB_1000"] = ResidentMegabytes();
        }
        state.counters["rss_MB_10000"] = ResidentMegabytes();
        state.counters["objects_end"] = CountObjects();
    }
    TearDown(game);
}

}  // namespace

BENCHMARK(BM_LevelSimulation)->Arg(5)->Arg(10)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(MeasuredFrames());
BENCHMARK(BM_LevelFrame)->Arg(5)->Arg(10)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond)->Iterations(MeasuredFrames());
BENCHMARK(BM_LevelMemory)->Arg(30)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();

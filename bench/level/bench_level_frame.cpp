// One frame of level 10 in full swing: fifteen hostile towers launching merchant ships,
// ram boats and mine layers, the ships they launched after twenty seconds, the player
// firing whenever the gun is loaded, and fires burning on damaged ships. Measured as the
// simulation alone (game logic and every object's update) and as the whole frame drawn
// by the software renderer at 800 x 600. Needs a display (run under xvfb-run).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "Camera.h"
#include "Culler.h"
#include "FileResolver.h"
#include "GL.h"
#include "GOManager.h"
#include "Game.h"
#include "MenuButton.h"
#include "MerchantShip.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderer.h"
#include "BenchLayers.h"
#include "BenchWindow.h"
#include "SoundManager.h"
#include "Tower.h"

namespace {

constexpr int kWarmUpFrames = 1200;  // twenty seconds of play

// Ten more seconds are measured; fewer may be asked for (profiling runs) through
// BRINEGATE_BENCH_FRAMES.
int MeasuredFrames() {
    const char* text = std::getenv("BRINEGATE_BENCH_FRAMES");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 600;
}

// The player holds the trigger: a left-button release every frame, so the gun fires
// each time it has reloaded. The ship is kept whole so that it stays in the fight.
void PlayerFires(Game& game) {
    orlop.mousePosition = Vec2(600.0f, 250.0f);
    orlop.inputEvent = 1;
    orlop.lastDown = 0;
    orlop.lastCode = 0;
    if (MerchantShip* ship = game.playerShip.Get()) ship->health = ship->maxHealth;
}

// Every other enemy ship badly hurt but afloat, so that its fire burns.
void SetFires() {
    int n = 0;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* o = *it;
        if (o->team != -1 || o->state != 1) continue;
        const char* type = o->GetType();
        if (std::strcmp(type, "MerchantShip") && std::strcmp(type, "RamBoat") && std::strcmp(type, "MineLayer"))
            continue;
        if (n++ % 2 == 0) continue;
        Ship* ship = static_cast<Ship*>(o);
        ship->health = 0.2f * ship->maxHealth;
    }
}

// The step and the drawn frame are kept out of line so that profilers can single them out.
__attribute__((noinline)) void SimulationStep(Game& game) {
    PlayerFires(game);
    game.Update(kFrameStep);
    goManager.Update(kFrameStep);
    soundManager.Update();
}

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

// Level 10 with its fifteen towers, twenty seconds into the level.
void BuildLevelTen(Game& game) {
    SRand(20261208u);
    camera = Camera();
    camera.SetView(Vec2(400.0f, 300.0f), Vec2(800.0f, 600.0f));
    game.SetUp();
    game.playButton->SetState(MenuButton::kReturning);
    game.Update(kFrameStep);
    game.level = 9;
    for (auto it = game.towers.Begin(); !it.AtEnd(); ++it) (*it)->team = 1;
    for (int i = 0; i < kWarmUpFrames; ++i) {
        if (i == kWarmUpFrames - 60) SetFires();
        UndrawnFrame(game);
    }
}

void TearDown(Game& game) {
    game.towers.Clear();
    goManager.Clear();
    goManager.ReopenLog();
}

int CountObjects() { return goManager.objects.Count(); }

void BM_Level10Simulation(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    Game game;
    BuildLevelTen(game);
    state.counters["towers"] = game.towers.Count();
    state.counters["objects"] = CountObjects();
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
    TearDown(game);
}

void BM_Level10Frame(benchmark::State& state) {
    if (!OpenBenchWindow(state)) return;
    Game game;
    BuildLevelTen(game);
    state.counters["objects"] = CountObjects();
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) DrawnFrame(game);
    ReportAgainstFloor(state, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    TearDown(game);
}

}  // namespace

BENCHMARK(BM_Level10Simulation)->Unit(benchmark::kMillisecond)->Iterations(MeasuredFrames());
BENCHMARK(BM_Level10Frame)->Unit(benchmark::kMillisecond)->Iterations(MeasuredFrames());
BENCHMARK_MAIN();

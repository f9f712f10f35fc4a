// A battle in the game's scene: the seas, sky, island and menu of a new game, and 20
// ships fighting in front of the camera (merchant ships of both sides, ram boats, mine
// layers), every one of them burning and trailing its wake, with shots and mines about.
// The battle is set up again every few seconds so that sinking and scattering do not
// thin it out over a long run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "Camera.h"
#include "FileResolver.h"
#include "Orlop.h"
#include "ParticleSystem.h"
#include "Random.h"
#include "SoundManager.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "sea/Water.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"
#include "ships/MineLayer.h"
#include "ships/RamBoat.h"

class BattleScene {
public:
    static constexpr int kShips = 20;
    static constexpr int kFramesPerBattle = 240;

    // Without `burning` every hull is whole and no fire burns (for comparison).
    void Build(bool burning = true) {
        burning_ = burning;
        goManager.Clear();
        goManager.ReopenLog();
        SRand(1234u);
        game = std::make_unique<Game>();
        game->SetUp();
        camera.targetPosition = Vec2(0.0f, 0.0f);  // the view spans x 0 to 800
        // The player's ship counts as the first of the 20.
        if (Ship* player = game->playerShip.Get()) Burn(player);
        for (int i = 1; i < kShips; ++i) {
            const float x = -150.0f + 55.0f * static_cast<float>(i);
            switch (i % 4) {
                case 0:
                case 1: Launch("MerchantShip", i % 8 < 4 ? 1 : -1, x); break;
                case 2: Launch("RamBoat", -1, x); break;
                default: Launch("MineLayer", -1, x); break;
            }
        }
        frame = 0;
    }

    // What the main loop does in a frame, short of drawing.
    void Frame() {
        camera.Update(kFrameStep);
        game->Update(kFrameStep);
        goManager.Update(kFrameStep);
        soundManager.Update();
        ++frame;
    }

    bool Due() const { return !game || frame >= kFramesPerBattle; }

    // Objects, shots in flight and live particles of the current frame.
    void Count(double& objects, double& balls, double& particles) const {
        for (ListNode<GameObj*>* n = goManager.objects.Head(); n; n = n->next) {
            objects += 1;
            GameObj* o = n->value;
            if (std::strcmp(o->GetType(), "CannonBall") == 0 && o->state == Life::kNormal) balls += 1;
            if (auto* p = dynamic_cast<ParticleSystem*>(o->renderable)) particles += p->liveCount;
        }
    }

    std::unique_ptr<Game> game;
    int frame = 0;

private:
    bool burning_ = true;

    // Badly hurt, so the fire burns, but with health enough to last the battle.
    void Burn(Ship* ship) const {
        ship->maxHealth = 1000.0f;
        ship->health = burning_ ? 200.0f : 1000.0f;
    }

    void Launch(const char* type, int team, float x) {
        auto* ship = static_cast<Ship*>(goManager.Create(type));
        ship->team = team;
        ship->aiControlled = 1;
        ship->water = game->sea;
        ship->Init();
        ship->SetPosition(Vec2(x, 500.0f));
        ship->velocity.x = static_cast<float>(Rand() % 201 - 100);
        Burn(ship);
        if (auto* merchant = dynamic_cast<MerchantShip*>(ship)) {
            // Staggered guns, and an opening volley fired from above the crowded hulls
            // so that it flies its full course.
            merchant->fireTimer = static_cast<float>(Rand() % 300) / 100.0f;
            if (Cannon* gun = merchant->cannon.Get()) {
                gun->SetPosition(Vec2(x, 300.0f));
                gun->aim = Vec2(team == 1 ? 0.5f : -0.5f, -0.866f);
                gun->reloadTimer = 10.0f;
                gun->Fire();
            }
        } else if (auto* layer = dynamic_cast<MineLayer*>(ship)) {
            layer->mineTimer = static_cast<float>(Rand() % 200) / 100.0f;
        }
    }
};

// Figures kept per run: average objects, shots and live particles per frame.
struct BattleCounters {
    double objects = 0, balls = 0, particles = 0, frames = 0;
    void Sample(const BattleScene& b) {
        b.Count(objects, balls, particles);
        frames += 1;
    }
    void Report(benchmark::State& state) const {
        if (frames == 0) return;
        state.counters["objects"] = objects / frames;
        state.counters["balls"] = balls / frames;
        state.counters["particles"] = particles / frames;
    }
};

#pragma once

#include <cstring>

#include "Camera.h"
#include "FrameStep.h"
#include "Orlop.h"
#include "Random.h"
#include "SoundManager.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "ships/MerchantShip.h"
#include "ui/MenuButton.h"

// A level in full swing, as the level benchmarks and the page's level-10 measure
// (web/LevelFrame.cpp, on the desktop tests/web/web_level_frame) build it: the level's
// hostile towers launching their ships, twenty seconds into it, the player firing
// whenever the gun is loaded, and fires burning on damaged ships.

// Twenty seconds of play before anything is measured.
constexpr int kLevelWarmUpFrames = 1200;

// The player holds the trigger: a left-button release every frame, so the gun fires
// each time it has reloaded. The ship is kept whole so that it stays in the fight.
inline void PlayerFires(Game& game) {
    orlop.mousePosition = Vec2(600.0f, 250.0f);
    orlop.inputEvent = 1;
    orlop.lastDown = 0;
    orlop.lastCode = 0;
    if (MerchantShip* ship = game.playerShip.Get()) ship->health = ship->maxHealth;
}

// Every other enemy ship badly hurt but afloat, so that its fire burns.
inline void SetFires() {
    int n = 0;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* o = *it;
        if (o->team != GameObj::kHostile || o->state != Life::kNormal) continue;
        const char* type = o->GetType();
        if (std::strcmp(type, "MerchantShip") && std::strcmp(type, "RamBoat") && std::strcmp(type, "MineLayer"))
            continue;
        if (n++ % 2 == 0) continue;
        Ship* ship = static_cast<Ship*>(o);
        ship->health = 0.2f * ship->maxHealth;
    }
}

// One step of the game with the player firing: its logic and every object's update.
inline void LevelStep(Game& game) {
    PlayerFires(game);
    game.Update(kFrameStep);
    game.Draw();
    goManager.Update(kFrameStep);
    goManager.Draw();
    soundManager.Update();
}

// Sets up the game and starts `level` with its towers, then plays the warm-up, each
// frame through `frame(game, index)` (which steps the game), the fires set a second
// before its end.
template <typename Frame>
void BuildLevel(Game& game, int level, Frame&& frame) {
    SRand(20261208u);
    camera = Camera();
    camera.SetView(Vec2(400.0f, 300.0f), Vec2(800.0f, 600.0f));
    game.SetUp();
    game.menu().playButton->SetState(MenuButton::Phase::kReturning);
    game.Update(kFrameStep);
    game.SkipToLevel(level);
    for (int i = 0; i < kLevelWarmUpFrames; ++i) {
        if (i == kLevelWarmUpFrames - 60) SetFires();
        frame(game, i);
    }
}

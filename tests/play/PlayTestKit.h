#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "../water/WaterTestKit.h"
#include "Camera.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "Random.h"
#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "ships/MerchantShip.h"
#include "ui/MenuButton.h"

namespace playtest {

using watertest::AddThing;
using watertest::CountOfType;
constexpr float kDt = kFrameStep;

inline void ClearInput() {
    orlop.inputEvent = 0;
    orlop.lastCode = 0;
    orlop.lastDown = 0;
    orlop.mouseLeft = 0;
    for (uint8_t& k : orlop.keys) k = 0;
    orlop.mousePosition = Vec2(700, 500);
}

// A game set up as the program does, on a fixed random sequence, in its main menu.
class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL();
        goManager.Clear();
        SRand(1234u);
        camera = Camera();
        camera.SetView(Vec2(400, 300), Vec2(800, 600));
        ClearInput();
        game = std::make_unique<Game>();
        game->SetUp();
    }
    void TearDown() override {
        ClearInput();
        if (game) game->towers.Clear();
        game.reset();
        goManager.Clear();
    }

    // One release event for the next game update.
    void Release(uint32_t code) {
        orlop.inputEvent = 1;
        orlop.lastDown = 0;
        orlop.lastCode = code;
    }
    // The game's own part of a frame, the event consumed afterwards.
    bool Step() {
        bool goOn = game->Update(kDt);
        orlop.inputEvent = 0;
        return goOn;
    }
    // A whole frame: the game, then every object, then their draw pass.
    void Frame() {
        Step();
        goManager.Update(kDt);
        goManager.Draw();
    }
    // "Play!" has come home: the next update starts playing; one more makes the ship.
    void StartPlaying() {
        game->menu().playButton->SetState(MenuButton::Phase::kReturning);
        Step();
        Step();
    }
    MerchantShip* Ship() { return game->playerShip.Get(); }
    float TowerX(Tower* t) { return t->GetPosition()->x; }
    Tower* LastTower() { return game->towers.Tail()->value; }
    void CaptureAll() {
        for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) (*it)->team = 1;
    }

    std::unique_ptr<Game> game;
};

}  // namespace playtest

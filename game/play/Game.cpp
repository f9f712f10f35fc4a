#include "play/Game.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "Camera.h"
#include "Culler.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "Report.h"
#include "SoundManager.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "objects/GameEvents.h"
#include "play/CameraRig.h"
#include "play/SafeRespawn.h"
#include "sea/SeaBounds.h"
#include "sea/Sky.h"
#include "sea/Water.h"
#include "sea/World.h"
#include "ui/LifeBar.h"
#include "ui/MenuButton.h"
#include "ui/Plank.h"
#include "ui/UIButton.h"

namespace {

Water* MakeSea(float y, float depth) {
    Water* water = static_cast<Water*>(goManager.Create("Water"));
    water->width = 2.0f * SeaBounds::kHalfWidth;
    water->bottom = 200.0f;
    water->spacing = 15.0f;
    water->Init();
    water->SetPosition(Vec2(-SeaBounds::kHalfWidth, y));
    water->renderable->SetDepth(depth);
    return water;
}

}  // namespace

void Game::MakeSky() {
    Sky* sky = static_cast<Sky*>(goManager.Create("Sky"));
    const float colours[4][4] = {
        {0.0f, 0.25f, 0.0f, 1.0f}, {0.31f, 0.0f, 0.15f, 1.0f}, {0.8f, 0.8f, 1.0f, 1.0f},
        {0.5f, 0.7f, 1.0f, 1.0f}};
    float* fields[4] = {sky->ghostTop, sky->ghostBottom, sky->livingTop, sky->livingBottom};
    for (int i = 0; i < 4; ++i) std::memcpy(fields[i], colours[i], sizeof colours[i]);
    sky->Init();
}

Game::Game()
    : recordsScreen_(*this, menu_),
      settings_(*this, menu_, recordsScreen_),
      play_(*this),
      menuScreen_(*this, menu_, play_, settings_, recordsScreen_) {
    stack_.push_back(&menuScreen_);
}

void Game::SetUp() {
    font_ = LoadGameFont(Plank::kFontImage);

    sea = MakeSea(550.0f, 0.7f);
    secondSea = MakeSea(530.0f, 0.1f);
    secondSea->noCollide = 1;

    deadSound_ = soundManager.LoadSound("Sound\\Dead.mp3", 0, 0);
    MakeSky();

    world = static_cast<World*>(goManager.Create("World"));
    world->Init();
    world->renderable->SetDepth(0.2f);

    hud_.MakeLifeBar();
    playerShip = MakePlayerShip();
    menu().MakeButtons();
    hud_.MakeGoldButton();
    hud_.MakeHealthButton();

    aids_.Init(font_);
    popups_.Init(font_);
    notices_.Init(font_);
    hints_.Init(font_);
    recordsScreen_.scroll().Init();
    menu().InitPlanks();
    hud_.InitTowerCount();
    options_.SetUp();

    seaMode = Sea::kLiving;
    stack_.assign(1, &menuScreen_);
}

bool Game::Update(float dt) {
    drawing_ = stack_.back();
    const bool result = drawing_->Update(dt);
    // What the screen did not take is gone: the world's events are told to play alone.
    gameEvents.Clear();
    // For the picture of this frame and the next: nothing of the world over a scroll, and
    // a paused game's view standing still (the camera itself moves on as it would).
    const Screen::Kind top = Showing();
    culler.worldBehindScreen = top == Screen::Kind::kOptions || top == Screen::Kind::kRecords;
    camera.HoldView(top == Screen::Kind::kPlay && Paused());
    return result;
}

void Game::Draw() {
    if (drawing_) drawing_->Draw();
}

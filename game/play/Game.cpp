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
#include "sea/Sky.h"
#include "sea/Water.h"
#include "sea/World.h"
#include "ui/LifeBar.h"
#include "ui/MenuButton.h"
#include "ui/UIButton.h"

namespace {

Water* MakeSea(float y, float depth) {
    Water* water = static_cast<Water*>(goManager.Create("Water"));
    water->width = 9000.0f;
    water->bottom = 200.0f;
    water->spacing = 15.0f;
    water->Init();
    water->SetPosition(Vec2(-4500.0f, y));
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

Game::Game() { stack_.push_back(&menuScreen_); }

void Game::SetUp() {
    font = LoadGameFont(kFontImage);

    sea = MakeSea(550.0f, 0.7f);
    secondSea = MakeSea(530.0f, 0.1f);
    secondSea->noCollide = 1;

    deadSound = soundManager.LoadSound("Sound\\Dead.mp3", 0, 0);
    MakeSky();

    world = static_cast<World*>(goManager.Create("World"));
    world->Init();
    world->renderable->SetDepth(0.2f);

    lifeBar = hud_.MakeLifeBar();
    playerShip = MakePlayerShip();
    menu().MakeButtons();
    goldButton = hud_.MakeGoldButton();
    healthButton = hud_.MakeHealthButton();

    aids_.Init(font);
    popups_.Init(font);
    notices_.Init(font);
    hints_.Init(font);
    recordsScreen_.scroll().Init();
    menu().InitPlanks(font);
    hud_.InitTowerCount(font);
    optionsScreen.SetUp();

    seaMode = kLivingSea;
    stack_.assign(1, &menuScreen_);
}

void Game::DrawLabels() {
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next)
        if (auto* button = dynamic_cast<UIButton*>(node->value)) button->DrawLabel();
}

void Game::HidePanels() {
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) (*it)->HidePanel();
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

void Game::Push(Screen& screen) { stack_.push_back(&screen); }

void Game::Pop() {
    // The menu stays at the bottom.
    if (stack_.size() < 2) return;
    stack_.pop_back();
    stack_.back()->Resume();
}

void Game::Rumble(float strength, int ms) {
    if (orlop.platform && optionsScreen.Current().rumble) orlop.platform->Rumble(strength, ms);
}

void Game::UseRecords(const Records& records, const std::string& path, bool keep) {
    records_ = records;
    recordsPath_ = path;
    keepRecords_ = keep;
}

void Game::SaveRecords() {
    if (!keepRecords_ || recordsPath_.empty() || !ThisGame().Played()) return;
    // Counted from the records read at start, so saving twice counts the game once.
    Records next = records_;
    next.Finish(ThisGame());
    std::string error;
    // Tried again at every save (the disk may have room by then), told once.
    if (!next.Save(recordsPath_, error) && !recordsFailed_) Report(error);
    recordsFailed_ = recordsFailed_ || !error.empty();
}

std::string Game::BestLine() const {
    const GameRecord best = records_.best.BestWith(ThisGame());
    if (!best.Played()) return {};
    return "Best: level " + std::to_string(best.level) + ", " + std::to_string(best.towers) +
           (best.towers == 1 ? " tower" : " towers");
}

void Game::OpenRecords() {
    Push(recordsScreen_);
    menu().Hide();
    recordsScreen_.scroll().Open();
}

void Game::StandBehindScreens() {
    ForgetDeadShip();
    HidePanels();
    HideAids();
}

void Game::HideAids() {
    hud_.HideShip();
    aids_.Hide();
    popups_.Clear();
    notices_.Clear();
    hints_.Hide();
}

void Game::ForgetDeadShip() {
    // The ship lives on while the menu shows, so it may die there as well as in play;
    // either way a dead or destroyed ship is never used again.
    MerchantShip* ship = playerShip.Get();
    if (!ship || ship->state == GameObj::kDead) playerShip.Reset();
}

MerchantShip* Game::MakePlayerShip() {
    MerchantShip* ship = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
    if (!ship) return nullptr;
    ship->team = GameObj::kPlayerSide;
    ship->Init();
    ship->water = sea;
    ship->SetPosition(Vec2(450.0f, 0.0f));
    ship->realm = GameObj::kBothRealms;
    const float red[4] = {0.8f, 0.0f, 0.0f, 1.0f};
    std::memcpy(ship->renderable->colour, red, sizeof red);
    return ship;
}

MerchantShip* Game::RespawnShip() {
    MerchantShip* ship = MakePlayerShip();
    if (ship && safeRespawn) SafeRespawn::Place(*ship, towers);
    return ship;
}

void Game::TellTowerLost() { notices_.TowerLost(); }

void Game::ToggleSea() {
    soundManager.PlaySound(deadSound, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));
    camera.shakeTime = 1.0f;
    camera.shakeMagnitude = 50.0f;
    const int32_t next = seaMode == kLivingSea ? GameObj::kToGhostSea : GameObj::kToLivingSea;
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next) {
        GameObj* object = node->value;
        // The dead are on their way out: the toggle must not bring them back.
        if (object->realm != GameObj::kNoRealm && object->state != GameObj::kDead) object->SetState(next);
    }
    seaMode = seaMode == kLivingSea ? kGhostSea : kLivingSea;
}


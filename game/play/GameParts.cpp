#include "play/GameParts.h"

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




void GameParts::HidePanels() {
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) (*it)->HidePanel();
}



void GameParts::Push(Screen& screen) { stack_.push_back(&screen); }

void GameParts::Pop() {
    // The menu stays at the bottom.
    if (stack_.size() < 2) return;
    stack_.pop_back();
    stack_.back()->Resume();
}

void GameParts::Rumble(float strength, int ms) {
    if (orlop.platform && options_.Current().rumble) orlop.platform->Rumble(strength, ms);
}

void GameParts::UseRecords(const Records& records, const std::string& path, bool keep) {
    records_ = records;
    recordsPath_ = path;
    keepRecords_ = keep;
}

void GameParts::SaveRecords() {
    if (!keepRecords_ || recordsPath_.empty() || !ThisGame().Played()) return;
    // Counted from the records read at start, so saving twice counts the game once.
    Records next = records_;
    next.Finish(ThisGame());
    std::string error;
    // Tried again at every save (the disk may have room by then), told once.
    if (!next.Save(recordsPath_, error) && !recordsFailed_) Report(error);
    recordsFailed_ = recordsFailed_ || !error.empty();
}

std::string GameParts::BestLine() const {
    const GameRecord best = records_.best.BestWith(ThisGame());
    if (!best.Played()) return {};
    return "Best: level " + std::to_string(best.level) + ", " + std::to_string(best.towers) +
           (best.towers == 1 ? " tower" : " towers");
}


void GameParts::StandBehindScreens() {
    ForgetDeadShip();
    HidePanels();
    HideAids();
}

void GameParts::HideAids() {
    hud_.HideShip();
    aids_.Hide();
    popups_.Clear();
    notices_.Clear();
    hints_.Hide();
}

void GameParts::ForgetDeadShip() {
    // The ship lives on while the menu shows, so it may die there as well as in play;
    // either way a dead or destroyed ship is never used again.
    MerchantShip* ship = playerShip.Get();
    if (!ship || ship->state == Life::kDead) playerShip.Reset();
}

MerchantShip* GameParts::MakePlayerShip() {
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

MerchantShip* GameParts::RespawnShip() {
    MerchantShip* ship = MakePlayerShip();
    if (ship && safeRespawn) SafeRespawn::Place(*ship, towers);
    return ship;
}

void GameParts::TellTowerLost() { notices_.TowerLost(); }

void GameParts::ToggleSea() {
    soundManager.PlaySound(deadSound_, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));
    camera.shakeTime = 1.0f;
    camera.shakeMagnitude = 50.0f;
    const SeaSwitch next = seaMode == Sea::kLiving ? SeaSwitch::kToGhost : SeaSwitch::kToLiving;
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next) {
        GameObj* object = node->value;
        // The dead are on their way out: the toggle must not bring them back.
        if (object->realm != GameObj::kNoRealm && object->state != Life::kDead) object->SetState(next);
    }
    seaMode = seaMode == Sea::kLiving ? Sea::kGhost : Sea::kLiving;
}


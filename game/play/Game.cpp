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
#include "play/CameraRig.h"
#include "play/SafeRespawn.h"
#include "sea/SeaBounds.h"
#include "sea/Sky.h"
#include "sea/Water.h"
#include "sea/World.h"
#include "ui/LifeBar.h"
#include "ui/MenuButton.h"
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
    menu_.MakeButtons();
    goldButton = hud_.MakeGoldButton();
    healthButton = hud_.MakeHealthButton();

    aids_.Init(font);
    popups_.Init(font);
    notices_.Init(font);
    hints_.Init(font);
    recordsScroll_.Init();
    menu_.InitPlanks(font);
    hud_.InitTowerCount(font);
    optionsScreen.SetUp();

    seaMode = Sea::kLiving;
    phase = kMenu;
}

void Game::DrawLabels() {
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next)
        if (auto* button = dynamic_cast<UIButton*>(node->value)) button->DrawLabel();
}

void Game::HidePanels() {
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) (*it)->HidePanel();
}

bool Game::Update(float dt) {
    bool result = true;
    if (phase == kMenu) result = UpdateMenu(dt);
    else if (phase == kPlaying) result = UpdatePlaying(dt);
    else if (phase == kOptions) result = UpdateOptions(dt);
    else if (phase == kRecords) result = UpdateRecords();
    // For the picture of this frame and the next: nothing of the world over a scroll, and
    // a paused game's view standing still (the camera itself moves on as it would).
    culler.worldBehindScreen = phase == kOptions || phase == kRecords;
    camera.HoldView(phase == kPlaying && paused);
    return result;
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

void Game::OpenRecords(int32_t from) {
    recordsFrom_ = from;
    phase = kRecords;
    menu_.Hide();
    recordsScroll_.Open();
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

std::vector<Popups::KeepOut> Game::Planks() const {
    std::vector<Popups::KeepOut> planks;
    hud_.AddPlanks(planks);
    aids_.AddPlanks(planks);
    // And below the notice in the middle, drawn before them.
    if (const float* notice = notices_.Drawn()) planks.push_back({notice[0], notice[2], notice[3]});
    return planks;
}

void Game::PostSinking(const ShipChange& change) {
    if (!change.sank) return;
    notices_.Post(NoticeBoard::Kind::kSunk, change.spilled > 0
                                                ? "Sunk! " + std::to_string(change.spilled) + " gold spilled"
                                                : std::string("Sunk!"));
}

bool Game::UpdateRecords() {
    // The world waits behind the scroll as behind the menu; the sea goes on by itself.
    StandBehindScreens();
    const GameRecord& last = ThisGame().Played() ? ThisGame() : records_.last;
    if (!recordsScroll_.Update(last, records_.best.BestWith(ThisGame()))) {
        recordsScroll_.Close();
        phase = recordsFrom_;
        menu_.ResetFocus();
        if (phase == kOptions) optionsScreen.Open();
    }
    return true;
}

void Game::ForgetDeadShip() {
    // The ship lives on while the menu shows, so it may die there as well as in play;
    // either way a dead or destroyed ship is never used again.
    MerchantShip* ship = playerShip.Get();
    if (!ship || ship->state == Life::kDead) playerShip.Reset();
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

bool Game::UpdateMenu(float dt) {
    // The menu owns the screen: no shop shows over it, nor the player's aids.
    StandBehindScreens();
    sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % (2 * SeaBounds::kHalfWidth + 1) - SeaBounds::kHalfWidth));
    menu_.Show(BestLine());
    menu_.FollowPad();
    if (orlop.Released(VK_ESCAPE)) return false;
    if (menu_.RecordsClicked()) {
        OpenRecords(kMenu);
        return true;
    }
    const ObjState optionsBefore = optionsButton->state;
    menu_.PressClicked();
    if (playButton->state == MenuButton::Phase::kReturning) {
        phase = kPlaying;
        hold_.Release();
        SpawnTower();
        menu_.Hide();
    }
    // The scroll opens as the button is pressed; the button's fall goes on unseen.
    if (optionsBefore != MenuButton::Phase::kFalling && optionsButton->state == MenuButton::Phase::kFalling &&
        phase == kMenu) {
        phase = kOptions;
        menu_.Hide();
        optionsScreen.Open();
    }
    return quitButton->state != MenuButton::Phase::kReturning;
}

bool Game::UpdateOptions(float dt) {
    // The sea goes on under the scroll as under the menu.
    StandBehindScreens();
    sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % (2 * SeaBounds::kHalfWidth + 1) - SeaBounds::kHalfWidth));
    const bool safeBefore = optionsScreen.Current().safeRespawn;
    const bool open = optionsScreen.Update();
    // The rule follows the row when the player changes it (a replay changes it as recorded).
    if (optionsScreen.Current().safeRespawn != safeBefore) safeRespawn = optionsScreen.Current().safeRespawn;
    if (!open) {
        optionsScreen.Close();
        phase = kMenu;
        menu_.ResetFocus();
        if (optionsScreen.RecordsAsked()) OpenRecords(kOptions);
    }
    return true;
}

void Game::ToggleSea() {
    soundManager.PlaySound(deadSound, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));
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

bool Game::UpdatePaused() {
    // Every text again where it stood, on its plank; "Paused" holds the notices' place.
    // The notice first: the words keep below it.
    hud_.DrawLifeLabel();
    notices_.Draw(0.0f, true, hud_.NoticeTop());
    hints_.Hide();
    aids_.ShowLife(*lifeBar, playerShip.Get());
    aids_.DrawMarkerTexts();
    popups_.Draw(0.0f, Planks());
    hud_.DrawTowerCount();
    if (orlop.Released(kPauseKey) || orlop.Released(VK_ESCAPE)) paused = false;
    return true;
}

bool Game::UpdatePlaying(float dt) {
    if (paused) return UpdatePaused();
    ForgetDeadShip();
    if (!playerShip.Get()) playerShip = RespawnShip();
    MerchantShip* ship = playerShip.Get();
    // What the world's pass did to the ship: hits, sinking, gold found or spent at a shop.
    const ShipChange fromWorld = popups_.Watch(ship, true);
    hud_.ShowShip(ship, dt);

    const Chronicle::Events events = chronicle_.Watch(towers, level, ship, fromWorld, dt);
    if (events.towerLost) TellTowerLost();
    UpdateLevel();
    levelTime += dt;

    const Vec2 topLeft = camera.GetTopLeft();
    if (ship) CameraRig::Follow(*ship, topLeft);
    sea->Disturb(2.0f * dt, static_cast<float>(Rand() % (2 * SeaBounds::kRippleX + 1) - SeaBounds::kRippleX));
    if (input_.Press(*this, ship, dt, topLeft)) ToggleSea();
    if (ship) HandleShip(*ship, dt);

    aids_.Update(ship, orlop.mouseLeft != 0, towers);
    aids_.ShowLife(*lifeBar, ship);
    aids_.ShowPlankTail(*goldButton);
    ShowAids(dt, fromWorld, events);

    if (orlop.Released(kPauseKey)) paused = true;
    if (orlop.Released(VK_ESCAPE)) LeavePlay();
    return true;
}

void Game::HandleShip(MerchantShip& ship, float dt) {
    PlayerInput::Charge(ship, dt);
    // Gold the player took or paid here: 'M' and repairs.
    const ShipChange byPlayer = popups_.Watch(&ship, false);
    chronicle_.Gathered(byPlayer.gained);
    PostSinking(byPlayer);
    CameraRig::Zoom(ship, PlayerInput::Steering());
    input_.Steer(ship, dt);
    if (ship.state == Life::kSinking) hud_.DrawRepairPrompt();
    hud_.Tint(ship);
}

void Game::LeavePlay() {
    phase = kMenu;
    // The gold's plank goes at once (its label is drawn later in the frame, only while it
    // shows), and its lengthening with it. The other planks stay for this frame, whose
    // texts are drawn on them already; the menu's frame takes them off.
    RemoveFromRenderList(goldButton->renderable);
    aids_.ShowPlankTail(*goldButton);
    HidePanels();
    // The game stands where it is until "Play!" resumes it.
    hold_.Hold();
    SaveRecords();
}

void Game::ShowAids(float dt, const ShipChange& change, const Chronicle::Events& events) {
    PostSinking(change);
    notices_.Draw(dt, false, hud_.NoticeTop());
    if (change.sank) Rumble(1.0f, 700);
    else if (change.hit) Rumble(0.45f, 150);
    hud_.ShowTowerCount();
    // After the count's plank has found its place.
    popups_.Draw(dt, Planks());

    // A hint is done by doing it only once it has been read.
    const uint32_t done = hintProgress_.Done(towers, events, input_.HintsDone()) & hints_.Read();
    const Settings& settings = optionsScreen.Current();
    if (done & ~settings.hintsDone) {
        Settings next = settings;
        next.hintsDone |= done;
        optionsScreen.Keep(next);
    }
    const uint32_t due = HintProgress::Due(towers, HostileTowers());
    hints_.SetDone(optionsScreen.Current().hintsDone);
    hints_.Show(optionsScreen.Current().hints, due, optionsScreen.Current(), PadUsed(), dt);
}

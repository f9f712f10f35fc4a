#include "play/PlayScreen.h"

#include <string>

#include "Camera.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "objects/GameEvents.h"
#include "play/CameraRig.h"
#include "play/GameParts.h"
#include "sea/SeaBounds.h"
#include "sea/Water.h"
#include "ships/MerchantShip.h"
#include "ui/UIButton.h"

bool PlayScreen::Update(float dt) {
    stoodStill_ = paused_;
    if (paused_) {
        UpdatePaused();
        return true;
    }
    game_.ForgetDeadShip();
    if (!game_.playerShip.Get()) game_.playerShip = game_.RespawnShip();
    MerchantShip* ship = game_.playerShip.Get();
    // What the world's pass did: hits, sinking, gold found or spent at a shop, towers.
    const std::vector<GameEvent> world = gameEvents.Take();
    const ShipChange fromWorld = game_.popups_.Hear(world, ship);
    game_.hud_.ShowShip(ship, dt);

    game_.chronicle_.Tick(game_.level, dt);
    const Chronicle::Events events = game_.chronicle_.Hear(world, ship ? ship->Serial() : 0);
    if (events.towerLost) game_.TellTowerLost();
    game_.UpdateLevel();
    game_.levelTime += dt;

    const Vec2 topLeft = camera.GetTopLeft();
    if (ship) CameraRig::Follow(*ship, topLeft);
    game_.sea->Disturb(2.0f * dt, static_cast<float>(Rand() % (2 * SeaBounds::kRippleX + 1) - SeaBounds::kRippleX));
    if (input_.Press(game_, ship, dt, topLeft)) game_.ToggleSea();
    game_.hud_.ShowRepairPrompt(false);
    if (ship) HandleShip(*ship, dt);

    game_.aids_.Update(ship, orlop.mouseLeft != 0, game_.towers);
    game_.aids_.ShowLife(*game_.hud_.lifeBar(), ship);
    game_.aids_.ShowPlankTail(*game_.hud_.goldButton());
    ShowAids(dt, fromWorld, events);

    if (orlop.Released(kPauseKey)) paused_ = true;
    if (orlop.Released(VK_ESCAPE)) Leave();
    return true;
}

void PlayScreen::UpdatePaused() {
    // Every text again where it stood, on its plank; "Paused" holds the notices' place.
    game_.notices_.Update(0.0f, true, game_.hud_.NoticeTop());
    game_.hints_.Hide();
    game_.aids_.ShowLife(*game_.hud_.lifeBar(), game_.playerShip.Get());
    game_.popups_.Update(0.0f, Planks());
    if (orlop.Released(kPauseKey) || orlop.Released(VK_ESCAPE)) paused_ = false;
}

void PlayScreen::Draw() {
    Hud& hud = game_.hud_;
    if (stoodStill_) {
        // The notice first: the words keep below it.
        hud.DrawLifeLabel();
        game_.notices_.Draw();
        game_.aids_.DrawLifeFigures();
        game_.aids_.DrawMarkerTexts();
        game_.popups_.Draw();
        hud.DrawTowerCount();
        return;
    }
    hud.DrawLifeLabel();
    game_.levels_.DrawBanner();
    hud.DrawRepairPrompt();
    game_.aids_.DrawMarkerTexts();
    game_.aids_.DrawLifeFigures();
    game_.notices_.Draw();
    hud.DrawTowerCount();
    game_.popups_.Draw();
    game_.hints_.Draw();
}

void PlayScreen::HandleShip(MerchantShip& ship, float dt) {
    PlayerInput::Charge(ship, dt);
    // Gold the player took or paid here: 'M' and repairs.
    const std::vector<GameEvent> byInput = gameEvents.Take();
    const ShipChange byPlayer = game_.popups_.Hear(byInput, &ship);
    game_.chronicle_.Hear(byInput, ship.Serial());
    PostSinking(byPlayer);
    CameraRig::Zoom(ship, PlayerInput::Steering());
    input_.Steer(ship, dt);
    game_.hud_.ShowRepairPrompt(ship.state == Life::kSinking);
    game_.hud_.Tint(ship);
}

void PlayScreen::Leave() {
    game_.Pop();
    // The gold's plank goes at once (its label is drawn later in the frame, only while it
    // shows), and its lengthening with it. The other planks stay for this frame, whose
    // texts are drawn on them already; the menu's frame takes them off.
    RemoveFromRenderList(game_.hud_.goldButton()->renderable);
    game_.aids_.ShowPlankTail(*game_.hud_.goldButton());
    game_.HidePanels();
    // The game stands where it is until "Play!" resumes it.
    game_.hold_.Hold();
    game_.SaveRecords();
}

std::vector<Popups::KeepOut> PlayScreen::Planks() const {
    std::vector<Popups::KeepOut> planks;
    game_.hud_.AddPlanks(planks);
    game_.aids_.AddPlanks(planks);
    // And below the notice in the middle, drawn before them.
    if (const float* notice = game_.notices_.Drawn()) planks.push_back({notice[0], notice[2], notice[3]});
    return planks;
}

void PlayScreen::PostSinking(const ShipChange& change) {
    if (!change.sank) return;
    game_.notices_.Post(NoticeBoard::Kind::kSunk, change.spilled > 0
                                                      ? "Sunk! " + std::to_string(change.spilled) + " gold spilled"
                                                      : std::string("Sunk!"));
}

void PlayScreen::ShowAids(float dt, const ShipChange& change, const Chronicle::Events& events) {
    PostSinking(change);
    game_.notices_.Update(dt, false, game_.hud_.NoticeTop());
    if (change.sank) game_.Rumble(1.0f, 700);
    else if (change.hit) game_.Rumble(0.45f, 150);
    game_.hud_.ShowTowerCount();
    // After the count's plank has found its place.
    game_.popups_.Update(dt, Planks());

    // A hint is done by doing it only once it has been read.
    OptionsScreen& options = game_.options_;
    const uint32_t done = HintProgress::Done(events, input_.HintsDone()) & game_.hints_.Read();
    const Settings& settings = options.Current();
    if (done & ~settings.hintsDone) {
        Settings next = settings;
        next.hintsDone |= done;
        options.Keep(next);
    }
    const uint32_t due = HintProgress::Due(game_.towers, game_.HostileTowers());
    game_.hints_.SetDone(options.Current().hintsDone);
    game_.hints_.Show(options.Current().hints, due, options.Current(), PlayerInput::PadUsed(), dt);
}

#include "Game.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Box.h"
#include "Camera.h"
#include "Cannon.h"
#include "GOManager.h"
#include "KeyNames.h"
#include "LifeBar.h"
#include "MenuButton.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "Sky.h"
#include "SoundManager.h"
#include "Tower.h"
#include "TreasureChest.h"
#include "UIButton.h"
#include "Upgrader.h"
#include "Water.h"
#include "World.h"

namespace {

const char* const kFontImage = "images\\caribbeanfont_wood.tga";
const char* const kButtonImage = "images\\ui_button_wood.tga";

// Key codes of the playing phase (virtual-key codes of the letters are their capitals).
constexpr uint32_t kLeftButton = 0;
constexpr uint32_t kRightButton = 2;
constexpr uint32_t kRepairKey = 'R';
constexpr uint32_t kGoldKey = 'M';

constexpr int32_t kGhostSea = 2;
constexpr int32_t kLivingSea = 1;
constexpr int32_t kDead = 3;
constexpr int32_t kToGhostSea = 5;
constexpr int32_t kToLivingSea = 6;

// Beyond this the camera stops following; beyond kWrapX the ship comes round the other side.
constexpr float kFollowX = 4100.0f;
constexpr float kWrapX = 4400.0f;
constexpr float kWrapToX = 4350.0f;

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

MenuButton* Game::MakeMenuButton(const char* label) {
    MenuButton* button = static_cast<MenuButton*>(goManager.Create("MenuButton"));
    button->MakeSprite(kButtonImage);
    button->font = LoadGameFont(kFontImage);
    button->SetLabel(label);
    return button;
}

void Game::SetUp() {
    font = LoadGameFont(kFontImage);

    sea = MakeSea(550.0f, 0.7f);
    secondSea = MakeSea(530.0f, 0.1f);
    secondSea->noCollide = 1;

    deadSound = soundManager.LoadSound("Sound\\Dead.mp3", 0, 0);

    Sky* sky = static_cast<Sky*>(goManager.Create("Sky"));
    const float colours[4][4] = {
        {0.0f, 0.25f, 0.0f, 1.0f}, {0.31f, 0.0f, 0.15f, 1.0f}, {0.8f, 0.8f, 1.0f, 1.0f},
        {0.5f, 0.7f, 1.0f, 1.0f}};
    float* fields[4] = {sky->ghostTop, sky->ghostBottom, sky->livingTop, sky->livingBottom};
    for (int i = 0; i < 4; ++i) std::memcpy(fields[i], colours[i], sizeof colours[i]);
    sky->Init();

    world = static_cast<World*>(goManager.Create("World"));
    world->Init();
    world->renderable->SetDepth(0.2f);

    lifeBar = static_cast<LifeBar*>(goManager.Create("LifeBar"));
    lifeBar->Init();
    RemoveFromRenderList(lifeBar->renderable);

    playerShip = MakePlayerShip();

    playButton = MakeMenuButton("Play!");
    playButton->SetPosition(Vec2(200.0f, 200.0f));
    playButton->Init();

    // Between the other two, which moves "Quit" one step lower.
    optionsButton = MakeMenuButton("Options");
    optionsButton->SetPosition(Vec2(200.0f, 270.0f));
    optionsButton->Init();

    quitButton = MakeMenuButton("Quit");
    quitButton->SetPosition(Vec2(200.0f, 340.0f));
    quitButton->Init();
    // Null: the records button, which is no object of the game.
    menuRows_ = {{playButton}, {optionsButton}, {quitButton}, {nullptr}};

    goldButton = static_cast<UIButton*>(goManager.Create("UIButton"));
    goldButton->MakeSprite(kButtonImage);
    goldButton->SetPosition(Vec2(100.0f, 50.0f));
    goldButton->font = LoadGameFont(kFontImage);
    goldButton->renderable->scale = Vec2(0.7f, 0.7f);
    goldButton->renderable->UpdateCorners();
    goldButton->textScale = Vec2(0.6f, 0.6f);
    // Any gold a ship can hold stays on the plank, clear of its bolted ends.
    goldButton->fitMargin = 12.0f;
    goldButton->Init();
    RemoveFromRenderList(goldButton->renderable);

    healthButton = static_cast<UIButton*>(goManager.Create("UIButton"));
    healthButton->MakeSprite("images\\ui_health.tga");
    healthButton->SetPosition(Vec2(50.0f, 50.0f));
    healthButton->font = LoadGameFont(kFontImage);
    healthButton->textScale = Vec2(0.1f, 0.1f);
    healthButton->SetLabel("Health");
    healthButton->renderable->scale =
        Vec2(healthButton->renderable->scale.x + 1.0f, healthButton->renderable->scale.y + 1.0f);
    healthButton->renderable->UpdateCorners();
    healthButton->Init();
    RemoveFromRenderList(healthButton->renderable);

    aids_.Init(font);
    popups_.Init(font);
    hints_.Init(font);
    recordsScroll_.Init();
    recordsButton_.Init(font, Vec2(200.0f, 410.0f), Vec2(0.7f, 0.8f), Vec2(0.6f, 0.6f));
    recordsButton_.label = "Records";
    // Under the buttons, on a long plank so the line reads over the waves.
    bestPlank_.Init(font, Vec2(232.0f, 464.0f), Vec2(1.6f, 0.6f), Vec2(0.45f, 0.45f));
    bestPlank_.reactive = false;
    towersPlank_.Init(font, Vec2(0.0f, 50.0f), Vec2(0.8f, 0.7f), Vec2(0.5f, 0.5f));
    towersPlank_.reactive = false;
    optionsScreen.SetUp();

    seaMode = 1;
    phase = kMenu;
}

void Game::DrawLabels() {
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next)
        if (auto* button = dynamic_cast<UIButton*>(node->value)) button->DrawLabel();
}

void Game::HidePanels() {
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) (*it)->HidePanel();
}

const Vec2* Game::ShownPanelScroll() {
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        const Upgrader* panel = (*it)->upgrader;
        if (panel && panel->scroll && panel->scroll->renderable && panel->scroll->renderable->inRenderList)
            return panel->scroll->renderable->corners;
    }
    return nullptr;
}

void Game::DrawRepairPrompt() {
    const float red[4] = {0.7f, 0.1f, 0.1f, 1.0f};
    // Names the repair key the player chose: "Tap 'R'!!" with the designed keys.
    const std::string tap = PadUsed() ? std::string("Tap X!!")
                                      : "Tap '" + KeyNames::Name(optionsScreen.Current().keys[Settings::kRepair]) + "'!!";
    constexpr int kX = 10, kY = 70;
    const Vec2 scale(0.6f, 0.6f);
    int y = kY;
    // A panel's scroll reaches across its place: the prompt moves just below the scroll.
    if (const Vec2* scroll = ShownPanelScroll()) {
        const float right = static_cast<float>(kX) + font.InkWidth(tap.c_str(), scale);
        const float bottom = static_cast<float>(kY) + font.InkHeight(scale);
        if (right >= scroll[0].x && bottom >= scroll[0].y && static_cast<float>(kY) <= scroll[3].y)
            y = static_cast<int>(scroll[3].y) + 6;
    }
    font.DrawText(kX, y, 1.0f, tap.c_str(), red, scale);
}

bool Game::Update(float dt) {
    if (phase == kMenu) return UpdateMenu(dt);
    if (phase == kPlaying) return UpdatePlaying(dt);
    if (phase == kOptions) return UpdateOptions(dt);
    if (phase == kRecords) return UpdateRecords();
    return true;
}

float Game::SinkLineY() {
    // A shop on the screen (fading out as its buyer sinks) keeps the line below it, and
    // below the prompt that moves there too.
    const Vec2* scroll = ShownPanelScroll();
    return scroll ? std::max(Popups::kLineY, scroll[3].y + 40.0f) : Popups::kLineY;
}

bool Game::PadUsed() const { return orlop.platform && orlop.platform->PadLastUsed(); }

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
    if (!next.Save(recordsPath_, error)) std::fprintf(stderr, "brinegate: %s\n", error.c_str());
}

std::string Game::BestLine() const {
    const GameRecord best = records_.best.BestWith(ThisGame());
    if (!best.Played()) return {};
    return "Best: level " + std::to_string(best.level) + ", " + std::to_string(best.towers) +
           (best.towers == 1 ? " tower" : " towers");
}

int Game::HostileTowers() const {
    int hostile = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) hostile += (*it)->team == -1 ? 1 : 0;
    return hostile;
}

void Game::HideMenu() {
    RemoveFromRenderList(playButton->renderable);
    RemoveFromRenderList(optionsButton->renderable);
    RemoveFromRenderList(quitButton->renderable);
    recordsButton_.Hide();
    bestPlank_.Hide();
}

void Game::OpenRecords(int32_t from) {
    recordsFrom_ = from;
    phase = kRecords;
    HideMenu();
    recordsScroll_.Open();
}

bool Game::UpdateRecords() {
    // The world waits behind the scroll as behind the menu; the sea goes on by itself.
    ForgetDeadShip();
    HidePanels();
    aids_.Hide();
    const GameRecord& last = ThisGame().Played() ? ThisGame() : records_.last;
    if (!recordsScroll_.Update(last, records_.best.BestWith(ThisGame()))) {
        recordsScroll_.Close();
        phase = recordsFrom_;
        menuRow_ = -1;
        if (phase == kOptions) optionsScreen.Open();
    }
    return true;
}

void Game::ForgetDeadShip() {
    // The ship lives on while the menu shows, so it may die there as well as in play;
    // either way a dead or destroyed ship is never used again.
    MerchantShip* ship = playerShip.Get();
    if (!ship || ship->state == kDead) playerShip.Reset();
}

MerchantShip* Game::MakePlayerShip() {
    MerchantShip* ship = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
    if (!ship) return nullptr;
    ship->team = 1;
    ship->Init();
    ship->water = sea;
    ship->SetPosition(Vec2(450.0f, 0.0f));
    ship->realm = 3;
    const float red[4] = {0.8f, 0.0f, 0.0f, 1.0f};
    std::memcpy(ship->renderable->colour, red, sizeof red);
    return ship;
}

bool Game::UpdateMenu(float dt) {
    ForgetDeadShip();
    // The menu owns the screen: no shop shows over it, nor the player's aids.
    HidePanels();
    aids_.Hide();
    sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % 9001 - 4500));
    AddToRenderList(playButton->renderable);
    AddToRenderList(optionsButton->renderable);
    AddToRenderList(quitButton->renderable);
    const float titleColour[4] = {0.9f, 0.9f, 0.5f, 1.0f};
    font.DrawText(50, 75, 1.0f, "Brinegate", titleColour, Vec2(1.3f, 1.3f));
    recordsButton_.Show();
    recordsButton_.Draw();
    bestPlank_.label = BestLine();
    if (bestPlank_.label.empty()) {
        bestPlank_.Hide();
    } else {
        bestPlank_.Show();
        bestPlank_.Draw();
    }
    // A pad's d-pad puts the cursor on a button; its A then presses it like a click.
    if (orlop.keyEvent && !orlop.lastKeyDown && orlop.platform &&
        OptionsScreen::StepFocus(menuRows_, orlop.lastKey, menuRow_, menuColumn_))
        orlop.platform->WarpCursor(menuRows_[menuRow_][menuColumn_]
                                       ? BoxCentre(menuRows_[menuRow_][menuColumn_]->GetCorners())
                                       : recordsButton_.Centre());
    if (orlop.Released(VK_ESCAPE)) return false;
    if (recordsButton_.Clicked()) {
        OpenRecords(kMenu);
        return true;
    }
    for (MenuButton* button : {playButton, optionsButton, quitButton}) {
        if (orlop.Released(kLeftButton) && BoxContains(button->GetCorners(), orlop.mousePosition))
            button->SetState(MenuButton::kFalling);
    }
    if (playButton->state == MenuButton::kReturning) {
        phase = kPlaying;
        hold_.Release();
        SpawnTower();
        HideMenu();
    }
    if (optionsButton->state == MenuButton::kReturning) {
        phase = kOptions;
        HideMenu();
        optionsScreen.Open();
    }
    if (quitButton->state == MenuButton::kReturning) return false;
    return true;
}

bool Game::UpdateOptions(float dt) {
    // The sea goes on under the scroll as under the menu.
    ForgetDeadShip();
    HidePanels();
    aids_.Hide();
    sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % 9001 - 4500));
    if (!optionsScreen.Update()) {
        optionsScreen.Close();
        phase = kMenu;
        menuRow_ = -1;
        if (optionsScreen.RecordsAsked()) OpenRecords(kOptions);
    }
    return true;
}

void Game::ToggleSea() {
    soundManager.PlaySound(deadSound, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));
    camera.shakeTime = 1.0f;
    camera.shakeMagnitude = 50.0f;
    const int32_t next = seaMode == kLivingSea ? kToGhostSea : kToLivingSea;
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next) {
        GameObj* object = node->value;
        // The dead are on their way out: the toggle must not bring them back.
        if (object->realm != -1 && object->state != kDead) object->SetState(next);
    }
    seaMode = seaMode == kLivingSea ? kGhostSea : kLivingSea;
}

bool Game::UpdatePlaying(float dt) {
    if (paused) {
        const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        font.DrawText(10, 2, 1.0f, "Life", white, Vec2(0.7f, 0.7f));
        aids_.DrawPaused();
        hints_.Hide();
        aids_.ShowLife(*lifeBar, playerShip.Get());
        popups_.Draw(0.0f, SinkLineY());
        towersPlank_.Draw();
        if (orlop.Released(kPauseKey) || orlop.Released(VK_ESCAPE)) paused = false;
        return true;
    }
    ForgetDeadShip();
    if (!playerShip.Get()) playerShip = MakePlayerShip();
    MerchantShip* ship = playerShip.Get();
    // What the world's pass did to the ship: hits, sinking, gold found or spent at a shop.
    const ShipChange fromWorld = popups_.Watch(ship, true);

    AddToRenderList(lifeBar->renderable);
    AddToRenderList(goldButton->renderable);
    if (ship) {
        char text[32];
        std::snprintf(text, sizeof text, "Gold %d", static_cast<int>(ship->gold));
        goldButton->SetLabel(text);
    }
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    font.DrawText(10, 2, 1.0f, "Life", white, Vec2(0.7f, 0.7f));
    lifeBar->Update(dt);
    if (ship) lifeBar->SetValue(ship->health, ship->maxHealth);

    const Chronicle::Events events = chronicle_.Watch(towers, level, ship, fromWorld, dt);
    UpdateLevel();
    levelTime += dt;

    const Vec2 topLeft = camera.GetTopLeft();
    if (ship) {
        const float x = ship->GetPosition()->x;
        if (x >= -kFollowX && x <= kFollowX) {
            camera.targetPosition = Vec2(x - 400.0f, 0.0f);
        } else if (x > kFollowX) {
            camera.targetPosition = Vec2(kFollowX - 400.0f, topLeft.y);
            if (x > kWrapX) ship->SetPosition(Vec2(-kWrapToX, 0.0f));
        } else if (x < -kFollowX) {
            camera.targetPosition = Vec2(-kFollowX - 400.0f, topLeft.y);
            if (x < -kWrapX) ship->SetPosition(Vec2(kWrapToX, 0.0f));
        }
    }

    sea->Disturb(2.0f * dt, static_cast<float>(Rand() % 8001 - 4000));

    if (orlop.inputEvent == 1 && orlop.lastDown == 0) {
        switch (orlop.lastCode) {
            case kLeftButton:
                if (ship) ship->FireCannon();
                firedOnce_ = firedOnce_ || ship;
                camera.shakeTime = 0.1f;
                camera.shakeMagnitude = 1.0f;
                break;
            case kRepairKey:
                if (ship) ship->Repair();
                break;
            case kGoldKey:
                if (ship) ship->AddGold(50);
                break;
            case kRightButton:
                if (seaMode != kGhostSea) break;
                camera.shakeTime = 0.05f;
                camera.shakeMagnitude = 1.0f;
                if (ship) ship->AddHealth(-1.0f);
                sea->Surge(30.0f * dt, orlop.mousePosition.x + topLeft.x);
                if (sea->frozen) {
                    // A held sea would not show the surge: run it on the spot.
                    for (int i = 0; i < 16; ++i) sea->Update(0.016f);
                    sea->frozen = 1;
                }
                break;
            case VK_SPACE:
                ToggleSea();
                toggledOnce_ = true;
                break;
            default:
                break;
        }
    }

    if (ship) {
        Cannon* cannon = ship->cannon.Get();
        if (orlop.mouseLeft && cannon) cannon->charge = std::min(cannon->charge + dt, cannon->maxCharge);

        // Gold the player took or paid here: 'M' and repairs.
        chronicle_.Gathered(popups_.Watch(ship, false).gained);

        camera.targetZoom = Vec2(1.0f, 1.0f);
        if (orlop.keys['A'] || orlop.keys['D']) steered_ += dt;
        const float s = std::fabs(ship->velocity.x) / 5000.0f;
        if (orlop.keys['A']) {
            ship->SteerLeft(dt);
            camera.targetZoom = Vec2(1.0f + s, 1.0f - s);
        }
        if (orlop.keys['D']) {
            ship->SteerRight(dt);
            camera.targetZoom = Vec2(1.0f + s, 1.0f - s);
        }

        if (ship->state == Ship::kSinking) DrawRepairPrompt();

        const float f = 1.0f - ship->health / ship->maxHealth;
        const float tint[4] = {0.74f - 0.34f * f, 0.6f - 0.6f * f, 0.44f - 0.44f * f, 1.0f};
        std::memcpy(healthButton->renderable->colour, tint, sizeof tint);

        const float shipColour[4] = {1.0f, 0.5f, 0.5f, 1.0f};
        std::memcpy(ship->renderable->colour, shipColour, sizeof shipColour);
    }

    aids_.Update(ship, orlop.mouseLeft != 0, towers);
    aids_.ShowLife(*lifeBar, ship);
    aids_.ShowPlankTail(*goldButton);
    ShowAids(dt, fromWorld, events);

    if (orlop.Released(kPauseKey)) paused = true;
    if (orlop.Released(VK_ESCAPE)) {
        phase = kMenu;
        RemoveFromRenderList(goldButton->renderable);
        // The bar goes with its label; its background follows at its next update.
        RemoveFromRenderList(lifeBar->renderable);
        HidePanels();
        aids_.Hide();
        popups_.Clear();
        hints_.Hide();
        towersPlank_.Hide();
        // The game stands where it is until "Play!" resumes it.
        hold_.Hold();
        SaveRecords();
    }
    return true;
}

void Game::ShowAids(float dt, const ShipChange& change, const Chronicle::Events& events) {
    popups_.Draw(dt, SinkLineY());
    if (change.sank) Rumble(1.0f, 700);
    else if (change.hit) Rumble(0.45f, 150);

    // The count stands on its own plank right of the gold's, however long that is.
    int total = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) ++total;
    char count[32];
    std::snprintf(count, sizeof count, "Towers %d/%d", HostileTowers(), total);
    towersPlank_.label = count;
    const Vec2* gold = goldButton->renderable->corners;
    const float half = (towersPlank_.Corners()[3].x - towersPlank_.Corners()[0].x) * 0.5f;
    towersPlank_.MoveTo(Vec2(gold[3].x + goldButton->faceExtra + 6.0f + half, (gold[0].y + gold[3].y) * 0.5f));
    towersPlank_.Show();
    towersPlank_.Draw();

    // Hints: what the player has now done once is done for good.
    int32_t purchases = 0;
    bool owned = false;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        if ((*it)->upgrader) purchases += (*it)->upgrader->purchases;
        owned = owned || (*it)->team == 1;
    }
    uint32_t done = 0;
    if (steered_ >= 1.0f) done |= 1u << Settings::kHintSteer;
    if (firedOnce_) done |= 1u << Settings::kHintFire;
    if (events.towerTaken) done |= 1u << Settings::kHintTower;
    if (events.chestTaken) done |= 1u << Settings::kHintChest;
    if (purchases > purchasesSeen_) done |= 1u << Settings::kHintBuy;
    if (toggledOnce_) done |= 1u << Settings::kHintSea;
    purchasesSeen_ = purchases;
    const Settings& settings = optionsScreen.Current();
    if (done & ~settings.hintsDone) {
        Settings next = settings;
        next.hintsDone |= done;
        optionsScreen.Keep(next);
    }
    bool chest = false;
    for (auto it = goManager.objects.Begin(); !it.AtEnd() && !chest; ++it)
        if (auto* c = dynamic_cast<TreasureChest*>(*it)) chest = c->value > 0.0f && c->state != kDead;
    uint32_t due = 1u << Settings::kHintSteer | 1u << Settings::kHintFire | 1u << Settings::kHintSea;
    if (HostileTowers() > 0) due |= 1u << Settings::kHintTower;
    if (chest) due |= 1u << Settings::kHintChest;
    if (owned) due |= 1u << Settings::kHintBuy;
    hints_.SetDone(optionsScreen.Current().hintsDone);
    hints_.Show(optionsScreen.Current().hints, due, optionsScreen.Current(), PadUsed());
}

// --- levels -------------------------------------------------------------------------

void Game::StartRow() {
    leftmostTowerX = 0;
    rightmostTowerX = 0;
    rowX_.clear();
}

int32_t Game::WidestGapX() const {
    if (rowX_.empty()) return 0;
    std::vector<int32_t> xs = rowX_;
    std::sort(xs.begin(), xs.end());
    // A spot on an end of the reachable stretch keeps its whole gap to the neighbour;
    // one between two towers keeps half of it. Ties go to the leftmost spot.
    int32_t best = -kTowerReach;
    int64_t clearance = static_cast<int64_t>(xs.front()) + kTowerReach;
    for (size_t i = 1; i < xs.size(); ++i) {
        const int64_t half = (static_cast<int64_t>(xs[i]) - xs[i - 1]) / 2;
        if (half > clearance) {
            clearance = half;
            best = static_cast<int32_t>(xs[i - 1] + half);
        }
    }
    if (static_cast<int64_t>(kTowerReach) - xs.back() > clearance) best = kTowerReach;
    return best;
}

int32_t Game::NextTowerX() {
    // The left row grows 100 to 300 pixels a tower, the right row by a gap as wide as
    // the whole row so far; either may run past the reach of the player's ship.
    auto onSide = [this](bool left) {
        if (left) return leftmostTowerX - 300 + Rand() % 201;
        int32_t m = rightmostTowerX - leftmostTowerX - 1;
        if (m < 1) m = 1;
        return rightmostTowerX + 300 + Rand() % m;
    };
    int32_t x = onSide(spawnLeft != 0);
    if (std::abs(x) > kTowerReach) x = onSide(spawnLeft == 0);
    if (std::abs(x) > kTowerReach) x = WidestGapX();
    leftmostTowerX = std::min(leftmostTowerX, x);
    rightmostTowerX = std::max(rightmostTowerX, x);
    spawnLeft = !spawnLeft;
    rowX_.push_back(x);
    return x;
}

void Game::SettleOnIsland(Tower* tower) {
    const float x = tower->GetPosition()->x;
    Renderable* sprite = tower->renderable;
    // The footing is the bottom fifth of the drawn tower.
    const float footing = tower->GetCorners()[3].y - sprite->GetHeight() * sprite->scale.y / 5.0f;
    // Each round lifts the ground under the tower by a fraction of a pixel at least, so
    // the loop ends; the cap only guards against a broken island.
    for (int round = 0; round < 100000 && footing < world->GetHeightAt(x); ++round) {
        for (int i = 0; i < 3; ++i) world->Raise(Vec2(x + 10.0f + static_cast<float>(Rand() % 91), 0.0f));
        for (int i = 0; i < 3; ++i) world->Raise(Vec2(x - 100.0f + static_cast<float>(Rand() % 91), 0.0f));
    }
}

void Game::SpawnTower() {
    const int32_t x = NextTowerX();
    Tower* tower = static_cast<Tower*>(goManager.Create("Tower"));
    if (!tower) return;
    tower->Init();
    tower->difficulty = static_cast<float>(static_cast<double>(level) / 20.0);
    tower->water = sea;
    tower->SetPosition(Vec2(static_cast<float>(x), 375.0f));
    towers.PushBack(tower);
    SettleOnIsland(tower);
}

void Game::UpdateLevel() {
    bool hostileLeft = false;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) hostileLeft = hostileLeft || (*it)->team == -1;
    if (!hostileLeft) {
        ++level;
        const int n = static_cast<int>(level * 1.5);
        for (auto it = towers.Begin(); !it.AtEnd(); ++it) goManager.QueueForDeletion(*it);
        towers.Clear();
        world->Reset();
        StartRow();
        for (int i = 0; i < n; ++i) {
            SpawnTower();
            levelTime = 0.0f;
        }
    }
    if (levelTime < 3.0f) {
        char text[32];
        std::snprintf(text, sizeof text, "Level %d", static_cast<int>(level));
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        font.DrawText(200, 200, 1.0f, text, black, Vec2(1.0f, 1.0f));
    }
}

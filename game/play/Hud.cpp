#include "play/Hud.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Box.h"
#include "KeyNames.h"
#include "Renderable.h"
#include "aids/NoticeBoard.h"
#include "aids/Popups.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"
#include "play/GameFields.h"
#include "play/PlayerInput.h"
#include "ships/MerchantShip.h"
#include "ui/LifeBar.h"
#include "ui/OptionsScreen.h"
#include "ui/Plank.h"
#include "ui/UIButton.h"

namespace {

constexpr int kPromptX = 10, kPromptY = 70;
const Vec2 kPromptScale(0.6f, 0.6f);

}  // namespace

void Hud::MakeLifeBar() {
    LifeBar* bar = static_cast<LifeBar*>(goManager.Create("LifeBar"));
    bar->Init();
    RemoveFromRenderList(bar->renderable);
    lifeBar_ = bar;
}

void Hud::MakeGoldButton() {
    UIButton* gold = static_cast<UIButton*>(goManager.Create("UIButton"));
    gold->MakeSprite(Plank::kImage);
    gold->SetPosition(Vec2(100.0f, 50.0f));
    gold->font = LoadGameFont(Plank::kFontImage);
    gold->renderable->scale = Vec2(0.7f, 0.7f);
    gold->renderable->UpdateCorners();
    gold->textScale = Vec2(0.6f, 0.6f);
    // Any gold a ship can hold stays on the plank, clear of its nailed ends.
    gold->fitMargin = Plank::EndClear(gold->renderable->scale.x);
    gold->Init();
    RemoveFromRenderList(gold->renderable);
    goldButton_ = gold;
}

void Hud::MakeHealthButton() {
    UIButton* health = static_cast<UIButton*>(goManager.Create("UIButton"));
    health->MakeSprite("images\\ui_health.tga");
    health->SetPosition(Vec2(50.0f, 50.0f));
    health->font = LoadGameFont(Plank::kFontImage);
    health->textScale = Vec2(0.1f, 0.1f);
    health->SetLabel("Health");
    health->renderable->scale = Vec2(health->renderable->scale.x + 1.0f, health->renderable->scale.y + 1.0f);
    health->renderable->UpdateCorners();
    health->Init();
    RemoveFromRenderList(health->renderable);
    healthButton_ = health;
}

void Hud::InitTowerCount() {
    towersPlank_.Init(font_, Vec2(0.0f, 50.0f), Vec2(kTowersScaleX, 0.7f), Vec2(0.5f, 0.5f));
    towersPlank_.reactive = false;
}

void Hud::DrawLifeLabel() const {
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    font_.DrawText(10, 2, 1.0f, "Life", white, Vec2(0.7f, 0.7f));
}

void Hud::ShowShip(const MerchantShip* ship, float dt) {
    AddToRenderList(lifeBar_->renderable);
    AddToRenderList(goldButton_->renderable);
    if (ship) {
        char text[32];
        std::snprintf(text, sizeof text, "Gold %d", static_cast<int>(ship->Gold()));
        goldButton_->SetLabel(text);
    }
    lifeBar_->Update(dt);
    if (ship) lifeBar_->SetValue(ship->health, ship->maxHealth);
}

void Hud::ShowTowerCount() {
    char count[32];
    std::snprintf(count, sizeof count, "Towers %d/%d", game_.HostileTowers(), game_.towers.Count());
    towersPlank_.label = count;
    // Long enough for the count at its size, clear of the nails.
    towersPlank_.FitFace(kTowersScaleX);
    // However long the gold's plank is.
    const Vec2* gold = goldButton_->renderable->corners;
    const float half = (towersPlank_.Corners()[kBottomRight].x - towersPlank_.Corners()[kTopLeft].x) * 0.5f;
    towersPlank_.MoveTo(Vec2(gold[kBottomRight].x + goldButton_->faceExtra + 6.0f + half,
                             (gold[kTopLeft].y + gold[kBottomRight].y) * 0.5f));
    towersPlank_.Show();
}

const Vec2* Hud::ShownPanelScroll() const {
    for (auto it = game_.towers.Begin(); !it.AtEnd(); ++it) {
        const Upgrader* panel = (*it)->upgrader;
        if (panel && panel->scroll && panel->scroll->renderable && panel->scroll->renderable->inRenderList)
            return panel->scroll->renderable->corners;
    }
    return nullptr;
}

void Hud::ShowRepairPrompt(bool due) {
    prompt_.clear();
    if (!due) return;
    // Names the repair key the player chose: "Tap 'R'!!" with the designed keys.
    prompt_ = PlayerInput::PadUsed() ? std::string("Tap X!!")
                                     : "Tap '" + KeyNames::Name(options_.Current().keys[Settings::kRepair]) + "'!!";
    promptY_ = kPromptY;
    // A panel's scroll reaches across its place: the prompt moves just below the scroll.
    if (const Vec2* scroll = ShownPanelScroll()) {
        const float right = static_cast<float>(kPromptX) + font_.InkWidth(prompt_.c_str(), kPromptScale);
        const float bottom = static_cast<float>(kPromptY) + font_.InkHeight(kPromptScale);
        if (right >= scroll[kTopLeft].x && bottom >= scroll[kTopLeft].y && static_cast<float>(kPromptY) <= scroll[kBottomRight].y)
            promptY_ = static_cast<int>(scroll[kBottomRight].y) + 6;
    }
}

void Hud::DrawRepairPrompt() const {
    if (prompt_.empty()) return;
    const float red[4] = {0.7f, 0.1f, 0.1f, 1.0f};
    font_.DrawText(kPromptX, promptY_, 1.0f, prompt_.c_str(), red, kPromptScale);
}

void Hud::Tint(MerchantShip& ship) {
    const float f = 1.0f - ship.health / ship.maxHealth;
    const float tint[4] = {0.74f - 0.34f * f, 0.6f - 0.6f * f, 0.44f - 0.44f * f, 1.0f};
    std::memcpy(healthButton_->renderable->colour, tint, sizeof tint);

    const float shipColour[4] = {1.0f, 0.5f, 0.5f, 1.0f};
    std::memcpy(ship.renderable->colour, shipColour, sizeof shipColour);
    // A ship in its grace blinks, four times a second; only while afloat, where nothing
    // of the ship's own reads its alpha.
    if (ship.InGrace() && ship.state == Life::kNormal && std::fmod(ship.graceTime, 0.25f) < 0.125f)
        ship.renderable->colour[3] = 0.3f;
}

float Hud::NoticeTop() {
    // A shop on the screen (fading out as its buyer sinks) keeps the notices below it, and
    // below the prompt that moves there too.
    const Vec2* scroll = ShownPanelScroll();
    return scroll ? std::max(NoticeBoard::kTop, scroll[kBottomRight].y + 40.0f) : NoticeBoard::kTop;
}

void Hud::HideShip() {
    RemoveFromRenderList(goldButton_->renderable);
    // The bar goes with its label; its background follows at its next update.
    RemoveFromRenderList(lifeBar_->renderable);
    towersPlank_.Hide();
}

void Hud::AddPlanks(std::vector<Popups::KeepOut>& planks) const {
    for (const Renderable* face : {lifeBar_->renderable, goldButton_->renderable})
        if (face->inRenderList)
            planks.push_back({face->corners[kTopLeft].x, face->corners[kBottomRight].x, face->corners[kBottomRight].y});
    if (towersPlank_.Shown()) {
        const Vec2* c = towersPlank_.Corners();
        planks.push_back({c[kTopLeft].x, c[kBottomRight].x, c[kBottomRight].y});
    }
}

#include "defences/Upgrader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Box.h"
#include "Orlop.h"
#include "Renderable.h"
#include "Sprite.h"
#include "defences/UpgradeButton.h"
#include "objects/GOManager.h"
#include "objects/GameEvents.h"
#include "objects/GameObjFactory.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"


namespace {

const char* const kFormats[] = {"Gunpower:%d", "Speed:%d", "Strength:%d", "Reload Rate:%d"};
const Vec2 kLinePositions[] = {Vec2(430, 100), Vec2(475, 150), Vec2(430, 200), Vec2(400, 250)};
const char* const kFontImage = "images\\caribbeanfont.tga";

}  // namespace

int32_t Upgrader::NextPrice(int32_t price) {
    if (price >= INT32_MAX) return INT32_MAX;
    const float next = static_cast<float>(std::pow(static_cast<double>(price), 1.100000023841858));
    // 2^31 is the first float that no longer fits; anything from there on stays at the top.
    if (!(next < 2147483648.0f)) return INT32_MAX;
    return static_cast<int32_t>(next);
}

UpgradeButton* Upgrader::Button(int line) const {
    switch (line) {
        case kGunpower: return gunpowerButton;
        case kSpeed: return speedButton;
        case kStrength: return strengthButton;
        default: return reloadButton;
    }
}

int32_t& Upgrader::Cost(int line) {
    switch (line) {
        case kGunpower: return Prices().gunpower;
        case kSpeed: return Prices().speed;
        case kStrength: return Prices().strength;
        default: return Prices().reload;
    }
}

void Upgrader::WriteLabel(int line) {
    UpgradeButton* button = Button(line);
    if (!button) return;
    // Room for the longest line with any 32-bit price.
    char text[48];
    std::snprintf(text, sizeof text, kFormats[line], Cost(line));
    button->SetLabel(text);
}

void Upgrader::Init() {
    MakeSprite("images\\water.tga");
    renderable->scale = Vec2(2.0f, 1.0f);
    renderable->UpdateCorners();
    renderable->colour[3] = 0.0f;

    scroll = static_cast<UIButton*>(goManager.Create("UIButton"));
    if (scroll) {
        scroll->MakeSprite("Images\\scroll.tga");
        scroll->Init();
        scroll->renderable->scale = Vec2(1.0f, 0.5f);
        scroll->renderable->UpdateCorners();
        scroll->SetPosition(Vec2(400, 175));
        scroll->font = LoadGameFont(kFontImage);
        scroll->SetLabel("");
    }

    titlePlank_ = new Sprite(1, 1, "images\\ui_button_wood.tga");
    titlePlank_->screenSpace = true;
    titlePlank_->blendMode = BlendMode::kAlpha;
    // On the bottom roll: the top one lies under the gold and the towers left.
    titlePlank_->scale = Vec2(1.2f, 0.6f);
    titlePlank_->position = Vec2(400.0f, 284.0f);
    // Over the scroll (0.9), under the texts.
    titlePlank_->SetDepth(0.91f);
    titlePlank_->colour[3] = 0.0f;
    titlePlank_->UpdateCorners();
    RemoveFromRenderList(titlePlank_);
    titleFont_ = LoadGameFont("images\\caribbeanfont_wood.tga");

    UpgradeButton** lines[] = {&gunpowerButton, &speedButton, &strengthButton, &reloadButton};
    for (int line = 0; line < kLineCount; ++line) {
        UpgradeButton* button = static_cast<UpgradeButton*>(goManager.Create("UpgradeButton"));
        *lines[line] = button;
        if (!button) continue;
        button->Init();
        button->SetPosition(kLinePositions[line]);
        button->font = LoadGameFont(kFontImage);
        WriteLabel(line);
    }

    AddToRenderList(renderable);
}

void Upgrader::Open(Ship* buyer) {
    ship = buyer;
    // A panel that is closing (or closed) starts afresh; one already open keeps the
    // steering that is about to close it.
    if (state != Phase::kOpening) closeSteer = 0.0f;
    AddToRenderList(renderable);
    SetState(Phase::kOpening);
}

bool Upgrader::Buy(Ship* buyer, int line) {
    int32_t& cost = Cost(line);
    if (cost >= INT32_MAX) return false;
    if (buyer->Gold() < cost) {
        refusedAge = 0.0f;
        return false;
    }

    auto* merchant = dynamic_cast<MerchantShip*>(buyer);
    Cannon* gun = merchant ? merchant->cannon.Get() : nullptr;
    switch (line) {
        case kGunpower:
            if (!gun) return false;
            gun->charge += 30.0f;
            if (gun->charge > gun->maxCharge) gun->charge = gun->maxCharge;
            break;
        case kSpeed:
            buyer->AddMaxSpeed(50.0f);
            break;
        case kStrength:
            buyer->AddMaxHealth(40.0f);
            break;
        default:
            if (!gun) return false;
            gun->reloadTime -= 0.5f;
            if (gun->reloadTime < 0.01f) gun->reloadTime = 0.01f;
            break;
    }
    buyer->Spend(cost);
    gameEvents.Emit(GameEvent::Kind::kPurchase, buyer->Serial(), cost);
    ++purchases;
    boughtLine = line;
    boughtCost = cost;
    boughtAge = 0.0f;
    refusedAge = -1.0f;
    cost = NextPrice(cost);
    return true;
}

Ship* Upgrader::AfloatBuyer() const {
    Ship* buyer = ship.Get();
    return buyer && buyer->state != Life::kSinking && buyer->state != Life::kDead ? buyer : nullptr;
}

void Upgrader::Remove() {
    SetState(kClosed);
    closeSteer = 0.0f;
    RemoveFromRenderList(renderable);
    if (scroll) RemoveFromRenderList(scroll->renderable);
    if (titlePlank_) RemoveFromRenderList(titlePlank_);
    for (int line = 0; line < kLineCount; ++line)
        if (UpgradeButton* button = Button(line)) RemoveFromRenderList(button->renderable);
}

void Upgrader::Hide() {
    fade = 0.0f;
    if (scroll && scroll->renderable) scroll->renderable->colour[3] = 0.0f;
    for (int line = 0; line < kLineCount; ++line)
        if (UpgradeButton* button = Button(line)) button->textColour[3] = 0.0f;
    Remove();
}

void Upgrader::Update(float dt) {
    BaseStep(dt);
    // A panel left without a buyer fades out as if steered away.
    if (state == Phase::kOpening && !AfloatBuyer()) SetState(Phase::kClosing);

    if (state == Phase::kOpening) {
        if (fade >= 1.0f) {
            fade = 1.0f;
        } else {
            // Opening from fully closed: show the prices as they are now.
            if (fade == 0.0f)
                for (int line = 0; line < kLineCount; ++line) WriteLabel(line);
            fade += dt;
        }
    } else if (state == Phase::kClosing) {
        if (fade > 0.0f) fade -= dt;
        else fade = 0.0f;
    }

    if (scroll && scroll->renderable) scroll->renderable->colour[3] = fade;
    if (titlePlank_) titlePlank_->colour[3] = fade;
    for (int line = 0; line < kLineCount; ++line)
        if (UpgradeButton* button = Button(line)) button->textColour[3] = fade;

    if (std::fabs(closeSteer) >= 0.5f) SetState(Phase::kClosing);

    if (renderable && renderable->inRenderList) {
        if (orlop.keys['A']) closeSteer += dt;
        if (orlop.keys['D']) closeSteer -= dt;
        if (scroll) AddToRenderList(scroll->renderable);
        if (titlePlank_) AddToRenderList(titlePlank_);
        for (int line = 0; line < kLineCount; ++line)
            if (UpgradeButton* button = Button(line)) AddToRenderList(button->renderable);

        // Clicks count only while the buyer is afloat: not gone, sinking or dead.
        Ship* buyer = AfloatBuyer();
        const bool released = orlop.Released(MouseButton::kLeft);
        for (int line = 0; line < kLineCount && released && buyer; ++line) {
            UpgradeButton* button = Button(line);
            if (!button || !BoxContains(button->GetCorners(), orlop.mousePosition)) continue;
            Buy(buyer, line);
            WriteLabel(line);
        }
        AgeNotes(dt);
    }

    if (fade == 0.0f) Remove();
}

void Upgrader::AgeNotes(float dt) {
    if (boughtAge >= 0.0f) boughtAge += dt;
    if (refusedAge >= 0.0f) refusedAge += dt;
    const bool flashing = boughtAge >= 0.0f && boughtAge < kFlashSeconds;
    for (int line = 0; line < kLineCount; ++line) {
        UpgradeButton* button = Button(line);
        if (!button) continue;
        // The line bought glows gold, fading back as the flash ends.
        button->glow = flashing && line == boughtLine ? 1.0f - boughtAge / kFlashSeconds : 0.0f;
    }
}

void Upgrader::Draw() {
    if (!renderable || !renderable->inRenderList) return;
    const bool flashing = boughtAge >= 0.0f && boughtAge < kFlashSeconds;
    Font font = scroll ? scroll->font : this->font;
    if (!font.texture || !(fade > 0.0f)) return;
    const float alpha = std::min(fade, 1.0f);
    // The plank names the shop and how to buy, or says for a moment that the gold is short.
    if (titlePlank_ && titleFont_.texture) {
        const bool refused = refusedAge >= 0.0f && refusedAge < kRefusalSeconds;
        const bool pad = orlop.platform && orlop.platform->PadLastUsed();
        const char* title = refused ? "Not enough gold" : pad ? "Shop: press A to buy" : "Shop: click to buy";
        const float white[4] = {1.0f, 1.0f, 1.0f, alpha};
        const float warning[4] = {1.0f, 0.25f, 0.2f, alpha};
        const float width = titlePlank_->corners[kBottomRight].x - titlePlank_->corners[kTopLeft].x;
        const Vec2 scale = titleFont_.FitScale(title, Vec2(0.45f, 0.45f), width - 24.0f);
        titleFont_.DrawText(static_cast<int>(titlePlank_->position.x - titleFont_.InkWidth(title, scale) * 0.5f),
                            static_cast<int>(titlePlank_->position.y - titleFont_.InkHeight(scale) * 0.5f), 1.0f,
                            title, refused ? warning : white, scale);
    }
    UpgradeButton* bought = boughtLine >= 0 ? Button(boughtLine) : nullptr;
    if (flashing && bought && bought->renderable) {
        const std::string cost = "-" + std::to_string(boughtCost);
        const float red[4] = {0.75f, 0.08f, 0.06f, alpha * (1.0f - boughtAge / kFlashSeconds)};
        // Right of the line's text while the sheet (to 646) has room, else in the gap
        // above the line; rising a little as it fades.
        const Vec2 line = *bought->GetPosition();
        const float right = line.x + font.InkWidth(bought->label.c_str(), bought->textScale) * 0.5f + 10.0f;
        const float room = 640.0f - right;
        const Vec2 scale = font.FitScale(cost.c_str(), Vec2(0.45f, 0.45f), room >= 40.0f ? room : 150.0f);
        const float width = font.InkWidth(cost.c_str(), scale);
        const float x = room >= 40.0f ? right : line.x - width * 0.5f;
        const float y = room >= 40.0f ? line.y - 12.0f : line.y - 34.0f;
        font.DrawText(static_cast<int>(x), static_cast<int>(y - 16.0f * boughtAge), 1.0f, cost.c_str(), red, scale);
    }
}

Upgrader::~Upgrader() { delete titlePlank_; }

void Upgrader::Kill() {
    GameObj::Kill();
    if (titlePlank_) RemoveFromRenderList(titlePlank_);
    if (scroll) goManager.QueueForDeletion(scroll);
    for (int line = 0; line < kLineCount; ++line)
        if (UpgradeButton* button = Button(line)) goManager.QueueForDeletion(button);
    scroll = nullptr;
    gunpowerButton = speedButton = strengthButton = reloadButton = nullptr;
}

GameObj* MakeUpgrader() { return new Upgrader; }

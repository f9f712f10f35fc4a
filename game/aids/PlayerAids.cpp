#include "aids/PlayerAids.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Box.h"
#include "Camera.h"
#include "Orlop.h"
#include "Sprite.h"
#include "defences/Tower.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"
#include "ui/LifeBar.h"
#include "ui/UIButton.h"

namespace {

constexpr float kGaugeScaleX = 0.25f;  // of the wooden plank: 70 x 10 pixels
constexpr float kGaugeScaleY = 0.18f;
constexpr float kMarkerTowerScale = 0.055f;  // of the tower picture: 14 x 28 pixels

}  // namespace

PlayerAids::~PlayerAids() {
    // Sprites leave the render list on their way out.
    delete gaugeBack_;
    delete gaugeFill_;
    for (int side = 0; side < 2; ++side) {
        delete markerPlank_[side];
        delete markerTower_[side];
    }
    delete lifeFrame_;
    delete lifeMark_;
    delete plankMiddle_;
    delete plankEnd_;
}

Sprite* PlayerAids::MakeSprite(const char* image, float scaleX, float scaleY, const float colour[4]) {
    Sprite* sprite = new Sprite(1, 1, image);
    sprite->screenSpace = true;
    sprite->blendMode = BlendMode::kAlpha;
    sprite->scale = Vec2(scaleX, scaleY);
    for (int i = 0; i < 4; ++i) sprite->colour[i] = colour[i];
    sprite->SetDepth(kDepth);
    sprite->UpdateCorners();
    return sprite;
}

void PlayerAids::Init(const Font& font) {
    font_ = font.Proportional();
    const float dim[4] = {0.35f, 0.3f, 0.25f, 0.8f};
    const float hot[4] = {1.0f, 0.55f, 0.15f, 1.0f};
    gaugeBack_ = MakeSprite("images\\ui_button_wood.tga", kGaugeScaleX, kGaugeScaleY, dim);
    gaugeFill_ = MakeSprite("images\\ui_button_wood.tga", kGaugeScaleX, kGaugeScaleY, hot);
    // The fill draws over the back at the same depth.
    gaugeFill_->SetDepth(kDepth + 0.001f);

    // A plank darker than any sky, so the marker never passes for a tower of the island.
    const float plank[4] = {0.55f, 0.2f, 0.12f, 0.95f};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    for (int side = 0; side < 2; ++side) {
        markerPlank_[side] = MakeSprite("images\\ui_button_wood.tga", kMarkerScaleX, kMarkerScaleY, plank);
        markerPlank_[side]->SetDepth(kMarkerDepth);
        markerTower_[side] = MakeSprite("images\\tower.tga", kMarkerTowerScale, kMarkerTowerScale, white);
        markerTower_[side]->SetDepth(kMarkerDepth + 0.001f);
    }
    // Just behind the bar's dimmed background (0.8), a little larger all round.
    const float shade[4] = {0.0f, 0.0f, 0.0f, 0.6f};
    lifeFrame_ = MakeSprite("images\\ui_button_wood.tga", 1.03f, 0.62f, shade);
    lifeFrame_->SetDepth(0.79f);
    const float mark[4] = {1.0f, 0.95f, 0.4f, 1.0f};
    lifeMark_ = MakeSprite("images\\ui_button_wood.tga", 0.012f, 0.5f, mark);
    lifeMark_->SetDepth(0.91f);
    // Over the plank it lengthens (0.9), under that plank's label (drawn at once, nearer).
    plankMiddle_ = MakeSprite("images\\ui_button_wood.tga", 1.0f, 1.0f, white);
    plankMiddle_->SetDepth(0.905f);
    plankEnd_ = MakeSprite("images\\ui_button_wood.tga", 1.0f, 1.0f, white);
    plankEnd_->SetDepth(0.906f);
    // The right half of the picture for the end; a sliver just right of its middle,
    // drawn out along the grain, for the stretch between.
    for (Sprite* piece : {plankMiddle_, plankEnd_}) {
        const float right = piece == plankEnd_ ? 1.0f : 0.52f;
        piece->texCoords[0].x = piece->texCoords[1].x = 0.5f;
        piece->texCoords[2].x = piece->texCoords[3].x = right;
    }
}

void PlayerAids::ShowPlankTail(UIButton& button) {
    if (!plankMiddle_ || !plankEnd_ || !button.renderable || !button.font.texture || button.fitMargin < 0.0f) return;
    tailOf_ = &button;
    Renderable* face = button.renderable;
    const float width = face->scale.x * face->GetWidth();
    const float room = width - 2.0f * button.fitMargin;
    const Vec2 readable = button.textScale.x < kReadableScale ? button.textScale : Vec2(kReadableScale, kReadableScale);
    // As long as the label needs at its readable size, never past the window's edge.
    float extra = button.font.InkWidth(button.label.c_str(), readable) - room;
    extra = std::min(extra, orlop.width - 2.0f - face->corners[kBottomRight].x);
    if (!face->inRenderList || button.label.empty() || !(extra > 0.0f)) {
        button.faceExtra = 0.0f;
        RemoveFromRenderList(plankMiddle_);
        RemoveFromRenderList(plankEnd_);
        return;
    }
    button.faceExtra = extra;
    const float half = width * 0.5f;
    // The end: the right half as it was, moved right by the extra length.
    plankEnd_->scale = Vec2(face->scale.x * 0.5f, face->scale.y);
    plankEnd_->position = Vec2(face->position.x + extra + half * 0.5f, face->position.y);
    plankEnd_->UpdateCorners();
    // The middle: from the plank's centre to where the end begins.
    plankMiddle_->scale = Vec2(extra / face->GetWidth(), face->scale.y);
    plankMiddle_->position = Vec2(face->position.x + extra * 0.5f, face->position.y);
    plankMiddle_->UpdateCorners();
    AddToRenderList(plankMiddle_);
    AddToRenderList(plankEnd_);
}

void PlayerAids::AddPlanks(std::vector<Popups::KeepOut>& planks) const {
    for (const Sprite* sprite : {lifeFrame_, markerPlank_[0], markerPlank_[1], plankMiddle_, plankEnd_})
        if (sprite && sprite->inRenderList)
            planks.push_back(
                {sprite->corners[kTopLeft].x, sprite->corners[kBottomRight].x, sprite->corners[kBottomRight].y});
}

void PlayerAids::Hide() {
    for (Sprite* sprite : {gaugeBack_, gaugeFill_, lifeFrame_, lifeMark_, markerPlank_[0], markerPlank_[1],
                           markerTower_[0], markerTower_[1], plankMiddle_, plankEnd_})
        if (sprite) RemoveFromRenderList(sprite);
    if (tailOf_) tailOf_->faceExtra = 0.0f;
    out_[0] = out_[1] = 0;
}

void PlayerAids::Update(const MerchantShip* ship, bool charging, List<Tower*>& towers) {
    ShowGauge(ship, charging);
    ShowMarkers(towers);
}

void PlayerAids::ShowGauge(const MerchantShip* ship, bool charging) {
    if (!gaugeBack_ || !gaugeFill_) return;
    const Cannon* gun = ship ? ship->cannon.Get() : nullptr;
    if (!charging || !gun || !ship->renderable || !(gun->maxCharge > 0.0f)) {
        RemoveFromRenderList(gaugeBack_);
        RemoveFromRenderList(gaugeFill_);
        return;
    }
    const float fraction = std::clamp(gun->charge / gun->maxCharge, 0.0f, 1.0f);
    const Vec2* hull = ship->renderable->corners;
    const Vec2 above = camera.WorldToScreen(Vec2((hull[kTopLeft].x + hull[kBottomRight].x) * 0.5f, hull[kTopLeft].y));
    const Vec2 centre(above.x, above.y - 12.0f);
    gaugeBack_->position = centre;
    gaugeBack_->UpdateCorners();
    // The fill grows from the left end of the back.
    const float width = kGaugeScaleX * gaugeBack_->GetWidth();
    gaugeFill_->scale = Vec2(kGaugeScaleX * fraction, kGaugeScaleY);
    gaugeFill_->position = Vec2(centre.x - width * 0.5f * (1.0f - fraction), centre.y);
    gaugeFill_->UpdateCorners();
    AddToRenderList(gaugeBack_);
    AddToRenderList(gaugeFill_);
}

const Vec2* PlayerAids::MarkerBox(int side) const {
    const Sprite* plank = markerPlank_[side];
    return plank && plank->inRenderList ? plank->corners : nullptr;
}

void PlayerAids::ShowMarkers(List<Tower*>& towers) {
    out_[0] = out_[1] = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        Tower* tower = *it;
        if (tower->team != GameObj::kHostile || !tower->renderable) continue;
        // Wholly out of sight: the whole drawn tower lies beyond one edge.
        const Vec2* box = tower->renderable->corners;
        const float left = camera.WorldToScreen(box[kTopLeft]).x;
        const float right = camera.WorldToScreen(box[kBottomRight]).x;
        if (right < 0.0f) ++out_[0];
        else if (left > orlop.width) ++out_[1];
    }
    for (int side = 0; side < 2; ++side) {
        Sprite* plank = markerPlank_[side];
        Sprite* icon = markerTower_[side];
        if (!plank || !icon) continue;
        if (out_[side] == 0) {
            RemoveFromRenderList(plank);
            RemoveFromRenderList(icon);
            continue;
        }
        const float half = kMarkerScaleX * plank->GetWidth() * 0.5f;
        const bool onLeft = side == 0;
        const float cx = onLeft ? kEdgeMargin + half : orlop.width - kEdgeMargin - half;
        plank->position = Vec2(cx, kMarkerY);
        plank->UpdateCorners();
        // The arrow at the outer end, the tower next to it, the count (when more than one)
        // at the inner end.
        icon->position = Vec2(onLeft ? cx - 5.0f : cx + 5.0f, kMarkerY);
        icon->UpdateCorners();
        AddToRenderList(plank);
        AddToRenderList(icon);
    }
    DrawMarkerTexts();
}

void PlayerAids::DrawMarkerTexts() {
    if (!font_.texture) return;
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const Vec2 scale(kReadableScale, kReadableScale);
    for (int side = 0; side < 2; ++side) {
        const Sprite* plank = markerPlank_[side];
        if (!plank || !plank->inRenderList || out_[side] == 0) continue;
        const bool onLeft = side == 0;
        const int textY = static_cast<int>(kMarkerY - font_.InkHeight(scale) * 0.5f);
        // Clear of the nails at both ends.
        const float inset = Plank::EndClear(kMarkerScaleX);
        const float plankLeft = plank->corners[kTopLeft].x + inset, plankRight = plank->corners[kBottomRight].x - inset;
        const float textZ = kMarkerDepth + 0.002f;
        const char* arrow = onLeft ? "<" : ">";
        const float arrowWidth = font_.InkWidth(arrow, scale);
        const int arrowX = static_cast<int>(onLeft ? plankLeft : plankRight - arrowWidth);
        font_.DrawText(arrowX, textY, textZ, arrow, white, scale);
        if (out_[side] > 1) {
            char count[12];
            std::snprintf(count, sizeof count, "%d", out_[side] > 99 ? 99 : out_[side]);
            const float countWidth = font_.InkWidth(count, scale);
            const int countX = static_cast<int>(onLeft ? plankRight - countWidth : plankLeft);
            font_.DrawText(countX, textY, textZ, count, white, scale);
        }
    }
}

void PlayerAids::ShowLife(LifeBar& bar, const MerchantShip* ship) {
    if (!lifeFrame_ || !lifeMark_) return;
    Sprite* full = static_cast<Sprite*>(bar.renderable);
    if (!ship || !full || !full->inRenderList || !(ship->maxHealth > 0.0f)) {
        RemoveFromRenderList(lifeFrame_);
        RemoveFromRenderList(lifeMark_);
        return;
    }
    const float width = full->GetWidth();
    lifeFrame_->position = bar.anchor;
    lifeFrame_->UpdateCorners();
    AddToRenderList(lifeFrame_);
    // The mark stands where the full part ends, inside the frame whatever the health.
    const float fraction = std::clamp(bar.fraction, 0.0f, 1.0f);
    const float left = bar.anchor.x - width * 0.5f;
    const float markHalf = lifeMark_->scale.x * width * 0.5f;
    lifeMark_->position = Vec2(std::clamp(left + width * fraction, left + markHalf, left + width - markHalf), bar.anchor.y);
    lifeMark_->UpdateCorners();
    AddToRenderList(lifeMark_);
    if (!font_.texture) return;
    char text[32];
    const long health = ship->health > 0.0f ? std::lround(std::min(ship->health, 2e9f)) : 0;
    std::snprintf(text, sizeof text, "%ld/%ld", health, std::lround(std::min(ship->maxHealth, 2e9f)));
    // Right-aligned at the bar's end clear of its nails, and of the "Life" label at its start.
    const float right = left + width - Plank::EndClear(1.0f);
    const Vec2 scale =
        Plank::FitText(font_, text, Vec2(kReadableScale, kReadableScale), width * 0.5f - Plank::EndClear(1.0f));
    const float inkWidth = font_.InkWidth(text, scale);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    font_.DrawText(static_cast<int>(right - inkWidth), static_cast<int>(bar.anchor.y - font_.InkHeight(scale) * 0.5f),
                   1.0f, text, white, scale);
}

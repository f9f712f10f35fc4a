#include "PlayerAids.h"

#include <algorithm>

#include "Camera.h"
#include "Cannon.h"
#include "MerchantShip.h"
#include "Orlop.h"
#include "Sprite.h"
#include "Tower.h"

namespace {

constexpr float kGaugeScaleX = 0.25f;  // of the wooden plank: 70 x 10 pixels
constexpr float kGaugeScaleY = 0.18f;
constexpr float kMarkerScale = 0.09f;  // of the tower picture

}  // namespace

PlayerAids::~PlayerAids() {
    // Sprites leave the render list on their way out.
    delete gaugeBack_;
    delete gaugeFill_;
    for (Sprite* marker : markers_) delete marker;
}

Sprite* PlayerAids::MakeSprite(const char* image, float scaleX, float scaleY, const float colour[4]) {
    Sprite* sprite = new Sprite(1, 1, image);
    sprite->screenSpace = 1;
    sprite->blendMode = 1;
    sprite->scale = Vec2(scaleX, scaleY);
    for (int i = 0; i < 4; ++i) sprite->colour[i] = colour[i];
    sprite->SetDepth(kDepth);
    sprite->UpdateCorners();
    return sprite;
}

void PlayerAids::Init(const Font& font) {
    font_ = font;
    const float dim[4] = {0.35f, 0.3f, 0.25f, 0.8f};
    const float hot[4] = {1.0f, 0.55f, 0.15f, 1.0f};
    gaugeBack_ = MakeSprite("images\\ui_button_wood.tga", kGaugeScaleX, kGaugeScaleY, dim);
    gaugeFill_ = MakeSprite("images\\ui_button_wood.tga", kGaugeScaleX, kGaugeScaleY, hot);
    // The fill draws over the back at the same depth.
    gaugeFill_->SetDepth(kDepth + 0.001f);
}

void PlayerAids::Hide() {
    if (gaugeBack_) RemoveFromRenderList(gaugeBack_);
    if (gaugeFill_) RemoveFromRenderList(gaugeFill_);
    for (Sprite* marker : markers_) RemoveFromRenderList(marker);
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
    const Vec2 above = camera.WorldToScreen(Vec2((hull[0].x + hull[3].x) * 0.5f, hull[0].y));
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

void PlayerAids::ShowMarkers(List<Tower*>& towers) {
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float right = orlop.width - kEdgeMargin;
    size_t used = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        Tower* tower = *it;
        if (tower->team != -1 || !tower->renderable) continue;
        const Vec2 at = camera.WorldToScreen(tower->renderable->position);
        if (at.x >= 0.0f && at.x <= orlop.width) continue;  // in sight
        if (used == markers_.size())
            markers_.push_back(MakeSprite("images\\tower.tga", kMarkerScale, kMarkerScale, white));
        Sprite* marker = markers_[used++];
        const bool onLeft = at.x < 0.0f;
        const float y = std::clamp(at.y, 60.0f, orlop.height - 60.0f);
        marker->position = Vec2(onLeft ? kEdgeMargin + 12.0f : right - 12.0f, y);
        marker->UpdateCorners();
        AddToRenderList(marker);
        if (font_.texture) {
            const Vec2 scale(0.5f, 0.5f);
            const int arrowX = static_cast<int>(onLeft ? kEdgeMargin - 14.0f : right - 2.0f);
            font_.DrawText(arrowX, static_cast<int>(y - 11.0f), 1.0f, onLeft ? "<" : ">", white, scale);
        }
    }
    for (size_t i = used; i < markers_.size(); ++i) RemoveFromRenderList(markers_[i]);
}

void PlayerAids::DrawPaused() {
    if (!font_.texture) return;
    const float colour[4] = {0.9f, 0.9f, 0.5f, 1.0f};
    font_.DrawText(270, 250, 1.0f, "Paused", colour, Vec2(1.2f, 1.2f));
}

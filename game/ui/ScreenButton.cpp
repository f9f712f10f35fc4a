#include "ui/ScreenButton.h"

#include <cstring>

#include "Box.h"
#include "Orlop.h"
#include "Sprite.h"
#include "ui/Plank.h"

ScreenButton::~ScreenButton() { delete face_; }

void ScreenButton::Init(const Font& font, Vec2 position, Vec2 scale, Vec2 textScale) {
    // Its label is an aid's: spaced in proportion to its size.
    font_ = font.Proportional();
    textScale_ = textScale;
    face_ = new Sprite(1, 1, "images\\ui_button_wood.tga");
    face_->screenSpace = true;
    face_->blendMode = BlendMode::kAlpha;
    face_->scale = scale;
    face_->position = position;
    // Among the menu's and the scrolls' buttons.
    face_->SetDepth(0.9f);
    face_->aboveWorld = 1;
    face_->UpdateCorners();
    RemoveFromRenderList(face_);
}

void ScreenButton::Show() {
    if (face_) AddToRenderList(face_);
}

void ScreenButton::Hide() {
    if (face_) RemoveFromRenderList(face_);
}

bool ScreenButton::Shown() const { return face_ && face_->inRenderList; }

bool ScreenButton::Contains(Vec2 point) const { return face_ && BoxContains(face_->corners, point); }

Vec2 ScreenButton::Centre() const { return face_ ? face_->position : Vec2(); }

void ScreenButton::MoveTo(Vec2 position) {
    if (!face_) return;
    face_->position = position;
    face_->UpdateCorners();
}

const Vec2* ScreenButton::Corners() const { return face_ ? face_->corners : nullptr; }

void ScreenButton::FitFace(float smallestScaleX) {
    if (!face_ || !font_.texture) return;
    // The label's full size plus both ends' clearance, which grows with the plank.
    const float ink = label.empty() ? 0.0f : font_.InkWidth(label.c_str(), textScale_);
    const float wanted = ink / Plank::TextRoom(face_->GetWidth(), 1.0f) + 0.001f;
    face_->scale.x = wanted > smallestScaleX ? wanted : smallestScaleX;
    face_->UpdateCorners();
}

bool ScreenButton::Clicked() const {
    return Shown() && orlop.Released(MouseButton::kLeft) && Contains(orlop.mousePosition);
}

void ScreenButton::Draw() {
    if (!Shown()) return;
    const float plain[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float lit[4] = {1.0f, 0.85f, 0.55f, 1.0f};
    std::memcpy(face_->colour, reactive && Contains(orlop.mousePosition) ? lit : plain, sizeof plain);
    if (!font_.texture || label.empty()) return;
    const float width = face_->corners[kBottomRight].x - face_->corners[kTopLeft].x;
    // No taller than the plank between its edges, no wider than between its nails.
    const float height =
        face_->corners[kBottomRight].y - face_->corners[kTopLeft].y - 2.0f * Plank::EdgeClear(face_->scale.y);
    const float tallest = height / font_.glyphHeight;
    const Vec2 wanted = textScale_.y > tallest ? textScale_ * (tallest / textScale_.y) : textScale_;
    const Vec2 scale = Plank::FitText(font_, label.c_str(), wanted, Plank::TextRoom(width, face_->scale.x));
    const float ink = font_.InkWidth(label.c_str(), scale);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    font_.DrawText(static_cast<int>(face_->position.x - ink * 0.5f),
                   static_cast<int>(face_->position.y - font_.InkHeight(scale) * 0.5f), 1.0f, label.c_str(), white,
                   scale);
}

#include "aids/HintBook.h"

#include <algorithm>

#include "KeyNames.h"
#include "Orlop.h"
#include "Sprite.h"
#include "ui/Plank.h"

namespace {

const Vec2 kScale(0.55f, 0.55f);

}  // namespace

HintBook::~HintBook() { delete shade_; }

void HintBook::Init(const Font& font) {
    font_ = font.Proportional();
    shade_ = new Sprite(1, 1, "images\\ui_button_wood.tga");
    shade_->screenSpace = true;
    shade_->blendMode = BlendMode::kAlpha;
    const float dark[4] = {0.0f, 0.0f, 0.0f, 0.55f};
    for (int i = 0; i < 4; ++i) shade_->colour[i] = dark[i];
    // Over the sea, under the texts.
    shade_->SetDepth(0.95f);
    RemoveFromRenderList(shade_);
}

bool HintBook::Done(int hint) {
    const uint32_t bit = 1u << hint;
    if (done_ & bit) return false;
    done_ |= bit;
    return true;
}

std::string HintBook::Text(int hint, const Settings& settings, bool pad) {
    auto key = [&](int action) { return KeyNames::Name(settings.keys[action]); };
    switch (hint) {
        case Settings::kHintSteer:
            return pad ? "Steer with the left stick"
                       : "Steer with " + key(Settings::kSteerLeft) + " and " + key(Settings::kSteerRight);
        case Settings::kHintFire:
            return pad ? "Hold RT to charge the cannon, let go to fire"
                       : "Hold the left button to charge the cannon, let go to fire";
        case Settings::kHintTower:
            return "Your goal: take every tower by holding your ship beside it";
        case Settings::kHintChest:
            return "Sail into a chest to take its gold";
        case Settings::kHintBuy:
            return pad ? "Rest at a tower you own, then press A on an upgrade"
                       : "Rest at a tower you own, then click an upgrade";
        case Settings::kHintSea:
            return pad ? "Press Y to switch to the ghost sea" : "Press " + key(Settings::kSea) + " to switch to the ghost sea";
        default:
            return {};
    }
}

int HintBook::InTurn(int place) const {
    static const int kGoalFirst[Settings::kHintCount] = {Settings::kHintTower, Settings::kHintSteer,
                                                         Settings::kHintFire,  Settings::kHintChest,
                                                         Settings::kHintBuy,   Settings::kHintSea};
    static const int kControlsFirst[Settings::kHintCount] = {Settings::kHintSteer, Settings::kHintFire,
                                                             Settings::kHintTower, Settings::kHintChest,
                                                             Settings::kHintBuy,   Settings::kHintSea};
    return seconds_[Settings::kHintTower] < kGoalSeconds ? kGoalFirst[place] : kControlsFirst[place];
}

uint32_t HintBook::Read() const {
    uint32_t read = 0;
    for (int h = 0; h < Settings::kHintCount; ++h)
        if (seconds_[h] >= kReadSeconds) read |= 1u << h;
    return read;
}

int HintBook::Show(bool show, uint32_t due, const Settings& settings, bool pad, float dt) {
    shown_ = -1;
    if (show)
        for (int place = 0; place < Settings::kHintCount && shown_ < 0; ++place) {
            const int h = InTurn(place);
            if ((due & (1u << h)) && !(done_ & (1u << h))) shown_ = h;
        }
    if (shown_ < 0 || !font_.texture || !shade_) {
        Hide();
        return shown_;
    }
    seconds_[shown_] += dt;
    const std::string text = Text(shown_, settings, pad);
    const float room = orlop.width - 40.0f;
    // Too long for one line at its size: two, broken at the space that evens them most.
    std::string lines[2] = {text, {}};
    if (font_.InkWidth(text.c_str(), kScale) > room) {
        float best = 1e30f;
        for (size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at + 1)) {
            const std::string a = text.substr(0, at), b = text.substr(at + 1);
            const float longer = std::max(font_.InkWidth(a.c_str(), kScale), font_.InkWidth(b.c_str(), kScale));
            if (longer < best) {
                best = longer;
                lines[0] = a;
                lines[1] = b;
            }
        }
    }
    lines_ = lines[1].empty() ? 1 : 2;
    Vec2 scale = kScale;
    for (const std::string& line : lines) scale = Plank::FitText(font_, line.c_str(), scale, room);
    float width = 0.0f;
    for (const std::string& line : lines) width = std::max(width, font_.InkWidth(line.c_str(), scale));
    const float lineHeight = font_.InkHeight(scale);
    const float height = lineHeight * static_cast<float>(lines_);
    const float top = kBottom - height;
    // The shade reaches a little past the text all round.
    shade_->scale = Vec2((width + 20.0f) / shade_->GetWidth(), (height + 6.0f) / shade_->GetHeight());
    shade_->position = Vec2(orlop.width * 0.5f, top + height * 0.5f);
    shade_->UpdateCorners();
    AddToRenderList(shade_);
    const float light[4] = {1.0f, 0.95f, 0.7f, 1.0f};
    for (int i = 0; i < lines_; ++i) {
        const float lineWidth = font_.InkWidth(lines[i].c_str(), scale);
        font_.DrawText(static_cast<int>((orlop.width - lineWidth) * 0.5f), static_cast<int>(top + lineHeight * i), 1.0f,
                       lines[i].c_str(), light, scale);
    }
    return shown_;
}

void HintBook::Hide() {
    shown_ = -1;
    if (shade_) RemoveFromRenderList(shade_);
}

#include "HintBook.h"

#include "KeyNames.h"
#include "Orlop.h"
#include "Sprite.h"

namespace {

const Vec2 kScale(0.5f, 0.5f);

}  // namespace

HintBook::~HintBook() { delete shade_; }

void HintBook::Init(const Font& font) {
    font_ = font;
    shade_ = new Sprite(1, 1, "images\\ui_button_wood.tga");
    shade_->screenSpace = 1;
    shade_->blendMode = 1;
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
            return "Hold your ship against a tower to take it";
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

int HintBook::Show(bool show, uint32_t due, const Settings& settings, bool pad) {
    shown_ = -1;
    if (show)
        for (int h = 0; h < Settings::kHintCount && shown_ < 0; ++h)
            if ((due & (1u << h)) && !(done_ & (1u << h))) shown_ = h;
    if (shown_ < 0 || !font_.texture || !shade_) {
        Hide();
        return shown_;
    }
    const std::string text = Text(shown_, settings, pad);
    const float room = orlop.width - 40.0f;
    const Vec2 scale = font_.FitScale(text.c_str(), kScale, room);
    const float width = font_.InkWidth(text.c_str(), scale);
    const float height = font_.InkHeight(scale);
    const float top = kBottom - height;
    // The shade reaches a little past the text all round.
    shade_->scale = Vec2((width + 20.0f) / shade_->GetWidth(), (height + 6.0f) / shade_->GetHeight());
    shade_->position = Vec2(orlop.width * 0.5f, top + height * 0.5f);
    shade_->UpdateCorners();
    AddToRenderList(shade_);
    const float light[4] = {1.0f, 0.95f, 0.7f, 1.0f};
    font_.DrawText(static_cast<int>((orlop.width - width) * 0.5f), static_cast<int>(top), 1.0f, text.c_str(), light,
                   scale);
    return shown_;
}

void HintBook::Hide() {
    shown_ = -1;
    if (shade_) RemoveFromRenderList(shade_);
}

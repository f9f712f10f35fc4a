#include "Popups.h"

#include <algorithm>

#include "Camera.h"
#include "MerchantShip.h"
#include "Renderable.h"
#include "Orlop.h"

namespace {

constexpr float kRiseSpeed = 40.0f;  // window pixels per second
const Vec2 kWordScale(0.55f, 0.55f);
const Vec2 kLineScale(0.8f, 0.8f);

}  // namespace

ShipChange Popups::Watch(const MerchantShip* ship, bool fromWorld) {
    ShipChange change;
    if (!ship) {
        serial_ = 0;
        return change;
    }
    if (ship->Serial() != serial_) {
        serial_ = ship->Serial();
        gold_ = ship->gold;
        state_ = ship->state;
        health_ = ship->health;
        return change;
    }
    // Widened: a sum near the ends of the range must not wrap.
    const int64_t delta = static_cast<int64_t>(ship->gold) - gold_;
    const bool sinking = ship->state == Ship::kSinking && state_ != Ship::kSinking;
    if (sinking) {
        change.sank = true;
        // The chests go overboard as the ship starts to sink.
        change.spilled = static_cast<int32_t>(std::clamp<int64_t>(-delta, 0, INT32_MAX));
    } else if (delta > 0) {
        change.gained = static_cast<int32_t>(std::min<int64_t>(delta, INT32_MAX));
    } else if (delta < 0) {
        change.spent = static_cast<int32_t>(std::min<int64_t>(-delta, INT32_MAX));
    }
    change.hit = fromWorld && ship->health < health_ && !sinking;
    gold_ = ship->gold;
    state_ = ship->state;
    health_ = ship->health;

    if (!ship->renderable) return change;
    const Vec2* hull = ship->renderable->corners;
    const Vec2 above = camera.WorldToScreen(Vec2((hull[0].x + hull[3].x) * 0.5f, hull[0].y));
    if (change.gained) Add("+" + std::to_string(change.gained), above, true);
    if (change.spent) Add("-" + std::to_string(change.spent), above, false);
    if (change.sank) {
        sinkLine_ = change.spilled > 0 ? "Sunk! " + std::to_string(change.spilled) + " gold spilled" : "Sunk!";
        sinkAge_ = 0.0f;
    }
    return change;
}

void Popups::Notice(const std::string& text) {
    sinkLine_ = text;
    sinkAge_ = 0.0f;
}

void Popups::Add(const std::string& text, Vec2 at, bool gain) {
    // A word born while another is still low starts above it, so both can be read.
    for (const Word& word : words_)
        if (word.age < 0.5f) at.y = std::min(at.y, word.at.y - kRiseSpeed * word.age - 20.0f);
    words_.push_back({text, at, 0.0f, gain});
}

void Popups::Draw(float dt, float lineY) {
    for (Word& word : words_) word.age += dt;
    words_.erase(std::remove_if(words_.begin(), words_.end(), [](const Word& w) { return w.age >= kRiseSeconds; }),
                 words_.end());
    if (!sinkLine_.empty()) {
        sinkAge_ += dt;
        if (sinkAge_ >= kSinkSeconds) sinkLine_.clear();
    }
    if (!font_.texture) return;
    for (const Word& word : words_) {
        const float alpha = 1.0f - word.age / kRiseSeconds;
        const float gold[4] = {1.0f, 0.85f, 0.2f, alpha};
        const float red[4] = {0.85f, 0.12f, 0.1f, alpha};
        const float width = font_.InkWidth(word.text.c_str(), kWordScale);
        // Centred over where it was born, kept inside the window.
        const float x = std::clamp(word.at.x - width * 0.5f, 2.0f, orlop.width - 2.0f - width);
        const float y = std::max(2.0f, word.at.y - 30.0f - kRiseSpeed * word.age);
        font_.DrawText(static_cast<int>(x), static_cast<int>(y), 1.0f, word.text.c_str(), word.gain ? gold : red,
                       kWordScale);
    }
    if (!sinkLine_.empty()) {
        const float alpha = std::min(1.0f, (kSinkSeconds - sinkAge_) * 2.0f);
        const float red[4] = {0.75f, 0.08f, 0.06f, alpha};
        const Vec2 scale = font_.FitScale(sinkLine_.c_str(), kLineScale, orlop.width - 20.0f);
        const float width = font_.InkWidth(sinkLine_.c_str(), scale);
        font_.DrawText(static_cast<int>((orlop.width - width) * 0.5f), static_cast<int>(lineY), 1.0f,
                       sinkLine_.c_str(), red, scale);
    }
}

void Popups::Clear() {
    words_.clear();
    sinkLine_.clear();
}

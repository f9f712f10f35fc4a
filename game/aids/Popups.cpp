#include "aids/Popups.h"

#include <algorithm>

#include "Box.h"
#include "Camera.h"
#include "Orlop.h"
#include "Renderable.h"
#include "ships/MerchantShip.h"

namespace {

constexpr float kRiseSpeed = 40.0f;  // window pixels per second
const Vec2 kWordScale(0.6f, 0.6f);

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
    const bool sinking = ship->state == Life::kSinking && state_ != Life::kSinking;
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
    const Vec2 above = camera.WorldToScreen(Vec2((hull[kTopLeft].x + hull[kBottomRight].x) * 0.5f, hull[kTopLeft].y));
    if (change.gained) Add(change.gained, above);
    if (change.spent) Add(-static_cast<int64_t>(change.spent), above);
    return change;
}

void Popups::Add(int64_t change, Vec2 at) {
    if (!words_.empty() && words_.back().age < kMergeSeconds) {
        words_.back().sum += change;
    } else {
        words_.push_back({{}, at, 0.0f, change, at});
        // The oldest goes first when there are too many.
        if (words_.size() > kMostWords) words_.erase(words_.begin());
    }
    Word& word = words_.back();
    word.text = (word.sum < 0 ? "-" : "+") + std::to_string(word.sum < 0 ? -word.sum : word.sum);
}

void Popups::Draw(float dt, const std::vector<KeepOut>& planks) {
    for (Word& word : words_) word.age += dt;
    words_.erase(std::remove_if(words_.begin(), words_.end(), [](const Word& w) { return w.age >= kRiseSeconds; }),
                 words_.end());
    if (!font_.texture || words_.empty()) return;
    const float height = font_.InkHeight(kWordScale);
    // Where each rises to; a younger word keeps below an older one (words_ runs from
    // the oldest), and none goes above a plank it would cross.
    for (size_t i = 0; i < words_.size(); ++i) {
        Word& word = words_[i];
        const float width = font_.InkWidth(word.text.c_str(), kWordScale);
        word.drawn.x = std::clamp(word.at.x - width * 0.5f, 2.0f, orlop.width - 2.0f - width);
        word.drawn.y = word.at.y - 30.0f - kRiseSpeed * word.age;
    }
    for (size_t i = words_.size() - 1; i > 0; --i)
        words_[i - 1].drawn.y = std::min(words_[i - 1].drawn.y, words_[i].drawn.y - height);
    float push = 0.0f;
    for (const Word& word : words_) {
        const float width = font_.InkWidth(word.text.c_str(), kWordScale);
        float lowest = 2.0f;
        for (const KeepOut& plank : planks)
            if (word.drawn.x < plank.right && word.drawn.x + width > plank.left)
                lowest = std::max(lowest, plank.bottom + 4.0f);
        push = std::max(push, lowest - word.drawn.y);
    }
    for (Word& word : words_) {
        word.drawn.y += push;
        const float alpha = 1.0f - word.age / kRiseSeconds;
        const float gold[4] = {1.0f, 0.85f, 0.2f, alpha};
        const float red[4] = {0.85f, 0.12f, 0.1f, alpha};
        font_.DrawText(static_cast<int>(word.drawn.x), static_cast<int>(word.drawn.y), 1.0f, word.text.c_str(),
                       word.sum < 0 ? red : gold, kWordScale);
    }
}

void Popups::Clear() { words_.clear(); }

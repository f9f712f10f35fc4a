#include "aids/NoticeBoard.h"

#include <algorithm>

#include "Orlop.h"
#include "ui/Plank.h"

namespace {

const Vec2 kScale(0.8f, 0.8f);
const Vec2 kPausedScale(1.1f, 1.1f);

}  // namespace

void NoticeBoard::Init(const Font& font) { font_ = font.Proportional(); }

void NoticeBoard::Post(Kind kind, const std::string& text, float seconds) {
    for (Notice& notice : queue_)
        if (notice.kind == kind && kind != Kind::kOther) {
            notice.text = text;
            notice.seconds = seconds;
            notice.age = 0.0f;
            return;
        }
    queue_.push_back({kind, text, seconds, 0.0f});
}

void NoticeBoard::Clear() {
    queue_.clear();
    showing_.clear();
}

void NoticeBoard::Draw(float dt, bool paused, float top) {
    showing_.clear();
    if (!paused && !queue_.empty()) {
        queue_.front().age += dt;
        if (queue_.front().age >= queue_.front().seconds) queue_.pop_front();
    }
    const Notice* notice = queue_.empty() ? nullptr : &queue_.front();
    if (!paused && !notice) return;
    showing_ = paused ? "Paused" : notice->text;
    const float room = orlop.width - 20.0f;
    const Vec2 scale = Plank::FitText(font_, showing_.c_str(), paused ? kPausedScale : kScale, room);
    const float width = font_.InkWidth(showing_.c_str(), scale);
    const float yellow[4] = {0.9f, 0.9f, 0.5f, 1.0f};
    // A notice fades over its last half second.
    const float alpha = paused ? 1.0f : std::min(1.0f, (notice->seconds - notice->age) * 2.0f);
    const float red[4] = {0.75f, 0.08f, 0.06f, alpha};
    const float left = (orlop.width - width) * 0.5f;
    drawn_[0] = left;
    drawn_[1] = top;
    drawn_[2] = left + width;
    drawn_[3] = top + font_.InkHeight(scale);
    if (!font_.texture) return;
    font_.DrawText(static_cast<int>(left), static_cast<int>(top), 1.0f, showing_.c_str(), paused ? yellow : red, scale);
}

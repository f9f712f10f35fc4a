#pragma once

#include <deque>
#include <string>

#include "Font.h"

// The notices at the middle of the screen: "Sunk! 460 gold spilled", "Tower lost!" and
// "Paused". One place below the level's banner, one notice at a time: the others wait
// their turn. Window pixels, drawn at once; it only shows.
class NoticeBoard {
public:
    enum class Kind { kSunk, kTowerLost, kOther };
    static constexpr float kSeconds = 2.0f;
    // Top of the place: below "Level N" (drawn from 200 to 242).
    static constexpr float kTop = 250.0f;

    void Init(const Font& font);
    // Queues a notice shown for `seconds` when its turn comes. A newer notice of a kind
    // already showing or waiting takes that one's place, so the words stay current.
    void Post(Kind kind, const std::string& text, float seconds = kSeconds);
    void TowerLost() { Post(Kind::kTowerLost, "Tower lost!"); }
    // Ages the notice showing by `dt` and draws it with its top at `top`. While paused
    // "Paused" holds the place and the notices wait, their time standing still.
    void Draw(float dt, bool paused, float top);
    void Clear();

    // The words in the place at the last Draw, or empty.
    const std::string& Showing() const { return showing_; }
    // Window box of the words at the last Draw (left, top, right, bottom), or null.
    const float* Drawn() const { return showing_.empty() ? nullptr : drawn_; }
    // How many notices wait behind the one showing.
    size_t Waiting() const { return queue_.empty() ? 0 : queue_.size() - 1; }

private:
    struct Notice {
        Kind kind;
        std::string text;
        float seconds;
        float age;
    };
    Font font_;
    std::deque<Notice> queue_;  // the front one shows
    std::string showing_;
    float drawn_[4] = {};
};

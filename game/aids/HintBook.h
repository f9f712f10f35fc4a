#pragma once

#include <cstdint>
#include <string>

#include "Font.h"
#include "store/Settings.h"

class Sprite;

// Hints for a new player, one at a time at the bottom of the screen, each until the
// player has done that thing once after reading it. The goal comes first; a long hint
// takes two lines. Window pixels; it only shows.
class HintBook {
public:
    HintBook() = default;
    ~HintBook();
    HintBook(const HintBook&) = delete;
    HintBook& operator=(const HintBook&) = delete;

    // Needs the GL context: makes the shade behind the text.
    void Init(const Font& font);
    // Marks a hint done; true when it was not done before.
    bool Done(int hint);
    uint32_t DoneBits() const { return done_; }
    void SetDone(uint32_t bits) { done_ = bits; }

    // Shows the first hint not done whose moment has come (`due` has its bit), unless
    // `show` is off, counting `dt` to its time on the screen; returns it, or -1 when
    // none shows.
    int Show(bool show, uint32_t due, const Settings& settings, bool pad, float dt);
    void Hide();
    int Shown() const { return shown_; }
    // The hints on the screen long enough to be read: only those can be done.
    uint32_t Read() const;
    // The lines of the hint showing (one or two), as last drawn.
    int Lines() const { return lines_; }
    // The order hints take: the goal first until it has been read a while, then the
    // controls before it.
    int InTurn(int place) const;

    // The goal leads for this long; a hint shown this long has been read.
    static constexpr float kGoalSeconds = 5.0f;
    static constexpr float kReadSeconds = 1.0f;

    // The hint's words with the player's keys, or a pad's buttons.
    static std::string Text(int hint, const Settings& settings, bool pad);

    static constexpr float kBottom = 594.0f;

private:
    Font font_;
    Sprite* shade_ = nullptr;
    uint32_t done_ = 0;
    int shown_ = -1;
    int lines_ = 0;
    float seconds_[Settings::kHintCount] = {};
};

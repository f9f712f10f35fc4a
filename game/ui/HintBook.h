#pragma once

#include <cstdint>
#include <string>

#include "Font.h"
#include "Settings.h"

class Sprite;

// Hints for a new player, one at a time at the bottom of the screen, each until the
// player has done that thing once. Window pixels; it only shows.
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
    // `show` is off; returns it, or -1 when none shows.
    int Show(bool show, uint32_t due, const Settings& settings, bool pad);
    void Hide();
    int Shown() const { return shown_; }

    // The hint's words with the player's keys, or a pad's buttons.
    static std::string Text(int hint, const Settings& settings, bool pad);

    static constexpr float kBottom = 594.0f;

private:
    Font font_;
    Sprite* shade_ = nullptr;
    uint32_t done_ = 0;
    int shown_ = -1;
};

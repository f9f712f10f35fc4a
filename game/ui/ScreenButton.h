#pragma once

#include <string>

#include "Font.h"
#include "Vec2.h"

class Sprite;

// A wooden button of the screen that is no object of the game: its face is a plain
// sprite and its label is drawn at once, fitted to the face. For the screens that must
// leave the game's objects as they are (records, the extra options).
class ScreenButton {
public:
    ScreenButton() = default;
    ~ScreenButton();
    ScreenButton(const ScreenButton&) = delete;
    ScreenButton& operator=(const ScreenButton&) = delete;

    // Needs the GL context. Hidden until shown.
    void Init(const Font& font, Vec2 position, Vec2 scale, Vec2 textScale);
    void Show();
    void Hide();
    bool Shown() const;
    // Lit while the cursor is on it; draws the label. Call once a frame while shown.
    void Draw();
    // Released left button over the shown face this frame.
    bool Clicked() const;
    bool Contains(Vec2 point) const;
    Vec2 Centre() const;
    void MoveTo(Vec2 position);
    const Vec2* Corners() const;
    // Lengthens (or shortens) the face so the label fits at its own size, never
    // narrower than `smallestScaleX`; keeps the face's centre.
    void FitFace(float smallestScaleX);

    std::string label;
    // Lights under the cursor; a plank that only shows a figure does not.
    bool reactive = true;

private:
    Font font_;
    Sprite* face_ = nullptr;
    Vec2 textScale_{0.5f, 0.5f};
};

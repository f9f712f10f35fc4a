#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "SdlPlatform.h"

// The window the autoplay bot plays in: a small one, whose input is only what the bot
// posts. Posted messages reach the game one a frame, so that no release hides another
// (the game reads one release a frame); the bot thinks after every frame.
class BotPlatform : public SdlPlatform {
public:
    using Think = std::function<void(BotPlatform&)>;

    bool CreateMainWindow(const std::string& title, int width, int height, bool windowed, int bits) override;
    // Whatever size the settings kept, the window stays small.
    void SetStartSize(int, int) override {}
    bool PeekMessage(WindowMessage& out) override;
    Vec2 GetCursorPos() override { return cursor; }
    void WarpCursor(Vec2 point) override { cursor = point; }
    void SwapBuffers() override;

    // Presses or lets go of a key or the left button (code 0) that stays down across
    // frames; nothing when it already is so.
    void Hold(uint32_t code, bool down);
    bool Held(uint32_t code) const { return code < 256 && held_[code]; }
    // Presses and lets go of a key.
    void Tap(uint32_t vk);
    // A click of the left button where the cursor is.
    void Click();
    // Messages posted and not yet handed to the game.
    size_t Waiting() const { return queue_.size(); }

    Vec2 cursor{400.0f, 300.0f};
    Think think;

private:
    void Post(uint32_t message, uint64_t wParam);

    std::deque<WindowMessage> queue_;
    bool sentThisFrame_ = false;
    bool held_[256] = {};
};

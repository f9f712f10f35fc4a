#pragma once

// A real window whose input comes from a script run at every buffer swap, and a random
// player for it.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "SdlPlatform.h"
#include "app/Program.h"
#include "play/Game.h"

class ScriptedPlatform : public SdlPlatform {
public:
    // Long runs draw into a quarter-size window, the picture letterboxed into it as in
    // any small window, so that software rendering does not take most of the time.
    bool CreateMainWindow(const std::string& title, int width, int height, bool windowed, int bits) override {
        if (!SdlPlatform::CreateMainWindow(title, width / 4, height / 4, windowed, bits)) return false;
        InjectMessage({WM_SIZE, 0, MakeLong(static_cast<uint32_t>(width / 4), static_cast<uint32_t>(height / 4))});
        return true;
    }
    // ... and keep it whatever size the settings kept.
    void SetStartSize(int, int) override {}
    Vec2 GetCursorPos() override { return cursor; }
    void SwapBuffers() override {
        if (step) step(*this, ++frame);
        SdlPlatform::SwapBuffers();
    }
    void Post(uint32_t message, uint64_t wParam = 0) { InjectMessage({message, wParam, 0}); }
    void Key(uint32_t vk) {
        Post(WM_KEYDOWN, vk);
        Post(WM_KEYUP, vk);
    }

    Vec2 cursor{400, 300};
    int frame = 0;
    std::function<void(ScriptedPlatform&, int frame)> step;
};

// Plays with a generator of its own (never the game's): starts a game from the menu,
// then steers, aims, charges and fires, presses Space, 'R', 'M' and the right button,
// and now and then goes back to the menu with Escape.
struct RandomPlayer {
    void operator()(ScriptedPlatform& p, int frame) {
        if (Program::RunningGame()->phase == Game::kMenu) {
            Release(p);
            if (frame % 60 == 0) {  // "Play!" (Escape would quit from here)
                p.cursor = Vec2(200, 200);
                p.Post(WM_LBUTTONDOWN);
                p.Post(WM_LBUTTONUP);
            }
            return;
        }
        p.cursor = Vec2(std::clamp(p.cursor.x + Spread(40), 0.0f, 799.0f),
                        std::clamp(p.cursor.y + Spread(30), 0.0f, 599.0f));
        if (Chance(40)) Hold(p, 0, !held[0]);
        if (Chance(40)) Hold(p, 1, !held[1]);
        if (Chance(held[2] ? 20 : 50)) Hold(p, 2, !held[2]);  // charge, then fire on release
        if (Chance(400)) p.Key(VK_SPACE);
        if (Chance(300)) p.Key('R');
        if (Chance(300)) p.Key('M');
        if (Chance(200)) {
            p.Post(WM_RBUTTONDOWN);
            p.Post(WM_RBUTTONUP);
        }
        if (Chance(escapeOdds)) {
            Release(p);
            p.Key(VK_ESCAPE);
        }
    }
    bool Chance(uint32_t odds) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % odds == 0;
    }
    float Spread(int half) {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<int>((state >> 8) % (2 * half + 1)) - half);
    }
    void Hold(ScriptedPlatform& p, int i, bool down) {  // 0 'A', 1 'D', 2 left button
        held[i] = down;
        if (i == 2) p.Post(down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        else p.Post(down ? WM_KEYDOWN : WM_KEYUP, i == 0 ? 'A' : 'D');
    }
    void Release(ScriptedPlatform& p) {
        for (int i = 0; i < 3; ++i)
            if (held[i]) Hold(p, i, false);
    }

    uint32_t state;
    uint32_t escapeOdds = 2500;
    bool held[3] = {};
};

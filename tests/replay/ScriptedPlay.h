#pragma once

// A real window whose input comes from a script run at every buffer swap, and a random
// player for it: it starts a game from the menu, steers, aims, charges and fires, and
// presses the game's other keys, now and then returning to the menu to start again.
#include <cstdint>
#include <functional>
#include <string>

#include "Game.h"
#include "Program.h"
#include "SdlPlatform.h"

class ScriptedPlatform : public SdlPlatform {
public:
    using Step = std::function<void(ScriptedPlatform&, int frame)>;

    // Long runs draw into a smaller window: the picture is letterboxed into it like any
    // resized window, and software rendering no longer takes most of the time.
    bool CreateMainWindow(const std::string& title, int width, int height, bool windowed,
                          int bits) override {
        const int w = width / windowDivisor, h = height / windowDivisor;
        if (!SdlPlatform::CreateMainWindow(title, w, h, windowed, bits)) return false;
        WindowMessage size;
        size.message = WM_SIZE;
        size.lParam = MakeLong(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
        InjectMessage(size);
        return true;
    }

    Vec2 GetCursorPos() override { return cursor; }
    void SwapBuffers() override {
        ++frame;
        if (step) step(*this, frame);
        SdlPlatform::SwapBuffers();
    }
    void Post(uint32_t message, uint64_t wParam = 0) {
        WindowMessage m;
        m.message = message;
        m.wParam = wParam;
        InjectMessage(m);
    }
    void Key(uint32_t vk) {
        Post(WM_KEYDOWN, vk);
        Post(WM_KEYUP, vk);
    }

    Vec2 cursor{400, 300};
    int frame = 0;
    int windowDivisor = 4;
    Step step;
};

// Chooses with its own generator (never the game's), so the game's draws stay its own.
class RandomPlayer {
public:
    explicit RandomPlayer(uint32_t seed) : state_(seed) {}

    void operator()(ScriptedPlatform& p, int frame) {
        const Game* game = Program::game;
        if (!game) return;
        if (game->phase == Game::kMenu) {
            ReleaseAll(p);
            // "Play!" (never Escape, which would quit from the menu).
            if (frame % 60 == 0) {
                p.cursor = Vec2(200, 200);
                p.Post(WM_LBUTTONDOWN);
                p.Post(WM_LBUTTONUP);
            }
            return;
        }
        p.cursor = Vec2(Clamp(p.cursor.x + Spread(40), 0, 799), Clamp(p.cursor.y + Spread(30), 0, 599));
        Toggle(p, steerLeft_, 'A', 40);
        Toggle(p, steerRight_, 'D', 40);
        if (!charging_ && Chance(50)) {
            p.Post(WM_LBUTTONDOWN);
            charging_ = true;
        } else if (charging_ && Chance(20)) {
            p.Post(WM_LBUTTONUP);  // fires
            charging_ = false;
        }
        if (Chance(400)) p.Key(VK_SPACE);
        if (Chance(300)) p.Key('R');
        if (Chance(300)) p.Key('M');
        if (Chance(200)) {
            p.Post(WM_RBUTTONDOWN);
            p.Post(WM_RBUTTONUP);
        }
        if (Chance(escapeOdds)) {
            ReleaseAll(p);
            p.Key(VK_ESCAPE);
        }
    }

    uint32_t escapeOdds = 2500;

private:
    uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    bool Chance(uint32_t odds) { return Next() % odds == 0; }
    float Spread(int half) { return static_cast<float>(static_cast<int>(Next() % (2 * half + 1)) - half); }
    static float Clamp(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }
    void Toggle(ScriptedPlatform& p, bool& held, uint32_t vk, uint32_t odds) {
        if (!Chance(odds)) return;
        held = !held;
        p.Post(held ? WM_KEYDOWN : WM_KEYUP, vk);
    }
    void ReleaseAll(ScriptedPlatform& p) {
        if (steerLeft_) p.Post(WM_KEYUP, 'A');
        if (steerRight_) p.Post(WM_KEYUP, 'D');
        if (charging_) p.Post(WM_LBUTTONUP);
        steerLeft_ = steerRight_ = charging_ = false;
    }

    uint32_t state_;
    bool steerLeft_ = false;
    bool steerRight_ = false;
    bool charging_ = false;
};

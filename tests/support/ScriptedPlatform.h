// A real window whose input comes from a script: each frame the script may move the
// cursor, post messages and take pictures.
#pragma once

#include <functional>
#include <map>

#include "SdlPlatform.h"

class ScriptedPlatform : public SdlPlatform {
public:
    using Step = std::function<void(ScriptedPlatform&, int frame)>;

    Vec2 GetCursorPos() override { return cursor; }
    void SwapBuffers() override {
        ++frame;
        if (step) step(*this, frame);
        SdlPlatform::SwapBuffers();
    }
    void Click(Vec2 at) {
        cursor = at;
        Post(WM_LBUTTONDOWN);
        Post(WM_LBUTTONUP);
    }
    void Key(uint32_t vk) {
        Post(WM_KEYDOWN, vk);
        Post(WM_KEYUP, vk);
    }
    // Presses or lets go of a key that stays down across frames.
    void Hold(uint32_t vk, bool down) {
        if (held[vk] == down) return;
        held[vk] = down;
        Post(down ? WM_KEYDOWN : WM_KEYUP, vk);
    }
    void Post(uint32_t message, uint64_t wParam = 0) {
        WindowMessage m;
        m.message = message;
        m.wParam = wParam;
        InjectMessage(m);
    }

    Vec2 cursor{700, 500};
    int frame = 0;
    Step step;
    std::map<uint32_t, bool> held;
};

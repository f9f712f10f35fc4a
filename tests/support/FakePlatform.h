#pragma once

#include <deque>
#include <string>

#include "Platform.h"

// A platform with a scripted message queue and no window: drives the main loop
// and the input handler without a display.
class FakePlatform : public Platform {
public:
    bool CreateMainWindow(const std::string&, int, int, bool, int) override { return windowOk; }
    bool CreateContext() override { return contextOk; }
    void DestroyContext() override { ++contextsDestroyed; }
    void DestroyMainWindow() override { ++windowsDestroyed; }
    void RestoreDisplayMode() override { ++modeRestores; }
    void ShowSystemCursor(bool show) override { cursorShown = show; }
    bool PeekMessage(WindowMessage& out) override {
        ++peeks;
        if (queue.empty()) return false;
        out = queue.front();
        queue.pop_front();
        return true;
    }
    void PostQuitMessage(int) override {
        WindowMessage m;
        m.message = WM_QUIT;
        queue.push_back(m);
    }
    Vec2 GetCursorPos() override { return cursor; }
    void SwapBuffers() override { ++swaps; }
    void PinToFirstProcessor() override { pinned = true; }
    std::string LastError() const override { return "scripted failure"; }

    void Post(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0) {
        WindowMessage m;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        queue.push_back(m);
    }

    std::deque<WindowMessage> queue;
    Vec2 cursor;
    bool windowOk = true;
    bool contextOk = true;
    bool cursorShown = true;
    bool pinned = false;
    int swaps = 0;
    int peeks = 0;
    int contextsDestroyed = 0;
    int windowsDestroyed = 0;
    int modeRestores = 0;
};

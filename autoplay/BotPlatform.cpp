#include "BotPlatform.h"

#include "store/Recording.h"

bool BotPlatform::CreateMainWindow(const std::string& title, int width, int height, bool windowed, int bits) {
    // A quarter of the picture a side: the smallest window the game allows, and the
    // cheapest to present.
    const int w = width / kMinimumDivisor, h = height / kMinimumDivisor;
    if (!SdlPlatform::CreateMainWindow(title, w, h, windowed, bits)) return false;
    InjectMessage({WM_SIZE, 0, MakeLong(static_cast<uint32_t>(w), static_cast<uint32_t>(h))});
    return true;
}

bool BotPlatform::PeekMessage(WindowMessage& out) {
    // The window's own messages first (its size, a close); live input never comes, and
    // neither does the focus: nobody looks at this window, and a game that lost it would
    // stand still (as it does when another bot's window opens on the same display).
    if (SdlPlatform::PeekMessage(out)) {
        const bool dropped = IsInputMessage(out.message) || out.message == WM_SETFOCUS || out.message == WM_KILLFOCUS;
        return !dropped || PeekMessage(out);
    }
    if (sentThisFrame_ || queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    sentThisFrame_ = true;
    return true;
}

void BotPlatform::SwapBuffers() {
    SdlPlatform::SwapBuffers();
    sentThisFrame_ = false;
    if (think) think(*this);
}

void BotPlatform::Post(uint32_t message, uint64_t wParam) {
    WindowMessage m;
    m.message = message;
    m.wParam = wParam;
    queue_.push_back(m);
}

void BotPlatform::Hold(uint32_t code, bool down) {
    if (code >= 256 || held_[code] == down) return;
    held_[code] = down;
    if (code == 0) Post(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0);
    else Post(down ? WM_KEYDOWN : WM_KEYUP, code);
}

void BotPlatform::Tap(uint32_t vk) {
    Post(WM_KEYDOWN, vk);
    Post(WM_KEYUP, vk);
}

void BotPlatform::Click() {
    Post(WM_LBUTTONDOWN, 0);
    Post(WM_LBUTTONUP, 0);
}

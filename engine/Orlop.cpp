#include "Orlop.h"

#include <cstdio>
#include <cstring>

#include "Camera.h"
#include "Culler.h"
#include "Renderer.h"
#include "Report.h"
#include "TextureManager.h"

Orlop orlop;

Orlop::Orlop() = default;

Orlop::~Orlop() = default;

int64_t WindowProc(void* window, uint32_t message, uint64_t wParam, int64_t lParam) {
    (void)window;
    return orlop.HandleMessage(message, wParam, lParam);
}

bool Orlop::Init() {
    if (!platform) {
        Report("no platform layer to open a window with");
        return false;
    }
    int w = static_cast<int>(width);
    int h = static_cast<int>(height);
    if (!platform->CreateMainWindow(title, w, h, windowed != 0, static_cast<int>(bits))) {
        Report("cannot create the window: " + platform->LastError());
        return false;
    }
    window = platform;
    platform->ShowSystemCursor(false);
    if (!renderer.CreateContext(*platform)) {
        Report("cannot create the OpenGL context: " + platform->LastError());
        platform->DestroyMainWindow();
        window = nullptr;
        return false;
    }
    renderer.InitState(w, h);
    textureManager.mipmaps = 1;
    textureManager.SetFilterMode(2);
    const Vec2 bucket[4] = {Vec2(-100000.0f, -100000.0f), Vec2(100000.0f, -100000.0f),
                            Vec2(-100000.0f, 100000.0f), Vec2(100000.0f, 100000.0f)};
    // A second run in the same process reuses the first one's bucket.
    if (culler.buckets.Empty()) culler.AddBucket(bucket);
    // A new window starts with nothing held and the camera at rest, as in a fresh process,
    // so that a run plays the same however many came before it.
    camera = Camera();
    camera.SetView(Vec2(width / 2, height / 2), Vec2(width, height));
    inputEvent = 0;
    lastCode = 0;
    lastDown = 0;
    std::memset(keys, 0, sizeof keys);
    std::memset(held_, 0, sizeof held_);
    keyEvent = 0;
    lastKey = 0;
    lastKeyDown = 0;
    waiting_.clear();
    everyRelease = true;
    mouseLeft = mouseMiddle = mouseRight = 0;
    wheelSteps = 0;
    hadFocus = false;
    focused = false;
    return true;
}

void Orlop::Run() {
    platform->PinToFirstProcessor();
    pacer.Choose(*platform, vsync, paced);
    running_ = true;
    bool quit = false;
    for (;;) {
        mousePosition = platform->GetCursorPos();
        WindowMessage msg;
        if (platform->PeekMessage(msg)) {
            if (msg.message == WM_QUIT) break;
            WindowProc(window, msg.message, msg.wParam, msg.lParam);
            continue;
        }
        if (Suspended()) {
            // Sleep rather than spin until the focus (or a close) comes back.
            platform->WaitMessage(100);
            pacer.Restart();
            continue;
        }
        renderer.BeginFrame();
        camera.Update(kFrameStep);
        int32_t result = frameCallback ? frameCallback(kFrameStep) : 1;
        if (drawWorld) culler.Render();
        // The wait comes last, so that the swaps go out evenly however long frames take.
        pacer.BeforeSwap(timer);
        renderer.EndFrame(platform);
        pacer.AfterSwap(timer);
        if (result == 0) quit = true;
        EndFrameInput();
        wheelSteps = 0;
        if (quit) break;
    }
    running_ = false;
}

void Orlop::Put(const InputEvent& event) {
    if (event.input) {
        inputEvent = 1;
        lastDown = event.down;
        lastCode = event.code;
    }
    if (event.key) {
        keyEvent = 1;
        lastKey = event.keyCode;
        lastKeyDown = event.down;
    }
}

void Orlop::Show(const InputEvent& event) {
    if (!everyRelease) return Put(event);
    const bool holdsRelease = (inputEvent && !lastDown) || (keyEvent && !lastKeyDown);
    if (holdsRelease || !waiting_.empty()) {
        // A press after it changes only what is held (already done); a release waits its turn.
        if (!event.down) waiting_.push_back(event);
        return;
    }
    Put(event);
}

void Orlop::EndFrameInput() {
    inputEvent = 0;
    keyEvent = 0;
    if (waiting_.empty()) return;
    Put(waiting_.front());
    waiting_.pop_front();
}

void Orlop::SetVsync(Vsync mode) {
    vsync = mode;
    if (running_ && platform) pacer.Choose(*platform, vsync, paced);
}

void Orlop::SetKeyMap(const KeyMap& map) {
    // A key held across the change would come up as another code and leave this one down.
    keyMap = map;
    std::memset(keys, 0, sizeof keys);
    std::memset(held_, 0, sizeof held_);
}

void Orlop::Shutdown() {
    if (!platform) return;
    renderer.DestroyContext(*platform);
    if (!windowed) {
        platform->RestoreDisplayMode();
        platform->ShowSystemCursor(true);
    }
    platform->DestroyMainWindow();
    window = nullptr;
    instance = nullptr;
}

int64_t Orlop::HandleMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    switch (message) {
        case WM_SIZE:
            renderer.Resize(static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF));
            return 0;
        case WM_SETFOCUS:
            hadFocus = true;
            if (!focused) {
                focused = true;
                if (focusCallback) focusCallback(true);
            }
            return 0;
        case WM_KILLFOCUS:
            if (focused) {
                focused = false;
                if (focusCallback) focusCallback(false);
            }
            return 0;
        case WM_DISPLAYCHANGE:
            // Another refresh rate may want the other pacing.
            if (running_ && platform) pacer.Choose(*platform, vsync, paced);
            return 0;
        case WM_CLOSE:
            if (platform) platform->PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP: {
            InputEvent event;
            event.down = message == WM_KEYDOWN ? 1 : 0;
            event.key = true;
            event.keyCode = static_cast<uint32_t>(wParam);
            // Virtual-key codes are below 256; anything else is not a key this handler
            // knows, and passes as it is.
            if (wParam >= 256) {
                event.input = true;
                event.code = static_cast<uint32_t>(wParam);
                Show(event);
                return 0;
            }
            const uint32_t code = keyMap(static_cast<uint32_t>(wParam));
            held_[wParam] = event.down;
            event.input = code != KeyMap::kDropped;
            event.code = code;
            Show(event);
            if (!event.input) return 0;
            uint8_t any = 0;
            for (uint32_t k = 0; k < 256 && !any; ++k) any = held_[k] && keyMap(k) == code;
            keys[code] = any;
            return 0;
        }
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            return 0;  // nothing else to hand on to
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: {
            const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
            const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
            InputEvent event;
            event.input = true;
            event.code = InputCode(left ? MouseButton::kLeft : right ? MouseButton::kRight : MouseButton::kMiddle);
            event.down = (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) ? 1 : 0;
            uint8_t& button = left ? mouseLeft : right ? mouseRight : mouseMiddle;
            button = event.down;
            Show(event);
            return 0;
        }
        case WM_MOUSEWHEEL: {
            int16_t delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
            wheelSteps = static_cast<int32_t>(delta / 120.0);
            return 0;
        }
        default:
            return 0;  // the default window procedure has nothing to do here
    }
}

#include "Orlop.h"

#include <cstdio>
#include <cstring>

#include "Camera.h"
#include "Culler.h"
#include "Renderer.h"
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
        std::fprintf(stderr, "Brinegate: no platform layer to open a window with\n");
        return false;
    }
    int w = static_cast<int>(width);
    int h = static_cast<int>(height);
    if (!platform->CreateMainWindow(title, w, h, windowed != 0, static_cast<int>(bits))) {
        std::fprintf(stderr, "Brinegate: cannot create the window: %s\n",
                     platform->LastError().c_str());
        return false;
    }
    window = platform;
    platform->ShowSystemCursor(false);
    if (!renderer.CreateContext(*platform)) {
        std::fprintf(stderr, "Brinegate: cannot create the OpenGL context: %s\n",
                     platform->LastError().c_str());
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
        inputEvent = 0;
        keyEvent = 0;
        wheelSteps = 0;
        if (quit) break;
    }
    running_ = false;
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
            const uint8_t down = message == WM_KEYDOWN ? 1 : 0;
            keyEvent = 1;
            lastKey = static_cast<uint32_t>(wParam);
            lastKeyDown = down;
            // Virtual-key codes are below 256; anything else is not a key this handler
            // knows, and passes as it is.
            if (wParam >= 256) {
                inputEvent = 1;
                lastDown = down;
                lastCode = static_cast<uint32_t>(wParam);
                return 0;
            }
            const uint32_t code = keyMap(static_cast<uint32_t>(wParam));
            held_[wParam] = down;
            if (code == KeyMap::kDropped) return 0;
            inputEvent = 1;
            lastDown = down;
            lastCode = code;
            uint8_t any = 0;
            for (uint32_t k = 0; k < 256 && !any; ++k) any = held_[k] && keyMap(k) == code;
            keys[code] = any;
            return 0;
        }
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            return 0;  // nothing else to hand on to
        case WM_LBUTTONDOWN:
            inputEvent = 1;
            lastDown = 1;
            mouseLeft = 1;
            lastCode = 0;
            return 0;
        case WM_LBUTTONUP:
            inputEvent = 1;
            lastCode = 0;
            lastDown = 0;
            mouseLeft = 0;
            return 0;
        case WM_RBUTTONDOWN:
            inputEvent = 1;
            lastDown = 1;
            mouseRight = 1;
            lastCode = 2;
            return 0;
        case WM_RBUTTONUP:
            inputEvent = 1;
            lastCode = 2;
            lastDown = 0;
            mouseRight = 0;
            return 0;
        case WM_MBUTTONDOWN:
            inputEvent = 1;
            lastCode = 1;
            lastDown = 1;
            mouseMiddle = 1;
            return 0;
        case WM_MBUTTONUP:
            inputEvent = 1;
            lastCode = 1;
            lastDown = 0;
            mouseMiddle = 0;
            return 0;
        case WM_MOUSEWHEEL: {
            int16_t delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
            wheelSteps = static_cast<int32_t>(delta / 120.0);
            return 0;
        }
        default:
            return 0;  // the default window procedure has nothing to do here
    }
}

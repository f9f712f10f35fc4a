#include "SdlPlatform.h"

#include <algorithm>
#include <cstdlib>

#include "FrameStep.h"

#ifndef __EMSCRIPTEN__
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <pthread.h>
#include <sched.h>
#endif
#include <signal.h>

namespace {

#ifdef __EMSCRIPTEN__
// A browser has no X: the canvas's own sizes are the real ones.
struct Display;
using XWindow = unsigned long;
bool X11Handles(SDL_Window*, Display*&, XWindow&) { return false; }
#else
using XWindow = ::Window;

// The window's X11 handles, or false under another video driver.
bool X11Handles(SDL_Window* window, Display*& display, ::Window& xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    display = info.info.x11.display;
    xwindow = info.info.x11.window;
    return true;
}
#endif

// SDL turns SIGINT and SIGTERM into a quit; a closed terminal's SIGHUP ends the game the
// same way, through the window's close, so its records and trace log are kept.
volatile sig_atomic_t hungUp = 0;

void OnHangUp(int) { hungUp = 1; }

void CatchHangUp() {
    static bool caught = false;
    if (caught) return;
    caught = true;
    struct sigaction old {};
    // Started under nohup: SIGHUP stays ignored.
    if (sigaction(SIGHUP, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = OnHangUp;
    sigemptyset(&action.sa_mask);
    sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

SdlPlatform::SdlPlatform() = default;

SdlPlatform::~SdlPlatform() {
    DestroyContext();
    DestroyMainWindow();
    if (pad_) SDL_GameControllerClose(pad_);
    if (padInit_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    // The video subsystem stays up until the process ends: quitting it unloads the
    // X libraries SDL opened, which the leak checker then cannot account for.
}

bool SdlPlatform::CreateMainWindow(const std::string& title, int width, int height, bool windowed,
                                   int bits) {
    if (!videoInit_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            lastError_ = std::string("SDL video: ") + SDL_GetError();
            return false;
        }
        videoInit_ = true;
        CatchHangUp();
    }
    // With no display SDL falls back to drivers that draw nowhere; a game nobody can
    // see has failed to start, unless such a driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        !(wanted && SDL_strcasecmp(wanted, driver) == 0)) {
        lastError_ = std::string("no display to open a window on (video driver \"") + driver +
                     "\"; is DISPLAY set?)";
        return false;
    }
    // A pad is welcome but not needed: without its subsystem there is just no pad. Pads
    // already attached announce themselves as added, as later ones do.
    if (!padInit_) padInit_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    // Keep the display awake while the game runs, as the window procedure swallows
    // screen-saver requests.
    SDL_DisableScreenSaver();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    // The drawable's own pixels, not the desktop's scaled points, on high-density screens.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    // Full screen keeps the desktop's own mode; the picture is letterboxed into it.
    if (!windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    fullscreen_ = !windowed;
    (void)bits;  // the desktop keeps its own colour depth too
    pictureWidth_ = width;
    pictureHeight_ = height;
    // The size kept from an earlier run, if any, but no larger than the screen is now.
    int openWidth = startWidth_ > 0 ? startWidth_ : width;
    int openHeight = startHeight_ > 0 ? startHeight_ : height;
    SDL_Rect screen;
    if (SDL_GetDisplayUsableBounds(0, &screen) == 0 && screen.w > 0 && screen.h > 0) {
        openWidth = std::min(openWidth, screen.w);
        openHeight = std::min(openHeight, screen.h);
    }
    windowedWidth_ = openWidth;
    windowedHeight_ = openHeight;
    // 32 depth bits are asked for; the deepest buffer the driver offers is accepted.
    static const int kDepths[] = {32, 24, 16};
    for (int depth : kDepths) {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
        window_ = SDL_CreateWindow(title.c_str(), 0, 0, openWidth, openHeight, flags);
        if (window_) {
            depthBits_ = depth;
            break;
        }
    }
    if (!window_) {
        lastError_ = std::string("SDL window: ") + SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, std::max(1, width / kMinimumDivisor), std::max(1, height / kMinimumDivisor));
    SDL_RaiseWindow(window_);
    // X tells of every size the window takes, including those SDL drops because it had
    // already assumed them (a window manager granting full screen late).
    Display* display = nullptr;
    XWindow xwindow = 0;
    if (X11Handles(window_, display, xwindow)) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    // A window opened full screen may not have got the screen's size.
    QueueSize();
    return true;
}

bool SdlPlatform::CreateContext() {
    if (!window_) {
        lastError_ = "no window";
        return false;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
        lastError_ = std::string("SDL GL context: ") + SDL_GetError();
        return false;
    }
    SDL_GL_MakeCurrent(window_, context_);
    int got = 0;
    if (SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &got) == 0) depthBits_ = got;
    return true;
}

void SdlPlatform::DestroyContext() {
    if (context_) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
}

void SdlPlatform::DestroyMainWindow() {
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
}

void SdlPlatform::RestoreDisplayMode() {
    if (window_ && fullscreen_) SDL_SetWindowFullscreen(window_, 0);
    fullscreen_ = false;
}

void SdlPlatform::SetFullscreen(bool on) {
    if (!window_ || on == fullscreen_) return;
    if (on) WindowedSize(windowedWidth_, windowedHeight_);
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    fullscreen_ = on;
    // The system may or may not report the new size; the viewport must follow it either way.
    QueueSize();
}

bool SdlPlatform::WindowedSize(int& width, int& height) const {
    if (!window_) return false;
    if (fullscreen_) {
        width = windowedWidth_;
        height = windowedHeight_;
        return true;
    }
    const RealSize real = ReadRealSize(window_);
    width = real.pointsW;
    height = real.pointsH;
    return width > 0 && height > 0;
}

double SdlPlatform::RefreshRate() const {
    SDL_DisplayMode mode;
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0.0;
    return mode.refresh_rate;
}

bool SdlPlatform::SetSwapInterval(int interval) {
    if (SDL_GL_SetSwapInterval(interval) == 0) return true;
    // Some drivers cannot be told at all, but already swap as asked.
    return SDL_GL_GetSwapInterval() == interval;
}

SdlPlatform::RealSize SdlPlatform::ReadRealSize(SDL_Window* window) {
    RealSize size;
#ifndef __EMSCRIPTEN__
    Display* display = nullptr;
    XWindow xwindow = 0;
    XWindowAttributes attributes;
    if (X11Handles(window, display, xwindow) && XGetWindowAttributes(display, xwindow, &attributes)) {
        // X11 has no separate drawable scale: points and pixels are the same.
        size.pixelsW = size.pointsW = attributes.width;
        size.pixelsH = size.pointsH = attributes.height;
        return size;
    }
#endif
    if (window) {
        SDL_GL_GetDrawableSize(window, &size.pixelsW, &size.pixelsH);
        SDL_GetWindowSize(window, &size.pointsW, &size.pointsH);
    }
    return size;
}

void SdlPlatform::QueueSize() {
    if (!window_) return;
    size_ = ReadRealSize(window_);
    WindowMessage m;
    m.message = WM_SIZE;
    m.lParam = MakeLong(static_cast<uint32_t>(size_.pixelsW), static_cast<uint32_t>(size_.pixelsH));
    // One size waiting is enough, and the newest read is the true one.
    if (!pending_.empty() && pending_.back().message == WM_SIZE) pending_.back() = m;
    else pending_.push_back(m);
}

bool SdlPlatform::IsFullscreenToggle(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
    if (e.key.keysym.sym == SDLK_F11) return true;
    return (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) &&
           (e.key.keysym.mod & KMOD_ALT) != 0;
}

void SdlPlatform::Absorb(const SDL_Event& e) {
    if (IsFullscreenToggle(e)) {
        if (e.type == SDL_KEYDOWN && !e.key.repeat) SetFullscreen(!fullscreen_);
        return;
    }
    if (e.type == SDL_WINDOWEVENT && (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                                      e.window.event == SDL_WINDOWEVENT_RESIZED)) {
        QueueSize();
        return;
    }
#ifndef __EMSCRIPTEN__
    if (e.type == SDL_SYSWMEVENT && e.syswm.msg && e.syswm.msg->subsystem == SDL_SYSWM_X11) {
        // Moves send these too; only a new size matters.
        const XEvent& x = e.syswm.msg->msg.x11.event;
        Display* display = nullptr;
        XWindow xwindow = 0;
        if (x.type == ConfigureNotify && X11Handles(window_, display, xwindow) &&
            x.xconfigure.window == xwindow &&
            (x.xconfigure.width != size_.pixelsW || x.xconfigure.height != size_.pixelsH))
            QueueSize();
        return;
    }
#endif
    if (e.type == SDL_CONTROLLERBUTTONDOWN ||
        (e.type == SDL_CONTROLLERAXISMOTION && std::abs(e.caxis.value) > GamePad::kStickPress))
        padLastUsed_ = true;
    else if (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEWHEEL)
        padLastUsed_ = false;
    if (AbsorbPad(e)) return;
    if (e.type == SDL_MOUSEMOTION) padCursor_ = false;  // the mouse takes the cursor back
    Translate(e, pending_);
}

bool SdlPlatform::AbsorbPad(const SDL_Event& e) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            // The first pad is the one used; others wait until it goes.
            if (!pad_) {
                pad_ = SDL_GameControllerOpen(e.cdevice.which);
                if (pad_) padId_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad_));
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (pad_ && e.cdevice.which == padId_) {
                // Nothing may stay held by a pad that is gone.
                padInput_.ReleaseAll(pending_);
                SDL_GameControllerClose(pad_);
                pad_ = nullptr;
                padId_ = -1;
                OpenAnyPad(e.cdevice.which);
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (pad_ && e.cbutton.which == padId_)
                padInput_.Button(static_cast<SDL_GameControllerButton>(e.cbutton.button),
                                 e.cbutton.state == SDL_PRESSED, pending_);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (pad_ && e.caxis.which == padId_)
                padInput_.Axis(static_cast<SDL_GameControllerAxis>(e.caxis.axis), e.caxis.value, pending_);
            return true;
        default:
            return false;
    }
}

void SdlPlatform::Rumble(float strength, int ms) {
    // Pads without a motor say so and feel nothing.
    if (!pad_ || ms <= 0) return;
    const auto level = static_cast<Uint16>(std::clamp(strength, 0.0f, 1.0f) * 65535.0f);
    SDL_GameControllerRumble(pad_, level, level, static_cast<Uint32>(ms));
}

void SdlPlatform::OpenAnyPad(SDL_JoystickID removed) {
    for (int i = 0; i < SDL_NumJoysticks() && !pad_; ++i) {
        if (!SDL_IsGameController(i) || SDL_JoystickGetDeviceInstanceID(i) == removed) continue;
        pad_ = SDL_GameControllerOpen(i);
        if (pad_) padId_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad_));
    }
}

void SdlPlatform::WaitMessage(int timeoutMs) {
    if (!pending_.empty()) return;
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, timeoutMs)) Absorb(e);
}

void SdlPlatform::ShowSystemCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

bool SdlPlatform::PeekMessage(WindowMessage& out) {
    if (hungUp) {
        hungUp = 0;
        WindowMessage close;
        close.message = WM_CLOSE;
        pending_.push_back(close);
    }
    if (pending_.empty()) {
        SDL_Event e;
        while (pending_.empty() && SDL_PollEvent(&e)) Absorb(e);
    }
    if (pending_.empty()) return false;
    out = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlPlatform::PostQuitMessage(int exitCode) {
    WindowMessage m;
    m.message = WM_QUIT;
    m.wParam = static_cast<uint64_t>(exitCode);
    pending_.push_back(m);
}

Vec2 SdlPlatform::GetCursorPos() {
    if (cursorOverride_) return cursorPos_;
    if (padCursor_) return padCursorPos_;
    return MousePos();
}

Vec2 SdlPlatform::MousePos() const {
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    if (!window_) return Vec2(static_cast<float>(x), static_cast<float>(y));
    // Window points to drawable pixels (they differ on high-density screens), then to
    // the letterboxed picture's own pixels, so aiming is the same at any size. The size
    // is the one last read, as the viewport was set from it.
    const RealSize& s = size_;
    const double px = s.pointsW > 0 ? static_cast<double>(x) * s.pixelsW / s.pointsW : x;
    const double py = s.pointsH > 0 ? static_cast<double>(y) * s.pixelsH / s.pointsH : y;
    return OutputToPicture(FitLetterbox(pictureWidth_, pictureHeight_, s.pixelsW, s.pixelsH),
                           pictureWidth_, pictureHeight_, px, py);
}

void SdlPlatform::SwapBuffers() {
    if (window_) SDL_GL_SwapWindow(window_);
    // The pad's cursor moves once a frame, by the frame step the game moves by, so that
    // its speed does not depend on how often the cursor is read.
    const Vec2 velocity = padInput_.AimVelocity();
    if (velocity.x == 0.0f && velocity.y == 0.0f) return;
    if (!padCursor_) {
        padCursorPos_ = MousePos();
        padCursor_ = true;
    }
    padCursorPos_ = ClampToPicture(padCursorPos_ + velocity * kFrameStep);
}

void SdlPlatform::WarpCursor(Vec2 point) {
    padCursor_ = true;
    padCursorPos_ = ClampToPicture(point);
}

Vec2 SdlPlatform::ClampToPicture(Vec2 p) const {
    if (pictureWidth_ <= 0 || pictureHeight_ <= 0) return p;
    return Vec2(std::clamp(p.x, 0.0f, static_cast<float>(pictureWidth_ - 1)),
                std::clamp(p.y, 0.0f, static_cast<float>(pictureHeight_ - 1)));
}

void SdlPlatform::PinToFirstProcessor() {
#ifndef __EMSCRIPTEN__
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(0, &set);
    pthread_setaffinity_np(pthread_self(), sizeof(set), &set);
#endif
}

uint32_t SdlPlatform::VirtualKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + static_cast<uint32_t>(k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + static_cast<uint32_t>(k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + static_cast<uint32_t>(k - SDLK_KP_1);
    switch (k) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT: case SDLK_RALT: return VK_MENU;
        case SDLK_PAUSE: return VK_PAUSE;
        case SDLK_CAPSLOCK: return VK_CAPITAL;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_KP_0: return VK_NUMPAD0;
        case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
        case SDLK_KP_PLUS: return VK_ADD;
        case SDLK_KP_MINUS: return VK_SUBTRACT;
        case SDLK_KP_PERIOD: return VK_DECIMAL;
        case SDLK_KP_DIVIDE: return VK_DIVIDE;
        case SDLK_SEMICOLON: return VK_OEM_1;
        case SDLK_EQUALS: return VK_OEM_PLUS;
        case SDLK_COMMA: return VK_OEM_COMMA;
        case SDLK_MINUS: return VK_OEM_MINUS;
        case SDLK_PERIOD: return VK_OEM_PERIOD;
        case SDLK_SLASH: return VK_OEM_2;
        case SDLK_BACKQUOTE: return VK_OEM_3;
        case SDLK_LEFTBRACKET: return VK_OEM_4;
        case SDLK_BACKSLASH: return VK_OEM_5;
        case SDLK_RIGHTBRACKET: return VK_OEM_6;
        case SDLK_QUOTE: return VK_OEM_7;
        default: return 0;
    }
}

void SdlPlatform::Translate(const SDL_Event& e, std::deque<WindowMessage>& out) {
    WindowMessage m;
    switch (e.type) {
        case SDL_QUIT:
            m.message = WM_CLOSE;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                m.message = WM_CLOSE;
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                       e.window.event == SDL_WINDOWEVENT_RESIZED) {
                // The viewport wants the drawable's real pixels: a high-density screen has
                // more, and SDL's event may carry a size the window never got.
                int w = e.window.data1, h = e.window.data2;
                if (SDL_Window* window = SDL_GetWindowFromID(e.window.windowID)) {
                    const RealSize real = ReadRealSize(window);
                    w = real.pixelsW;
                    h = real.pixelsH;
                }
                m.message = WM_SIZE;
                m.lParam = MakeLong(static_cast<uint32_t>(w), static_cast<uint32_t>(h));
            } else if (e.window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED) {
                m.message = WM_DISPLAYCHANGE;
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                m.message = WM_SETFOCUS;
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                m.message = WM_KILLFOCUS;
            } else {
                return;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            uint32_t vk = VirtualKey(e.key.keysym.sym);
            if (vk == 0) return;
            m.message = e.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP;
            m.wParam = vk;
            // Bit 30: the key was already down (auto-repeat), as Windows reports it.
            m.lParam = (e.type == SDL_KEYDOWN && e.key.repeat) ? (int64_t{1} << 30) : 0;
            break;
        }
        case SDL_MOUSEMOTION:
            m.message = WM_MOUSEMOVE;
            m.lParam = MakeLong(static_cast<uint32_t>(e.motion.x), static_cast<uint32_t>(e.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            if (e.button.button == SDL_BUTTON_LEFT) m.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            else if (e.button.button == SDL_BUTTON_RIGHT) m.message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            else if (e.button.button == SDL_BUTTON_MIDDLE) m.message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            else return;
            m.lParam = MakeLong(static_cast<uint32_t>(e.button.x), static_cast<uint32_t>(e.button.y));
            break;
        }
        case SDL_MOUSEWHEEL: {
            int notches = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            m.message = WM_MOUSEWHEEL;
            int32_t delta = notches * 120;
            m.wParam = static_cast<uint64_t>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16;
            break;
        }
        default:
            return;
    }
    out.push_back(m);
}

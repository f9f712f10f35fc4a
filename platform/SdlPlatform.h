#pragma once

#include <SDL2/SDL.h>

#include <deque>
#include <string>

#include "GamePad.h"
#include "Platform.h"

// The SDL2 stand-in for the Win32 window, message queue and WGL context.
class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    bool CreateMainWindow(const std::string& title, int width, int height, bool windowed,
                          int bits) override;
    bool CreateContext() override;
    void DestroyContext() override;
    void DestroyMainWindow() override;
    void RestoreDisplayMode() override;
    void ShowSystemCursor(bool show) override;
    bool PeekMessage(WindowMessage& out) override;
    void PostQuitMessage(int exitCode) override;
    Vec2 GetCursorPos() override;
    void SwapBuffers() override;
    void PinToFirstProcessor() override;
    std::string LastError() const override { return lastError_; }
    void WaitMessage(int timeoutMs) override;
    void SetFullscreen(bool on) override;
    bool IsFullscreen() const override { return fullscreen_; }
    void WarpCursor(Vec2 point) override;
    double RefreshRate() const override;
    bool SetSwapInterval(int interval) override;
    bool WindowedSize(int& width, int& height) const override;
    void SetStartSize(int width, int height) override {
        startWidth_ = width;
        startHeight_ = height;
    }

    // The smallest window the player can drag it to: a quarter of the picture a side.
    static constexpr int kMinimumDivisor = 4;
    bool PadLastUsed() const override { return padLastUsed_; }
    void Rumble(float strength, int ms) override;

    // Queues a message as if the system had sent it (scripted runs and tests).
    void InjectMessage(const WindowMessage& msg) { pending_.push_back(msg); }
    // Overrides the cursor position (scripted runs).
    void SetCursorOverride(bool on, Vec2 p) {
        cursorOverride_ = on;
        cursorPos_ = p;
    }
    SDL_Window* Window() const { return window_; }
    int DepthBits() const { return depthBits_; }

    // Translates one SDL event into window messages appended to out; public for tests.
    static void Translate(const SDL_Event& e, std::deque<WindowMessage>& out);
    static uint32_t VirtualKey(SDL_Keycode key);
    // F11 and Alt+Enter (press and release) belong to the window, not the game.
    static bool IsFullscreenToggle(const SDL_Event& e);

private:
    // The size the window really has, drawable pixels and the mouse's points. After a
    // full-screen toggle without a window manager SDL reports the size it asked for,
    // while the window kept its own.
    struct RealSize {
        int pixelsW = 0, pixelsH = 0, pointsW = 0, pointsH = 0;
    };
    static RealSize ReadRealSize(SDL_Window* window);

    // Toggles for a fullscreen key, queues window messages for anything else.
    void Absorb(const SDL_Event& e);
    // Reads the real size into size_ and queues it as WM_SIZE.
    void QueueSize();
    // Pad plugging and input; returns false for events that are not the pad's.
    bool AbsorbPad(const SDL_Event& e);
    // Opens the first attached pad, other than the one just removed.
    void OpenAnyPad(SDL_JoystickID removed);
    // The mouse's position in the picture's pixels.
    Vec2 MousePos() const;
    Vec2 ClampToPicture(Vec2 p) const;

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool videoInit_ = false;
    bool padInit_ = false;
    bool fullscreen_ = false;
    bool cursorOverride_ = false;
    Vec2 cursorPos_;
    int depthBits_ = 0;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    RealSize size_;  // as last read: the mouse is mapped with it once per loop pass
    int startWidth_ = 0;
    int startHeight_ = 0;
    // The window's size (points) before it last went full screen.
    int windowedWidth_ = 0;
    int windowedHeight_ = 0;
    std::deque<WindowMessage> pending_;
    SDL_GameController* pad_ = nullptr;
    SDL_JoystickID padId_ = -1;
    GamePad padInput_;
    // The pad's cursor replaces the mouse's from its first move (or a warp) until the
    // mouse moves again.
    bool padCursor_ = false;
    bool padLastUsed_ = false;
    Vec2 padCursorPos_;
    std::string lastError_;
};

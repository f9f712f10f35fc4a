#pragma once

#include <string>

#include "Vec2.h"
#include "WindowMessages.h"

// What the engine needs from the operating system: a window with a GL context,
// a message queue in window-message form, the cursor and the buffer swap.
class Platform {
public:
    virtual ~Platform() = default;

    // Creates the window whose client area is width x height. Returns false and
    // leaves a reason in LastError() when it cannot.
    virtual bool CreateMainWindow(const std::string& title, int width, int height, bool windowed,
                                  int bits) = 0;
    virtual bool CreateContext() = 0;
    virtual void DestroyContext() = 0;
    virtual void DestroyMainWindow() = 0;
    virtual void RestoreDisplayMode() = 0;
    virtual void ShowSystemCursor(bool show) = 0;

    // Takes one waiting message, if any.
    virtual bool PeekMessage(WindowMessage& out) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    // Cursor position in client pixels.
    virtual Vec2 GetCursorPos() = 0;
    virtual void SwapBuffers() = 0;
    virtual void PinToFirstProcessor() = 0;

    virtual std::string LastError() const = 0;
};

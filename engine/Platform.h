#pragma once

#include <string>

#include "Vec2.h"
#include "WindowMessages.h"

// Where a picture of fixed size sits when scaled to fit an output of another size:
// as large as fits, aspect kept, centred, the rest left as bars. Pixels of the output,
// origin at its top-left corner.
struct Letterbox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// How far past a whole multiple of the picture the output may be and still show it at
// that whole scale (5 %).
constexpr double kWholeScaleSpare = 1.05;

inline Letterbox FitLetterbox(int pictureWidth, int pictureHeight, int outputWidth, int outputHeight) {
    Letterbox box;
    if (outputWidth <= 0 || outputHeight <= 0) return box;  // minimised: nothing to draw into
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        box.width = outputWidth;
        box.height = outputHeight;
        return box;
    }
    const double scaleX = static_cast<double>(outputWidth) / pictureWidth;
    const double scaleY = static_cast<double>(outputHeight) / pictureHeight;
    // An output that holds a whole multiple of the picture, with little to spare, shows
    // it at that whole scale: every picture pixel becomes a square of whole pixels.
    const double fit = scaleX < scaleY ? scaleX : scaleY;
    const int whole = static_cast<int>(fit);
    if (whole >= 1 && fit < whole * kWholeScaleSpare) {
        box.width = pictureWidth * whole;
        box.height = pictureHeight * whole;
    } else if (scaleX <= scaleY) {
        box.width = outputWidth;
        box.height = static_cast<int>(pictureHeight * scaleX + 0.5);
    } else {
        box.width = static_cast<int>(pictureWidth * scaleY + 0.5);
        box.height = outputHeight;
    }
    box.x = (outputWidth - box.width) / 2;
    box.y = (outputHeight - box.height) / 2;
    return box;
}

// A point of the output (top-left origin) in the picture's own pixels; points on the
// bars fall outside 0..picture size.
inline Vec2 OutputToPicture(const Letterbox& box, int pictureWidth, int pictureHeight, double x, double y) {
    if (box.width <= 0 || box.height <= 0) return Vec2(0.0f, 0.0f);
    return Vec2(static_cast<float>((x - box.x) * pictureWidth / box.width),
                static_cast<float>((y - box.y) * pictureHeight / box.height));
}

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

    // Sleeps until a message may be waiting or timeoutMs has passed (the loop calls it
    // while it has nothing to do). Platforms without a way to sleep return at once.
    virtual void WaitMessage(int timeoutMs) { (void)timeoutMs; }
    // Fills the screen in the desktop's own mode, the picture letterboxed, or returns
    // to the window. Platforms without a screen to fill ignore it.
    virtual void SetFullscreen(bool on) { (void)on; }
    virtual bool IsFullscreen() const { return false; }
    // Puts the cursor at a point of the picture (its own pixels), as a pad moving
    // between buttons does; the next GetCursorPos returns it. Ignored without a cursor
    // of its own.
    virtual void WarpCursor(Vec2 point) { (void)point; }

    // The display's refresh rate in Hz; 0 when unknown.
    virtual double RefreshRate() const { return 0.0; }
    // How many refreshes a swap waits for: 0 none, 1 the next. False when the driver
    // keeps another interval. Platforms without a display never wait.
    virtual bool SetSwapInterval(int interval) { return interval == 0; }
    // The window's size in its own points when it is not full screen (the size it
    // returns to from full screen); false without a window that can change size.
    virtual bool WindowedSize(int& width, int& height) const {
        (void)width;
        (void)height;
        return false;
    }
    // The size the next window opens at, in points (0 x 0: the picture's size); one
    // larger than the screen is shrunk to fit it.
    virtual void SetStartSize(int width, int height) {
        (void)width;
        (void)height;
    }
    // True while a pad was the last thing the player used, so prompts name its buttons.
    virtual bool PadLastUsed() const { return false; }
    // Shakes the pad for `ms` milliseconds at `strength` (0 to 1); nothing without a
    // pad, or with one that cannot rumble.
    virtual void Rumble(float strength, int ms) { (void)strength, (void)ms; }
};

#pragma once

#include "SdlPlatform.h"

// The browser page as the platform: SDL2 on the page's canvas. The engine's loop runs
// as it does on the desktop; every swap hands control back to the page until its next
// frame is due, so the page stays alive while the loop never returns. The page (its
// script, web/pre.js) paces the frames at 60 a second on its animation frames.
class WebPlatform : public SdlPlatform {
public:
    WebPlatform();

    void SwapBuffers() override;
    void WaitMessage(int timeoutMs) override;
    // The page shows a new step every 1/60 s whatever the display's rate, so the engine
    // lets the display pace and never waits itself.
    double RefreshRate() const override { return 60.0; }
    bool SetSwapInterval(int interval) override;
    // The browser's own full screen, of the whole page; the canvas follows its size.
    void SetFullscreen(bool on) override;
    bool IsFullscreen() const override;
    void PinToFirstProcessor() override {}

private:
    int interval_ = 0;
};

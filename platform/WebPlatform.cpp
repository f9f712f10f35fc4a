#include "WebPlatform.h"

#include <emscripten.h>

// The page's side of the loop (web/pre.js). After each frame the page says whether it
// wants control back now: synced, always, to wait for the next 1/60 s on its animation
// frames; unsynced (unpaced runs), only now and then, so that long runs stay fast and
// the page still answers. Handing control back unwinds the whole stack, so it is
// asked for only when needed.
EM_JS(int, BrinegateFrameShown, (int synced), { return Module.brinegateFrameShown(synced); });
EM_ASYNC_JS(void, BrinegateYield, (), { await Module.brinegateYield(); });

EM_JS(void, BrinegateSetFullscreen, (int on), { Module.brinegateSetFullscreen(on); });

EM_JS(int, BrinegateIsFullscreen, (), { return document.fullscreenElement ? 1 : 0; });

WebPlatform::WebPlatform() {
    // SDL would yield at every swap by itself; the page's pacing does it instead.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
}

void WebPlatform::SwapBuffers() {
    SdlPlatform::SwapBuffers();
    if (BrinegateFrameShown(interval_ == 1 ? 1 : 0)) BrinegateYield();
}

void WebPlatform::WaitMessage(int timeoutMs) { emscripten_sleep(static_cast<unsigned>(timeoutMs)); }

bool WebPlatform::SetSwapInterval(int interval) {
    interval_ = interval;
    return true;
}

void WebPlatform::SetFullscreen(bool on) { BrinegateSetFullscreen(on ? 1 : 0); }

bool WebPlatform::IsFullscreen() const { return BrinegateIsFullscreen() != 0; }

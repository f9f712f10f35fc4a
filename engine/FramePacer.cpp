#include "FramePacer.h"

#include <strings.h>

#include <cmath>
#include <cstdio>

#include "Platform.h"
#include "Report.h"
#include "Timer.h"

namespace {

bool g_saidNoSync = false;
bool g_saidForcedSync = false;
bool g_saidNotPacing = false;

}  // namespace

const char* VsyncName(Vsync mode) {
    switch (mode) {
        case Vsync::kOn: return "on";
        case Vsync::kOff: return "off";
        default: return "auto";
    }
}

bool VsyncFromName(const std::string& name, Vsync& out) {
    for (Vsync mode : {Vsync::kAuto, Vsync::kOn, Vsync::kOff}) {
        if (strcasecmp(name.c_str(), VsyncName(mode)) == 0) {
            out = mode;
            return true;
        }
    }
    return false;
}

void FramePacer::SayOnce(bool& said, const char* what) {
    if (said) return;
    said = true;
    Report(what);
}

void FramePacer::Choose(Platform& platform, Vsync mode, bool paced) {
    refreshRate_ = platform.RefreshRate();
    const bool sixty = std::fabs(refreshRate_ - 60.0) <= kNearSixty;
    const bool sync = paced && (mode == Vsync::kOn || (mode == Vsync::kAuto && sixty));
    watched_ = 0;
    if (sync) {
        if (platform.SetSwapInterval(1)) {
            interval_ = 1;
            displayPaces_ = sixty;
            timerPaces_ = !sixty;
            return;
        }
        SayOnce(g_saidNoSync, "the graphics driver will not sync the swap to the display; the timer paces the frames");
    }
    interval_ = platform.SetSwapInterval(0) ? 0 : -1;
    // A driver that syncs anyway still shows 60 steps a second when the timer paces them.
    if (interval_ != 0)
        SayOnce(g_saidForcedSync, "the graphics driver syncs every swap to the display and keeps doing so; the timer paces the frames");
    displayPaces_ = false;
    timerPaces_ = paced;
}

void FramePacer::BeforeSwap(Timer& timer) {
    if (timerPaces_) timer.WaitForRate(60.0f);
}

void FramePacer::AfterSwap(Timer& timer) {
    if (!displayPaces_) return;
    const int64_t now = timer.clock();
    if (watched_ == 0) watchStart_ = now;
    if (++watched_ <= kWatchFrames) return;
    // kWatchFrames refreshes at the display's rate, with room for a late one or two.
    const double seconds = static_cast<double>(now - watchStart_) / static_cast<double>(timer.frequency);
    watched_ = 0;
    if (seconds >= 0.8 * kWatchFrames / refreshRate_) return;
    SayOnce(g_saidNotPacing, "the display does not pace the frames as its refresh rate says; the timer paces them");
    displayPaces_ = false;
    timerPaces_ = true;
    // The first wait counts from now, not from before the watch.
    timer.last = now;
}

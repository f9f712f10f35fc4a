#pragma once

#include <cstdint>
#include <string>

class Platform;
class Timer;

// Whether the buffer swap waits for the display's refresh: chosen from its rate, always,
// or never.
enum class Vsync { kAuto, kOn, kOff };

// "auto", "on" or "off".
const char* VsyncName(Vsync mode);
// Reads a name as VsyncName writes it, in any case; false for anything else.
bool VsyncFromName(const std::string& name, Vsync& out);

// Keeps the loop at 60 frames a second, in step with the display where it can.
// A display refreshing at 60 Hz (within kNearSixty) paces the loop itself: every swap
// waits for its refresh and the timer does not wait at all, so each refresh shows a new
// step. At any other rate a timer wait of 1/60 s between frames could only beat against
// the refresh, so the swap goes out at once and the timer alone paces.
class FramePacer {
public:
    static constexpr double kNearSixty = 0.5;  // Hz
    // Frames per watch: a display that should pace but shows them faster is not pacing.
    static constexpr int kWatchFrames = 60;

    // Chooses the swap interval and who paces, for `mode` on the display the platform
    // reports. Not `paced`: frames run back to back, nothing waits. Needs the context.
    void Choose(Platform& platform, Vsync mode, bool paced);
    // Before the swap: the timer's wait, when the timer paces.
    void BeforeSwap(Timer& timer);
    // After the swap: a display meant to pace that lets frames through faster than
    // about 60 a second hands the pacing back to the timer.
    void AfterSwap(Timer& timer);
    // The loop stood still (no focus): the watch starts over.
    void Restart() { watched_ = 0; }

    bool DisplayPaces() const { return displayPaces_; }
    bool TimerPaces() const { return timerPaces_; }
    // The swap interval asked for and granted (0 none, 1 every refresh), or -1 when the
    // driver kept its own.
    int Interval() const { return interval_; }

private:
    // Tells once per run of the program what the driver or display would not do.
    static void SayOnce(bool& said, const char* what);

    bool displayPaces_ = false;
    bool timerPaces_ = true;
    int interval_ = -1;
    double refreshRate_ = 0.0;
    int watched_ = 0;
    int64_t watchStart_ = 0;
};

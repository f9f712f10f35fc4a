// The main loop for ten simulated minutes against a display whose synced swap blocks
// until its next refresh, on a clock the loop's timer reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "FakePlatform.h"
#include "Orlop.h"

namespace {

constexpr int64_t kSecond = 1000000000;
// Clock reads cost a microsecond; sleeps oversleep by 20 to 620, as wake-ups do.
int64_t g_now = 0, g_sleeps = 0;
int64_t Read() { return g_now += 1000; }
void Sleep(int64_t ns) { g_now += ns + 20000 + (++g_sleeps * 104729) % 600000; }

enum Driver { kObliging, kKeepsSync, kCannotSync, kIgnoresSync };

struct SimDisplay : FakePlatform {
    SimDisplay(double rate, double says, Driver kind) : hz(rate), reported(says), driver(kind) {}
    double hz, reported;
    Driver driver;
    int interval = 1;  // the driver's own
    std::vector<double> shown;  // when each step reached the screen, in seconds
    double RefreshRate() const override { return reported; }
    bool SetSwapInterval(int i) override {
        if ((i == 0 && driver == kKeepsSync) || (i == 1 && driver == kCannotSync)) return false;
        interval = i;
        return true;
    }
    void SwapBuffers() override {
        if (interval == 1 && driver != kIgnoresSync)
            g_now = static_cast<int64_t>(std::ceil((std::floor(g_now * hz / kSecond) + 1) * kSecond / hz));
        shown.push_back(static_cast<double>(g_now) / kSecond);
    }
} * g_display;

int32_t Frame(float) {  // 2 to 6 ms of work
    g_now += 2000000 + static_cast<int64_t>(g_display->shown.size() * 7919 % 4000 * 1000);
    return g_now < 600 * kSecond;
}

TEST(SimulatedDisplay, SixtyStepsASecondEachShownOnceAtSixtyHertzAndEvenlyElsewhere) {
    const Vsync kAuto = Vsync::kAuto;
    const double kOneOrTwo = 2 / 75.0 - 1 / 60.0;  // 75 Hz synced: each step one refresh or two
    // Rate, rate reported, driver, choice, interval at the end, worst spacing (0: one a refresh).
    const struct { double hz, reported; Driver driver; Vsync mode; int interval; double worst; } cases[] = {
        {59.94, 59.94, kObliging, kAuto, 1, 0}, {60, 60, kObliging, kAuto, 1, 0}, {60.01, 60.01, kObliging, kAuto, 1, 0},
        {75, 75, kObliging, kAuto, 0, 1e-3}, {120, 120, kObliging, kAuto, 0, 1e-3}, {144, 144, kObliging, kAuto, 0, 1e-3},
        {60, 0, kObliging, kAuto, 0, 1e-3}, {60, 60, kObliging, Vsync::kOff, 0, 1e-3}, {60, 60, kCannotSync, kAuto, 0, 1e-3},
        {60, 60, kIgnoresSync, kAuto, 1, 1e-3}, {75, 75, kKeepsSync, kAuto, 1, kOneOrTwo}, {75, 75, kObliging, Vsync::kOn, 1, kOneOrTwo}};
    orlop.frameCallback = Frame;
    orlop.timer.clock = Read;
    orlop.timer.sleeper = Sleep;
    for (const auto& c : cases) {
        SimDisplay display(c.hz, c.reported, c.driver);
        g_display = &display;
        g_now = orlop.timer.last = 0;
        orlop.platform = &display;
        orlop.vsync = c.mode;
        orlop.Run();
        const double rate = display.shown.size() / (g_now / double(kSecond)), spacing = c.worst == 0 ? 1 / c.hz : 1 / 60.0;
        double worst = 0;  // after the first second
        for (size_t i = 61; i < display.shown.size(); ++i)
            worst = std::max(worst, std::fabs(display.shown[i] - display.shown[i - 1] - spacing));
        SCOPED_TRACE(testing::Message() << c.hz << " Hz, driver " << c.driver << ", " << VsyncName(c.mode));
        EXPECT_NEAR(rate, 60.0, 60.0 * 0.002);
        EXPECT_EQ(display.interval, c.interval);
        EXPECT_EQ(orlop.pacer.DisplayPaces(), c.worst == 0);
        EXPECT_LE(worst, c.worst + 1e-6);
    }
    orlop = Orlop();
}

}  // namespace

// The input handler's message table, the main loop's pumping rules and its pacing, driven by
// scripted window messages and simulated clocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "FakePlatform.h"
#include "Orlop.h"

namespace {

void ResetInput() {
    orlop.inputEvent = 0;
    orlop.lastCode = 0;
    orlop.lastDown = 0;
    std::memset(orlop.keys, 0, sizeof(orlop.keys));
    orlop.mouseLeft = orlop.mouseMiddle = orlop.mouseRight = 0;
    orlop.wheelSteps = 0;
}

uint64_t WheelParam(int delta) {
    return static_cast<uint64_t>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16;
}

// Each message's own effect on the fields, as a frame shows it when it holds that message
// last (the rule of recordings made before every release was shown; MainLoop tests both).
class InputHandler : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInput();
        orlop.platform = &platform;
        orlop.everyRelease = false;
    }
    void TearDown() override {
        orlop.platform = nullptr;
        orlop.everyRelease = true;
    }
    FakePlatform platform;
};

TEST_F(InputHandler, KeyMessagesRecordKeyStateAndLastEvent) {
    EXPECT_EQ(orlop.HandleMessage(WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(orlop.keys['A'], 1);
    EXPECT_EQ(orlop.inputEvent, 1);
    EXPECT_EQ(orlop.lastCode, static_cast<uint32_t>('A'));
    EXPECT_EQ(orlop.lastDown, 1);

    orlop.HandleMessage(WM_KEYDOWN, 'D', 0);
    orlop.HandleMessage(WM_KEYUP, 'A', 0);
    EXPECT_EQ(orlop.keys['A'], 0);
    EXPECT_EQ(orlop.keys['D'], 1) << "another key stays held";
    EXPECT_EQ(orlop.lastCode, static_cast<uint32_t>('A'));
    EXPECT_EQ(orlop.lastDown, 0);
}

TEST_F(InputHandler, MouseButtonsUseCodesZeroOneTwo) {
    struct Case {
        uint32_t down, up;
        uint8_t* flag;
        MouseButton button;
    } cases[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, &orlop.mouseLeft, MouseButton::kLeft},
                 {WM_MBUTTONDOWN, WM_MBUTTONUP, &orlop.mouseMiddle, MouseButton::kMiddle},
                 {WM_RBUTTONDOWN, WM_RBUTTONUP, &orlop.mouseRight, MouseButton::kRight}};
    static_assert(InputCode(MouseButton::kLeft) == 0 && InputCode(MouseButton::kMiddle) == 1 &&
                  InputCode(MouseButton::kRight) == 2);
    for (const Case& c : cases) {
        ResetInput();
        orlop.lastCode = 99;
        orlop.HandleMessage(c.down, 0, 0);
        EXPECT_EQ(*c.flag, 1);
        EXPECT_EQ(orlop.lastCode, InputCode(c.button));
        EXPECT_EQ(orlop.lastDown, 1);
        EXPECT_FALSE(orlop.Released(c.button));
        EXPECT_EQ(orlop.inputEvent, 1);
        orlop.inputEvent = 0;
        orlop.HandleMessage(c.up, 0, 0);
        EXPECT_EQ(*c.flag, 0);
        EXPECT_EQ(orlop.lastCode, InputCode(c.button));
        EXPECT_EQ(orlop.lastDown, 0);
        EXPECT_EQ(orlop.inputEvent, 1);
        EXPECT_TRUE(orlop.Released(c.button));
    }
}

TEST_F(InputHandler, LeftButtonAndKeyCodeZeroAreIndistinguishable) {
    orlop.HandleMessage(WM_KEYDOWN, 0, 0);
    EXPECT_EQ(orlop.lastCode, 0u);
    EXPECT_EQ(orlop.keys[0], 1);
    orlop.HandleMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(orlop.lastCode, 0u);
    EXPECT_EQ(orlop.lastDown, 0);
}

TEST_F(InputHandler, ChosenKeysStandInForTheDesignedOnesAndSharedCodesStayHeldWhileAnyKeyIs) {
    // Steering swapped and repair on 'J': 'R' is then no key at all.
    const uint32_t designed[] = {'A', 'D', 'R'}, chosen[] = {'D', 'A', 'J'};
    KeyMap map;
    map.Rebind(designed, chosen, 3);
    map.Set(VK_GAMEPAD_DPAD_LEFT, 'A');
    orlop.SetKeyMap(map);
    orlop.HandleMessage(WM_KEYDOWN, 'D', 0);
    EXPECT_EQ(orlop.keys['A'], 1);
    EXPECT_EQ(orlop.keys['D'], 0);
    EXPECT_EQ(orlop.lastKey, static_cast<uint32_t>('D')) << "as the keyboard reported it";
    orlop.HandleMessage(WM_KEYDOWN, VK_GAMEPAD_DPAD_LEFT, 0);
    orlop.HandleMessage(WM_KEYUP, 'D', 0);
    EXPECT_EQ(orlop.keys['A'], 1) << "the d-pad still holds it";
    orlop.HandleMessage(WM_KEYUP, VK_GAMEPAD_DPAD_LEFT, 0);
    EXPECT_EQ(orlop.keys['A'], 0);
    orlop.inputEvent = 0;
    orlop.HandleMessage(WM_KEYUP, 'R', 0);
    EXPECT_EQ(orlop.inputEvent, 0) << "a designed key nobody chose is not seen";
    EXPECT_EQ(orlop.keyEvent, 1);
    orlop.HandleMessage(WM_KEYUP, 'J', 0);
    EXPECT_EQ(orlop.lastCode, static_cast<uint32_t>('R'));
    orlop.SetKeyMap(KeyMap());
}

TEST_F(InputHandler, WheelCountsWholeNotchesAndLeavesInputEventAlone) {
    orlop.HandleMessage(WM_MOUSEWHEEL, WheelParam(-120), 0);
    EXPECT_EQ(orlop.wheelSteps, -1);
    EXPECT_EQ(orlop.inputEvent, 0);
    orlop.HandleMessage(WM_MOUSEWHEEL, WheelParam(360), 0);
    EXPECT_EQ(orlop.wheelSteps, 3);
    orlop.HandleMessage(WM_MOUSEWHEEL, WheelParam(100), 0);
    EXPECT_EQ(orlop.wheelSteps, 0) << "less than a notch truncates to zero";
    orlop.HandleMessage(WM_MOUSEWHEEL, WheelParam(-239), 0);
    EXPECT_EQ(orlop.wheelSteps, -1) << "truncation is toward zero";
}

TEST_F(InputHandler, CloseAsksToQuitAndOtherMessagesChangeNothing) {
    orlop.HandleMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(platform.queue.size(), 1u);
    EXPECT_EQ(platform.queue.front().message, static_cast<uint32_t>(WM_QUIT));

    EXPECT_EQ(orlop.HandleMessage(WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(orlop.HandleMessage(WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
    orlop.HandleMessage(WM_MOUSEMOVE, 0, MakeLong(10, 20));
    EXPECT_EQ(orlop.inputEvent, 0);
    EXPECT_EQ(orlop.lastDown, 0);
}

TEST_F(InputHandler, KeyCodesBeyondTheTableAreNotWrittenOutOfBounds) {
    orlop.HandleMessage(WM_KEYDOWN, 300, 0);
    EXPECT_EQ(orlop.lastCode, 300u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(orlop.keys[i], 0) << i;
}

// --- main loop -------------------------------------------------------------

struct LoopLog {
    int frames = 0;
    int result = 1;
    int quitAfter = -1;
    std::vector<int> queueSizes;
    std::vector<uint8_t> inputEvents;
    std::vector<int> wheel;
    std::vector<float> steps;
    std::vector<std::chrono::steady_clock::time_point> times;
    FakePlatform* platform = nullptr;
};
LoopLog* g_log = nullptr;

int32_t RecordingFrame(float dt) {
    ++g_log->frames;
    g_log->queueSizes.push_back(static_cast<int>(g_log->platform->queue.size()));
    g_log->inputEvents.push_back(orlop.inputEvent);
    g_log->wheel.push_back(orlop.wheelSteps);
    g_log->steps.push_back(dt);
    g_log->times.push_back(std::chrono::steady_clock::now());
    if (g_log->frames == g_log->quitAfter) return 0;
    return g_log->result;
}

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInput();
        log.platform = &platform;
        g_log = &log;
        orlop.platform = &platform;
        orlop.frameCallback = RecordingFrame;
    }
    void TearDown() override {
        orlop.platform = nullptr;
        orlop.frameCallback = nullptr;
        g_log = nullptr;
    }
    FakePlatform platform;
    LoopLog log;
};

TEST_F(MainLoop, NoFrameRunsWhileMessagesWait) {
    for (int i = 0; i < 50; ++i) platform.Post(WM_MOUSEMOVE);
    log.quitAfter = 2;
    orlop.Run();
    ASSERT_EQ(log.frames, 2);
    EXPECT_EQ(log.queueSizes[0], 0) << "the first frame waits for the whole flood";
    EXPECT_TRUE(platform.pinned);
}

TEST_F(MainLoop, ZeroResultStillDrawsAndShowsThatFrame) {
    log.quitAfter = 3;
    orlop.Run();
    EXPECT_EQ(log.frames, 3);
    EXPECT_EQ(platform.swaps, 3);
}

TEST_F(MainLoop, QuitMessageEndsTheLoopBeforeAnotherFrame) {
    platform.Post(WM_KEYDOWN, 'A');
    platform.Post(WM_CLOSE);
    orlop.Run();
    EXPECT_EQ(log.frames, 0);
    EXPECT_EQ(platform.swaps, 0);
    EXPECT_EQ(orlop.keys['A'], 1) << "messages before the close were still handled";
}

TEST_F(MainLoop, InputEventAndWheelLastOneFrameAndStepIsConstant) {
    platform.Post(WM_KEYDOWN, 'D');
    platform.Post(WM_MOUSEWHEEL, WheelParam(-120));
    log.quitAfter = 2;
    orlop.Run();
    ASSERT_EQ(log.frames, 2);
    EXPECT_EQ(log.inputEvents[0], 1);
    EXPECT_EQ(log.wheel[0], -1);
    EXPECT_EQ(log.inputEvents[1], 0);
    EXPECT_EQ(log.wheel[1], 0);
    EXPECT_EQ(orlop.keys['D'], 1) << "a held key stays down across frames";
    for (float s : log.steps) EXPECT_EQ(s, 0.016666668f);
}

// Two releases in one frame (a tap-to-click with a key let go) reach the game in order,
// one a frame, and a press after them hides neither; held state changes at once as
// before. Recordings made before this rule play with the frame's last event only.
std::vector<std::vector<uint32_t>> g_seen;

TEST_F(MainLoop, TwoReleasesInOneFrameReachTheGameInOrderOneAFrame) {
    orlop.frameCallback = [](float) -> int32_t {
        g_seen.push_back({orlop.inputEvent, orlop.lastDown, orlop.lastCode});
        return g_seen.size() < 3 ? 1 : 0;
    };
    for (const bool every : {true, false}) {
        g_seen.clear();
        orlop.everyRelease = every;
        for (uint32_t m : {WM_LBUTTONDOWN, WM_KEYDOWN, WM_LBUTTONUP, WM_KEYUP}) platform.Post(m, m >= WM_LBUTTONDOWN ? 0 : 'R');
        platform.Post(WM_KEYDOWN, 'D');
        orlop.Run();
        EXPECT_TRUE(orlop.keys['D'] == 1 && orlop.keys['R'] == 0 && orlop.mouseLeft == 0);
        const std::vector<std::vector<uint32_t>> expected =
            every ? std::vector<std::vector<uint32_t>>{{1, 0, 0}, {1, 0, 'R'}, {0, 0, 'R'}}
                  : std::vector<std::vector<uint32_t>>{{1, 1, 'D'}, {0, 1, 'D'}, {0, 1, 'D'}};
        EXPECT_EQ(g_seen, expected) << (every ? "every release" : "last event only");
        orlop.keys['D'] = 0;
    }
    orlop.everyRelease = true;
}

// A clock the test controls: each read costs a microsecond, each sleep oversleeps a little.
struct FakeTime {
    static int64_t now;
    static int reads;
    static int sleeps;
    static int64_t Read() {
        ++reads;
        return now += 1000;
    }
    static void Sleep(int64_t ns) {
        ++sleeps;
        now += ns + 80000;
    }
};
int64_t FakeTime::now = 0;
int FakeTime::reads = 0;
int FakeTime::sleeps = 0;

std::vector<int64_t> g_waitEnds;
std::vector<int64_t> g_works;

int32_t TimedFrame(float) {
    g_waitEnds.push_back(orlop.timer.last);
    // Frames of varying work, some longer than a whole period.
    const int64_t work = (static_cast<int64_t>(g_waitEnds.size()) * 7000000) % 23000000;
    g_works.push_back(work);
    FakeTime::now += work;
    return g_waitEnds.size() < 40 ? 1 : 0;
}

TEST_F(MainLoop, WaitEndsAreAtLeastASixtiethApartAndMostOfTheWaitIsSlept) {
    const int64_t period = static_cast<int64_t>(std::ceil(static_cast<double>(1.0f / 60.0f) * 1e9));
    g_waitEnds.clear();
    g_works.clear();
    orlop.frameCallback = TimedFrame;
    orlop.timer.clock = &FakeTime::Read;
    orlop.timer.sleeper = &FakeTime::Sleep;
    orlop.timer.last = FakeTime::now;
    FakeTime::reads = 0;
    orlop.Run();
    orlop.timer.clock = &Timer::Now;
    orlop.timer.sleeper = &Timer::Sleep;
    orlop.timer.last = Timer::Now();
    ASSERT_EQ(g_waitEnds.size(), 40u);
    for (size_t i = 1; i < g_waitEnds.size(); ++i) {
        const int64_t gap = g_waitEnds[i] - g_waitEnds[i - 1];
        EXPECT_GE(gap, period) << "frame " << i;
        // The wait ends soon after the period (or at once after a long frame): the
        // sleep never carries it past the spun stretch.
        EXPECT_LT(gap, std::max(period, g_works[i - 1]) + 200000) << "frame " << i;
    }
    EXPECT_GT(FakeTime::sleeps, 0);
    // Spinning the whole wait would read the clock about 16000 times a frame.
    EXPECT_LT(FakeTime::reads, 40 * 1500) << "the wait spins only its last stretch";
}

TEST_F(MainLoop, WaitEndsOnTheRealClockAreAtLeastASixtiethApart) {
    const int64_t period = static_cast<int64_t>(std::ceil(static_cast<double>(1.0f / 60.0f) * 1e9));
    g_waitEnds.clear();
    orlop.frameCallback = [](float) -> int32_t {
        g_waitEnds.push_back(orlop.timer.last);
        return g_waitEnds.size() < 6 ? 1 : 0;
    };
    orlop.Run();
    ASSERT_EQ(g_waitEnds.size(), 6u);
    for (size_t i = 1; i < g_waitEnds.size(); ++i)
        EXPECT_GE(g_waitEnds[i] - g_waitEnds[i - 1], period) << "frame " << i;
}

TEST(OrlopInit, FailedWindowOrContextIsReportedNotIgnored) {
    FakePlatform platform;
    orlop.platform = &platform;
    platform.windowOk = false;
    EXPECT_FALSE(orlop.Init());
    platform.windowOk = true;
    platform.contextOk = false;
    EXPECT_FALSE(orlop.Init());
    EXPECT_EQ(platform.windowsDestroyed, 1) << "the window made before the context failed is closed";
    orlop.platform = nullptr;
}

TEST(Timer, ElapsedMeasuresSinceThePreviousCall) {
    Timer t;
    float waited = t.WaitForRate(20.0f);
    EXPECT_GE(waited, 0.05f);
    float next = t.Elapsed();
    EXPECT_LT(next, waited) << "each call restarts the measurement";
}

constexpr int64_t kSecond = 1000000000;
enum Driver { kObliging, kKeepsSync, kCannotSync, kIgnoresSync };

// A display whose synced swap blocks until its next refresh, on the clock the timer reads.
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
            FakeTime::now = static_cast<int64_t>(std::ceil((std::floor(FakeTime::now * hz / kSecond) + 1) * kSecond / hz));
        shown.push_back(static_cast<double>(FakeTime::now) / kSecond);
    }
} * g_display;

int32_t Frame(float) {  // 2 to 6 ms of work
    FakeTime::now += 2000000 + static_cast<int64_t>(g_display->shown.size() * 7919 % 4000 * 1000);
    return FakeTime::now < 600 * kSecond;
}

// Ten simulated minutes a case.
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
    orlop.timer.clock = &FakeTime::Read;
    orlop.timer.sleeper = &FakeTime::Sleep;
    for (const auto& c : cases) {
        SimDisplay display(c.hz, c.reported, c.driver);
        g_display = &display;
        FakeTime::now = orlop.timer.last = 0;
        orlop.platform = &display;
        orlop.vsync = c.mode;
        orlop.Run();
        const double rate = display.shown.size() / (FakeTime::now / double(kSecond)), spacing = c.worst == 0 ? 1 / c.hz : 1 / 60.0;
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

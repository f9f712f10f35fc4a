// A pad reaches the game as key and mouse-button messages and aims by moving the cursor
// once a frame; driven through the real platform layer with SDL's virtual joysticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "GlTestContext.h"
#include "Orlop.h"
#include "SdlPlatform.h"
#include "VirtualPad.h"

namespace {

using Messages = std::vector<std::pair<uint32_t, uint64_t>>;  // message, wParam
const Messages::value_type kFire{WM_LBUTTONDOWN, 0}, kFired{WM_LBUTTONUP, 0};

using virtualpad::Plug;
using virtualpad::Unplug;

class PadPlatform : public testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // Xvfb may give the focus to none
        REQUIRE_GL();
        ASSERT_NE(platform = dynamic_cast<SdlPlatform*>(orlop.platform), nullptr);
        ASSERT_NE(pad = Plug(), nullptr) << SDL_GetError();  // while the platform runs
        Drain();
    }
    void TearDown() override { if (pad) Unplug(pad); }
    Messages Drain() {
        Messages got;
        for (WindowMessage m; platform->PeekMessage(m);)
            if (m.message >= WM_KEYDOWN && m.message != WM_MOUSEMOVE) got.emplace_back(m.message, m.wParam);
        return got;
    }
    SdlPlatform* platform = nullptr;
    SDL_Joystick* pad = nullptr;
};

TEST_F(PadPlatform, TriggersAndAChargeAndFireAndAnUnplugLetsGoOfAllForTheNextPad) {
    SDL_Joystick* second = Plug();
    const auto rt = SDL_CONTROLLER_AXIS_TRIGGERRIGHT;  // released at -32768, held at 32767
    SDL_JoystickSetVirtualAxis(pad, rt, 32767);
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_B, 1);  // the first pad is the one used
    EXPECT_EQ(Drain(), Messages{kFire});
    SDL_JoystickSetVirtualAxis(pad, rt, -32768);
    EXPECT_EQ(Drain(), Messages{kFired});
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    SDL_JoystickSetVirtualAxis(pad, rt, 32767);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(Drain(), (Messages{{WM_RBUTTONDOWN, 0}, kFire})) << "one fire for trigger and A";
    Unplug(pad);
    pad = second;
    Messages released = Drain();  // by SDL or the platform, in either order, but once
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (Messages{kFired, {WM_RBUTTONUP, 0}}));
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(Drain(), Messages{kFire}) << "the next pad, with nothing held";
}

TEST_F(PadPlatform, LeftStickSteersWithKeysHeldWhilePastTheDeadZone) {
    const uint64_t left = VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, right = VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT;
    const Sint16 x[] = {-7000, -20000, 32767, 0};  // the first inside the dead zone
    const Messages steps[] = {{}, {{WM_KEYDOWN, left}}, {{WM_KEYUP, left}, {WM_KEYDOWN, right}}, {{WM_KEYUP, right}}};
    for (int i = 0; i < 4; ++i) {
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, x[i]);
        EXPECT_EQ(Drain(), steps[i]) << x[i];
    }
}

TEST_F(PadPlatform, RightStickAimsTheCursorOnceAFrameUntilTheMouseMoves) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    const Vec2 mouse = platform->GetCursorPos();
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    Drain();
    EXPECT_EQ(platform->GetCursorPos(), mouse) << "moves with frames, not with reads";
    for (int i = 0; i < 3; ++i) platform->SwapBuffers();
    EXPECT_EQ(platform->GetCursorPos().y, mouse.y);
    EXPECT_NEAR(platform->GetCursorPos().x, std::min(mouse.x + 3 * GamePad::kAimSpeed * kFrameStep, 799.0f), 0.01f);
    platform->WarpCursor(Vec2(-50, 900));
    EXPECT_EQ(platform->GetCursorPos(), Vec2(0, 599)) << "kept in the picture";
    SDL_PushEvent(&motion);
    Drain();
    EXPECT_EQ(platform->GetCursorPos(), mouse);
}

}  // namespace

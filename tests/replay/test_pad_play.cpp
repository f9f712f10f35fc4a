// A game played with a pad alone, through the real platform layer and SDL's virtual
// joystick: the d-pad and A start it from the menu, the left stick steers, the right
// stick aims, the right trigger charges and fires, an unplug while charging lets go, the
// first level is won, and B goes back to the menu and quits. Its recording replays to
// the same state without the pad.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Box.h"
#include "DigestRun.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "SdlPlatform.h"
#include "VirtualPad.h"
#include "app/Program.h"
#include "defences/Tower.h"
#include "play/Game.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"
#include "ui/MenuButton.h"

namespace {

// The real platform, pad and cursor included, with a script run once a frame.
struct PadSession : SdlPlatform {
    void SwapBuffers() override {
        if (step) step(++frame);
        SdlPlatform::SwapBuffers();
    }
    int frame = 0;
    std::function<void(int)> step;
};

using virtualpad::Plug;
using virtualpad::Unplug;

TEST(PadPlay, APadAloneStartsPlaysAndLeavesAGameThatReplaysToTheSameState) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // Xvfb may give the focus to none
    Options record;
    record.recordPath = "pad.rec";
    record.hasSeed = true;
    record.seed = 77;
    record.frames = 6000;  // a cap: the run ends when the pad quits
    SDL_Joystick* pad = nullptr;
    std::vector<std::string> seen;
    int playing = 0, levelAt = 0;
    float shipX = 0;
    Vec2 aim;
    PadSession live;
    live.step = [&](int frame) {
        Game* game = Program::RunningGame();
        auto button = [&](SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(pad, b, down); };
        auto axis = [&](SDL_GameControllerAxis a, int value) { SDL_JoystickSetVirtualAxis(pad, a, value); };
        if (frame == 2) pad = Plug();
        if (frame == 10) button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        if (frame == 12) button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
        if (frame == 14 && BoxContains(game->playButton->GetCorners(), orlop.mousePosition)) seen.push_back("on Play!");
        if (frame == 16) button(SDL_CONTROLLER_BUTTON_A, true);
        if (frame == 18) button(SDL_CONTROLLER_BUTTON_A, false);
        if (playing == 0 && game->phase == Game::kPlaying) {
            playing = frame;
            seen.push_back("playing");
        }
        if (playing == 0) return;
        MerchantShip* ship = game->playerShip.Get();
        const int at = frame - playing;
        if (at == 10) {
            shipX = ship->GetPosition()->x;
            aim = orlop.mousePosition;
            axis(SDL_CONTROLLER_AXIS_LEFTX, -32767);
            axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
            axis(SDL_CONTROLLER_AXIS_RIGHTY, -32767);
        }
        if (at == 70) {
            axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
            axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
            axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
            if (ship->GetPosition()->x < shipX - 20.0f) seen.push_back("steered left");
            if (orlop.mousePosition.x > aim.x + 100.0f && orlop.mousePosition.y < aim.y) seen.push_back("aimed");
        }
        // The charge grows from 1 while held and is back at 1 once fired.
        if (at == 80) axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
        if (at == 120 && ship->cannon.Get()->charge > 1.5f) seen.push_back("charged");
        if (at == 120) axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        if (at == 122 && ship->cannon.Get()->charge == 1.0f) seen.push_back("fired");
        if (at == 130) axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
        if (at == 150) Unplug(pad);
        if (at == 152 && orlop.mouseLeft == 0) seen.push_back("let go");
        if (at == 160) pad = Plug();
        // Then the level: steer onto the tower and hold there, repairing now and then,
        // until it is taken and the next level begins.
        if (at > 170 && levelAt == 0 && ship) {
            const float dx = (*game->towers.Begin())->GetPosition()->x - ship->GetPosition()->x;
            axis(SDL_CONTROLLER_AXIS_LEFTX, dx < -40.0f ? -32767 : dx > 40.0f ? 32767 : 0);
            button(SDL_CONTROLLER_BUTTON_X, at % 60 < 2);
        }
        if (levelAt == 0 && game->level == 2) {
            levelAt = at;
            seen.push_back("level 2");
            axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        }
        if (levelAt == 0) return;
        // B goes back to the menu, and there, as Escape, quits.
        if (at == levelAt + 10 || at == levelAt + 20) button(SDL_CONTROLLER_BUTTON_B, true);
        if (at == levelAt + 12 || at == levelAt + 22) button(SDL_CONTROLLER_BUTTON_B, false);
        if (at == levelAt + 14 && game->phase == Game::kMenu) seen.push_back("menu");
    };
    int status = -1;
    const std::string recorded = Digest(record, live, status);
    if (pad) Unplug(pad);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"on Play!", "playing", "steered left", "aimed", "charged", "fired",
                                              "let go", "level 2", "menu"}));

    Options replay;
    replay.replayPath = "pad.rec";
    SdlPlatform noPad;
    const std::string replayed = Digest(replay, noPad, status);
    EXPECT_EQ(status, 0) << "1 would mean the replay missed the recorded state";
    EXPECT_EQ(replayed, recorded);
}

}  // namespace

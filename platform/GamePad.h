#pragma once

#include <SDL2/SDL_gamecontroller.h>

#include <deque>

#include "Vec2.h"
#include "WindowMessages.h"

// Turns one pad's buttons and axes into the window messages of keys and mouse buttons,
// so the game and its recordings see a pad as they see a keyboard and mouse:
//   A, right trigger     left mouse button (charge and fire; click in menus)
//   left trigger         right mouse button
//   B, Back              Escape
//   X, Y, Start, d-pad   VK_GAMEPAD_X, _Y, _MENU, _DPAD_*
//   left stick           VK_GAMEPAD_LEFT_THUMBSTICK_* per direction past the dead zone
//   right stick          no messages: AimVelocity() for the platform's cursor
// Messages that two inputs share go down with the first and up with the last.
class GamePad {
public:
    // Triggers read 0..32767; hysteresis keeps a trigger resting near one edge from
    // chattering.
    static constexpr int kTriggerPress = 16000;
    static constexpr int kTriggerRelease = 8000;
    // Stick axes read -32768..32767.
    static constexpr int kStickPress = 8000;
    static constexpr int kStickRelease = 6000;
    static constexpr int kAimDeadZone = 8000;
    // The cursor's speed at full deflection, picture pixels per second.
    static constexpr float kAimSpeed = 700.0f;

    void Button(SDL_GameControllerButton button, bool down, std::deque<WindowMessage>& out);
    void Axis(SDL_GameControllerAxis axis, Sint16 value, std::deque<WindowMessage>& out);
    // Lets go of everything held (the pad is gone): one release per message held.
    void ReleaseAll(std::deque<WindowMessage>& out);

    // The right stick's cursor velocity, picture pixels per second: zero inside the dead
    // zone (round, so diagonals aim true), growing linearly to kAimSpeed at full deflection.
    Vec2 AimVelocity() const;

private:
    // What the pad can hold down; each counts the inputs holding it.
    enum Output {
        kLeftButton,
        kRightButton,
        kEscape,
        kKeyX,
        kKeyY,
        kKeyMenu,
        kDpadUp,
        kDpadDown,
        kDpadLeft,
        kDpadRight,
        kStickLeft,
        kStickRight,
        kStickUp,
        kStickDown,
        kOutputCount,
        kNone = kOutputCount
    };
    // Inputs other than buttons that hold an output: the triggers and stick directions.
    enum AxisInput { kLeftTrigger, kRightTrigger, kLeft, kRight, kUp, kDown, kAxisInputCount };

    static Output ButtonOutput(SDL_GameControllerButton button);
    // Sets an input held or not, pressing or releasing its output on a change.
    void Hold(bool& held, bool down, Output output, std::deque<WindowMessage>& out);
    void Emit(Output output, bool down, std::deque<WindowMessage>& out) const;
    void Trigger(AxisInput input, Output output, int value, std::deque<WindowMessage>& out);
    // One stick axis: releases before it presses, so a flick across lets go of one side first.
    void Stick(AxisInput negative, AxisInput positive, int value, std::deque<WindowMessage>& out);

    int holders_[kOutputCount] = {};
    bool buttonHeld_[SDL_CONTROLLER_BUTTON_MAX] = {};
    bool axisHeld_[kAxisInputCount] = {};
    int aimX_ = 0;
    int aimY_ = 0;
};

#include "GamePad.h"

#include <cmath>

namespace {

struct OutputMessages {
    uint32_t down;
    uint32_t up;
    uint32_t key;  // wParam of key messages
};

// Indexed by GamePad::Output.
const OutputMessages kMessages[] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, 0},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, 0},
    {WM_KEYDOWN, WM_KEYUP, VK_ESCAPE},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_X},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_Y},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_MENU},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_DPAD_UP},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_DPAD_DOWN},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_DPAD_LEFT},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_DPAD_RIGHT},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_LEFT_THUMBSTICK_UP},
    {WM_KEYDOWN, WM_KEYUP, VK_GAMEPAD_LEFT_THUMBSTICK_DOWN},
};

}  // namespace

GamePad::Output GamePad::ButtonOutput(SDL_GameControllerButton button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return kLeftButton;
        case SDL_CONTROLLER_BUTTON_B: case SDL_CONTROLLER_BUTTON_BACK: return kEscape;
        case SDL_CONTROLLER_BUTTON_X: return kKeyX;
        case SDL_CONTROLLER_BUTTON_Y: return kKeyY;
        case SDL_CONTROLLER_BUTTON_START: return kKeyMenu;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return kDpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return kDpadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return kDpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return kDpadRight;
        default: return kNone;
    }
}

void GamePad::Emit(Output output, bool down, std::deque<WindowMessage>& out) const {
    WindowMessage m;
    m.message = down ? kMessages[output].down : kMessages[output].up;
    m.wParam = kMessages[output].key;
    out.push_back(m);
}

void GamePad::Hold(bool& held, bool down, Output output, std::deque<WindowMessage>& out) {
    if (held == down) return;
    held = down;
    if (down) {
        if (holders_[output]++ == 0) Emit(output, true, out);
    } else if (holders_[output] > 0 && --holders_[output] == 0) {
        Emit(output, false, out);
    }
}

void GamePad::Button(SDL_GameControllerButton button, bool down, std::deque<WindowMessage>& out) {
    const Output output = ButtonOutput(button);
    if (output == kNone || button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return;
    Hold(buttonHeld_[button], down, output, out);
}

void GamePad::Trigger(AxisInput input, Output output, int value, std::deque<WindowMessage>& out) {
    const bool held = axisHeld_[input];
    Hold(axisHeld_[input], held ? value >= kTriggerRelease : value > kTriggerPress, output, out);
}

void GamePad::Stick(AxisInput negative, AxisInput positive, int value, std::deque<WindowMessage>& out) {
    const bool negativeDown = axisHeld_[negative] ? value <= -kStickRelease : value < -kStickPress;
    const bool positiveDown = axisHeld_[positive] ? value >= kStickRelease : value > kStickPress;
    // Stick inputs hold the output of the same name, in the same order.
    const Output negativeOut = static_cast<Output>(kStickLeft + (negative - kLeft));
    const Output positiveOut = static_cast<Output>(kStickLeft + (positive - kLeft));
    if (!negativeDown) Hold(axisHeld_[negative], false, negativeOut, out);
    if (!positiveDown) Hold(axisHeld_[positive], false, positiveOut, out);
    if (negativeDown) Hold(axisHeld_[negative], true, negativeOut, out);
    if (positiveDown) Hold(axisHeld_[positive], true, positiveOut, out);
}

void GamePad::Axis(SDL_GameControllerAxis axis, Sint16 value, std::deque<WindowMessage>& out) {
    switch (axis) {
        case SDL_CONTROLLER_AXIS_TRIGGERLEFT: Trigger(kLeftTrigger, kRightButton, value, out); break;
        case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: Trigger(kRightTrigger, kLeftButton, value, out); break;
        case SDL_CONTROLLER_AXIS_LEFTX: Stick(kLeft, kRight, value, out); break;
        case SDL_CONTROLLER_AXIS_LEFTY: Stick(kUp, kDown, value, out); break;  // y grows downwards
        case SDL_CONTROLLER_AXIS_RIGHTX: aimX_ = value; break;
        case SDL_CONTROLLER_AXIS_RIGHTY: aimY_ = value; break;
        default: break;
    }
}

void GamePad::ReleaseAll(std::deque<WindowMessage>& out) {
    for (int o = 0; o < kOutputCount; ++o) {
        if (holders_[o] > 0) Emit(static_cast<Output>(o), false, out);
        holders_[o] = 0;
    }
    for (bool& held : buttonHeld_) held = false;
    for (bool& held : axisHeld_) held = false;
    aimX_ = aimY_ = 0;
}

Vec2 GamePad::AimVelocity() const {
    const double x = aimX_, y = aimY_;
    const double length = std::sqrt(x * x + y * y);
    if (length <= kAimDeadZone) return Vec2();
    // A round stick's corners read past 32767; they go no faster than its edge.
    const double beyond = (std::fmin(length, 32767.0) - kAimDeadZone) / (32767.0 - kAimDeadZone);
    const double scale = kAimSpeed * beyond / length;
    return Vec2(static_cast<float>(x * scale), static_cast<float>(y * scale));
}

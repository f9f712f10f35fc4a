#pragma once

#include <cstdint>

#include "MouseButton.h"
#include "Vec2.h"

class GameFields;
class MerchantShip;

// What the player's keys and buttons do in play: fire, repair, take gold, surge the
// ghost sea, toggle the seas, charge the cannon and steer. It remembers what the player
// has done once, for the hints.
class PlayerInput {
public:
    // Key codes of play (virtual-key codes of the letters are their capitals).
    static constexpr uint32_t kLeftButton = InputCode(MouseButton::kLeft);
    static constexpr uint32_t kRightButton = InputCode(MouseButton::kRight);
    static constexpr uint32_t kRepairKey = 'R';
    static constexpr uint32_t kGoldKey = 'M';

    // This frame's released key or button, if any; `topLeft` is the camera's corner
    // at the frame's start. True when the player toggles the seas, which the game does.
    bool Press(GameFields& game, MerchantShip* ship, float dt, Vec2 topLeft);
    // The held mouse button charges the cannon.
    static void Charge(MerchantShip& ship, float dt);
    static bool Steering();
    void Steer(MerchantShip& ship, float dt);
    // The hints (bits of Settings::kHint...) the player's own input has done.
    uint32_t HintsDone() const;
    // True when the player last used a pad rather than the keyboard or mouse.
    static bool PadUsed();

private:
    // The ghost sea's right button: a wave where the cursor is, at a cost of health.
    static void Surge(GameFields& game, MerchantShip* ship, float dt, Vec2 topLeft);

    float steered_ = 0.0f;  // seconds of steering
    bool firedOnce_ = false;
    bool toggledOnce_ = false;
};

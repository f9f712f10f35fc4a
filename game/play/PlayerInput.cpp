#include "play/PlayerInput.h"

#include <algorithm>

#include "Camera.h"
#include "Orlop.h"
#include "play/GameFields.h"
#include "sea/Water.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"
#include "store/Settings.h"

bool PlayerInput::Press(GameFields& game, MerchantShip* ship, float dt, Vec2 topLeft) {
    if (orlop.inputEvent != 1 || orlop.lastDown != 0) return false;
    switch (orlop.lastCode) {
        case kLeftButton:
            if (ship) ship->FireCannon();
            firedOnce_ = firedOnce_ || ship;
            camera.shakeTime = 0.1f;
            camera.shakeMagnitude = 1.0f;
            break;
        case kRepairKey:
            if (ship) ship->Repair();
            break;
        case kGoldKey:
            if (ship) ship->AddGold(50);
            break;
        case kRightButton:
            if (game.seaMode == Sea::kGhost) Surge(game, ship, dt, topLeft);
            break;
        case VK_SPACE:
            toggledOnce_ = true;
            return true;
        default:
            break;
    }
    return false;
}

void PlayerInput::Surge(GameFields& game, MerchantShip* ship, float dt, Vec2 topLeft) {
    camera.shakeTime = 0.05f;
    camera.shakeMagnitude = 1.0f;
    if (ship) ship->AddHealth(-1.0f);
    Water* sea = game.sea;
    sea->Surge(30.0f * dt, orlop.mousePosition.x + topLeft.x);
    if (sea->frozen) {
        // A held sea would not show the surge: run it on the spot.
        for (int i = 0; i < 16; ++i) sea->Update(0.016f);
        sea->frozen = 1;
    }
}

void PlayerInput::Charge(MerchantShip& ship, float dt) {
    Cannon* cannon = ship.cannon.Get();
    if (orlop.mouseLeft && cannon) cannon->charge = std::min(cannon->charge + dt, cannon->maxCharge);
}

bool PlayerInput::Steering() { return orlop.keys['A'] || orlop.keys['D']; }

void PlayerInput::Steer(MerchantShip& ship, float dt) {
    if (Steering()) steered_ += dt;
    if (orlop.keys['A']) ship.SteerLeft(dt);
    if (orlop.keys['D']) ship.SteerRight(dt);
}

uint32_t PlayerInput::HintsDone() const {
    uint32_t done = 0;
    if (steered_ >= 1.0f) done |= 1u << Settings::kHintSteer;
    if (firedOnce_) done |= 1u << Settings::kHintFire;
    if (toggledOnce_) done |= 1u << Settings::kHintSea;
    return done;
}

bool PlayerInput::PadUsed() { return orlop.platform && orlop.platform->PadLastUsed(); }

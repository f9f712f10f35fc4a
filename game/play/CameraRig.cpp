#include "play/CameraRig.h"

#include <cmath>

#include "Camera.h"
#include "sea/SeaBounds.h"
#include "ships/MerchantShip.h"

void CameraRig::Follow(MerchantShip& ship, Vec2 topLeft) {
    const float x = ship.GetPosition()->x;
    if (x >= -SeaBounds::kFollowX && x <= SeaBounds::kFollowX) {
        camera.targetPosition = Vec2(x - 400.0f, 0.0f);
    } else if (x > SeaBounds::kFollowX) {
        camera.targetPosition = Vec2(SeaBounds::kFollowX - 400.0f, topLeft.y);
        if (x > SeaBounds::kWrapX) ship.SetPosition(Vec2(-SeaBounds::kWrapToX, 0.0f));
    } else if (x < -SeaBounds::kFollowX) {
        camera.targetPosition = Vec2(-SeaBounds::kFollowX - 400.0f, topLeft.y);
        if (x < -SeaBounds::kWrapX) ship.SetPosition(Vec2(SeaBounds::kWrapToX, 0.0f));
    }
}

void CameraRig::Zoom(const MerchantShip& ship, bool steering) {
    const float s = std::fabs(ship.velocity.x) / 5000.0f;
    camera.targetZoom = steering ? Vec2(1.0f + s, 1.0f - s) : Vec2(1.0f, 1.0f);
}

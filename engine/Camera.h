#pragma once

#include "Box.h"
#include "Singleton.h"
#include "Vec2.h"

// The world rectangle on screen; follows a target with shake and zoom.
class Camera : public singleton<Camera> {
public:
    Camera();

    void SetView(const Vec2& centre, const Vec2& size);
    Vec2 GetTopLeft() const { return corners[kTopLeft]; }
    // Moves the view and multiplies the view transform onto the modelview matrix.
    void Update(float dt);
    // Where a world point shows in window pixels in the view drawn (the shake's
    // one-degree tilt left out).
    Vec2 WorldToScreen(const Vec2& world) const {
        return Vec2((world.x + shown.translation.x) * shown.zoom.x, (world.y + shown.translation.y) * shown.zoom.y);
    }

    // A held view stays on the screen as it was while the camera itself goes on moving
    // underneath, so the picture stands still and the camera's sums (which play reads)
    // are those it would have had anyway. Releasing shows the camera where it now is.
    void HoldView(bool hold) { held_ = hold; }
    bool ViewHeld() const { return held_; }
    // The view drawn by the last Update: the camera's own, or the one held.
    struct View {
        float angle = 0.0f;
        Vec2 zoom{1.0f, 1.0f};
        Vec2 translation;
        Vec2 topLeft;
        Vec2 bottomRight;
    };
    View shown;

    // Offset applied by the view transform: the rotation (degrees), scale and translation
    // of the last Update, kept so that tests and tools can reason about the frame.
    float lastAngle = 0.0f;
    Vec2 lastTranslation;

    Vec2 corners[4];
    Vec2 targetZoom{1.0f, 1.0f};
    Vec2 zoom{1.0f, 1.0f};
    Vec2 targetPosition;
    Vec2 shakenTarget;
    float shakeTick = 0.0f;
    float shakeTime = 0.0f;
    float shakeMagnitude = 0.0f;

private:
    bool held_ = false;
};

extern Camera camera;

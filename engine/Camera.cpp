#include "Camera.h"

#include "Box.h"
#include "GL.h"
#include "Random.h"

Camera camera;

Camera::Camera() {
    BoxMakeEmpty(corners);
    shown.topLeft = corners[kTopLeft];
    shown.bottomRight = corners[kBottomRight];
}

void Camera::SetView(const Vec2& centre, const Vec2& size) {
    BoxSet(corners, centre.x - size.x / 2, centre.y - size.y / 2, centre.x + size.x / 2,
           centre.y + size.y / 2);
    shown.topLeft = corners[kTopLeft];
    shown.bottomRight = corners[kBottomRight];
}

void Camera::Update(float dt) {
    shakenTarget = targetPosition;
    shakeTime -= dt;
    float angle = 0.0f;
    if (shakeTime > 0.0f) {
        shakeTick += dt;
        if (shakeTick > 0.1) {  // compared in double: the sixth 1/60 step passes it
            shakeTick = 0.0f;
            bool positive = (Rand() % 2) == 1;
            int n = static_cast<int>(shakeMagnitude + 1.0f - shakeMagnitude * 0.5f);
            // A non-positive modulus (negative magnitude) would be undefined: no offset then.
            float ox = shakeMagnitude * 0.5f + (n > 0 ? static_cast<float>(Rand() % n) : 0.0f);
            float oy = shakeMagnitude * 0.5f + (n > 0 ? static_cast<float>(Rand() % n) : 0.0f);
            if (positive) {
                angle = 1.0f;
                shakenTarget = shakenTarget + Vec2(ox, oy);
            } else {
                angle = -1.0f;
                shakenTarget = shakenTarget - Vec2(ox, oy);
            }
        }
    }
    lastAngle = angle;

    Vec2 p = corners[kTopLeft];
    float k = shakeTime > 0.0f ? 1.0f : 5.0f;
    Vec2 move = (shakenTarget - p) * dt * k;
    BoxTranslate(corners, move);

    zoom.x += (targetZoom.x - zoom.x) * dt * 0.95f;
    zoom.y += (targetZoom.y - zoom.y) * dt * 0.95f;

    float w = corners[kBottomRight].x - p.x;
    float h = corners[kBottomRight].y - p.y;
    Vec2 off;
    if (zoom.x != 1.0f) off.x = w * (zoom.x - 1.0f) * 0.5f / zoom.x;
    if (zoom.y != 1.0f) off.y = h * (zoom.y - 1.0f) * 0.5f / zoom.y;
    lastTranslation = Vec2(-p.x - off.x, -p.y - off.y);
    if (!held_) shown = View{angle, zoom, lastTranslation, corners[kTopLeft], corners[kBottomRight]};
    glRotatef(shown.angle, 0.0f, 0.0f, 1.0f);
    glScalef(shown.zoom.x, shown.zoom.y, 1.0f);
    glTranslatef(shown.translation.x, shown.translation.y, 0.0f);
}

#include "Box.h"

void BoxMakeEmpty(Vec2* c) {
    c[kTopLeft] = Vec2(1e6f, 1e6f);
    c[kTopRight] = Vec2(-1e6f, 1e6f);
    c[kBottomLeft] = Vec2(1e6f, -1e6f);
    c[kBottomRight] = Vec2(-1e6f, -1e6f);
}

void BoxSet(Vec2* c, float minX, float minY, float maxX, float maxY) {
    c[kTopLeft] = Vec2(minX, minY);
    c[kTopRight] = Vec2(maxX, minY);
    c[kBottomLeft] = Vec2(minX, maxY);
    c[kBottomRight] = Vec2(maxX, maxY);
}

Vec2 BoxCentre(const Vec2* c) {
    return Vec2((c[kTopLeft].x + c[kTopRight].x + c[kBottomLeft].x + c[kBottomRight].x) / 4.0f,
                (c[kTopLeft].y + c[kTopRight].y + c[kBottomLeft].y + c[kBottomRight].y) / 4.0f);
}

void BoxTranslate(Vec2* c, const Vec2& d) {
    for (int i = 0; i < 4; ++i) c[i] = c[i] + d;
}

void BoxMoveCentreTo(Vec2* c, const Vec2& p) { BoxTranslate(c, p - BoxCentre(c)); }

bool BoxContains(const Vec2* c, const Vec2& p) {
    return p.x >= c[kTopLeft].x && p.y >= c[kTopLeft].y && p.x <= c[kBottomRight].x &&
           p.y <= c[kBottomRight].y;
}

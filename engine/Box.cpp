#include "Box.h"

void BoxMakeEmpty(Vec2* c) {
    c[0] = Vec2(1e6f, 1e6f);
    c[1] = Vec2(-1e6f, 1e6f);
    c[2] = Vec2(1e6f, -1e6f);
    c[3] = Vec2(-1e6f, -1e6f);
}

void BoxSet(Vec2* c, float minX, float minY, float maxX, float maxY) {
    c[0] = Vec2(minX, minY);
    c[1] = Vec2(maxX, minY);
    c[2] = Vec2(minX, maxY);
    c[3] = Vec2(maxX, maxY);
}

Vec2 BoxCentre(const Vec2* c) {
    return Vec2((c[0].x + c[1].x + c[2].x + c[3].x) / 4.0f,
                (c[0].y + c[1].y + c[2].y + c[3].y) / 4.0f);
}

void BoxTranslate(Vec2* c, const Vec2& d) {
    for (int i = 0; i < 4; ++i) c[i] = c[i] + d;
}

void BoxMoveCentreTo(Vec2* c, const Vec2& p) { BoxTranslate(c, p - BoxCentre(c)); }

bool BoxContains(const Vec2* c, const Vec2& p) {
    return p.x >= c[kTopLeft].x && p.y >= c[kTopLeft].y && p.x <= c[kBottomRight].x &&
           p.y <= c[kBottomRight].y;
}

#pragma once

#include "Vec2.h"

// A corner box is four points: top-left, top-right, bottom-left, bottom-right.
enum BoxCorner { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3 };

// The empty box: nothing overlaps it and nothing lies inside it.
void BoxMakeEmpty(Vec2* corners);
void BoxSet(Vec2* corners, float minX, float minY, float maxX, float maxY);
Vec2 BoxCentre(const Vec2* corners);
void BoxTranslate(Vec2* corners, const Vec2& delta);
void BoxMoveCentreTo(Vec2* corners, const Vec2& point);
// Edges count as inside.
bool BoxContains(const Vec2* corners, const Vec2& point);

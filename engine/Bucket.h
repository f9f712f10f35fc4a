#pragma once

#include "List.h"
#include "Vec2.h"

class Renderable;

// A world rectangle with its renderables in ascending depth.
struct Bucket {
    Bucket();
    Vec2 corners[4];
    List<Renderable*> renderables;
};

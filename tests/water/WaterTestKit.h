#pragma once

#include <cmath>
#include <cstring>

#include "Box.h"
#include "ComplexSprite.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"
#include "sea/Water.h"

namespace watertest {

constexpr float kStep = 0.016666668f;

// A renderable that is only a box and a position.
class Patch : public Renderable {
public:
    float GetWidth() override { return corners[kBottomRight].x - corners[kTopLeft].x; }
    float GetHeight() override { return corners[kBottomRight].y - corners[kTopLeft].y; }
};

// Anything of a given type name with a small box centred on a point.
class Thing : public GameObj {
public:
    explicit Thing(const char* typeName) : type(typeName) { renderable = new Patch; }
    const char* GetType() override { return type; }
    void Update(float dt) override { BaseStep(dt); }
    void PlaceAt(float x, float y, float half = 4.0f) {
        renderable->position = Vec2(x, y);
        BoxSet(renderable->corners, x - half, y - half, x + half, y + half);
    }
    const char* type;
};

inline Thing* AddThing(const char* typeName, float x, float y) {
    auto* t = new Thing(typeName);
    t->PlaceAt(x, y);
    goManager.objects.PushBack(t);
    return t;
}

// The sea as the level setup makes it: 9000 wide, 200 deep, columns 15 apart.
inline Water* MakeSea(float x = -4500.0f, float y = 550.0f, float depth = 0.7f) {
    auto* w = static_cast<Water*>(goManager.Create("Water"));
    if (!w) return nullptr;
    w->width = 9000.0f;
    w->bottom = 200.0f;
    w->spacing = 15.0f;
    w->Init();
    w->SetPosition(Vec2(x, y));
    w->renderable->SetDepth(depth);
    return w;
}

inline int CountOfType(const char* typeName) {
    int n = 0;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it)
        if (std::strcmp((*it)->GetType(), typeName) == 0) ++n;
    return n;
}

inline GameObj* LastOfType(const char* typeName) {
    GameObj* found = nullptr;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it)
        if (std::strcmp((*it)->GetType(), typeName) == 0) found = *it;
    return found;
}

// True while no disturbance has moved any water.
inline bool FlowsAtRest(const Water* w) {
    for (float q : w->sim.flows)
        if (q != 0.0f) return false;
    return true;
}

inline float SurfaceY(Water* w, int point) { return w->Strip()->vertices[point * 6 + 1]; }

}  // namespace watertest

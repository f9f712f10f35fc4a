// The manager's overlap walk through its index of boxes against the walk over every
// pair: random scenes whose Updates and Collides move, kill, hide, re-image and create
// objects in the middle of the walk get the same Collide calls in the same order.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "Box.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"

namespace {

// A box around its position, kept up to date as a sprite's is.
class Patch : public Renderable {
public:
    explicit Patch(Vec2 half) : half_(half) {}
    void UpdateCorners() override {
        corners[kTopLeft] = position - half_;
        corners[kTopRight] = Vec2(position.x + half_.x, position.y - half_.y);
        corners[kBottomLeft] = Vec2(position.x - half_.x, position.y + half_.y);
        corners[kBottomRight] = position + half_;
        CornersChanged();
    }
    float GetWidth() override { return 2 * half_.x; }
    float GetHeight() override { return 2 * half_.y; }
    Vec2 half_;
};

class Mote;

// One scene's own random sequence, and the calls made, as (mover, other) numbers.
struct Scene {
    uint32_t Next() { return (state = state * 1664525u + 1013904223u) >> 8; }
    float Uniform(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(Next() % 10001) / 10000.0f; }
    Mote* Make(float halfMax = 150.0f);
    void Meddle(Mote* self, GameObj* other);
    GameObj* Pick();

    uint32_t state;
    int made = 0;
    std::vector<std::pair<int, int>> calls;
};
Scene* g_scene = nullptr;

class Mote : public GameObj {
public:
    void Update(float dt) override {
        BaseStep(dt);
        if (g_scene->Next() % 2) g_scene->Meddle(this, g_scene->Pick());
    }
    void Collide(GameObj* other) override {
        g_scene->calls.emplace_back(id, static_cast<Mote*>(other)->id);
        if (g_scene->Next() % 3 == 0) g_scene->Meddle(this, other);
    }
    void Give(float halfMax) {
        delete renderable;  // the index hears of it from the destructor
        renderable = new Patch(Vec2(g_scene->Uniform(1, halfMax), g_scene->Uniform(1, halfMax)));
        SetPosition(Vec2(g_scene->Uniform(-4000, 4000), g_scene->Uniform(0, 600)));
    }
    int id = 0;
};

Mote* Scene::Make(float halfMax) {
    Mote* m = new Mote;
    m->id = made++;
    m->Give(halfMax);
    goManager.objects.PushBack(m);
    return m;
}

GameObj* Scene::Pick() {
    ListNode<GameObj*>* n = goManager.objects.Head();
    for (uint32_t k = Next() % static_cast<uint32_t>(goManager.objects.Count()); k > 0; --k) n = n->next;
    return n->value;
}

void Scene::Meddle(Mote* self, GameObj* other) {
    Mote* o = static_cast<Mote*>(other);
    const uint32_t what = Next() % 12;
    if (what <= 3 && !self->renderable) return;
    switch (what) {
        case 0: case 1: case 2: self->Move(Vec2(Uniform(-40, 40), Uniform(-40, 40))); break;
        case 3: self->SetPosition(Vec2(Uniform(-4000, 4000), Uniform(0, 600))); break;
        case 4: if (o->renderable) o->Move(Vec2(Uniform(-300, 300), Uniform(-30, 30))); break;
        case 5: o->SetState(Life::kDead); break;
        case 6: if (o->renderable) o->noCollide ^= 1; break;
        case 7: if (made < 220) Make(); break;
        case 8: o->Give(200.0f); o->noCollide = 0; break;  // a new renderable, or a first one
        case 9:  // hidden and without a renderable until given one again
            o->noCollide = 1;
            delete o->renderable;
            o->renderable = nullptr;
            break;
        default: break;
    }
}

std::vector<std::pair<int, int>> Play(uint32_t seed, bool indexed) {
    Scene scene{seed, 0, {}};
    g_scene = &scene;
    goManager.indexed = indexed;
    goManager.index.check = indexed;
    for (int i = 0; i < 120; ++i) scene.Make();
    scene.Make(1e5f);  // spans the whole strip
    Mote* empty = scene.Make();
    empty->renderable->corners[kTopLeft] = Vec2(1e6f, 1e6f);  // inside out: meets nothing there is
    empty->renderable->corners[kBottomRight] = Vec2(-1e6f, -1e6f);
    scene.Make()->renderable->corners[kTopLeft].x = std::nanf("");
    for (int frame = 0; frame < 20; ++frame) goManager.Update(1.0f / 60.0f);
    goManager.Clear();
    goManager.ReopenLog();
    goManager.indexed = true;
    goManager.index.check = false;
    return scene.calls;
}

TEST(BroadPhase, RandomScenesGetTheCallsOfTheAllPairsWalkInItsOrder) {
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        const auto reference = Play(seed, false);
        goManager.index.mismatches = 0;
        EXPECT_EQ(Play(seed, true), reference) << "seed " << seed;
        EXPECT_EQ(goManager.index.mismatches, 0u) << "seed " << seed;
        EXPECT_GT(reference.size(), 500u) << "a crowded scene";
    }
}

}  // namespace

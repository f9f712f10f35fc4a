#include "sea/World.h"

#include <cmath>

#include "ComplexSprite.h"
#include "GL.h"
#include "objects/GameObjFactory.h"
#include "sea/SeaBounds.h"

ComplexSprite* World::Strip() { return static_cast<ComplexSprite*>(renderable); }

void World::Init() {
    ComplexSprite* strip = new ComplexSprite;
    strip->primitive = GL_TRIANGLE_STRIP;
    renderable = strip;
    strip->Allocate(kVertexCount, true, true);
    for (int i = 0; i < kVertexCount; i += 2) {
        float x = static_cast<float>(i * 30 - SeaBounds::kHalfWidth);
        float u = static_cast<float>(i) / 300.0f;
        float* top = &strip->vertices[i * 3];
        top[0] = x;
        top[1] = 575.0f;
        top[2] = 0.3f;
        float* bottom = &strip->vertices[(i + 1) * 3];
        bottom[0] = x;
        bottom[1] = 800.0f;
        bottom[2] = 0.3f;
        strip->texCoords[i] = Vec2(u, 575.0f / 600.0f);
        strip->texCoords[i + 1] = Vec2(u, 1.0f);
        for (int c = 0; c < 4; ++c) {
            strip->colours[i * 4 + c] = 1.0f;
            strip->colours[(i + 1) * 4 + c] = c == 3 ? 0.9f : 1.0f;
        }
    }
    strip->UpdateCorners();
    strip->SetImage("images\\island2.tga");
    strip->position = Vec2(0.0f, 0.0f);
    strip->UpdateCorners();
    realm = kBothRealms;
    AddToRenderList(strip);
}

void World::Update(float dt) {
    BaseStep(dt);
    if (stateTime > 1.0f) stateTime = 0.0f;
}

void World::Draw() {
    // The island's outline along its top edge.
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    Strip()->DrawTopEdge(black, 5.0f, false);
}

void World::Reset() {
    ComplexSprite* strip = Strip();
    for (int i = 0; i < kVertexCount; i += 2) {
        float* top = &strip->vertices[i * 3];
        top[0] = static_cast<float>(i * 30 - SeaBounds::kHalfWidth);
        top[1] = 575.0f;
        top[2] = 0.3f;
        strip->texCoords[i] = Vec2(static_cast<float>(i) / 300.0f, 575.0f / 600.0f);
        for (int c = 0; c < 4; ++c) strip->colours[i * 4 + c] = 1.0f;
    }
}

void World::Raise(const Vec2& point) {
    ComplexSprite* strip = Strip();
    for (int i = 0; i < kVertexCount; i += 2) {
        float* top = &strip->vertices[i * 3];
        float h = 100.0f - std::fabs(point.x - top[0]);
        if (h > 0.0f) top[1] -= h * 0.01f;
        float v = top[1] / 600.0f;
        strip->texCoords[i].y = v > 1.0f ? 1.0f : v;
    }
}

float World::GetHeightAt(float x) {
    const float* v = Strip()->vertices;
    for (int i = 0; i + 4 < kVertexCount; i += 2) {
        float x0 = v[i * 3], y0 = v[i * 3 + 1];
        float x1 = v[(i + 4) * 3], y1 = v[(i + 4) * 3 + 1];
        if (x0 < x && x < x1) return y0 + (x - x0) * (y1 - y0) / (x1 - x0);
    }
    return 0.0f;
}

GameObj* MakeWorld() { return new World; }

#include "sea/Water.h"

#include <cmath>
#include <cstring>

#include "Box.h"
#include "ComplexSprite.h"
#include "GL.h"
#include "SoundManager.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/ParticleObj.h"

namespace {

constexpr float kSurfaceAlpha = 0.95f;
constexpr float kUnitsPerHeight = 100.0f;  // surface y = height * this - bottom
// More vertices than any sea could want: a bad width or spacing yields an empty strip.
constexpr double kMaxVertices = 1 << 20;
constexpr int kStride = 3;  // x, y, z per vertex

}  // namespace

ComplexSprite* Water::Strip() const { return static_cast<ComplexSprite*>(renderable); }

void Water::Init() {
    delete renderable;  // a second Init starts the strip afresh rather than leaking it
    auto* strip = new ComplexSprite;
    strip->primitive = GL_TRIANGLE_STRIP;
    renderable = strip;

    splashSound = static_cast<int>(soundManager.LoadSound("Sound\\Splash.mp3", 0, 1));

    const double ratio = static_cast<double>(width) / static_cast<double>(spacing);
    const int count = (ratio >= 0.0 && ratio < kMaxVertices) ? static_cast<int>(width / spacing) : 0;
    sim.Init(count / 2 + 1, 1.0f);

    strip->Allocate(count, true, true);
    const float z = strip->depth;
    for (int i = 0; i < count; i += 2) {
        const float x = spacing * static_cast<float>(i);
        float* top = strip->vertices + i * kStride;
        top[0] = x;
        top[1] = 0.0f;
        top[2] = z;
        float* topColour = strip->colours + i * 4;
        topColour[0] = topColour[1] = topColour[2] = 1.0f;
        topColour[3] = kSurfaceAlpha;
        if (i + 1 >= count) break;  // an odd count leaves the last surface point alone
        float* base = top + kStride;
        base[0] = x;
        base[1] = bottom;
        base[2] = z;
        float* baseColour = topColour + 4;
        baseColour[0] = baseColour[1] = baseColour[2] = baseColour[3] = 1.0f;
    }

    strip->SetImage("images\\water.tga");
    // Every vertex samples texel (0, 0).
    strip->oneTexel = true;
    strip->blendMode = BlendMode::kAlpha;
    strip->UpdateCorners();
    AddToRenderList(strip);
    realm = kBothRealms;
}

float Water::LineWidth() const {
    const float wide = renderable ? renderable->depth * 10.0f : 0.0f;
    return wide > 3.0f ? wide : 3.0f;
}

void Water::Draw() {
    ComplexSprite* strip = Strip();
    if (!strip) return;
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    strip->DrawTopEdge(white, LineWidth(), true);
}

void Water::Update(float dt) {
    ComplexSprite* strip = Strip();
    if (!strip) {
        BaseStep(dt);
        return;
    }
    sim.Step();

    const int count = strip->vertexCount;
    const float* heights = sim.heights.data();
    float highest = 100000.0f;
    for (int i = 0; i < count; i += 2) {
        const float y = heights[i / 2] * kUnitsPerHeight - bottom;
        strip->vertices[i * kStride + 1] = y;
        if (y < highest) highest = y;
    }

    // Only the top edge moves: it rides on the highest crest so nothing above the
    // water overlaps it by mistake and nothing in a crest is missed.
    Vec2* c = strip->corners;
    const float top = strip->position.y + highest;
    c[kTopLeft] = Vec2(c[kTopLeft].x, top);
    c[kTopRight] = Vec2(c[kBottomRight].x, top);
    c[kBottomLeft] = Vec2(c[kTopLeft].x, c[kBottomRight].y);
    strip->CornersChanged();

    BaseStep(dt);
    ColourStates();
}

void Water::Tint(float g, float b) {
    ComplexSprite* strip = Strip();
    for (int i = 0; i < strip->vertexCount; ++i) {
        float* colour = strip->colours + i * 4;
        colour[0] = 1.0f;
        colour[1] = g;
        colour[2] = b;
        colour[3] = (i % 2 == 0) ? kSurfaceAlpha : 1.0f;
    }
}

void Water::ColourStates() {
    const float t = stateTime;
    // The ghost sea's green: deeper for the nearer sea.
    const float ghost = renderable->depth * 0.5f + 0.3f;
    if (state == SeaSwitch::kToGhost) {
        if (t > 1.0f) {
            frozen = 1;
            return;
        }
        Tint(1.0f + (ghost - 1.0f) * t, 1.0f - 0.5f * t);
    } else if (state == SeaSwitch::kToLiving) {
        if (t > 1.0f) {
            frozen = 0;
            stateTime = 0.0f;
            state = Life::kNormal;
            return;
        }
        Tint(ghost + (1.0f - ghost) * t, 0.5f + 0.5f * t);
    }
}

int Water::ColumnAt(float x) const {
    if (!renderable) return -1;
    const float at = (x - renderable->position.x) / width * static_cast<float>(sim.count);
    // Converting a NaN or an out-of-range float to int is undefined: refuse those first.
    if (!(at > -1.0f && at < static_cast<float>(sim.count))) return -1;
    return static_cast<int>(at);
}

void Water::Disturb(float strength, float x) {
    const int column = ColumnAt(x);
    if (column >= 0) sim.Ripple(column, strength);
}

void Water::Surge(float strength, float x) {
    const int column = ColumnAt(x);
    if (column >= 0) sim.Surge(column, strength);
}

float Water::GetHeight(float x, float* slope) {
    const ComplexSprite* strip = Strip();
    if (!strip) return 0.0f;
    const float xr = x - strip->position.x;
    const float* v = strip->vertices;
    // The chord spans two surface intervals and must start strictly left of x.
    for (int i = 0; i + 4 < strip->vertexCount; i += 2) {
        const float x0 = v[i * kStride];
        if (!(x0 < xr)) break;  // the points only grow to the right
        const float x4 = v[(i + 4) * kStride];
        if (x4 > xr) {
            const float y0 = v[i * kStride + 1];
            const float s = (v[(i + 4) * kStride + 1] - y0) / (x4 - x0);
            if (slope) *slope = s;
            return strip->position.y + y0 - (x0 - xr) * s;
        }
    }
    return 0.0f;
}

void Water::Collide(GameObj* other) {
    if (std::strcmp(other->GetType(), "CannonBall") != 0) return;
    if (other->state == Life::kSinking) return;  // already in the water
    const Vec2 at = *other->GetPosition();
    float slope = 0.0f;
    if (!(GetHeight(at.x, &slope) < at.y)) return;
    Splash(other);
}

void Water::Splash(GameObj* ball) {
    const Vec2 at = *ball->GetPosition();
    ball->SetState(Life::kSinking);
    soundManager.PlaySound(static_cast<unsigned>(splashSound), at, Vec2(0.0f, 0.0f));
    Disturb(ball->velocity.y * lastStep / 100.0f, at.x);

    auto* drops = static_cast<ParticleObj*>(goManager.Create("ParticleObj"));
    if (!drops) return;  // no spray, but the splash itself has happened
    ParticleSettings& s = drops->Settings();
    s.continuous = 0;
    s.count = 50;
    const Vec2* box = ball->GetCorners();
    for (int k = 0; k < 4; ++k) s.emitterBox[k] = box[k];
    s.z = 0.1f;
    for (int k = 0; k < 4; ++k) {
        s.startColour[k] = 1.0f;
        s.endColour[k] = 1.0f;
    }
    s.velocity.base = Vec2(0.0f, -175.0f);
    s.velocity.spread = Vec2(40.0f, 30.0f);
    s.acceleration.base = Vec2(0.0f, 200.0f);
    s.acceleration.spread = Vec2(0.0f, 0.0f);
    s.size.base = Vec2(0.3f, 0.3f);
    s.size.spread = Vec2(0.3f, 0.3f);
    s.lifetime.base = 0.5f;
    s.lifetime.spread = 1.0f;
    drops->Init();
    drops->MakeSprite("images//raindrop.tga");
    // Fast enough that every drop leaves in the first update.
    drops->SetEmissionRate(5000.0f);
}

GameObj* MakeWater() { return new Water; }

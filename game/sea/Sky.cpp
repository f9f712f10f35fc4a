#include "sea/Sky.h"

#include "CachedBackdrop.h"
#include "ComplexSprite.h"
#include "Sprite.h"
#include "TextureManager.h"
#include "objects/GameObjFactory.h"

namespace {

// Vertices 0 and 2 are the top edge, 1 and 3 the bottom one.
constexpr float kCorners[4][2] = {{0.0f, 0.0f}, {0.0f, 600.0f}, {800.0f, 0.0f}, {800.0f, 600.0f}};

}  // namespace

Sky::~Sky() { delete fog; }

ComplexSprite* Sky::Backdrop() { return static_cast<ComplexSprite*>(renderable); }

void Sky::SetColours(const float* top, const float* bottom) {
    ComplexSprite* sky = Backdrop();
    if (!sky || !sky->colours) return;
    for (int v = 0; v < 4; ++v) {
        const float* c = (v % 2 == 0) ? top : bottom;
        for (int j = 0; j < 4; ++j) sky->colours[v * 4 + j] = c[j];
    }
}

void Sky::Init() {
    fog = new Sprite(1, 1, "images\\fog.tga");
    fog->scale = Vec2(8.5f, 4.0f);
    fog->UpdateCorners();
    fog->position = Vec2(400.0f, 300.0f);
    fog->UpdateCorners();
    fog->screenSpace = true;
    fog->blendMode = BlendMode::kAlpha;
    fog->colour[0] = fog->colour[1] = fog->colour[2] = 1.0f;
    fog->colour[3] = 0.0f;  // shows only in the ghost sea
    fog->SetDepth(0.9f);
    AddToRenderList(fog);

    ComplexSprite* sky = new CachedBackdrop;
    renderable = sky;
    sky->primitive = GL_TRIANGLE_STRIP;
    sky->Allocate(4, true, true);
    for (int v = 0; v < 4; ++v) {
        sky->vertices[v * 3] = kCorners[v][0];
        sky->vertices[v * 3 + 1] = kCorners[v][1];
        sky->vertices[v * 3 + 2] = 0.0f;
        sky->texCoords[v] = Vec2(kCorners[v][0] / 800.0f, kCorners[v][1] / 600.0f);
    }
    sky->screenSpace = true;
    SetColours(livingTop, livingBottom);
    sky->SetImage("images\\sky.tga");
    // Drawn texel for pixel: the nearest texel is the same picture for less work.
    textureManager.SampleCheaply(sky->texture, Sampling::kNearest);
    AddToRenderList(sky);
    realm = kBothRealms;
}

void Sky::Update(float dt) {
    BaseStep(dt);
    const float t = stateTime;  // not clamped: the last frame of a change overshoots a little
    float top[4], bottom[4];
    if (state == SeaSwitch::kToGhost || state == SeaSwitch::kToLiving) {
        const bool toGhost = state == SeaSwitch::kToGhost;
        const float* fromTop = toGhost ? livingTop : ghostTop;
        const float* toTop = toGhost ? ghostTop : livingTop;
        const float* fromBottom = toGhost ? livingBottom : ghostBottom;
        const float* toBottom = toGhost ? ghostBottom : livingBottom;
        for (int j = 0; j < 4; ++j) {
            top[j] = fromTop[j] + (toTop[j] - fromTop[j]) * t;
            bottom[j] = fromBottom[j] + (toBottom[j] - fromBottom[j]) * t;
        }
        SetColours(top, bottom);
        if (fog) fog->colour[3] = toGhost ? t : 1.0f - t;
    }
    // The fog's own Update is never called, so nothing resets its coordinates.
    if (fog && fog->texCoords) {
        for (int i = 0; i < 4; ++i) {
            fog->texCoords[i].x += 0.25f * dt;
            fog->texCoords[i].y += dt / 50.0f;
        }
    }
    if (stateTime > 1.0) SetState(Life::kNormal);
}

void Sky::Kill() {
    delete fog;
    fog = nullptr;
    GameObj::Kill();
}

GameObj* MakeSky() { return new Sky; }

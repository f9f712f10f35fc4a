#pragma once

#include <cstdint>
#include <string>

#include "BlendMode.h"
#include "Vec2.h"

struct Texture;

// Told of every change of a watched renderable's corners, and of its destruction, so
// that an index of boxes stays current without reading every box again.
class BoxWatcher {
public:
    virtual void BoxChanged(int32_t slot) = 0;

protected:
    ~BoxWatcher() = default;
};

// Anything the engine draws: positioned, scaled, rotated, coloured, depth-ordered.
class Renderable {
public:
    Renderable();
    Renderable(const Renderable&) = delete;
    Renderable& operator=(const Renderable&) = delete;

    virtual void UpdateCorners() {}
    virtual ~Renderable();
    virtual void Draw() {}
    virtual void Update(float dt) { (void)dt; }
    virtual void SetImage(const std::string& name);
    virtual void SetDepth(float d);
    virtual float GetDepth() { return depth; }
    virtual float GetWidth() = 0;
    virtual float GetHeight() = 0;

    void SetScale(const Vec2& s);
    // Reports a change of `corners` to the watcher; code that writes them itself calls
    // it afterwards (UpdateCorners and the particle update do).
    void CornersChanged() {
        if (watchSlot >= 0 && boxWatcher) boxWatcher->BoxChanged(watchSlot);
    }

    float depth = 1.0f;  // larger is nearer and drawn later
    Vec2 position;
    Vec2 scale{1.0f, 1.0f};
    float rotation = 0.0f;  // degrees
    Vec2 corners[4];
    bool screenSpace = false;  // in window pixels, without the camera; never culled
    BlendMode blendMode = BlendMode::kOpaque;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    Texture* texture = nullptr;
    uint8_t inRenderList = 0;
    // A piece of a screen laid over the world (a scroll, its buttons, the pointer): while
    // the culler keeps the world behind the screens, nothing else draws over it.
    uint8_t aboveWorld = 0;
    Vec2* texCoords = nullptr;
    int32_t texCoordCount = 0;
    int32_t vertexCount = 0;
    // The watcher's own number for this renderable; -1 while nobody watches it.
    int32_t watchSlot = -1;

    // The one watcher (the object manager during its pass), or null.
    static BoxWatcher* boxWatcher;
    // Renderables made so far: a renderable that takes another's place is a new one.
    static uint64_t made;
};

void AddToRenderList(Renderable* r);
void RemoveFromRenderList(Renderable* r);

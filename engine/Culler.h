#pragma once

#include "Bucket.h"
#include "List.h"
#include "RenderLists.h"
#include "Singleton.h"

class Renderable;

// Depth-sorted render lists with a visibility test against the camera's view.
class Culler : public singleton<Culler>, public RenderLists {
public:
    Culler() { RenderLists::current = this; }
    ~Culler() override;

    void AddBucket(const Vec2* corners);
    void Insert(Renderable* r) override;
    void Remove(Renderable* r) override;
    void Render();
    // Frees every bucket (program exit, and tests).
    void Reset();

    List<Bucket*> buckets;
    // Renderables drawn by the last Render, for diagnostics.
    int drawnLastFrame = 0;
    // While set, the renderables marked `aboveWorld` (a scroll over the sea, at depth
    // kCoverDepth or above, and its buttons) and the texts drawn during the frame stay
    // over everything else; what lies nearer than the scroll keeps its own order behind
    // it, and the rest is drawn as always.
    bool worldBehindScreen = false;
    static constexpr float kCoverDepth = 0.85f;
};

extern Culler culler;

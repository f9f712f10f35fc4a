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
    // While set, the renderables marked `aboveWorld` and the texts drawn during the frame
    // stay over everything else (a scroll over the sea): the rest keeps its own order,
    // behind them all.
    bool worldBehindScreen = false;
};

extern Culler culler;

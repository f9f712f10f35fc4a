#pragma once

class Renderable;

// Where attached renderables are kept in depth order. The culler registers itself as
// the current one, so a renderable can attach and re-sort itself without knowing it.
class RenderLists {
public:
    virtual void Insert(Renderable* r) = 0;
    virtual void Remove(Renderable* r) = 0;

    // Null before the culler is constructed and after it is destroyed.
    inline static RenderLists* current = nullptr;

protected:
    ~RenderLists() = default;
};

#include "Renderable.h"

#include "Box.h"
#include "RenderLists.h"
#include "TextureManager.h"

BoxWatcher* Renderable::boxWatcher = nullptr;
uint64_t Renderable::made = 0;

Renderable::Renderable() {
    BoxMakeEmpty(corners);
    ++made;
}

Renderable::~Renderable() {
    // The watcher then finds its object holding another renderable, or none.
    CornersChanged();
    RemoveFromRenderList(this);
    delete[] texCoords;
}

void Renderable::SetImage(const std::string& name) { texture = textureManager.GetTexture(name); }

void Renderable::SetDepth(float d) {
    depth = d;
    RemoveFromRenderList(this);
    AddToRenderList(this);
}

void Renderable::SetScale(const Vec2& s) {
    scale = s;
    UpdateCorners();
}

// Both tolerate null: an object can be killed before it ever got its renderable.
void AddToRenderList(Renderable* r) {
    if (r && r->inRenderList == 0) {
        if (RenderLists::current) RenderLists::current->Insert(r);
        r->inRenderList = 1;
    }
}

void RemoveFromRenderList(Renderable* r) {
    if (r && r->inRenderList == 1) {
        if (RenderLists::current) RenderLists::current->Remove(r);
        r->inRenderList = 0;
    }
}

#include "Culler.h"

#include "Box.h"
#include "Camera.h"
#include "GL.h"
#include "Renderable.h"

Culler culler;

Culler::~Culler() {
    Reset();
    if (RenderLists::current == this) RenderLists::current = nullptr;
}

void Culler::Reset() {
    for (auto it = buckets.Begin(); !it.AtEnd(); ++it) {
        (*it)->renderables.Clear();
        delete *it;
    }
    buckets.Clear();
}

void Culler::AddBucket(const Vec2* corners) {
    Bucket* b = new Bucket;
    for (int i = 0; i < 4; ++i) b->corners[i] = corners[i];
    buckets.PushBack(b);
}

void Culler::Insert(Renderable* r) {
    float d = r->GetDepth();
    for (auto it = buckets.Begin(); !it.AtEnd(); ++it) {
        List<Renderable*>& list = (*it)->renderables;
        ListNode<Renderable*>* n = list.Head();
        while (n && !(n->value->GetDepth() >= d)) n = n->next;
        if (n) list.InsertBefore(r, n);
        else list.PushBack(r);
    }
}

void Culler::Remove(Renderable* r) {
    for (auto it = buckets.Begin(); !it.AtEnd(); ++it) (*it)->renderables.Remove(r);
}

void Culler::Render() {
    const Vec2 viewMin = camera.shown.topLeft;
    const Vec2 viewMax = camera.shown.bottomRight;
    drawnLastFrame = 0;
    // What would draw over a scroll (depth above the scrolls', with the texts at the
    // top) is moved just behind the scrolls' depth, in its own order; everything else,
    // the texts drawn during the frame included, keeps the usual depth range.
    const double behind = (1.0 - kCoverDepth) * 0.5 + 0.001;
    bool pushedBack = false;
    for (auto it = buckets.Begin(); !it.AtEnd(); ++it) {
        Bucket* b = *it;
        if (!(b->corners[kTopLeft].x <= viewMax.x && b->corners[kTopLeft].y <= viewMax.y &&
              b->corners[kBottomRight].x >= viewMin.x && b->corners[kBottomRight].y >= viewMin.y))
            continue;
        for (ListNode<Renderable*>* n = b->renderables.Head(); n; n = n->next) {
            Renderable* r = n->value;
            if (r->screenSpace ||
                (r->corners[kBottomRight].x >= viewMin.x && r->corners[kBottomRight].y >= viewMin.y &&
                 r->corners[kTopLeft].x <= viewMax.x && r->corners[kTopLeft].y <= viewMax.y)) {
                const bool back = worldBehindScreen && !r->aboveWorld && r->GetDepth() > kCoverDepth;
                if (back != pushedBack) {
                    glDepthRange(back ? behind : 0.0, 1.0);
                    pushedBack = back;
                }
                r->Draw();
                ++drawnLastFrame;
            }
        }
    }
    if (pushedBack) glDepthRange(0.0, 1.0);
}

#include "objects/BroadPhase.h"

#include <algorithm>

#include "Box.h"
#include "objects/GameObj.h"

namespace {

// Columns 128 pixels wide over x from -16384 to 16384; boxes beyond are filed in the
// end columns. The level strip is about 9000 pixels long.
constexpr int32_t kColumns = 256;
constexpr float kColumnWidth = 128.0f;
constexpr float kFirstX = -16384.0f;

// Monotone in x (so a box spanning x to x' spans their columns), NaN in the first.
int32_t Column(float x) {
    const float c = (x - kFirstX) * (1.0f / kColumnWidth);
    if (!(c >= 0.0f)) return 0;
    if (c >= static_cast<float>(kColumns - 1)) return kColumns - 1;
    return static_cast<int32_t>(c);
}

// The manager's overlap test: mover b against other a, edges touching count.
bool Meet(float bx0, float by0, float bx3, float by3, float ax0, float ay0, float ax3, float ay3) {
    return bx0 <= ax3 && by0 <= ay3 && bx3 >= ax0 && by3 >= ay0;
}

bool Meet(const Vec2* b, const Vec2* a) {
    return Meet(b[kTopLeft].x, b[kTopLeft].y, b[kBottomRight].x, b[kBottomRight].y, a[kTopLeft].x, a[kTopLeft].y,
                a[kBottomRight].x, a[kBottomRight].y);
}

}  // namespace

void BroadPhase::Begin(const List<GameObj*>& objects) {
    Renderable::boxWatcher = this;
    made_ = Renderable::made;
    list_ = &objects;
    columns_.resize(kColumns);
    for (std::vector<int32_t>& column : columns_) column.clear();
    entries_.clear();
    direct_.clear();
    reports_.clear();
    last_ = nullptr;
    for (Node* n = objects.Head(); n; n = n->next) {
        Add(n);
        last_ = n;
    }
}

void BroadPhase::End() {
    if (Renderable::boxWatcher == this) Renderable::boxWatcher = nullptr;
    list_ = nullptr;
}

void BroadPhase::BoxChanged(int32_t slot) {
    if (static_cast<size_t>(slot) >= entries_.size() || entries_[slot].reported) return;
    entries_[slot].reported = true;
    reports_.push_back(slot);
}

void BroadPhase::Add(Node* node) {
    entries_.push_back(Entry{node, node->value, nullptr, nullptr, 0, 0, 0, 0, 1, 0, false});
    const int32_t slot = static_cast<int32_t>(entries_.size() - 1);
    direct_.push_back(slot);
    Watch(slot);
}

void BroadPhase::Watch(int32_t slot) {
    Entry& e = entries_[slot];
    Renderable* r = e.object->renderable;
    e.seen = r;
    const bool wasDirect = e.watched == nullptr;
    e.watched = nullptr;
    if (r) {
        // A renderable is watched for one entry only (the same object twice in the
        // list, or a renderable handed on); the other is tested directly.
        const int32_t other = r->watchSlot;
        const bool shared = other != slot && static_cast<size_t>(other) < entries_.size() &&
                            entries_[other].watched == r;
        if (!shared && e.object->GetCorners() == r->corners) {
            e.watched = r;
            r->watchSlot = slot;
            ReadBox(e);
        }
    }
    const bool isDirect = e.watched == nullptr;
    if (wasDirect != isDirect) {
        const auto at = std::lower_bound(direct_.begin(), direct_.end(), slot);
        if (isDirect) direct_.insert(at, slot);
        else direct_.erase(at);
    }
    File(slot);
}

void BroadPhase::ReadBox(Entry& e) {
    const Vec2* c = e.watched->corners;
    e.x0 = c[kTopLeft].x;
    e.y0 = c[kTopLeft].y;
    e.x3 = c[kBottomRight].x;
    e.y3 = c[kBottomRight].y;
}

void BroadPhase::File(int32_t slot) {
    const Entry& e = entries_[slot];
    int32_t c0 = 1, c1 = 0;  // none: direct entries, and boxes with NaN meet nothing
    if (e.watched && e.x0 == e.x0 && e.x3 == e.x3 && e.y0 == e.y0 && e.y3 == e.y3) {
        if (e.x0 <= e.x3) {
            c0 = Column(e.x0);
            c1 = Column(e.x3);
        } else {
            // Inside out (x0 > x3): only a mover whose x span holds all of x3..x0 meets
            // it, and such a mover's columns include x3's.
            c0 = c1 = Column(e.x3);
        }
    }
    if (c0 == e.col0 && c1 == e.col1) return;
    Unfile(slot);
    for (int32_t c = c0; c <= c1; ++c) columns_[c].push_back(slot);
    entries_[slot].col0 = c0;
    entries_[slot].col1 = c1;
}

void BroadPhase::Unfile(int32_t slot) {
    Entry& e = entries_[slot];
    for (int32_t c = e.col0; c <= e.col1; ++c) {
        std::vector<int32_t>& column = columns_[c];
        const auto at = std::find(column.begin(), column.end(), slot);
        *at = column.back();
        column.pop_back();
    }
    e.col0 = 1;
    e.col1 = 0;
}

bool BroadPhase::Sync() {
    bool changed = false;
    // Objects appended to the list.
    for (Node* n = last_ ? last_->next : list_->Head(); n; n = n->next) {
        Add(n);
        last_ = n;
        changed = true;
    }
    // Boxes reported changed, renderables destroyed.
    for (size_t k = 0; k < reports_.size(); ++k) {
        const int32_t slot = reports_[k];
        Entry& e = entries_[slot];
        e.reported = false;
        if (e.object->renderable != e.seen) {
            Watch(slot);
            changed = true;
        } else if (e.watched) {
            // Also when a new renderable was made where a destroyed one stood.
            e.watched->watchSlot = slot;
            const float before[4] = {e.x0, e.y0, e.x3, e.y3};
            ReadBox(e);
            if (before[0] != e.x0 || before[1] != e.y0 || before[2] != e.x3 || before[3] != e.y3) {
                File(slot);
                changed = true;
            }
        }
    }
    reports_.clear();
    // Objects that had no renderable may have one now; and a renderable made since
    // the last look may have taken the place of another without its destruction.
    const bool made = Renderable::made != made_;
    made_ = Renderable::made;
    scratch_.clear();
    for (const int32_t slot : direct_)
        if (entries_[slot].object->renderable != entries_[slot].seen) scratch_.push_back(slot);
    for (const int32_t slot : scratch_) Watch(slot);
    changed = changed || !scratch_.empty();
    if (made) {
        for (size_t slot = 0; slot < entries_.size(); ++slot) {
            if (entries_[slot].object->renderable != entries_[slot].seen) {
                Watch(static_cast<int32_t>(slot));
                changed = true;
            }
        }
    }
    return changed;
}

void BroadPhase::Query(const float* b, size_t from, size_t self, std::vector<int32_t>& out) {
    out.clear();
    int32_t lo = Column(b[0]), hi = Column(b[2]);
    if (!(b[0] == b[0] && b[1] == b[1] && b[2] == b[2] && b[3] == b[3])) {
        hi = lo - 1;  // NaN meets nothing
    } else if (b[0] > b[2]) {
        // Inside out (an idle particle system's box): only boxes spanning all of x3..x0
        // meet it, and they are filed in every column there; either end's will do.
        lo = hi = columns_[lo].size() < columns_[hi].size() ? lo : hi;
    }
    for (int32_t c = lo; c <= hi; ++c) {
        for (const int32_t slot : columns_[c]) {
            if (static_cast<size_t>(slot) < from || static_cast<size_t>(slot) == self) continue;
            const Entry& e = entries_[slot];
            // An entry filed in several of these columns is taken in the first of them.
            if (std::max(e.col0, lo) != c) continue;
            if (Meet(b[0], b[1], b[2], b[3], e.x0, e.y0, e.x3, e.y3)) out.push_back(slot);
        }
    }
    for (const int32_t slot : direct_)
        if (static_cast<size_t>(slot) >= from && static_cast<size_t>(slot) != self) out.push_back(slot);
    std::sort(out.begin(), out.end());
}

bool BroadPhase::Walk(Node* node, size_t index) {
    Sync();
    if (index >= entries_.size() || entries_[index].node != node) return false;
    GameObj* mover = node->value;
    const Vec2* b = mover->GetCorners();
    size_t from = 0;
    for (;;) {
        const float box[4] = {b[kTopLeft].x, b[kTopLeft].y, b[kBottomRight].x, b[kBottomRight].y};
        Query(box, from, index, hits_);
        if (check) CheckQuery(b, from, index, hits_);
        bool again = false;
        for (size_t h = 0; h < hits_.size() && !again; ++h) {
            const int32_t slot = hits_[h];
            GameObj* other = entries_[slot].object;
            if (other->noCollide) continue;
            if (!entries_[slot].watched && !Meet(b, other->GetCorners())) continue;
            mover->Collide(other);
            from = static_cast<size_t>(slot) + 1;
            // Whatever the call changed is taken in; then the rest is asked for again.
            const bool moved = b[kTopLeft].x != box[0] || b[kTopLeft].y != box[1] || b[kBottomRight].x != box[2] ||
                               b[kBottomRight].y != box[3];
            again = Sync() || moved;
        }
        if (!again) return true;
    }
}

void BroadPhase::CheckQuery(const Vec2* b, size_t from, size_t self, const std::vector<int32_t>& found) {
    // The all-pairs walk up to the next Collide, over the list itself.
    seen_.clear();
    size_t position = 0;
    for (Node* n = list_->Head(); n; n = n->next, ++position) {
        if (position < from || position == self || n->value->noCollide) continue;
        if (Meet(b, n->value->GetCorners())) seen_.push_back(static_cast<int32_t>(position));
    }
    std::vector<int32_t> kept;
    for (const int32_t slot : found) {
        GameObj* other = entries_[slot].object;
        if (!other->noCollide && Meet(b, other->GetCorners())) kept.push_back(slot);
    }
    if (kept != seen_) ++mismatches;
}

#pragma once

#include <cstdint>
#include <vector>

#include "List.h"
#include "Renderable.h"

class GameObj;

// The manager's overlap walk without testing every pair. Every node of the object list
// gets an entry, numbered in list order, holding the corner box of its object as last
// seen; boxes are filed in columns of the world's x axis. A mover asks for the entries
// whose boxes meet its own, visits them in list order, and after every Collide the index
// catches up with whatever the call changed (boxes, renderables, new objects) and asks
// again if anything did. So the mover's Collide is called with exactly the objects, and
// in exactly the order, that the walk over all pairs would call it with.
//
// Boxes are known to change through the renderables' reports (Renderable::CornersChanged)
// and by looking at the objects after every call: objects appended to the list, objects
// given their first renderable, and, whenever a renderable has been made, every object
// whose renderable is no longer the one watched. Objects whose box cannot be watched
// (no renderable, GetCorners of their own, a renderable shared with another node) are
// tested directly in every walk.
class BroadPhase : public BoxWatcher {
public:
    using Node = ListNode<GameObj*>;

    // Indexes the list as it stands and starts listening to renderables.
    void Begin(const List<GameObj*>& objects);
    // Stops listening; the entries are void until the next Begin.
    void End();

    // The overlap walk of the mover at `node`, the index-th node of the list, calling
    // the mover's Collide as the all-pairs walk would. False (having done nothing) when
    // the node is not the one indexed there: the list was changed behind the index.
    bool Walk(Node* node, size_t index);

    // Test aid: every answer of the index is checked against all pairs; mismatches
    // are counted here.
    bool check = false;
    uint64_t mismatches = 0;

    void BoxChanged(int32_t slot) override;

private:
    struct Entry {
        Node* node;
        GameObj* object;
        Renderable* watched;  // null: tested directly through GetCorners
        Renderable* seen;     // the object's renderable when last looked at
        float x0, y0, x3, y3; // corners 0 and 3 as last seen
        int32_t col0, col1;   // columns filed in; col0 > col1 when in none
        bool reported;
    };

    void Add(Node* node);
    void Watch(int32_t slot);
    // Files an entry under the columns its box needs; -1 columns drops it from all.
    void File(int32_t slot);
    void Unfile(int32_t slot);
    void ReadBox(Entry& e);
    // Catches up with what the last call changed; true if any box, renderable or
    // entry did.
    bool Sync();
    // Entries from index `from` on, other than `self`, whose boxes may meet the mover's
    // box (watched ones tested on their boxes), in list order.
    void Query(const float* mover, size_t from, size_t self, std::vector<int32_t>& out);
    // The entries the all-pairs walk would collide with next, for the check.
    void CheckQuery(const Vec2* mover, size_t from, size_t self, const std::vector<int32_t>& found);

    std::vector<Entry> entries_;
    std::vector<std::vector<int32_t>> columns_;
    std::vector<int32_t> direct_;    // entries tested through GetCorners, ascending
    std::vector<int32_t> reports_;   // entries whose renderable reported a change
    std::vector<int32_t> hits_;
    std::vector<int32_t> scratch_;
    std::vector<int32_t> seen_;      // scratch for the check
    Node* last_ = nullptr;           // last node indexed
    const List<GameObj*>* list_ = nullptr;
    uint64_t made_ = 0;              // Renderable::made when last looked
};

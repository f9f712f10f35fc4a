#include "play/PlayHold.h"

#include <cstring>

#include "objects/GOManager.h"
#include "objects/GameObj.h"

bool PlayHold::KeepsRunning(const char* type) {
    // "GameObj" is what the life bar reports; the menu and option buttons, the panels'
    // scrolls and lines all report "UIButton".
    for (const char* scenery : {"Water", "Sky", "Cloud", "Rain", "World", "UIButton", "Upgrader", "GameObj"})
        if (std::strcmp(type, scenery) == 0) return true;
    return false;
}

void PlayHold::Hold() {
    if (holding_) return;
    holding_ = true;
    held_.clear();
    for (ListNode<GameObj*>* node = goManager.objects.Head(); node; node = node->next) {
        GameObj* object = node->value;
        if (KeepsRunning(object->GetType())) continue;
        held_.push_back({ObjRef<GameObj>(object), object->frozen, object->noCollide});
        object->frozen = 1;
        object->noCollide = 1;
    }
}

void PlayHold::Release() {
    if (!holding_) return;
    holding_ = false;
    // An object that died on the way (one already dead when held is still deleted)
    // reads as null.
    for (Held& h : held_) {
        if (GameObj* object = h.object.Get()) {
            object->frozen = h.frozen;
            object->noCollide = h.noCollide;
        }
    }
    held_.clear();
}

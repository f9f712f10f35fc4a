#pragma once

#include <cstdint>

#include "List.h"
#include "play/Chronicle.h"

class Tower;

// Which hints of play are done and which apply now (bits of Settings::kHint...): what
// the player has once done is done for good.
class HintProgress {
public:
    // What this frame shows done: the input's own (`byInput`), a tower or chest taken,
    // a new purchase at a tower.
    uint32_t Done(const List<Tower*>& towers, const Chronicle::Events& events, uint32_t byInput);
    // The hints that apply to the world as it stands.
    static uint32_t Due(const List<Tower*>& towers, int hostileTowers);

private:
    int32_t purchasesSeen_ = 0;
};

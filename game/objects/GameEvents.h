#pragma once

#include <vector>

#include "Singleton.h"
#include "objects/GameEvent.h"

// The events of the world since the game last took them: objects emit, the game's
// screen takes them once or twice a frame and hands them to the aids.
class GameEvents : public singleton<GameEvents> {
public:
    void Emit(GameEvent::Kind kind, uint64_t subject, int64_t amount = 0, bool byPlayer = false) {
        queue_.push_back({kind, subject, amount, byPlayer});
    }
    // Everything emitted since the last Take, oldest first; the queue is left empty.
    std::vector<GameEvent> Take();
    void Clear() { queue_.clear(); }

private:
    std::vector<GameEvent> queue_;
};

extern GameEvents gameEvents;

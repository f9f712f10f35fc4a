#pragma once

#include <cstddef>
#include <vector>

#include "Singleton.h"
#include "objects/GameEvent.h"

// The events of the world since the game last took them: objects emit, the game's
// screen takes them once or twice a frame and hands them to the aids.
class GameEvents : public singleton<GameEvents> {
public:
    // A world run without a game to take them (a benchmark, a tool) keeps only the
    // newest kMaxQueued: aids need a frame's worth, never a whole run's.
    static constexpr size_t kMaxQueued = 4096;

    void Emit(GameEvent::Kind kind, uint64_t subject, int64_t amount = 0, bool byPlayer = false) {
        if (queue_.size() >= kMaxQueued) queue_.erase(queue_.begin(), queue_.begin() + kMaxQueued / 2);
        queue_.push_back({kind, subject, amount, byPlayer});
    }
    // Everything emitted since the last Take, oldest first; the queue is left empty.
    std::vector<GameEvent> Take();
    void Clear() { queue_.clear(); }

private:
    std::vector<GameEvent> queue_;
};

extern GameEvents gameEvents;

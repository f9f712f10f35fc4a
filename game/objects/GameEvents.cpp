#include "objects/GameEvents.h"

#include <utility>

GameEvents gameEvents;

std::vector<GameEvent> GameEvents::Take() {
    std::vector<GameEvent> taken;
    taken.swap(queue_);
    return taken;
}

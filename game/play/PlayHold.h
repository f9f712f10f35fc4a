#pragma once

#include <cstdint>
#include <vector>

#include "objects/ObjRef.h"

class GameObj;

// Holds the world of play still while the menu shows over a game that has begun: every
// object of play (ships, towers, cannons, balls, chests, mines, fire and spray) is
// frozen and taken out of the overlap tests, so nothing moves, fights, launches or sinks
// behind the menu. The scenery and the screen's own pieces (the seas, the sky, clouds
// and rain, the island, buttons, panels and the life bar) are left running. Releasing
// gives every held object back the flags it had, so play goes on where it stopped.
class PlayHold {
public:
    // Holds every object of play now in the manager. Holding twice holds once.
    void Hold();
    void Release();
    bool Holding() const { return holding_; }
    // Whether an object of this type keeps running behind the menu.
    static bool KeepsRunning(const char* type);

private:
    struct Held {
        ObjRef<GameObj> object;
        uint8_t frozen;
        uint8_t noCollide;
    };
    std::vector<Held> held_;
    bool holding_ = false;
};

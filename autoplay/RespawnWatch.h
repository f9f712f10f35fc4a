#pragma once

#include <cstdint>
#include <deque>

class Game;

// Counts, over a run, the player's ships that sank, the ships that came in their place,
// and of those how many were still afloat ten seconds after they appeared.
class RespawnWatch {
public:
    static constexpr int kJudgeFrames = 600;  // ten seconds

    // After every frame of play.
    void Watch(const Game& game);

    int Frames() const { return frames_; }
    int sinkings = 0;
    int respawns = 0;
    int judged = 0;    // respawns whose ten seconds ended within the run
    int survived = 0;  // of those, afloat at the end of them

private:
    struct Arrival {
        uint64_t serial;
        int frame;
    };
    int frames_ = 0;
    uint64_t ship_ = 0;     // the ship seen last, 0 before any
    uint64_t counted_ = 0;  // the last ship whose sinking was counted
    std::deque<Arrival> arrivals_;
};

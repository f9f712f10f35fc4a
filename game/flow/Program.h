#pragma once

#include <cstdint>

#include "Options.h"

class Game;
class Platform;
class Sprite;

// The program's start-up, main loop and shut-down, on whichever platform it is given.
class Program {
public:
    // Runs the whole game; returns the process exit status (0 after a normal end,
    // kUsageStatus when a file named in the options cannot be used, nothing played).
    static int Run(Platform& platform, const Options& options);
    static int Run(Platform& platform) { return Run(platform, Options()); }
    // The frame function handed to the engine.
    static int32_t Frame(float dt);

    static Game* game;
    static Sprite* cursor;
    // Frames to run before ending normally (0: no limit), and frames run so far.
    static uint64_t frameLimit;
    static uint64_t framesRun;
};

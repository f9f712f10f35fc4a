#pragma once

#include <cstdint>

class Game;
class Platform;
class Sprite;

// The program's start-up, main loop and shut-down, on whichever platform it is given.
class Program {
public:
    // Runs the whole game; returns the process exit status (0 after a normal end).
    static int Run(Platform& platform);
    // The frame function handed to the engine.
    static int32_t Frame(float dt);

    static Game* game;
    static Sprite* cursor;
};

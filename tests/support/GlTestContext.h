#pragma once

#include <string>

#include "Vec2.h"

// A real 800 x 600 window with a GL context for tests that draw, opened once per
// test program through the engine's own Init. Tests skip when no display exists.
namespace gltest {

// Opens the window (once) and returns whether a context is current.
bool Open();
// Clears and sets up the frame exactly as the main loop does (projection, camera).
void BeginFrame();
// Draws the render list and ends the frame without presenting it.
void RenderList();
// Reads one pixel of the back buffer at window pixel (x, y), y growing downwards.
struct Rgba {
    int r, g, b, a;
};
Rgba ReadPixel(int x, int y);
// Saves the back buffer as a PNG image (for a person to look at).
bool SaveScreenshot(const std::string& path);
// Makes the search roots point at the generated data folder.
void UseDataFolder();

}  // namespace gltest

#define REQUIRE_GL()                                              \
    do {                                                          \
        if (!gltest::Open()) GTEST_SKIP() << "no display for GL"; \
    } while (0)

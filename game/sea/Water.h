#pragma once

#include "objects/GameObj.h"
#include "sea/WaveSim.h"

class ComplexSprite;

// The sea: a strip of water columns drawn as a tinted triangle strip under a smooth
// surface line. Floaters ask it for the height and slope under them; cannon balls that
// fall into it splash.
class Water : public GameObj {
public:
    const char* GetType() override { return "Water"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;
    // The smooth surface line over the strip.
    void Draw() override;

    // A symmetric ripple at world x.
    void Disturb(float strength, float x);
    // A lopsided push at world x that rolls on to the right.
    void Surge(float strength, float x);
    // World y of the surface at world x, and its slope through `slope`. Outside the
    // strip: 0, and the slope is left as it was.
    float GetHeight(float x, float* slope);

    // Width of the surface line: nearer seas draw a thicker line.
    float LineWidth() const;
    // The sprite made by Init (null before).
    ComplexSprite* Strip() const;

    float width = 0.0f;
    float bottom = 0.0f;
    WaveSim sim;
    int splashSound = 0;
    float spacing = 0.0f;

private:
    // Column under world x, or -1 when x is nowhere near the strip.
    int ColumnAt(float x) const;
    void ColourStates();
    void Tint(float g, float b);
    void Splash(GameObj* ball);
};

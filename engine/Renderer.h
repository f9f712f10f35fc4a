#pragma once

#include "Singleton.h"
#include "Vec2.h"

class Platform;

// Owns the GL context and the fixed-function state of a frame.
class Renderer : public singleton<Renderer> {
public:
    bool CreateContext(Platform& platform);
    void DestroyContext(Platform& platform);
    void InitState(int width, int height);
    void Resize(int width, int height);
    void BeginOrtho();
    void EndOrtho();
    void BeginFrame();
    void EndFrame(Platform* platform);
    void SetBlendMode(unsigned mode);
    // Pushes the modelview matrix; the caller pops it after drawing.
    void PushTransform(int screenSpace, const Vec2& position, float rotation, const Vec2& scale);

    bool hasContext = false;
};

extern Renderer renderer;

#pragma once

#include "BlendMode.h"
#include "Singleton.h"
#include "Vec2.h"

class Backdrop;
class Platform;

// Owns the GL context and the fixed-function state of a frame.
class Renderer : public singleton<Renderer> {
public:
    bool CreateContext(Platform& platform);
    void DestroyContext(Platform& platform);
    // Sets the state for a picture of width x height pixels, drawn at that size.
    void InitState(int width, int height);
    // The output is now width x height pixels: the picture keeps its size in its own
    // pixels and is scaled to fit, centred between black bars.
    void Resize(int width, int height);
    void BeginOrtho();
    void EndOrtho();
    void BeginFrame();
    void EndFrame(Platform* platform);
    void SetBlendMode(BlendMode mode);
    // Whether something drawn in blend mode `mode` with colour alpha `alpha` would leave
    // every pixel as it was (and so need not be drawn).
    bool Unseen(BlendMode mode, float alpha) const;
    // Pushes the modelview matrix; the caller pops it after drawing. In screen space the
    // camera is left out.
    void PushTransform(bool screenSpace, const Vec2& position, float rotation, const Vec2& scale);

    bool hasContext = false;
    // Draws skip what cannot change a pixel (invisible sprites, unused particle
    // slots), textures drawn texel for pixel sample the nearest texel, the water is
    // drawn with its one texel folded into its colours, and the sky from a copy of
    // itself. Off, everything is drawn the long way, which gives the same picture.
    bool shortcuts = true;
    // The backdrop whose copy is made right after the clear, if any (it registers itself).
    Backdrop* backdrop = nullptr;
    // The picture's own size (from InitState); screen coordinates are in these pixels.
    int pictureWidth = 0;
    int pictureHeight = 0;
};

extern Renderer renderer;

#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "GL.h"
#include "Renderer.h"
#include "TextureManager.h"

// Full-screen 800 x 600 layers, the bare fill a scene's big layers cost on this machine.
enum LayerKind { kFlat, kNearest, kLinear, kBlended, kFlatBlended, kLayerKinds };

inline const char* LayerKindName(LayerKind kind) {
    static const char* const names[] = {"untextured", "opaque nearest", "opaque linear", "blended linear",
                                        "blended untextured"};
    return names[kind];
}

struct LayerCount {
    LayerKind kind;
    int count;
};

// An 800 x 600 gradient at alpha 0.6, made once per context.
inline GLuint LayerTexture() {
    static GLuint name = 0;
    if (name) return name;
    std::vector<uint8_t> texels(800 * 600 * 4);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            uint8_t* t = &texels[(y * 800 + x) * 4];
            t[0] = static_cast<uint8_t>(x * 255 / 799);
            t[1] = static_cast<uint8_t>(y * 255 / 599);
            t[2] = 128;
            t[3] = 153;
        }
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 800, 600, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    return name;
}

// One frame as the game draws one: cleared, the layers in order, finished.
inline void DrawLayerFrame(const std::vector<LayerCount>& layers) {
    renderer.BeginFrame();
    const GLuint texture = LayerTexture();
    for (const LayerCount& layer : layers) {
        const bool textured = layer.kind != kFlat && layer.kind != kFlatBlended;
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, texture);
            const GLint filter = layer.kind == kNearest ? GL_NEAREST : GL_LINEAR;
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        renderer.SetBlendMode(layer.kind == kBlended || layer.kind == kFlatBlended ? BlendMode::kAlpha : BlendMode::kOpaque);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        for (int i = 0; i < layer.count; ++i) {
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(0, 0), glVertex3f(0, 0, 0);
            glTexCoord2f(0, 1), glVertex3f(0, 600, 0);
            glTexCoord2f(1, 0), glVertex3f(800, 0, 0);
            glTexCoord2f(1, 1), glVertex3f(800, 600, 0);
            glEnd();
        }
    }
    renderer.EndOrtho();
    glFinish();
    // The engine's own binding cache no longer knows what is bound.
    textureManager.boundId = TextureManager::kNoneBound;
    textureManager.texturing = 0;
    glDisable(GL_TEXTURE_2D);
}

// The big layers of the game's scenes, each taken full screen: the sky (opaque, sampled
// nearest) and the two water strips (blended, drawn untextured).
inline const std::vector<LayerCount> kSceneLayers = {{kNearest, 1}, {kFlatBlended, 2}};

inline void DrawLayers(LayerKind kind, int count) { DrawLayerFrame({{kind, count}}); }

// Milliseconds a frame of these layers takes, the median of `frames` frames.
inline double LayerFloorMs(const std::vector<LayerCount>& layers, int frames) {
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        DrawLayerFrame(layers);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + frames / 2, times.end());
    return times[frames / 2];
}

// Reports a scene's frame time as a ratio to the floor of its big layers.
template <class State>
void ReportAgainstFloor(State& state, double totalMs) {
    const double frameMs = totalMs / static_cast<double>(state.iterations());
    const double floorMs = LayerFloorMs(kSceneLayers, 60);
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = frameMs / floorMs;
}

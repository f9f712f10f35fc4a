#include "CachedBackdrop.h"

#include <cstdlib>

#include "GL.h"
#include "Renderer.h"
#include "Texture.h"
#include "TextureManager.h"

CachedBackdrop::CachedBackdrop() { renderer.backdrop = this; }

CachedBackdrop::~CachedBackdrop() {
    if (renderer.backdrop == this) renderer.backdrop = nullptr;
    if (copy_ && renderer.hasContext) glDeleteTextures(1, &copy_);
}

std::vector<float> CachedBackdrop::Key() const {
    const float w = static_cast<float>(renderer.pictureWidth), h = static_cast<float>(renderer.pictureHeight);
    if (blendMode != BlendMode::kOpaque || !screenSpace || !texture || !colours || !texCoords || vertexCount != 4 ||
        primitive != GL_TRIANGLE_STRIP || rotation != 0.0f || !(scale == Vec2(1.0f, 1.0f)) ||
        !(position == Vec2(0.0f, 0.0f)) || w <= 0.0f || h <= 0.0f)
        return {};
    // The four corners of the picture, in any order: the copy then maps texel for pixel.
    for (int v = 0; v < 4; ++v) {
        const float x = vertices[v * 3], y = vertices[v * 3 + 1];
        if ((x != 0.0f && x != w) || (y != 0.0f && y != h)) return {};
    }
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<float> key = {static_cast<float>(texture->glName), w, h};
    for (GLint v : viewport) key.push_back(static_cast<float>(v));
    key.insert(key.end(), colour, colour + 4);
    key.insert(key.end(), vertices, vertices + 12);
    key.insert(key.end(), colours, colours + 16);
    for (int v = 0; v < 4; ++v) key.insert(key.end(), {texCoords[v].x, texCoords[v].y});
    return key;
}

void CachedBackdrop::Draw() {
    if (renderer.shortcuts && HoldsCopy()) {
        const std::vector<float> key = Key();
        if (key == baked_) {
            DrawCopy();
            return;
        }
    }
    ComplexSprite::Draw();
    if (!renderer.shortcuts) return;
    std::vector<float> key = Key();
    steadyDraws_ = !key.empty() && key == lastDrawn_ ? steadyDraws_ + 1 : 1;
    lastDrawn_ = std::move(key);
}

void CachedBackdrop::BakeIfSteady() {
    if (unsupported_ || steadyDraws_ < 2 || lastDrawn_.empty() || lastDrawn_ == baked_ || Key() != lastDrawn_)
        return;
    // A texture the size of the viewport needs textures of any size (GL 2.0).
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || std::atoi(version) < 2) {
        unsupported_ = true;
        return;
    }
    ComplexSprite::Draw();
    GLint viewport[4] = {0, 0, 0, 0}, previous = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    // Earlier errors are not the copy's (a few at most: GL keeps one per kind).
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) {
    }
    if (!copy_) glGenTextures(1, &copy_);
    glBindTexture(GL_TEXTURE_2D, copy_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    // Alpha too: a later blend may read the picture's alpha.
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, viewport[0], viewport[1], viewport[2], viewport[3], 0);
    const bool copied = glGetError() == GL_NO_ERROR;
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    // The frame starts again from the clear.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!copied) {
        unsupported_ = true;
        baked_.clear();
        return;
    }
    baked_ = lastDrawn_;
}

void CachedBackdrop::DrawCopy() {
    textureManager.Bind(texture, 0);  // texturing on, on unit 0
    glBindTexture(GL_TEXTURE_2D, copy_);
    textureManager.boundId = TextureManager::kNoneBound;
    renderer.SetBlendMode(BlendMode::kOpaque);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    renderer.PushTransform(screenSpace, position, rotation, scale);
    const float w = static_cast<float>(renderer.pictureWidth), h = static_cast<float>(renderer.pictureHeight);
    // Same corners and depths as the backdrop; the copy's rows run bottom up.
    glBegin(GL_TRIANGLE_STRIP);
    for (int v = 0; v < 4; ++v) {
        const float* p = vertices + v * 3;
        glTexCoord2f(p[0] / w, 1.0f - p[1] / h);
        glVertex3f(p[0], p[1], p[2]);
    }
    glEnd();
    glPopMatrix();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

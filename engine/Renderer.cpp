#include "Renderer.h"

#include "Backdrop.h"
#include "GL.h"
#include "Platform.h"
#include "TextureManager.h"

Renderer renderer;

bool Renderer::CreateContext(Platform& platform) {
    hasContext = platform.CreateContext();
    return hasContext;
}

void Renderer::DestroyContext(Platform& platform) {
    if (hasContext) {
        platform.DestroyContext();
        hasContext = false;
    }
}

void Renderer::InitState(int width, int height) {
    pictureWidth = width;
    pictureHeight = height;
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    Resize(width, height);
    glClientActiveTexture(GL_TEXTURE0);
    glActiveTexture(GL_TEXTURE0);
    if (!textureManager.texturing) {
        textureManager.texturing = 1;
        glEnable(GL_TEXTURE_2D);
    }
    glEnable(GL_MULTISAMPLE);
}

void Renderer::Resize(int width, int height) {
    // The clear reaches the whole output, so the bars beside the viewport stay black.
    const Letterbox box = FitLetterbox(pictureWidth, pictureHeight, width, height);
    glViewport(box.x, height - box.y - box.height, box.width, box.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A zero height gives an infinite aspect; only the unused base matrix sees it.
    gluPerspective(60.0, static_cast<double>(width) / static_cast<double>(height),
                   static_cast<double>(0.1f), 100000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Renderer::BeginOrtho() {
    // Screen pixels are the picture's, whatever size the viewport is scaled to.
    GLint viewport[4] = {0, 0, pictureWidth, pictureHeight};
    if (pictureWidth <= 0 || pictureHeight <= 0) glGetIntegerv(GL_VIEWPORT, viewport);
    const GLint w = viewport[2];
    const GLint h = viewport[3];
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void Renderer::EndOrtho() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void Renderer::BeginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    BeginOrtho();
    if (backdrop && shortcuts) backdrop->BakeIfSteady();
}

void Renderer::EndFrame(Platform* platform) {
    EndOrtho();
    if (platform) platform->SwapBuffers();
}

bool Renderer::Unseen(BlendMode mode, float alpha) const {
    return shortcuts && (mode == BlendMode::kAlpha || mode == BlendMode::kAdditive) && alpha <= 0.0f;
}

void Renderer::SetBlendMode(BlendMode mode) {
    switch (mode) {
        case BlendMode::kOpaque:
            glDisable(GL_BLEND);
            break;
        case BlendMode::kAlpha:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case BlendMode::kAdditive:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        case BlendMode::kDestAlpha:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
            break;
        default:
            break;  // leaves the previous blend state in force
    }
}

void Renderer::PushTransform(bool screenSpace, const Vec2& position, float rotation,
                             const Vec2& scale) {
    glPushMatrix();
    if (screenSpace) glLoadIdentity();
    glTranslatef(position.x, position.y, 0.0f);
    glRotatef(rotation, 0.0f, 0.0f, 1.0f);
    glScalef(scale.x, scale.y, 1.0f);
}

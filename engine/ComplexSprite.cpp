#include "ComplexSprite.h"

#include "Box.h"
#include "Renderer.h"
#include "TextureManager.h"

ComplexSprite::~ComplexSprite() {
    delete[] colours;
    delete[] vertices;
}

void ComplexSprite::Allocate(int count, bool withColours, bool withTexCoords) {
    delete[] vertices;
    delete[] colours;
    delete[] texCoords;
    vertexCount = count;
    vertices = new float[static_cast<size_t>(count) * 3]();
    colours = withColours ? new float[static_cast<size_t>(count) * 4]() : nullptr;
    texCoords = withTexCoords ? new Vec2[count] : nullptr;
    texCoordCount = withTexCoords ? count : 0;
}

void ComplexSprite::UpdateCorners() {
    float minX = 10000.0f, minY = 10000.0f, maxX = -10000.0f, maxY = -10000.0f;
    for (int i = 0; i < vertexCount; ++i) {
        float x = vertices[i * 3];
        float y = vertices[i * 3 + 1];
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
    }
    corners[kTopLeft] = position + Vec2(minX, minY);
    corners[kTopRight] = position + Vec2(maxX, minY);
    corners[kBottomLeft] = position + Vec2(minX, maxY);
    corners[kBottomRight] = position + Vec2(maxX, maxY);
    CornersChanged();
}

void ComplexSprite::SetImage(const std::string& name) {
    Renderable::SetImage(name);
    UpdateCorners();
    Update(0.0f);
}

void ComplexSprite::SetDepth(float d) {
    for (int i = 0; i < vertexCount; ++i) vertices[i * 3 + 2] = d;
    Renderable::SetDepth(d);
}

float ComplexSprite::GetDepth() { return vertexCount > 0 && vertices ? vertices[2] : depth; }

void ComplexSprite::Draw() {
    if (!colours && renderer.Unseen(blendMode, colour[3])) return;
    if (oneTexel && colours && texture && renderer.shortcuts) {
        DrawOneTexel();
        return;
    }
    textureManager.Bind(texture, 0);
    renderer.SetBlendMode(blendMode);
    DrawArrays();
}

void ComplexSprite::DrawOneTexel() {
    const float* texel = textureManager.TexelAtOrigin(texture);
    folded_.resize(static_cast<size_t>(vertexCount) * 4);
    for (size_t i = 0; i < folded_.size(); ++i) folded_[i] = colours[i] * texel[i % 4];
    textureManager.Bind(nullptr, 0);
    renderer.SetBlendMode(blendMode);
    // The arrays as they are drawn: the folded colours, no texture coordinates.
    float* const ownColours = colours;
    Vec2* const ownTexCoords = texCoords;
    colours = folded_.data();
    texCoords = nullptr;
    DrawArrays();
    colours = ownColours;
    texCoords = ownTexCoords;
}

void ComplexSprite::DrawArrays(int count) {
    BeginArrays();
    if (count < 0 || count > vertexCount) count = vertexCount;
    if (count > 0 && vertices) glDrawArrays(primitive, 0, count);
    EndArrays();
}

void ComplexSprite::DrawTopEdge(const float colour[4], float width, bool smooth) const {
    if (!vertices || vertexCount < 2) return;
    glPushMatrix();
    glTranslatef(position.x, position.y, 0.0f);
    renderer.SetBlendMode(BlendMode::kAlpha);
    if (textureManager.texturing) {
        textureManager.texturing = 0;
        glDisable(GL_TEXTURE_2D);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4fv(colour);
    if (smooth) {
        glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
        glEnable(GL_LINE_SMOOTH);
    }
    glLineWidth(width);
    // Nothing may have enabled it yet on the first frame.
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), vertices);
    glDrawArrays(GL_LINE_STRIP, 0, vertexCount / 2);
    if (smooth) glDisable(GL_LINE_SMOOTH);
    textureManager.texturing = 1;
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
}

void ComplexSprite::BeginArrays() {
    renderer.PushTransform(screenSpace, position, rotation, scale);
    glColor4fv(colour);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, vertices);
    if (texCoords) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    } else {
        // Another drawer may have left the array on with a stale pointer.
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (colours) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, colours);
    }
}

void ComplexSprite::EndArrays() {
    if (colours) glDisableClientState(GL_COLOR_ARRAY);
    if (texCoords) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
}

#include "Sprite.h"

#include "GL.h"
#include "Renderer.h"
#include "Texture.h"
#include "TextureManager.h"

Sprite::Sprite(int rowsIn, int columnsIn, const std::string& imageName)
    : rows(rowsIn), columns(columnsIn) {
    vertexCount = 4;
    SetImage(imageName);
}

void Sprite::SetImage(const std::string& name) {
    texture = textureManager.GetTexture(name);
    if (!texCoords) texCoords = new Vec2[4];
    texCoordCount = 4;
    frameWidth = static_cast<float>(texture->width) / static_cast<float>(columns);
    frameHeight = static_cast<float>(texture->height) / static_cast<float>(rows);
    UpdateCorners();
    Update(0.0f);
}

void Sprite::UpdateCorners() {
    float hw = frameWidth * scale.x * 0.5f;
    float hh = frameHeight * scale.y * 0.5f;
    corners[0] = Vec2(position.x - hw, position.y - hh);
    corners[1] = Vec2(position.x + hw, position.y - hh);
    corners[2] = Vec2(position.x - hw, position.y + hh);
    corners[3] = Vec2(position.x + hw, position.y + hh);
    CornersChanged();
}

void Sprite::Update(float dt) {
    if (!texture) return;
    float tw = static_cast<float>(texture->width);
    float th = static_cast<float>(texture->height);
    float fw = tw / static_cast<float>(columns);
    float fh = th / static_cast<float>(rows);
    float u0 = fw * frameColumn / tw;
    float u1 = (fw * frameColumn + fw) / tw;
    float t0 = frameRow * fh / th;
    float t1 = (frameRow * fh + fh) / th;
    texCoords[0] = Vec2(u0, t0);
    texCoords[1] = Vec2(u0, t1);
    texCoords[2] = Vec2(u1, t0);
    texCoords[3] = Vec2(u1, t1);
    if (texCoordCount <= 4) {
        frameTimer += dt;
        // In double: two float 1/60 steps must pass a 1/30 frame.
        if (frameTimer > 1.0 / framesPerSecond) {
            frameTimer = 0.0f;
            frameColumn += 1.0f;
            if (frameColumn >= static_cast<float>(columns)) frameColumn = 0.0f;
        }
    }
}

void Sprite::Draw() {
    if (renderer.Unseen(blendMode, colour[3])) return;
    textureManager.Bind(texture, 0);
    renderer.SetBlendMode(blendMode);
    renderer.PushTransform(screenSpace, position, rotation, scale);
    glColor4fv(colour);
    float hw = frameWidth / 2.0f;
    float hh = frameHeight / 2.0f;
    static const int kPlain[4] = {0, 1, 2, 3};
    static const int kMirrored[4] = {2, 3, 0, 1};
    const int* tc = mirrored ? kMirrored : kPlain;
    const float xs[4] = {-hw, -hw, hw, hw};
    const float ys[4] = {-hh, hh, -hh, hh};
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(texCoords[tc[i]].x, texCoords[tc[i]].y);
        glVertex3f(xs[i], ys[i], depth);
    }
    glEnd();
    glPopMatrix();
}

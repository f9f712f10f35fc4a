#include "Sprite.h"

#include <algorithm>

#include "Box.h"
#include "GL.h"
#include "QuadTrim.h"
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
    corners[kTopLeft] = Vec2(position.x - hw, position.y - hh);
    corners[kTopRight] = Vec2(position.x + hw, position.y - hh);
    corners[kBottomLeft] = Vec2(position.x - hw, position.y + hh);
    corners[kBottomRight] = Vec2(position.x + hw, position.y + hh);
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

bool Sprite::Trim(float* xs, float* ys, Vec2* uv) const {
    QuadTrim trim;
    // The quad's s follows x and its t follows y (left, right; top, bottom).
    const float sl = uv[0].x, sr = uv[2].x, tt = uv[0].y, tb = uv[1].y;
    // Coordinates past the texture's edges (a scrolling fog) wrap round: drawn whole.
    const bool inside = std::min(sl, sr) >= 0.0f && std::max(sl, sr) <= 1.0f && std::min(tt, tb) >= 0.0f &&
                        std::max(tt, tb) <= 1.0f;
    if (uv[1].x != sl || uv[3].x != sr || uv[2].y != tt || uv[3].y != tb || sl == sr || tt == tb || !inside ||
        !trim.Begin(texture, blendMode))
        return true;
    const float* shown = trim.Shown(xs[2] - xs[0], ys[1] - ys[0], sr - sl, tb - tt);
    const float s0 = std::max(std::min(sl, sr), shown[0]), s1 = std::min(std::max(sl, sr), shown[2]);
    const float t0 = std::max(std::min(tt, tb), shown[1]), t1 = std::min(std::max(tt, tb), shown[3]);
    if (!(s0 <= s1 && t0 <= t1)) return false;  // nothing of the frame can show
    // Edges moved to the shown part, each with the texture coordinate it has there.
    const float left = xs[0], width = xs[2] - xs[0], top = ys[0], height = ys[1] - ys[0];
    const float sa = sl < sr ? s0 : s1, sb = sl < sr ? s1 : s0;
    const float ta = tt < tb ? t0 : t1, tc = tt < tb ? t1 : t0;
    const float xa = left + width * ((sa - sl) / (sr - sl)), xb = left + width * ((sb - sl) / (sr - sl));
    const float ya = top + height * ((ta - tt) / (tb - tt)), yb = top + height * ((tc - tt) / (tb - tt));
    const float x[4] = {xa, xa, xb, xb}, y[4] = {ya, yb, ya, yb};
    const float s[4] = {sa, sa, sb, sb}, t[4] = {ta, tc, ta, tc};
    for (int i = 0; i < 4; ++i) {
        xs[i] = x[i];
        ys[i] = y[i];
        uv[i] = Vec2(s[i], t[i]);
    }
    return true;
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
    float xs[4] = {-hw, -hw, hw, hw};
    float ys[4] = {-hh, hh, -hh, hh};
    Vec2 uv[4] = {texCoords[tc[0]], texCoords[tc[1]], texCoords[tc[2]], texCoords[tc[3]]};
    if (!Trim(xs, ys, uv)) {
        glPopMatrix();
        return;
    }
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(uv[i].x, uv[i].y);
        glVertex3f(xs[i], ys[i], depth);
    }
    glEnd();
    glPopMatrix();
}

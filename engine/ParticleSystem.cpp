#include "ParticleSystem.h"

#include <algorithm>
#include <climits>

#include "Box.h"
#include "GL.h"
#include "QuadTrim.h"
#include "Random.h"
#include "Renderer.h"
#include "TextureManager.h"

namespace {

// Symmetric factor in -1..1 from two draws, first minus second. The two draws are
// sequenced explicitly: in "Rand() - Rand()" their order would be unspecified.
double SpreadFactor() {
    const int first = Rand();
    const int second = Rand();
    return static_cast<double>(first - second) / 32767.0;
}

float Spread(float base, float spread) {
    const double r = SpreadFactor();
    return static_cast<float>(static_cast<double>(base) + r * static_cast<double>(spread));
}

Vec2 Spread(const ParticleRange2& range) {
    Vec2 v;
    v.x = Spread(range.base.x, range.spread.x);
    v.y = Spread(range.base.y, range.spread.y);
    return v;
}

// Whole pixels a particle may be born across. The emitter code keeps hi >= min, so
// this is at least 1 in ordinary use; far from the origin min + 1 rounds back to min
// (and NaN compares false), which would otherwise make the modulo divide by zero.
int PixelRange(float extent) {
    if (!(extent >= 1.0f)) return 1;
    if (extent >= 2147483647.0f) return INT_MAX;
    return static_cast<int>(extent);
}

void SetQuad(float* v, float x, float y, float x2, float y2) {
    const float xs[6] = {x, x2, x, x, x2, x2};
    const float ys[6] = {y, y, y2, y2, y, y2};
    for (int k = 0; k < 6; ++k) {
        v[k * 3] = xs[k];
        v[k * 3 + 1] = ys[k];
    }
}

void SetQuadColour(float* c, const float rgba[4]) {
    for (int k = 0; k < 6; ++k)
        for (int j = 0; j < 4; ++j) c[k * 4 + j] = rgba[j];
}

}  // namespace

ParticleSystem::ParticleSystem() { primitive = GL_TRIANGLES; }

ParticleSystem::~ParticleSystem() { delete[] particles; }

void ParticleSystem::Setup(const ParticleSettings& s) {
    settings = s;
    if (settings.count < 0) settings.count = 0;
    primitive = GL_TRIANGLES;
    poolSize_ = settings.count;

    delete[] particles;
    particles = new Particle[poolSize_];
    lives_.assign(static_cast<size_t>(poolSize_), 0.0f);
    touched_ = 0;
    // Vertices start at the origin so a never-emitted particle covers no pixels.
    Allocate(6 * poolSize_, true, true);
    static const Vec2 kCorner[6] = {Vec2(0, 0), Vec2(1, 0), Vec2(0, 1),
                                    Vec2(0, 1), Vec2(1, 0), Vec2(1, 1)};
    for (int i = 0; i < poolSize_; ++i)
        for (int k = 0; k < 6; ++k) texCoords[i * 6 + k] = kCorner[k];
    Reset();
}

void ParticleSystem::Reset() {
    for (int i = 0; i < poolSize_; ++i) {
        particles[i].life = -1.0f;
        particles[i].startColour[3] = 0.0f;
        lives_[i] = -1.0f;
    }
    alive_ = 0;
    unborn_ = poolSize_;
}

void ParticleSystem::Tally(float life, int32_t n) {
    if (life > 0.0f) alive_ += n;
    else if (life == -1.0f) unborn_ += n;
}

void ParticleSystem::SetImage(const std::string& name) {
    Renderable::SetImage(name);
    textureWidth = static_cast<float>(texture->width);
    textureHeight = static_cast<float>(texture->height);
}

void ParticleSystem::Emit(int i) {
    Particle& p = particles[i];
    if (i >= touched_) touched_ = i + 1;
    p.size = Spread(settings.size);

    const Vec2& lo = settings.emitterBox[kTopLeft];
    const Vec2& hi = settings.emitterBox[kBottomRight];
    const float w = p.size.x * textureWidth;
    const float h = p.size.y * textureHeight;
    float hiX = hi.x - w / 2.0f;
    float hiY = hi.y - h / 2.0f;
    if (hiY < lo.y) hiY = lo.y + 1.0f;
    if (hiX < lo.x) hiX = lo.x + 1.0f;
    // Born on whole pixels; the range is truncated, so a box narrower than the
    // particle still yields at least one pixel.
    const int rangeX = PixelRange(hiX + 1.0f - lo.x);
    p.position.x = lo.x + static_cast<float>(Rand() % rangeX);
    const int rangeY = PixelRange(hiY + 1.0f - lo.y);
    p.position.y = lo.y + static_cast<float>(Rand() % rangeY);
    p.z = settings.z;

    for (int j = 0; j < 4; ++j) {
        p.startColour[j] = settings.startColour[j];
        p.endColour[j] = settings.endColour[j];
    }
    p.velocity = Spread(settings.velocity);
    p.acceleration = Spread(settings.acceleration);
    p.rotation = Spread(settings.rotation.base, settings.rotation.spread);
    Tally(p.life, -1);
    p.life = Spread(settings.lifetime.base, settings.lifetime.spread);
    lives_[i] = p.life;
    Tally(p.life, 1);

    float* v = vertices + i * 18;
    SetQuad(v, p.position.x, p.position.y, p.position.x + w, p.position.y + h);
    for (int k = 0; k < 6; ++k) v[k * 3 + 2] = p.z;
    SetQuadColour(colours + i * 24, p.startColour);
}

void ParticleSystem::Update(float dt) {
    if (stopEmitting && finished) return;

    emitTimer += dt;
    liveCount = 0;
    float minX = 10000.0f, minY = 10000.0f, maxX = -100000.0f, maxY = -100000.0f;

    // The period is taken in double: in float 1/60 equals the frame step exactly, and
    // a rate of 60 must emit on every frame, the first included. A rate of 0 (or
    // less) has no finite period and never emits.
    const bool mayEmit = stopEmitting == 0 && emissionRate > 0.0f;
    const double period = mayEmit ? 1.0 / static_cast<double>(emissionRate) : 0.0;

    // Nothing alive and nothing to emit (a spent puff waiting to be re-armed): the walk
    // below would change nothing but the box and the flags, so skip it.
    const bool emits = mayEmit && static_cast<double>(emitTimer) > period &&
                       (settings.continuous != 0 || unborn_ > 0);
    if (alive_ == 0 && !emits) {
        liveCount = 0;
        BoxSet(corners, minX, minY, maxX, maxY);
        CornersChanged();
        finished = 1;
        return;
    }

    for (int i = 0; i < poolSize_; ++i) {
        // Past the touched slots every particle waits for its first emission, in order;
        // once the emission clock is spent none of them can change this step.
        if (i >= touched_ && !(mayEmit && static_cast<double>(emitTimer) > period)) break;
        // The lives are also kept apart, so that the dead are passed over without
        // reading their records.
        const float life = lives_[i];
        if (life > 0.0f) {
            Particle& p = particles[i];
            ++liveCount;
            const float x = p.position.x;
            const float y = p.position.y;
            if (x < minX) minX = x;
            if (x > maxX) maxX = x;
            if (y < minY) minY = y;
            if (y > maxY) maxY = y;

            // Drawn this frame where it was before this step's move.
            SetQuad(vertices + i * 18, x, y, x + textureWidth * p.size.x,
                    y + textureHeight * p.size.y);

            p.size = p.size + settings.sizeGrowth * dt;
            if (p.size.x < 0.0f) p.size.x = 0.0f;
            if (p.size.y < 0.0f) p.size.y = 0.0f;
            p.position = p.position + p.velocity * dt;
            p.rotation += settings.spin * dt;
            p.velocity = p.velocity + p.acceleration * dt;
            p.life -= dt;
            if (p.life < 0.0f) p.life = 0.0f;
            lives_[i] = p.life;
            if (!(p.life > 0.0f)) --alive_;

            // A zero base lifetime would divide by zero; such a particle shows its end.
            const float t =
                settings.lifetime.base != 0.0f ? 1.0f - p.life / settings.lifetime.base : 1.0f;
            float c[4];
            for (int j = 0; j < 4; ++j)
                c[j] = p.startColour[j] + (p.endColour[j] - p.startColour[j]) * t;
            if (!(p.life > 0.0f)) c[3] = 0.0f;
            SetQuadColour(colours + i * 24, c);
        } else if (mayEmit && (life == -1.0f || settings.continuous != 0) &&
                   static_cast<double>(emitTimer) > period) {
            emitTimer = static_cast<float>(static_cast<double>(emitTimer) - period);
            Emit(i);
            ++liveCount;
        }
    }

    // Positions only: not offset by the sprite's position, no particle size.
    BoxSet(corners, minX, minY, maxX, maxY);
    CornersChanged();
    if (liveCount == 0) finished = 1;
}

void ParticleSystem::Draw() {
    // Blend mode first, then the texture.
    renderer.SetBlendMode(blendMode);
    textureManager.Bind(texture, 0);
    renderer.PushTransform(screenSpace, position, rotation, scale);
    QuadTrim trim;
    const bool cut = vertices && colours && texCoords && trim.Begin(texture, blendMode);
    glPopMatrix();
    if (!cut) {
        DrawArrays(6 * touched_);
        return;
    }
    // Only what can show: quads whose colour has alpha 0 everywhere (the dead) shrink to a
    // point, and the rest are cut to the part of the texture that can show. Every slot
    // stays in the array: the software renderer's memory grows through a long game when
    // the number of vertices drawn keeps changing.
    static const Vec2 kCorner[6] = {Vec2(0, 0), Vec2(1, 0), Vec2(0, 1), Vec2(0, 1), Vec2(1, 0), Vec2(1, 1)};
    const size_t most = static_cast<size_t>(6 * std::min(touched_, vertexCount / 6));
    shownVertices_.resize(most * 3);
    shownColours_.resize(most * 4);
    shownTexCoords_.resize(most);
    int count = 0;
    for (int q = 0; q * 6 < static_cast<int>(most); ++q) {
        const float* v = vertices + q * 18;
        const float* c = colours + q * 24;
        const Vec2* uv = texCoords + q * 6;
        bool clear = true, plain = true;
        for (int k = 0; k < 6; ++k) {
            clear = clear && c[k * 4 + 3] == 0.0f;
            plain = plain && uv[k] == kCorner[k] && v[k * 3 + 2] == v[2];
            for (int j = 0; j < 4; ++j) plain = plain && c[k * 4 + j] == c[j];
        }
        float* ov = &shownVertices_[static_cast<size_t>(count) * 3];
        float* oc = &shownColours_[static_cast<size_t>(count) * 4];
        Vec2* ouv = &shownTexCoords_[static_cast<size_t>(count)];
        auto collapse = [&] {
            for (int k = 0; k < 6; ++k) {
                std::copy(v, v + 3, ov + k * 3);
                ouv[k] = Vec2(0.0f, 0.0f);
            }
            std::copy(c, c + 24, oc);
            count += 6;
        };
        if (clear) {
            collapse();
            continue;
        }
        const float x = v[0], y = v[1], x2 = v[3], y2 = v[7];
        plain = plain && v[4] == y && v[6] == x && v[9] == x && v[10] == y2 && v[12] == x2 && v[13] == y &&
                v[15] == x2 && v[16] == y2;
        if (!plain) {
            std::copy(v, v + 18, ov);
            std::copy(c, c + 24, oc);
            std::copy(uv, uv + 6, ouv);
            count += 6;
            continue;
        }
        const float* shown = trim.Shown(x2 - x, y2 - y, 1.0f, 1.0f);
        if (!(shown[0] <= shown[2] && shown[1] <= shown[3])) {
            collapse();
            continue;
        }
        // The quad's edges moved in to the part shown, the texture coordinates with them.
        const float xa = x + (x2 - x) * shown[0], xb = x + (x2 - x) * shown[2];
        const float ya = y + (y2 - y) * shown[1], yb = y + (y2 - y) * shown[3];
        const float xs[6] = {xa, xb, xa, xa, xb, xb}, ys[6] = {ya, ya, yb, yb, ya, yb};
        for (int k = 0; k < 6; ++k) {
            ov[k * 3] = xs[k];
            ov[k * 3 + 1] = ys[k];
            ov[k * 3 + 2] = v[2];
            ouv[k] = Vec2(kCorner[k].x == 0.0f ? shown[0] : shown[2], kCorner[k].y == 0.0f ? shown[1] : shown[3]);
        }
        std::copy(c, c + 24, oc);
        count += 6;
    }
    float* const ownVertices = vertices;
    float* const ownColours = colours;
    Vec2* const ownTexCoords = texCoords;
    vertices = shownVertices_.data();
    colours = shownColours_.data();
    texCoords = shownTexCoords_.data();
    DrawArrays(count);
    vertices = ownVertices;
    colours = ownColours;
    texCoords = ownTexCoords;
}

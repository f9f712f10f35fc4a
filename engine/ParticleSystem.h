#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ComplexSprite.h"
#include "ParticleSettings.h"

// One particle of the pool. life: -1 never emitted, > 0 alive, 0 dead.
struct Particle {
    Vec2 position;
    float z = 0.0f;
    float startColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float endColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    Vec2 velocity;
    Vec2 acceleration;
    Vec2 size;
    float rotation = 0.0f;
    float life = 0.0f;
};

// A fixed pool of textured, screen-aligned quads (two triangles each) that move,
// grow, fade and are re-emitted. Owners set emissionRate and the two flags directly.
class ParticleSystem : public ComplexSprite {
public:
    ParticleSystem();
    ~ParticleSystem() override;

    void Update(float dt) override;
    void Draw() override;
    // Only takes the texture and its size; the particles are left alone.
    void SetImage(const std::string& name) override;
    float GetDepth() override { return settings.z; }

    // Copies the settings, allocates the pool and the vertex arrays, then Reset.
    void Setup(const ParticleSettings& s);
    // Marks every particle as never emitted.
    void Reset();
    // Gives particle i a new life inside the emitter box.
    void Emit(int i);

    float textureWidth = 0.0f;
    float textureHeight = 0.0f;
    ParticleSettings settings;
    Particle* particles = nullptr;
    float emitTimer = 0.0f;     // seconds owed to emission
    float emissionRate = 0.0f;  // particles per second; 0 or less never emits
    int32_t liveCount = 0;
    uint8_t stopEmitting = 0;
    uint8_t finished = 0;  // set whenever an update ends with nothing alive

private:
    // Counts the particles of a life: alive above 0, never emitted at -1.
    void Tally(float life, int32_t n);

    int32_t poolSize_ = 0;  // particles allocated; settings.count may be edited later
    // Particles alive and never emitted, kept as lives change.
    int32_t alive_ = 0;
    int32_t unborn_ = 0;
    std::vector<float> lives_;  // each particle's life, as in its record
    // The quads drawn when they can be cut (see Draw).
    std::vector<float> shownVertices_;
    std::vector<float> shownColours_;
    std::vector<Vec2> shownTexCoords_;
    // Slots below this index have been emitted at least once since Setup; the ones
    // above are untouched (never emitted, covering no pixels), so updates and draws
    // can stop there. A Reset keeps it: reset slots still hold their last quads.
    int32_t touched_ = 0;
};

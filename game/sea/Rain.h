#pragma once

#include "ParticleObj.h"

class Cloud;

// Drops falling from a raining cloud; only clouds make it, and the cloud disposes of it.
class Rain : public ParticleObj {
public:
    Rain() = default;
    ~Rain() override;

    const char* GetType() override { return "Rain"; }
    void Init() override;

    float intensity = 0.0f;  // set by its cloud
    // The cloud that rains it; each side clears the other's pointer when it goes, so
    // neither is left holding a destroyed object.
    Cloud* cloud = nullptr;
};

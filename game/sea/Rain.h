#pragma once

#include "sea/ParticleObj.h"

// Drops falling from a raining cloud; only clouds make it, and the cloud disposes of it.
class Rain : public ParticleObj {
public:
    Rain() = default;
    ~Rain() override;

    const char* GetType() override { return "Rain"; }
    void Init() override;

    float intensity = 0.0f;  // set by its cloud
    // The pointer its cloud holds to it, cleared when the rain goes; the cloud clears
    // this one when it goes first. Neither is left holding a destroyed object.
    Rain** heldBy = nullptr;
};

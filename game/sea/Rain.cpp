#include "sea/Rain.h"

#include "objects/GameObjFactory.h"

Rain::~Rain() {
    if (heldBy && *heldBy == this) *heldBy = nullptr;
}

void Rain::Init() {
    ParticleSettings& s = Settings();
    s.count = 1000;
    s.velocity.base = Vec2(0.0f, 20.0f);
    s.velocity.spread = Vec2(20.0f, 50.0f);
    s.z = 0.2f;
    s.acceleration.base = Vec2(0.0f, 90.0f);
    s.acceleration.spread = Vec2(0.0f, 0.0f);
    s.size.base = Vec2(0.5f, 1.0f);
    s.size.spread = Vec2(0.2f, 0.2f);
    s.lifetime.base = 5.0f;
    s.lifetime.spread = 0.5f;
    // Continuous so that the cloud's StopEmitting is what ends it; drops keep their colour.
    s.continuous = 1;
    for (int i = 0; i < 4; ++i) s.endColour[i] = s.startColour[i];
    ParticleObj::Init();
    MakeSprite("images\\raindrop.tga");
    SetEmissionRate(2.0f * intensity);
}

GameObj* MakeRain() { return new Rain; }

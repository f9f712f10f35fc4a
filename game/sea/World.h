#pragma once

#include "objects/GameObj.h"

class ComplexSprite;

// The island: a textured strip of 150 columns, 60 pixels apart from x = -4500,
// whose top edge rises under towers.
class World : public GameObj {
public:
    static constexpr int kVertexCount = 300;  // top and bottom vertex per column

    const char* GetType() override { return "World"; }
    void Init() override;
    void Update(float dt) override;
    // The black outline along the island's top.
    void Draw() override;

    void Reset();
    void Raise(const Vec2& point);
    // y of the top edge at x, or 0 where no pair of top vertices brackets x.
    float GetHeightAt(float x);

    ComplexSprite* Strip();
};

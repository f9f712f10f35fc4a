#pragma once

#include "Renderable.h"

// A textured quad cut from a grid of animation frames in one image.
class Sprite : public Renderable {
public:
    Sprite(int rows, int columns, const std::string& imageName);

    void UpdateCorners() override;
    void Draw() override;
    void Update(float dt) override;
    void SetImage(const std::string& name) override;
    float GetWidth() override { return frameWidth; }
    float GetHeight() override { return frameHeight; }

    int32_t rows;
    int32_t columns;
    float frameTimer = 0.0f;
    float frameWidth = 0.0f;   // pixels
    float frameHeight = 0.0f;  // pixels
    float frameRow = 0.0f;
    float frameColumn = 0.0f;
    uint8_t mirrored = 0;
    float framesPerSecond = 30.0f;

private:
    // Cuts the quad (strip order: left top, left bottom, right top, right bottom) to the
    // part of the texture that can show; false when none can.
    bool Trim(float* xs, float* ys, Vec2* uv) const;
};

#pragma once

#include <vector>

#include "Font.h"
#include "List.h"

class MerchantShip;
class Sprite;
class Tower;

// What the screen tells the player beyond the rules of the game: the cannon's charge
// while the fire button is held, a marker at the screen's edge for every hostile tower
// out of sight, and the pause banner. Window pixels, above the world, below the cursor;
// it only shows, it changes nothing in play.
class PlayerAids {
public:
    PlayerAids() = default;
    ~PlayerAids();
    PlayerAids(const PlayerAids&) = delete;
    PlayerAids& operator=(const PlayerAids&) = delete;

    // Needs the GL context: makes the gauge's sprites.
    void Init(const Font& font);
    // One frame of play, after the camera has moved.
    void Update(const MerchantShip* ship, bool charging, List<Tower*>& towers);
    void Hide();
    void DrawPaused();

    static constexpr float kDepth = 0.95f;
    static constexpr float kEdgeMargin = 18.0f;  // marker centre from the screen's edge

private:
    Sprite* MakeSprite(const char* image, float scaleX, float scaleY, const float colour[4]);
    void ShowGauge(const MerchantShip* ship, bool charging);
    void ShowMarkers(List<Tower*>& towers);

    Font font_;
    Sprite* gaugeBack_ = nullptr;
    Sprite* gaugeFill_ = nullptr;
    std::vector<Sprite*> markers_;
};

#pragma once

#include <vector>

#include "Font.h"
#include "List.h"
#include "aids/Popups.h"
#include "ui/Plank.h"

class LifeBar;
class MerchantShip;
class Sprite;
class Tower;
class UIButton;

// What the screen tells the player beyond the rules of the game: the cannon's charge
// while the fire button is held, a marker at each side of the screen with hostile
// towers wholly out of sight that way, a frame, an end mark and the figures of the life
// bar. Window pixels; it only shows, it changes nothing in play.
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
    // Frames the life bar (dark behind both its parts, so either sea shows it), marks
    // where its full part ends and writes the health as figures; follows the bar's
    // visibility.
    void ShowLife(LifeBar& bar, const MerchantShip* ship);
    // Lengthens a fitted label's plank while its label would otherwise shrink below a
    // readable size (a long sum of gold): the plank's right half is laid over it again
    // further right, the grain between drawn out, so it reads as one longer board with
    // no seam under the label.
    void ShowPlankTail(UIButton& button);
    static constexpr float kReadableScale = Plank::kSmallestText;
    void Hide();
    // Draws the markers' arrows and counts again where they stand (a paused frame).
    void DrawMarkerTexts();
    // Every plank the aids show now, for the words that must keep below them.
    void AddPlanks(std::vector<Popups::KeepOut>& planks) const;

    static constexpr float kDepth = 0.95f;
    // Markers stand in the sky below the heads-up texts, and beneath every object of
    // the world (flags from 0.3 up), so they never cover one.
    static constexpr float kMarkerDepth = 0.25f;
    static constexpr float kMarkerY = 130.0f;
    static constexpr float kMarkerScaleX = 0.32f;  // of the wooden plank: 90 x 34 pixels
    static constexpr float kMarkerScaleY = 0.6f;
    static constexpr float kEdgeMargin = 4.0f;  // from the marker's plank to the screen's edge
    // Hostile towers wholly beyond the left and right edges at the last update.
    int towersLeft() const { return out_[0]; }
    int towersRight() const { return out_[1]; }
    // The window box of a side's marker (0 left, 1 right) while it shows, else null.
    const Vec2* MarkerBox(int side) const;

private:
    Sprite* MakeSprite(const char* image, float scaleX, float scaleY, const float colour[4]);
    void ShowGauge(const MerchantShip* ship, bool charging);
    void ShowMarkers(List<Tower*>& towers);

    Font font_;
    Sprite* gaugeBack_ = nullptr;
    Sprite* gaugeFill_ = nullptr;
    // Per side: the arrow plank and the small tower on it.
    Sprite* markerPlank_[2] = {nullptr, nullptr};
    Sprite* markerTower_[2] = {nullptr, nullptr};
    int out_[2] = {0, 0};
    Sprite* lifeFrame_ = nullptr;
    Sprite* lifeMark_ = nullptr;
    // The lengthened plank: its drawn-out middle and its right end.
    Sprite* plankMiddle_ = nullptr;
    Sprite* plankEnd_ = nullptr;
    UIButton* tailOf_ = nullptr;
};

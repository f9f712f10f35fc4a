#pragma once

#include <cstdint>
#include <vector>

#include "aids/Popups.h"
#include "play/HintProgress.h"
#include "play/PlayerInput.h"
#include "play/Screen.h"

class GameParts;
class MerchantShip;

// Play, over the menu it returns to with Escape, and its pause: while paused the world
// stands still (the frame skips the manager's pass) and the picture holds.
class PlayScreen : public Screen {
public:
    // The key that pauses and resumes play (Escape resumes too).
    static constexpr uint32_t kPauseKey = 'P';

    explicit PlayScreen(GameParts& game) : game_(game) {}
    Kind kind() const override { return Kind::kPlay; }
    bool Update(float dt) override;
    void Draw() override;
    bool Paused() const { return paused_; }

private:
    // The frame of play that stands still.
    void UpdatePaused();
    // What the player does with a live ship this frame, and how it is shown.
    void HandleShip(MerchantShip& ship, float dt);
    // Escape from play: the heads-up goes and the world holds until "Play!".
    void Leave();
    // The aids of a frame of play: gains and losses, the tower count, hints, rumble.
    void ShowAids(float dt, const ShipChange& change, const Chronicle::Events& events);
    void PostSinking(const ShipChange& change);
    // The planks the gains and losses keep below.
    std::vector<Popups::KeepOut> Planks() const;

    GameParts& game_;
    PlayerInput input_;
    bool paused_ = false;
    // Whether the frame last updated stood still, for its picture.
    bool stoodStill_ = false;
};

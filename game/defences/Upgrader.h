#pragma once

#include <cstdint>

#include "defences/ShopPrices.h"
#include "objects/ObjRef.h"
#include "ui/UIButton.h"

class Ship;
class Sprite;
class UpgradeButton;

// The shop of a tower: fades in over a scroll with four price lines, sells upgrades to
// the docked ship for gold, and fades out once the player has steered for half a second.
// States: closed, opening (or open), closing.
class Upgrader : public UIButton {
public:
    static constexpr Life kClosed = Life::kNormal;
    enum class Phase : int32_t { kOpening = 8382, kClosing = 8383 };
    static_assert(PhasesClearOfShared({Phase::kOpening, Phase::kClosing}));

    ~Upgrader() override;
    const char* GetType() override { return "Upgrader"; }
    void Update(float dt) override;
    // The title, the flash of a purchase and the refusal, at the panel's opacity.
    void Draw() override;
    void Init() override;
    // Releases the scroll and the price lines with the panel.
    void Kill() override;

    // Shows the panel (again) for the ship docking now; a closing panel turns back.
    void Open(Ship* buyer);
    // Takes the panel off the screen at once, without the fade.
    void Hide();

    ObjRef<Ship> ship;  // the buyer
    float closeSteer = 0.0f;
    UpgradeButton* gunpowerButton = nullptr;
    UpgradeButton* speedButton = nullptr;
    UpgradeButton* strengthButton = nullptr;
    UpgradeButton* reloadButton = nullptr;
    UIButton* scroll = nullptr;
    float fade = 0.0f;

    // The game's prices, shared by every panel in it (set by the tower); a panel of no
    // game sells at prices of its own.
    ShopPrices* prices = nullptr;
    ShopPrices& Prices() { return prices ? *prices : ownPrices_; }

    // The price after one purchase at `price`: price^1.1, stopping at INT32_MAX.
    static int32_t NextPrice(int32_t price);

    // What the panel tells the buyer (drawn on the scroll; not part of the sale): the
    // purchases it made, the line bought last with its price and how long ago, and how
    // long ago a click could not be paid (negative: never).
    int32_t purchases = 0;
    int boughtLine = -1;
    int32_t boughtCost = 0;
    float boughtAge = -1.0f;
    float refusedAge = -1.0f;
    static constexpr float kFlashSeconds = 0.8f;
    static constexpr float kRefusalSeconds = 1.5f;

private:
    enum Line { kGunpower, kSpeed, kStrength, kReload, kLineCount };

    UpgradeButton* Button(int line) const;
    int32_t& Cost(int line);
    void WriteLabel(int line);
    // Takes the panel and its pieces out of the render list, closed.
    void Remove();
    // The buyer while it can still buy: not gone, sinking or dead.
    Ship* AfloatBuyer() const;
    // One purchase of `line` for the buyer, when it can pay and the line still sells;
    // true when it bought.
    bool Buy(Ship* buyer, int line);
    // Ages the purchase's flash and the refusal; the line bought glows.
    void AgeNotes(float dt);
    // A plank on the scroll's bottom roll bearing the title (or the refusal): a sprite of
    // the panel's own, no object of the game.
    Sprite* titlePlank_ = nullptr;
    ShopPrices ownPrices_;
    Font titleFont_;
};

#pragma once

#include <cstdint>

#include "ObjRef.h"
#include "UIButton.h"

class Ship;
class UpgradeButton;

// The shop of a tower: fades in over a scroll with four price lines, sells upgrades to
// the docked ship for gold, and fades out once the player has steered for half a second.
// States: 1 closed, 8382 opening or open, 8383 closing.
class Upgrader : public UIButton {
public:
    static constexpr int32_t kOpening = 8382;
    static constexpr int32_t kClosing = 8383;

    const char* GetType() override { return "Upgrader"; }
    void Update(float dt) override;
    void Init() override;

    ObjRef<Ship> ship;  // the buyer
    float closeSteer = 0.0f;
    UpgradeButton* gunpowerButton = nullptr;
    UpgradeButton* speedButton = nullptr;
    UpgradeButton* strengthButton = nullptr;
    UpgradeButton* reloadButton = nullptr;
    UIButton* scroll = nullptr;
    float fade = 0.0f;

    // Prices shared by every panel for the whole run.
    static int32_t gunpowerCost;
    static int32_t speedCost;
    static int32_t strengthCost;
    static int32_t reloadCost;
};

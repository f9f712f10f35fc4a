#pragma once

#include "ui/UIButton.h"

// A price line of the upgrade panel: an invisible hit box whose label turns white
// under the cursor. The panel handles the clicks.
class UpgradeButton : public UIButton {
public:
    void Update(float dt) override;
    void Init() override;

    uint8_t hovered = 0;
    // 0 to 1: how strongly the label glows gold (the panel flashes a line just bought).
    float glow = 0.0f;
};

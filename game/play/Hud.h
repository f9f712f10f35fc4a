#pragma once

#include <string>
#include <vector>

#include "aids/Popups.h"
#include "ui/ScreenButton.h"

struct Font;
class GameFields;
class LifeBar;
class MerchantShip;
class OptionsScreen;
class UIButton;

// The heads-up pieces of play: the life bar and its label, the gold and health planks,
// the tower count, the repair prompt and the ship's tints. It makes and keeps the bar
// and the two planks, which are objects of the game, and the count's plank, which is not.
class Hud {
public:
    // It writes in `font` and names the keys that `options` hold.
    Hud(GameFields& game, const Font& font, const OptionsScreen& options)
        : game_(game), font_(font), options_(options) {}

    // Each made at its own time of the game's set-up, as objects of the game count.
    void MakeLifeBar();
    void MakeGoldButton();
    void MakeHealthButton();
    LifeBar* lifeBar() const { return lifeBar_; }
    UIButton* goldButton() const { return goldButton_; }
    UIButton* healthButton() const { return healthButton_; }
    void InitTowerCount();

    // "Life" over the bar.
    void DrawLifeLabel() const;
    // Shows the bar and the gold plank with the ship's health and gold.
    void ShowShip(const MerchantShip* ship, float dt);
    // "Towers 2/3" on its plank right of the gold's.
    void ShowTowerCount();
    void DrawTowerCount() { towersPlank_.Draw(); }
    const std::string& TowerCount() const { return towersPlank_.label; }
    // "Tap 'R'!!" (with the chosen repair key, or a pad's button) while `due`, placed
    // clear of any panel on the screen; drawn by DrawRepairPrompt.
    void ShowRepairPrompt(bool due);
    void DrawRepairPrompt() const;
    // The health plank darkens as the ship loses health; the ship is drawn in its own red.
    void Tint(MerchantShip& ship);
    // Where the notices stand: below the level's banner, and below a shop on the screen.
    float NoticeTop();
    // Takes the bar, the gold and the count off the screen.
    void HideShip();
    // The heads-up planks on the screen now, which the gains and losses keep below.
    void AddPlanks(std::vector<Popups::KeepOut>& planks) const;

private:
    // Window corners of the scroll of an upgrade panel on the screen, or null.
    const Vec2* ShownPanelScroll() const;

    GameFields& game_;
    const Font& font_;
    const OptionsScreen& options_;
    LifeBar* lifeBar_ = nullptr;
    UIButton* goldButton_ = nullptr;
    UIButton* healthButton_ = nullptr;
    ScreenButton towersPlank_;  // "Towers 2/3" beside the gold
    std::string prompt_;        // the repair prompt while it shows, else empty
    int promptY_ = 0;
    static constexpr float kTowersScaleX = 0.9f;
};

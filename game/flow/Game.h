#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Chronicle.h"
#include "Font.h"
#include "HintBook.h"
#include "List.h"
#include "ObjRef.h"
#include "MerchantShip.h"
#include "OptionsScreen.h"
#include "PlayHold.h"
#include "PlayerAids.h"
#include "Popups.h"
#include "Records.h"
#include "RecordsScroll.h"
#include "ScreenButton.h"

class World;
class Water;
class UIButton;
class MenuButton;
class Tower;
class LifeBar;

// The game flow's state and its (non-owning) pointers to the key objects.
class Game {
public:
    static constexpr int32_t kPlaying = 0;
    static constexpr int32_t kMenu = 1;
    // The options screen, opened from the menu.
    static constexpr int32_t kOptions = 2;
    // The records scroll, opened from the menu or the options.
    static constexpr int32_t kRecords = 3;

    // Builds the scene: seas, sky, island, menu buttons, heads-up objects, fonts, sounds.
    void SetUp();
    // One frame of the menu or of play; false ends the program.
    bool Update(float dt);
    // Places one tower of the current level on the island, raising the island under it.
    void SpawnTower();
    // Starts the next level once no hostile tower is left; draws the level banner.
    void UpdateLevel();

    // Towers stand within this distance of the centre, short of where the player's
    // ship wraps around (4400), so every tower can be reached and taken.
    static constexpr int32_t kTowerReach = 4300;
    // Chooses where the next tower of this level stands and records it: the usual
    // spacing on the side whose turn it is, else on the other side, else the middle of
    // the widest free stretch. Moves the row bounds and hands the turn to the other side.
    int32_t NextTowerX();
    // Empties the row for a new level: both bounds at 0, no tower recorded.
    void StartRow();

    // The key that pauses and resumes play (Escape resumes too).
    static constexpr uint32_t kPauseKey = 'P';
    // While paused the world stands still: the frame skips the manager's pass and only
    // the labels are drawn again.
    bool paused = false;
    // Draws every shown label without updating anything (the picture of a paused frame).
    void DrawLabels();
    // Closes every tower's panel at once.
    void HidePanels();
    // Window corners of the scroll of an upgrade panel on the screen, or null.
    const Vec2* ShownPanelScroll();
    // True while the world of play stands still behind the menu or the options.
    bool PlayHeld() const { return hold_.Holding(); }
    const PlayerAids& aids() const { return aids_; }
    const Popups& popups() const { return popups_; }
    const HintBook& hints() const { return hints_; }
    const RecordsScroll& recordsScroll() const { return recordsScroll_; }
    // "Towers 2/3" as last shown.
    const std::string& TowerCount() const { return towersPlank_.label; }

    // The records read at start and where they are kept (never written when `keep` is
    // false, as in a replay, or when the path is empty).
    void UseRecords(const Records& records, const std::string& path, bool keep);
    const Records& records() const { return records_; }
    // This game so far, from "Play!" on (not played: level 0).
    const GameRecord& ThisGame() const { return chronicle_.Record(); }
    // Counts this game into the records and writes them; the game goes on counting.
    void SaveRecords();
    // "Best: level 4, 12 towers", this game included; empty before any game.
    std::string BestLine() const;
    // Hostile towers of this level and all of its towers.
    int HostileTowers() const;

    int32_t phase = 0;
    World* world = nullptr;
    Water* sea = nullptr;
    Water* secondSea = nullptr;
    Font font;
    uint8_t spawnLeft = 0;
    UIButton* goldButton = nullptr;
    int32_t seaMode = 1;  // 1 living sea, 2 ghost sea
    ObjRef<MerchantShip> playerShip;  // none while a new one is due
    MenuButton* playButton = nullptr;
    MenuButton* quitButton = nullptr;
    MenuButton* optionsButton = nullptr;
    int32_t leftmostTowerX = -50;
    int32_t rightmostTowerX = 50;
    List<Tower*> towers;
    float levelTime = 0.0f;
    int32_t level = 1;
    UIButton* healthButton = nullptr;
    unsigned deadSound = 0;
    LifeBar* lifeBar = nullptr;
    OptionsScreen optionsScreen;

private:
    bool UpdateMenu(float dt);
    bool UpdatePlaying(float dt);
    bool UpdateOptions(float dt);
    // The menu's buttons a pad's d-pad steps through, and the one it is on (-1: none).
    std::vector<std::vector<UIButton*>> menuRows_;
    int menuRow_ = -1;
    int menuColumn_ = 0;
    MenuButton* MakeMenuButton(const char* label);
    // Forgets a player's ship that has died or been destroyed.
    void ForgetDeadShip();
    MerchantShip* MakePlayerShip();
    // Raises the island under a tower until its footing meets the ground.
    void SettleOnIsland(Tower* tower);
    // The sea toggle: every live object that takes part goes to or from the ghost sea.
    void ToggleSea();
    int32_t WidestGapX() const;

    // Draws "Tap 'R'!!" (with the chosen repair key, or a pad's button) clear of any
    // panel on the screen.
    void DrawRepairPrompt();
    bool UpdateRecords();
    void OpenRecords(int32_t from);
    void HideMenu();
    // The aids of a frame of play: gains and losses, the tower count, hints, rumble.
    void ShowAids(float dt, const ShipChange& change, const Chronicle::Events& events);
    bool PadUsed() const;
    float SinkLineY();
    void Rumble(float strength, int ms);

    std::vector<int32_t> rowX_;  // x of every tower placed in this level
    PlayerAids aids_;
    PlayHold hold_;
    Popups popups_;
    HintBook hints_;
    Chronicle chronicle_;
    Records records_;
    std::string recordsPath_;
    bool keepRecords_ = false;
    RecordsScroll recordsScroll_;
    int32_t recordsFrom_ = kMenu;
    ScreenButton recordsButton_;  // in the menu, under its buttons
    ScreenButton bestPlank_;      // "Best: level 4, 12 towers" under that
    ScreenButton towersPlank_;    // "Towers 2/3" beside the gold
    float steered_ = 0.0f;        // seconds of steering, for its hint
    bool firedOnce_ = false;
    bool toggledOnce_ = false;
    int32_t purchasesSeen_ = 0;
};

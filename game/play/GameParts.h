#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Font.h"
#include "aids/HintBook.h"
#include "aids/NoticeBoard.h"
#include "aids/PlayerAids.h"
#include "aids/Popups.h"
#include "play/Chronicle.h"
#include "play/GameFields.h"
#include "play/Hud.h"
#include "play/LevelDirector.h"
#include "play/PlayHold.h"
#include "play/Screen.h"
#include "ships/MerchantShip.h"
#include "store/Records.h"
#include "ui/OptionsScreen.h"


// The parts of a game that its screens share: the heads-up, the aids, the levels, the
// records, the options, the font, the hold on the world, and the stack of screens whose
// top one runs. The screens reach them here; the Game above owns the screens.
class GameParts : public GameFields {
public:
    GameParts() = default;
    // Its parts hold on to this game.
    GameParts(const GameParts&) = delete;
    GameParts& operator=(const GameParts&) = delete;

    // The screen on top.
    Screen::Kind Showing() const { return stack_.back()->kind(); }
    // Places one tower of the current level on the island, raising the island under it.
    void SpawnTower() { levels_.SpawnTower(); }
    // Starts the next level once no hostile tower is left; the level banner shows.
    void UpdateLevel() { levels_.UpdateLevel(); }
    // The next frame of play begins `level` with its row of towers (LevelDirector::SkipTo).
    void SkipToLevel(int32_t level) { levels_.SkipTo(level); }

    // Chooses where the next tower of this level stands and records it: the usual
    // spacing on the side whose turn it is, else on the other side, else the middle of
    // the widest free stretch. Moves the row bounds and hands the turn to the other side.
    int32_t NextTowerX() { return levels_.NextTowerX(); }
    // Empties the row for a new level: both bounds at 0, no tower recorded.
    void StartRow() { levels_.StartRow(); }
    // The sea toggle: every live object that takes part goes to or from the ghost sea.
    void ToggleSea();

    // Closes every tower's panel at once.
    void HidePanels();
    // True while the world of play stands still behind the menu or the options.
    bool PlayHeld() const { return hold_.Holding(); }
    const PlayerAids& aids() const { return aids_; }
    const Popups& popups() const { return popups_; }
    // The notices at the middle of the screen; post one with `Post` (or `TowerLost`).
    NoticeBoard& notices() { return notices_; }
    const NoticeBoard& notices() const { return notices_; }
    const HintBook& hints() const { return hints_; }
    // The heads-up, with its objects of the game.
    const Hud& hud() const { return hud_; }
    // The game's lettering, loaded at set-up.
    const Font& font() const { return font_; }
    // The options scroll, which holds the settings in use.
    OptionsScreen& options() { return options_; }
    const OptionsScreen& options() const { return options_; }
    // "Towers 2/3" as last shown.
    const std::string& TowerCount() const { return hud_.TowerCount(); }
    // The row of this level's towers (LevelDirector::Row).
    LevelDirector::Row& TowerRow() { return levels_.row(); }

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


protected:
    friend class MenuScreen;
    friend class SettingsScreen;
    friend class RecordsScreen;
    friend class PlayScreen;

    // A screen goes on top; the top one closes and the one below it resumes.
    void Push(Screen& screen);
    void Pop();
    // Behind the menu, the options and the records the world waits, with no panel or aid.
    void StandBehindScreens();
    // Takes the heads-up and the aids off the screen.
    void HideAids();
    // Forgets a player's ship that has died or been destroyed.
    void ForgetDeadShip();
    MerchantShip* MakePlayerShip();
    // A ship in place of one sunk: at the usual place, or placed and spared by the safe respawn.
    MerchantShip* RespawnShip();
    // Tells the player that a hostile ship took back one of their towers.
    void TellTowerLost();
    void Rumble(float strength, int ms);

    Font font_;
    OptionsScreen options_;
    unsigned deadSound_ = 0;  // sounds as the seas toggle
    LevelDirector levels_{*this, font_};
    Hud hud_{*this, font_, options_};
    PlayerAids aids_;
    PlayHold hold_;
    Popups popups_;
    NoticeBoard notices_;
    HintBook hints_;
    Chronicle chronicle_;
    Records records_;
    std::string recordsPath_;
    bool keepRecords_ = false;
    bool recordsFailed_ = false;

    std::vector<Screen*> stack_;
};

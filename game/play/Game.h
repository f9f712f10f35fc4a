#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aids/HintBook.h"
#include "aids/NoticeBoard.h"
#include "aids/PlayerAids.h"
#include "aids/Popups.h"
#include "play/Chronicle.h"
#include "play/GameFields.h"
#include "play/Hud.h"
#include "play/LevelDirector.h"
#include "play/MenuScreen.h"
#include "play/PlayHold.h"
#include "play/PlayScreen.h"
#include "play/RecordsScreen.h"
#include "play/SettingsScreen.h"
#include "ships/MerchantShip.h"
#include "store/Records.h"


// The game flow, a frame at a time: a stack of screens (the menu at the bottom; play,
// the options and the records over it) whose top one runs, and the parts they share.
class Game : public GameFields {
public:
    Game();
    // Its parts hold on to this game.
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Builds the scene: seas, sky, island, menu buttons, heads-up objects, fonts, sounds.
    void SetUp();
    // One frame of the screen on top; false ends the program. Draws nothing.
    bool Update(float dt);
    // What the frame last updated shows beyond the render lists: the texts of its screen.
    void Draw();
    // The screen on top.
    Screen::Kind Showing() const { return stack_.back()->kind(); }
    // While paused the world stands still: the frame skips the manager's pass.
    bool Paused() const { return play_.Paused(); }
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

    // Draws every shown label without updating anything (the picture of a paused frame).
    void DrawLabels();
    // Closes every tower's panel at once.
    void HidePanels();
    // True while the world of play stands still behind the menu or the options.
    bool PlayHeld() const { return hold_.Holding(); }
    MainMenu& menu() { return menuScreen_.menu(); }
    const PlayerAids& aids() const { return aids_; }
    const Popups& popups() const { return popups_; }
    // The notices at the middle of the screen; post one with `Post` (or `TowerLost`).
    NoticeBoard& notices() { return notices_; }
    const NoticeBoard& notices() const { return notices_; }
    const HintBook& hints() const { return hints_; }
    const RecordsScroll& recordsScroll() const { return recordsScreen_.scroll(); }
    // "Towers 2/3" as last shown.
    const std::string& TowerCount() const { return hud_.TowerCount(); }

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


private:
    friend class MenuScreen;
    friend class SettingsScreen;
    friend class RecordsScreen;
    friend class PlayScreen;

    // A screen goes on top; the top one closes and the one below it resumes.
    void Push(Screen& screen);
    void Pop();
    // The records over the screen on top, which resumes when they close.
    void OpenRecords();
    // Behind the menu, the options and the records the world waits, with no panel or aid.
    void StandBehindScreens();
    // Takes the heads-up and the aids off the screen.
    void HideAids();
    void MakeSky();
    // Forgets a player's ship that has died or been destroyed.
    void ForgetDeadShip();
    MerchantShip* MakePlayerShip();
    // A ship in place of one sunk: at the usual place, or placed and spared by the safe respawn.
    MerchantShip* RespawnShip();
    // Tells the player that a hostile ship took back one of their towers.
    void TellTowerLost();
    void Rumble(float strength, int ms);

    LevelDirector levels_{*this};
    Hud hud_{*this};
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

    MenuScreen menuScreen_{*this};
    SettingsScreen settings_{*this};
    RecordsScreen recordsScreen_{*this};
    PlayScreen play_{*this};
    std::vector<Screen*> stack_;
    // The screen that ran the last Update, whose picture Draw makes.
    Screen* drawing_ = nullptr;
};

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
#include "play/HintProgress.h"
#include "play/Hud.h"
#include "play/LevelDirector.h"
#include "play/MainMenu.h"
#include "play/PlayHold.h"
#include "play/PlayerInput.h"
#include "ships/MerchantShip.h"
#include "store/Records.h"
#include "ui/RecordsScroll.h"
#include "ui/ScreenButton.h"


// The game flow: the menu, the options, the records and play, a frame at a time.
class Game : public GameFields {
public:
    Game() = default;
    // Its parts hold on to this game.
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Builds the scene: seas, sky, island, menu buttons, heads-up objects, fonts, sounds.
    void SetUp();
    // One frame of the menu or of play; false ends the program.
    bool Update(float dt);
    // Places one tower of the current level on the island, raising the island under it.
    void SpawnTower() { levels_.SpawnTower(); }
    // Starts the next level once no hostile tower is left; draws the level banner.
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

    // The key that pauses and resumes play (Escape resumes too).
    static constexpr uint32_t kPauseKey = 'P';
    // While paused the world stands still: the frame skips the manager's pass and only
    // the labels are drawn again.
    bool paused = false;
    // Draws every shown label without updating anything (the picture of a paused frame).
    void DrawLabels();
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
    const RecordsScroll& recordsScroll() const { return recordsScroll_; }
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
    bool UpdateMenu(float dt);
    bool UpdatePlaying(float dt);
    // The frame of play that stands still: its texts are drawn again.
    bool UpdatePaused();
    // What the player does with a live ship this frame, and how it is shown.
    void HandleShip(MerchantShip& ship, float dt);
    // Escape from play: the heads-up goes and the world holds until "Play!".
    void LeavePlay();
    bool UpdateOptions(float dt);
    // Behind the menu, the options and the records the world waits, with no panel or aid.
    void StandBehindScreens();
    // Takes the heads-up and the aids off the screen.
    void HideAids();
    // The planks the gains and losses keep below.
    std::vector<Popups::KeepOut> Planks() const;
    void PostSinking(const ShipChange& change);
    void MakeSky();
    // Forgets a player's ship that has died or been destroyed.
    void ForgetDeadShip();
    MerchantShip* MakePlayerShip();
    // A ship in place of one sunk: at the usual place, or placed and spared by the safe respawn.
    MerchantShip* RespawnShip();
    // Tells the player that a hostile ship took back one of their towers.
    void TellTowerLost();

    bool UpdateRecords();
    void OpenRecords(int32_t from);
    // The aids of a frame of play: gains and losses, the tower count, hints, rumble.
    void ShowAids(float dt, const ShipChange& change, const Chronicle::Events& events);
    void Rumble(float strength, int ms);

    MainMenu menu_{*this};
    LevelDirector levels_{*this};
    Hud hud_{*this};
    PlayerInput input_;
    HintProgress hintProgress_;
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
    RecordsScroll recordsScroll_;
    int32_t recordsFrom_ = kMenu;
};

#pragma once

#include "play/GameParts.h"
#include "play/MainMenu.h"
#include "play/MenuScreen.h"
#include "play/PlayScreen.h"
#include "play/RecordsScreen.h"
#include "play/SettingsScreen.h"

// The game, a frame at a time: a stack of screens (the menu at the bottom; play, the
// options and the records over it) whose top one runs, over the parts they share.
class Game : public GameParts {
public:
    Game();

    // Builds the scene: seas, sky, island, menu buttons, heads-up objects, fonts, sounds.
    void SetUp();
    // One frame of the screen on top; false ends the program. Draws nothing.
    bool Update(float dt);
    // What the frame last updated shows beyond the render lists: the texts of its screen.
    void Draw();
    // While paused the world stands still: the frame skips the manager's pass.
    bool Paused() const { return play_.Paused(); }
    MainMenu& menu() { return menu_; }
    const RecordsScroll& recordsScroll() const { return recordsScreen_.scroll(); }

private:
    void MakeSky();

    MainMenu menu_{font_};
    RecordsScreen recordsScreen_;
    SettingsScreen settings_;
    PlayScreen play_;
    MenuScreen menuScreen_;
    // The screen that ran the last Update, whose picture Draw makes.
    Screen* drawing_ = nullptr;
};

#pragma once

#include <string>

#include "ui/PadFocus.h"
#include "ui/ScreenButton.h"

class Font;
class GameFields;
class MenuButton;

// The menu's pieces: the title, the Play!, Options and Quit buttons (kept in the game's
// fields), the records button and the best line, and a pad's focus among them.
class MainMenu {
public:
    explicit MainMenu(GameFields& game) : game_(game) {}

    // Makes the three buttons into the game's fields.
    void MakeButtons();
    void InitPlanks(const Font& font);
    void Show(const std::string& bestLine);
    void Hide();
    // A pad's d-pad puts the cursor on a button; its A then presses it like a click.
    void FollowPad();
    void ResetFocus() { focus_.Reset(); }
    bool RecordsClicked() const { return recordsButton_.Clicked(); }
    // A click on a button sets it falling; it acts once it returns.
    void PressClicked();

private:
    MenuButton* MakeButton(const char* label, float y);

    GameFields& game_;
    PadFocus focus_;
    ScreenButton recordsButton_;  // under the buttons
    ScreenButton bestPlank_;      // "Best: level 4, 12 towers" under that
    static constexpr float kBestScaleX = 1.6f;
};

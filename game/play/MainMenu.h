#pragma once

#include <string>

#include "ui/PadFocus.h"
#include "ui/ScreenButton.h"

struct Font;
class MenuButton;

// The menu's pieces: the title, the Play!, Options and Quit buttons, the records button
// and the best line, and a pad's focus among them.
class MainMenu {
public:
    // The title and the planks' labels are written in `font`.
    explicit MainMenu(const Font& font) : font_(font) {}

    void MakeButtons();
    void InitPlanks();
    void Show(const std::string& bestLine);
    // The title, and the labels of the records button and the best line.
    void Draw();
    void Hide();
    // A pad's d-pad puts the cursor on a button; its A then presses it like a click.
    void FollowPad();
    void ResetFocus() { focus_.Reset(); }
    bool RecordsClicked() const { return recordsButton_.Clicked(); }
    // A click on a button sets it falling; it acts once it returns.
    void PressClicked();

    // Objects of the game, made by MakeButtons.
    MenuButton* playButton = nullptr;
    MenuButton* optionsButton = nullptr;
    MenuButton* quitButton = nullptr;

private:
    MenuButton* MakeButton(const char* label, float y);

    const Font& font_;
    PadFocus focus_;
    ScreenButton recordsButton_;  // under the buttons
    ScreenButton bestPlank_;      // "Best: level 4, 12 towers" under that
    static constexpr float kBestScaleX = 1.6f;
};

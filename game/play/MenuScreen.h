#pragma once

#include "play/Screen.h"

class GameParts;
class MainMenu;
class RecordsScreen;

// The main menu over the sea: "Play!" starts or resumes play, "Options" and "Records"
// open their scrolls, "Quit" and Escape end the program.
class MenuScreen : public Screen {
public:
    MenuScreen(GameParts& game, MainMenu& menu, Screen& play, Screen& options, RecordsScreen& records)
        : game_(game), menu_(menu), play_(play), options_(options), records_(records) {}
    Kind kind() const override { return Kind::kMenu; }
    bool Update(float dt) override;
    void Draw() override;

private:
    GameParts& game_;
    MainMenu& menu_;
    Screen& play_;
    Screen& options_;
    RecordsScreen& records_;
};

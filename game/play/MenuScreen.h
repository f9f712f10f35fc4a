#pragma once

#include "play/MainMenu.h"
#include "play/Screen.h"

class Game;

// The main menu over the sea: "Play!" starts or resumes play, "Options" and "Records"
// open their scrolls, "Quit" and Escape end the program.
class MenuScreen : public Screen {
public:
    explicit MenuScreen(Game& game);
    Kind kind() const override { return Kind::kMenu; }
    bool Update(float dt) override;
    void Draw() override { menu_.Draw(); }

    MainMenu& menu() { return menu_; }
    const MainMenu& menu() const { return menu_; }

private:
    Game& game_;
    MainMenu menu_;
};

#pragma once

#include "play/Screen.h"

class Game;

// The options, opened from the menu: the settings on their scroll (OptionsScreen) over
// the sea, which goes on under it. It hands over to the records when asked, and takes
// the scroll up again when they close.
class SettingsScreen : public Screen {
public:
    explicit SettingsScreen(Game& game) : game_(game) {}
    Kind kind() const override { return Kind::kOptions; }
    bool Update(float dt) override;
    void Draw() override;
    void Resume() override;

private:
    Game& game_;
};

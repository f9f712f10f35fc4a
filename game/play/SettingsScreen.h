#pragma once

#include "play/Screen.h"

class GameParts;
class MainMenu;
class RecordsScreen;

// The options, opened from the menu: the settings on their scroll (OptionsScreen) over
// the sea, which goes on under it. It hands over to the records when asked, and takes
// the scroll up again when they close.
class SettingsScreen : public Screen {
public:
    SettingsScreen(GameParts& game, MainMenu& menu, RecordsScreen& records)
        : game_(game), menu_(menu), records_(records) {}
    Kind kind() const override { return Kind::kOptions; }
    bool Update(float dt) override;
    void Draw() override;
    void Resume() override;

private:
    GameParts& game_;
    MainMenu& menu_;
    RecordsScreen& records_;
};

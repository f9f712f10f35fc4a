#pragma once

#include "play/Screen.h"
#include "ui/RecordsScroll.h"

class GameParts;
class MainMenu;

// The records scroll, over the menu or the options: the last game beside the best.
class RecordsScreen : public Screen {
public:
    RecordsScreen(GameParts& game, MainMenu& menu) : game_(game), menu_(menu) {}
    Kind kind() const override { return Kind::kRecords; }
    bool Update(float dt) override;
    void Draw() override { scroll_.Draw(); }
    // Opens the scroll over the screen on top, which resumes when it closes.
    void Open();

    RecordsScroll& scroll() { return scroll_; }
    const RecordsScroll& scroll() const { return scroll_; }

private:
    GameParts& game_;
    MainMenu& menu_;
    RecordsScroll scroll_;
};

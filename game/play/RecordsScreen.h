#pragma once

#include "play/Screen.h"
#include "ui/RecordsScroll.h"

class Game;

// The records scroll, over the menu or the options: the last game beside the best.
class RecordsScreen : public Screen {
public:
    explicit RecordsScreen(Game& game) : game_(game) {}
    Kind kind() const override { return Kind::kRecords; }
    bool Update(float dt) override;
    void Draw() override { scroll_.Draw(); }

    RecordsScroll& scroll() { return scroll_; }
    const RecordsScroll& scroll() const { return scroll_; }

private:
    Game& game_;
    RecordsScroll scroll_;
};

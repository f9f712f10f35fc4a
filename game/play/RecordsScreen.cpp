#include "play/RecordsScreen.h"

#include "play/GameParts.h"
#include "play/MainMenu.h"

bool RecordsScreen::Update(float) {
    // The world waits behind the scroll as behind the menu; the sea goes on by itself.
    game_.StandBehindScreens();
    const GameRecord& last = game_.ThisGame().Played() ? game_.ThisGame() : game_.records().last;
    if (!scroll_.Update(last, game_.records().best.BestWith(game_.ThisGame()))) {
        scroll_.Close();
        menu_.ResetFocus();
        game_.Pop();
    }
    return true;
}

void RecordsScreen::Open() {
    game_.Push(*this);
    scroll_.Open();
}

#include "play/MenuScreen.h"

#include "Orlop.h"
#include "Random.h"
#include "play/Game.h"
#include "sea/Water.h"
#include "ui/MenuButton.h"

MenuScreen::MenuScreen(Game& game) : game_(game), menu_(game) {}

bool MenuScreen::Update(float dt) {
    // The menu owns the screen: no shop shows over it, nor the player's aids.
    game_.StandBehindScreens();
    game_.sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % 9001 - 4500));
    menu_.Show(game_.BestLine());
    menu_.FollowPad();
    if (orlop.Released(VK_ESCAPE)) return false;
    if (menu_.RecordsClicked()) {
        game_.OpenRecords();
        return true;
    }
    const int32_t optionsBefore = menu_.optionsButton->state;
    menu_.PressClicked();
    if (menu_.playButton->state == MenuButton::kReturning) {
        game_.Push(game_.play_);
        game_.hold_.Release();
        game_.SpawnTower();
        menu_.Hide();
    }
    // The scroll opens as the button is pressed; the button's fall goes on unseen.
    if (optionsBefore != MenuButton::kFalling && menu_.optionsButton->state == MenuButton::kFalling &&
        game_.Showing() == Kind::kMenu) {
        game_.Push(game_.settings_);
        menu_.Hide();
        game_.optionsScreen.Open();
    }
    return menu_.quitButton->state != MenuButton::kReturning;
}

#include "play/MenuScreen.h"

#include "Orlop.h"
#include "Random.h"
#include "play/GameParts.h"
#include "play/MainMenu.h"
#include "play/RecordsScreen.h"
#include "sea/SeaBounds.h"
#include "sea/Water.h"
#include "ui/MenuButton.h"

bool MenuScreen::Update(float dt) {
    // The menu owns the screen: no shop shows over it, nor the player's aids.
    game_.StandBehindScreens();
    game_.sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % (2 * SeaBounds::kHalfWidth + 1) - SeaBounds::kHalfWidth));
    menu_.Show(game_.BestLine());
    menu_.FollowPad();
    if (orlop.Released(VK_ESCAPE)) return false;
    if (menu_.RecordsClicked()) {
        menu_.Hide();
        records_.Open();
        return true;
    }
    const ObjState optionsBefore = menu_.optionsButton->state;
    menu_.PressClicked();
    if (menu_.playButton->state == MenuButton::Phase::kReturning) {
        game_.Push(play_);
        game_.hold_.Release();
        game_.SpawnTower();
        menu_.Hide();
    }
    // The scroll opens as the button is pressed; the button's fall goes on unseen.
    if (optionsBefore != MenuButton::Phase::kFalling && menu_.optionsButton->state == MenuButton::Phase::kFalling &&
        game_.Showing() == Kind::kMenu) {
        game_.Push(options_);
        menu_.Hide();
        game_.options_.Open();
    }
    return menu_.quitButton->state != MenuButton::Phase::kReturning;
}

void MenuScreen::Draw() { menu_.Draw(); }

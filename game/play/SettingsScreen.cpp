#include "play/SettingsScreen.h"

#include "Random.h"
#include "play/GameParts.h"
#include "play/MainMenu.h"
#include "play/RecordsScreen.h"
#include "sea/SeaBounds.h"
#include "sea/Water.h"

bool SettingsScreen::Update(float dt) {
    // The sea goes on under the scroll as under the menu.
    game_.StandBehindScreens();
    game_.sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % (2 * SeaBounds::kHalfWidth + 1) - SeaBounds::kHalfWidth));
    OptionsScreen& options = game_.options_;
    const bool safeBefore = options.Current().safeRespawn;
    const bool open = options.Update();
    // The rule follows the row when the player changes it (a replay changes it as recorded).
    if (options.Current().safeRespawn != safeBefore) game_.safeRespawn = options.Current().safeRespawn;
    if (!open) {
        options.Close();
        menu_.ResetFocus();
        // The records come back here when they close.
        if (options.RecordsAsked()) records_.Open();
        else game_.Pop();
    }
    return true;
}

void SettingsScreen::Draw() { game_.options_.Draw(); }

void SettingsScreen::Resume() { game_.options_.Open(); }

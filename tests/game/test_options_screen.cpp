// A new player opens Options from the menu, turns the music down, chooses another key
// for steering (a key another action has is refused), quits, and at the next start
// finds the same settings in effect.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "GlTestContext.h"
#include "KeyNames.h"
#include "Orlop.h"
#include "ScriptedPlatform.h"
#include "SoundManager.h"
#include "app/Program.h"
#include "play/Game.h"
#include "ships/MerchantShip.h"
#include "store/Settings.h"
#include "ui/MenuButton.h"

namespace {

const Vec2 kOptionsButton(200, 270);
const Vec2 kQuitButton(200, 340);
const Vec2 kMusicDown(470, 132);
const Vec2 kSteerLeftKey(540, 246);

std::string Shot(const char* name) { return std::string(BRINEGATE_BUILD_DIR) + "/" + name; }

TEST(OptionsScreen, ChosenSettingsAreUsedAtOnceAndFoundAtTheNextStart) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Options options;
    options.configPath = "options/settings.ini";
    options.unpaced = true;
    // The same sea every run: the waves alone must not move the ship while 'A' is held.
    options.seed = 7;
    options.hasSeed = true;
    std::vector<std::string> seen;

    ScriptedPlatform first;
    int opened = 0;
    first.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (frame > 2000) return p.Post(WM_CLOSE);
        if (frame == 20) p.Click(kOptionsButton);
        if (game->Showing() == Screen::Kind::kOptions && opened == 0) opened = frame;
        if (opened == 0) return;
        const OptionsScreen& screen = game->options();
        const int at = frame - opened;
        if (at == 5) gltest::SaveScreenshot(Shot("screenshot_options.png"));
        if (at == 6) p.Click(kMusicDown);
        if (at == 8 && soundManager.MusicVolume() == 0.1f) seen.push_back("music down");
        if (at == 10) p.Click(kSteerLeftKey);
        if (at == 12 && screen.Capturing() == Settings::kSteerLeft) seen.push_back("waits for a key");
        if (at == 13) p.Key('D');
        if (at == 15 && screen.Message() == "D is taken by Steer right" && screen.Current().keys[0] == 'A')
            seen.push_back("refused");
        if (at == 16) p.Key('J');
        if (at == 18 && screen.Current().keys[0] == 'J' && screen.Capturing() < 0) seen.push_back("bound");
        if (at == 20) p.Key(VK_ESCAPE);
        if (at == 22 && game->Showing() == Screen::Kind::kMenu) seen.push_back("menu");
        if (at == 30) p.Click(kQuitButton);
    };
    EXPECT_EQ(Program(first, options).Run(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"music down", "waits for a key", "refused", "bound", "menu"}));

    std::ostringstream warnings;
    const Settings kept = Settings::Load(options.configPath, warnings);
    EXPECT_EQ(kept.musicVolume, 1);
    EXPECT_EQ(kept.keys[Settings::kSteerLeft], static_cast<uint32_t>('J'));
    EXPECT_EQ(warnings.str(), "");

    // The next start: the quieter music, and 'J' steers left while 'A' does nothing.
    ScriptedPlatform second;
    float startX = 0, afterA = 0, afterJ = 0;
    second.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (frame == 5) {
            if (soundManager.MusicVolume() == 0.1f) seen.push_back("music kept");
            game->menu().playButton->SetState(MenuButton::Phase::kReturning);
        }
        MerchantShip* ship = game->playerShip.Get();
        if (frame == 60 && ship) startX = ship->GetPosition()->x;
        if (frame == 60) p.Hold('A', true);
        if (frame == 120) p.Hold('A', false);
        if (frame == 120 && ship) afterA = ship->GetPosition()->x;
        if (frame == 121) p.Hold('J', true);
        if (frame == 240 && ship) afterJ = ship->GetPosition()->x;
        if (frame == 240) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(second, options).Run(), 0);
    EXPECT_EQ(seen.back(), "music kept");
    EXPECT_NEAR(afterA, startX, 1.0f) << "'A' no longer steers";
    EXPECT_LT(afterJ, afterA - 20.0f) << "'J' steers left";
}

}  // namespace

TEST(OptionsScreen, EveryKeyThatCanBeBoundHasALabelThatFitsItsButton) {
    Font font;
    font.glyphWidth = 63.0f;
    font.glyphHeight = 42.0f;
    font = font.Proportional();
    int shortened = 0;
    for (uint32_t vk = 1; vk < 256; ++vk) {
        if (!Settings::Bindable(vk) || KeyNames::Name(vk).empty()) continue;
        const std::string label = OptionsScreen::KeyLabel(font, vk);
        EXPECT_TRUE(OptionsScreen::FitsKeyButton(font, label)) << label;
        shortened += label != KeyNames::Name(vk) ? 1 : 0;
    }
    EXPECT_EQ(OptionsScreen::KeyLabel(font, VK_NEXT), "PgDn");
    EXPECT_EQ(OptionsScreen::KeyLabel(font, VK_OEM_1), ";");
    EXPECT_EQ(OptionsScreen::KeyLabel(font, 'A'), "A");
    EXPECT_GT(shortened, 5);
}

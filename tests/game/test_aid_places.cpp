// The aids keep their places: the goal's hint first and on two lines, gains and losses
// merged and below the planks, notices taking turns, a paused picture that stands still,
// and the options' rebinding. One played run; stages save screenshots into the build folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Camera.h"
#include "Culler.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Renderable.h"
#include "ScriptedPlatform.h"
#include "app/Program.h"
#include "defences/Tower.h"
#include "play/Game.h"
#include "ships/MerchantShip.h"
#include "ui/LifeBar.h"
#include "ui/UIButton.h"

namespace {

namespace fs = std::filesystem;

std::string Shot(const std::string& name) { return std::string(BRINEGATE_BUILD_DIR) + "/screenshot_" + name + ".png"; }

// Pixels of the window box [left, right) x [top, bottom) that `is` picks.
int Count(int left, int top, int right, int bottom, bool (*is)(int, int, int)) {
    std::vector<unsigned char> rgba(800 * 600 * 4);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, 600); ++y)
        for (int x = std::max(left, 0); x < std::min(right, 800); ++x) {
            const unsigned char* p = &rgba[((599 - y) * 800 + x) * 4];
            n += is(p[0], p[1], p[2]) ? 1 : 0;
        }
    return n;
}

bool PaleYellow(int r, int g, int b) { return r > 200 && g > 190 && b > 100 && b < 215; }
bool Golden(int r, int g, int b) { return r > 220 && g > 160 && g < 235 && b < 90; }
bool Red(int r, int g, int b) { return r > 90 && g * 3 < r && b * 3 < r; }
bool Yellow(int r, int g, int b) { return r > 150 && g > 120 && b * 2 < g; }
bool Light(int r, int g, int) { return r > 200 && g > 170; }

}  // namespace

TEST(AidPlaces, HintsPopupsNoticesPauseAndOptionsKeepTheirPlaces) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    fs::remove_all("places");
    Options options;
    options.configPath = "places/settings.ini";
    options.unpaced = options.hasSeed = true;
    options.seed = 3;
    std::vector<std::string> seen;
    int playing = 0;
    Vec2 heldView, loggedView;

    ScriptedPlatform script;
    script.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        MerchantShip* ship = game->playerShip.Get();
        if (frame == 5) p.Click(Vec2(200, 200));
        if (!playing && game->Showing() == Screen::Kind::kPlay && ship) playing = frame;
        const int at = playing ? frame - playing : -1;
        Tower* tower = game->towers.Empty() ? nullptr : *game->towers.Begin();

        // The goal first; a tower taken before it was read leaves it to do.
        if (at == 1 && game->hints().Shown() == Settings::kHintTower) seen.push_back("goal first");
        if (at == 2) tower->team = GameObj::kPlayerSide;
        if (at == 3) ship->AddGold(1234 - ship->Gold());  // four digits on the plank from here on
        if (at == 6 && game->level == 2 && !(game->options().Current().hintsDone & 1u << Settings::kHintTower))
            seen.push_back("goal not done unread");
        // Two lines at full size: ink in both halves of the hint's band.
        if (at == 10 && game->hints().Lines() == 2 && Count(20, 548, 780, 571, PaleYellow) > 150 &&
            Count(20, 572, 780, 594, PaleYellow) > 150)
            seen.push_back("hint on two lines"), gltest::SaveScreenshot(Shot("hint_wrapped"));

        // Gains and losses: three close ones make one sum; never more than three words,
        // and none over a plank even from a ship high in the sky.
        if (at == 20 || at == 21) ship->AddGold(-5);
        if (at == 22) ship->AddGold(50);
        if (at == 24 && game->popups().Words().back().text == "+40") seen.push_back("merged");
        if (at == 75) ship->SetPosition(Vec2(ship->GetPosition()->x, -20.0f));
        if (at == 40 || at == 58 || at == 76) ship->AddGold(10 + at);
        if (at == 78) {
            const int lowest = static_cast<int>(game->hud().goldButton()->renderable->corners[kBottomRight].y);
            bool below = game->popups().Words().size() == 3 && game->popups().Words()[0].text == "+50";
            for (const auto& word : game->popups().Words()) below = below && word.drawn.y >= lowest;
            if (below && Count(0, 0, 800, lowest, Golden) == 0 && Count(0, lowest, 800, 600, Golden) > 50)
                seen.push_back("three words under the planks");
            gltest::SaveScreenshot(Shot("popups_under_planks"));
        }

        // A sinking, then pause: "Paused" alone holds the notices' place, the view stands
        // still while the camera moves on, and the marker keeps its arrow.
        if (at == 140) ship->SetPosition(Vec2(3600.0f, ship->GetPosition()->y));
        if (at == 150) ship->health = -1.0f;
        if (at == 153 && game->notices().Showing().rfind("Sunk!", 0) == 0) seen.push_back("sunk");
        if (at == 154) p.Key(PlayScreen::kPauseKey);
        if (at == 156) {
            heldView = camera.shown.topLeft;
            loggedView = camera.corners[kTopLeft];
            const Vec2* m = game->aids().MarkerBox(0);
            if (game->Paused() && game->notices().Showing() == "Paused" && Count(0, 250, 800, 300, Red) == 0 &&
                Count(0, 250, 800, 300, Yellow) > 100 && m &&
                Count(int(m[0].x), int(m[0].y), int(m[3].x), int(m[3].y), Light) > 10)
                seen.push_back("paused over the sinking");
            gltest::SaveScreenshot(Shot("paused_with_sinking"));
        }
        if (at == 176) {
            if (camera.shown.topLeft == heldView && !(camera.corners[0] == loggedView)) seen.push_back("view held");
            p.Key(PlayScreen::kPauseKey);
        }
        if (at == 180 && game->notices().Showing().rfind("Sunk!", 0) == 0) seen.push_back("sunk again");

        // Escape: the frame that leaves still shows the planks its texts were drawn on.
        if (at == 184) p.Key(VK_ESCAPE);
        if (at == 185 && game->Showing() == Screen::Kind::kMenu && game->hud().lifeBar()->renderable->inRenderList)
            seen.push_back("planks kept on the last frame");
        if (at == 186 && !game->hud().lifeBar()->renderable->inRenderList) seen.push_back("then gone");

        // Options open at the click; a refused key's message goes with a cancel; Page Down
        // binds and fits its button.
        if (at == 190) p.Click(Vec2(200, 270));
        if (at == 191 && game->Showing() == Screen::Kind::kOptions && culler.worldBehindScreen) seen.push_back("options at once");
        if (at == 194) p.Click(Vec2(540, 246));
        if (at == 196) p.Key('D');
        if (at == 198 && game->options().Message() == "D is taken by Steer right") seen.push_back("refused");
        if (at == 198) p.Key(VK_ESCAPE);
        if (at == 199 && game->options().Message().empty() && game->options().Capturing() < 0)
            seen.push_back("cancel clears");
        if (at == 202) p.Click(Vec2(540, 246));
        if (at == 204) p.Key(VK_NEXT);
        if (at == 205) p.cursor = Vec2(780, 590);
        if (at == 207 && game->options().Current().keys[Settings::kSteerLeft] == VK_NEXT)
            seen.push_back("page down"), gltest::SaveScreenshot(Shot("options_page_down"));
        if (at == 210 || frame > 2000) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(script, options).Run(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"goal first", "goal not done unread", "hint on two lines", "merged",
                                              "three words under the planks", "sunk", "paused over the sinking", "view held",
                                              "sunk again", "planks kept on the last frame", "then gone",
                                              "options at once", "refused", "cancel clears", "page down"}));
}

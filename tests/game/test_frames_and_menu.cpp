// Texts stay inside their frames (read back from the picture), the world of play stands
// still behind the menu, and the tower markers show only towers wholly out of sight.
// Each stage saves a screenshot into the build folder for a person to look at.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Camera.h"
#include "GL.h"
#include "GOManager.h"
#include "Game.h"
#include "GlTestContext.h"
#include "LifeBar.h"
#include "MerchantShip.h"
#include "Orlop.h"
#include "Program.h"
#include "Renderable.h"
#include "ScriptedPlatform.h"
#include "Tower.h"
#include "UIButton.h"
#include "Water.h"
#include "Upgrader.h"

namespace {

std::string Shot(const char* name) { return std::string(BRINEGATE_BUILD_DIR) + "/" + name; }

struct Box {
    float left, top, right, bottom;
};

// Counts the pixels of the window band [top, bottom) that `is` picks, inside and outside
// the box.
template <typename Pick>
std::pair<int, int> CountPicked(int top, int bottom, const Box& box, Pick is) {
    std::vector<unsigned char> rgba(800 * 600 * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int inside = 0, outside = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < 800; ++x) {
            const unsigned char* p = &rgba[((599 - y) * 800 + x) * 4];
            if (!is(p[0], p[1], p[2])) continue;
            const bool in = x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
            (in ? inside : outside)++;
        }
    return {inside, outside};
}

Box BoxOf(const Renderable* r) { return {r->corners[0].x, r->corners[0].y, r->corners[3].x, r->corners[3].y}; }

// Magenta text on wood: strong red and blue, next to no green. Nothing else on screen is.
bool Magenta(int r, int g, int b) { return r > 60 && b > 60 && g * 4 < r && g * 4 < b; }
// The options screen's warning red.
bool WarningRed(int r, int g, int b) { return r > 90 && g * 3 < r && b * 3 < r; }

void Paint(float colour[4], float r, float g, float b) {
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = 1.0f;
}

// What the menu must not change: every figure of every object of play.
std::map<std::string, int> CountPlayObjects() {
    std::map<std::string, int> n;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it)
        if (!PlayHold::KeepsRunning((*it)->GetType())) ++n[(*it)->GetType()];
    return n;
}

std::vector<float> PlayFigures() {
    std::vector<float> f;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* o = *it;
        if (PlayHold::KeepsRunning(o->GetType())) continue;
        f.insert(f.end(), {static_cast<float>(o->state), o->velocity.x, o->velocity.y, o->stateTime});
        if (o->renderable) f.insert(f.end(), {o->renderable->position.x, o->renderable->position.y});
        if (auto* ship = dynamic_cast<Ship*>(o)) f.insert(f.end(), {ship->health, static_cast<float>(ship->gold)});
        if (auto* tower = dynamic_cast<Tower*>(o)) f.push_back(tower->spawnTimer);
    }
    return f;
}

std::vector<float> SeaHeights(Game* game) {
    std::vector<float> h;
    float slope = 0.0f;
    for (float x = -4000.0f; x <= 4000.0f; x += 250.0f) h.push_back(game->sea->GetHeight(x, &slope));
    return h;
}

Tower* HostileTower(Game* game) {
    for (auto it = game->towers.Begin(); !it.AtEnd(); ++it)
        if ((*it)->team == -1) return *it;
    return nullptr;
}

TEST(FramesAndMenu, TextsStayInTheirFramesAndPlayWaitsBehindTheMenu) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Options options;
    options.configPath = "frames/settings.ini";
    options.unpaced = true;
    options.hasSeed = true;
    options.seed = 3;
    ScriptedPlatform platform;
    std::vector<std::string> seen;
    int stageFrame = 0;
    enum Stage { kStart, kGold, kFight, kMenu, kResume, kMarker, kPanel, kGhost, kOptions, kDone } stage = kStart;
    std::vector<float> before;
    std::map<std::string, int> countsBefore;
    std::vector<float> seaBefore;
    auto next = [&](Stage s, int frame) {
        stage = s;
        stageFrame = frame;
    };

    platform.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::game;
        MerchantShip* ship = game->playerShip.Get();
        const int at = frame - stageFrame;
        if (frame > 9000) return p.Post(WM_CLOSE);
        switch (stage) {
            case kStart:
                if (frame == 5) p.Click(Vec2(200, 200));
                if (game->phase == Game::kPlaying && ship) next(kGold, frame);
                break;
            case kGold: {
                // The plank, with the board that lengthens it for a long sum.
                Box plank = BoxOf(game->goldButton->renderable);
                plank.right += game->goldButton->faceExtra;
                Paint(game->goldButton->textColour, 1.0f, 0.0f, 1.0f);
                if (at >= 2 && at <= 4) {
                    // The label as drawn in this frame, from the gold set one frame before.
                    const auto [in, out] = CountPicked(0, 100, plank, Magenta);
                    if (in > 40 && out == 0) seen.push_back("gold " + game->goldButton->label);
                    if (at == 2) gltest::SaveScreenshot(Shot("screenshot_gold_4_digits.png"));
                    if (at == 3) gltest::SaveScreenshot(Shot("screenshot_gold_10_digits.png"));
                }
                if (at == 1) ship->gold = 1015;
                if (at == 2) ship->gold = INT_MIN;  // the longest: ten digits and a minus sign
                if (at == 3) ship->gold = INT_MAX;
                if (at == 5) {
                    ship->gold = 10;
                    Paint(game->goldButton->textColour, 1.0f, 1.0f, 1.0f);
                    next(kFight, frame);
                }
                break;
            }
            case kFight:
                // Sail, charge and fire for a few seconds: towers shoot and launch.
                p.Hold('D', at < 120);
                if (at % 40 == 5) p.Post(WM_LBUTTONDOWN);
                if (at % 40 == 30) p.Post(WM_LBUTTONUP);
                p.cursor = Vec2(650, 250);
                if (at == 400) p.Key(VK_ESCAPE);
                if (at == 402 && game->phase == Game::kMenu) {
                    if (!game->lifeBar->renderable->inRenderList) seen.push_back("life bar hidden");
                    before = PlayFigures();
                    countsBefore = CountPlayObjects();
                    seaBefore = SeaHeights(game);
                    next(kMenu, frame);
                }
                break;
            case kMenu:
                if (at == 3600) {  // a minute of menu
                    if (PlayFigures() == before && CountPlayObjects() == countsBefore) seen.push_back("stood still");
                    if (SeaHeights(game) != seaBefore) seen.push_back("the sea runs");
                    gltest::SaveScreenshot(Shot("screenshot_menu_over_game.png"));
                    p.Click(Vec2(200, 200));
                    next(kResume, frame);
                }
                break;
            case kResume:
                if (game->phase == Game::kPlaying && at > 5 && !game->PlayHeld()) {
                    if (PlayFigures() != before) seen.push_back("plays on");
                    next(kMarker, frame);
                }
                break;
            case kMarker: {
                Tower* tower = HostileTower(game);
                if (!tower) break;
                const float edge = camera.GetTopLeft().x + 800.0f;
                const float half = (tower->renderable->corners[3].x - tower->renderable->corners[0].x) * 0.5f;
                if (at == 1) tower->SetPosition(Vec2(edge, tower->GetPosition()->y));  // half in sight
                if (at == 2 && game->aids().towersRight() == 0) seen.push_back("no marker for a half-visible tower");
                if (at == 3) tower->SetPosition(Vec2(edge + half + 200.0f, tower->GetPosition()->y));
                if (at == 4 && game->aids().towersRight() == 1 && game->aids().MarkerBox(1)) {
                    seen.push_back("marker");
                    gltest::SaveScreenshot(Shot("screenshot_marker.png"));
                }
                if (at == 5) next(kPanel, frame);
                break;
            }
            case kPanel: {
                Tower* tower = HostileTower(game);
                p.cursor = Vec2(700, 500);  // the cursor's red is not the prompt's
                if (at == 1) {
                    // A shop open when the ship sinks: the prompt clear of the fading panel.
                    tower->upgrader = static_cast<Upgrader*>(goManager.Create("Upgrader"));
                    tower->upgrader->Init();
                    tower->upgrader->SetPosition(Vec2(400, 300));
                    tower->upgrader->Open(ship);
                }
                if (at == 70) ship->health = -1.0f;
                if (at == 80) {
                    const Box scroll = BoxOf(tower->upgrader->scroll->renderable);
                    const auto [in, out] = CountPicked(60, 340, scroll, WarningRed);
                    if (ship->state == Ship::kSinking && in == 0 && out > 20) seen.push_back("prompt clear of the panel");
                    gltest::SaveScreenshot(Shot("screenshot_panel_and_prompt.png"));
                    tower->upgrader->Hide();
                    ship->SetState(3);  // dead: the game brings a new ship
                    next(kGhost, frame);
                }
                break;
            }
            case kGhost:
                if (at == 5) p.Key(VK_SPACE);
                if (at == 90 && ship) {
                    ship->health = ship->maxHealth * 0.4f;
                }
                if (at == 92 && game->seaMode == 2) {
                    gltest::SaveScreenshot(Shot("screenshot_ghost_life_bar.png"));
                    seen.push_back("ghost sea");
                    p.Key(VK_ESCAPE);
                }
                if (at == 95) {
                    p.Click(Vec2(200, 270));  // Options
                    next(kOptions, frame);
                }
                break;
            case kOptions: {
                if (game->phase != Game::kOptions) {
                    stageFrame = frame;
                    break;
                }
                // Sea toggle's key is Space: offer it to Steer left.
                if (at == 5) p.Click(Vec2(540, 246));
                if (at == 8) p.Key(VK_SPACE);
                if (at == 10 && game->optionsScreen.Message() == "Space is taken by Sea toggle") {
                    const Box paper = BoxOf(game->optionsScreen.Scroll());
                    const Box inner{paper.left + 40.0f, paper.top, paper.right - 40.0f, paper.bottom};
                    const auto [in, out] = CountPicked(450, 500, inner, WarningRed);
                    if (in > 40 && out == 0) seen.push_back("refusal on the scroll");
                    gltest::SaveScreenshot(Shot("screenshot_options_refusal.png"));
                    p.Key(VK_ESCAPE);
                    next(kDone, frame);
                }
                break;
            }
            case kDone:
                if (at == 10) p.Key(VK_ESCAPE);
                if (at == 30) p.Post(WM_CLOSE);
                break;
        }
    };
    EXPECT_EQ(Program::Run(platform, options), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"gold Gold 1015", "gold Gold -2147483648", "gold Gold 2147483647",
                                              "life bar hidden", "stood still", "the sea runs", "plays on",
                                              "no marker for a half-visible tower", "marker", "prompt clear of the panel",
                                              "ghost sea", "refusal on the scroll"}));
}

}  // namespace

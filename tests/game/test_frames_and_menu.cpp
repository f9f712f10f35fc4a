// Texts stay inside their frames (read back from the picture), play stands still behind
// the menu, and markers show only towers wholly out of sight; screenshots of each.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "Camera.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Renderable.h"
#include "ScriptedPlatform.h"
#include "app/Program.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "sea/Water.h"
#include "ui/LifeBar.h"
#include "ui/Plank.h"
#include "ui/UIButton.h"

namespace {

std::string Shot(const std::string& name) { return std::string(BRINEGATE_BUILD_DIR) + "/screenshot_" + name + ".png"; }

// Saves the picture and counts the pixels of the given colour within rows [top, bottom)
// inside and outside the box (its right edge moved by extraRight).
std::pair<int, int> Ink(const std::string& name, int top, int bottom, const Vec2* box, float extraRight,
                        bool (*ink)(const unsigned char*)) {
    gltest::SaveScreenshot(Shot(name));
    std::vector<unsigned char> rgba(800 * 600 * 4);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int inside = 0, outside = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < 800; ++x) {
            if (!ink(&rgba[((599 - y) * 800 + x) * 4])) continue;
            const bool in = x >= box[0].x && x <= box[3].x + extraRight && y >= box[0].y && y <= box[3].y;
            (in ? inside : outside)++;
        }
    return {inside, outside};
}
bool InkInside(const std::string& name, int top, int bottom, const Vec2* box, float extraRight,
               bool (*ink)(const unsigned char*)) {
    const auto [inside, outside] = Ink(name, top, bottom, box, extraRight, ink);
    return inside > 20 && outside == 0;
}
bool Magenta(const unsigned char* p) { return p[0] > 60 && p[2] > 60 && p[1] * 4 < p[0] && p[1] * 4 < p[2]; }
bool Red(const unsigned char* p) { return p[0] > 90 && p[1] * 3 < p[0] && p[2] * 3 < p[0]; }

// Every figure of every object of play, and the sea's heights.
std::vector<float> Figures(bool play) {
    std::vector<float> f;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj* o = *it;
        if (PlayHold::KeepsRunning(o->GetType()) == play || !o->renderable) continue;
        f.insert(f.end(), {float(o->state.Number()), o->velocity.x, o->velocity.y, o->stateTime, o->renderable->position.x,
                           o->renderable->position.y});
        if (auto* ship = dynamic_cast<Ship*>(o)) f.insert(f.end(), {ship->health, float(ship->Gold())});
        if (auto* tower = dynamic_cast<Tower*>(o)) f.push_back(tower->spawnTimer);
        float slope = 0.0f;
        if (auto* sea = dynamic_cast<Water*>(o)) f.push_back(sea->GetHeight(100.0f, &slope));
    }
    return f;
}

Tower* HostileTower(Game* game) {
    for (auto it = game->towers.Begin(); !it.AtEnd(); ++it)
        if ((*it)->team == -1) return *it;
    return game->towers.Empty() ? nullptr : *game->towers.Begin();
}

TEST(FramesAndMenu, TextsStayInTheirFramesAndPlayWaitsBehindTheMenu) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    Options options;
    options.configPath = "frames/settings.ini";
    options.unpaced = options.hasSeed = true;
    ScriptedPlatform platform;
    std::vector<std::string> seen;
    std::vector<float> play, scenery;
    int mark = 0;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        MerchantShip* ship = game->playerShip.Get();
        UIButton* gold = game->hud().goldButton();
        const int at = frame - mark;
        if (frame > 9000) return p.Post(WM_CLOSE);
        if (frame == 5) p.Click(Vec2(200, 200));
        if (mark == 0 && game->Showing() == Screen::Kind::kPlay) mark = frame;
        if (mark == 0) return;
        Tower* tower = HostileTower(game);
        // Gold at 2 digits, 4, then 10 with a minus sign, drawn in magenta a frame later.
        gold->textColour[1] = at < 5 ? 0.0f : 1.0f;
        // Between the plank's nails, however long the plank has grown.
        const float nails = Plank::EndClear(gold->renderable->scale.x);
        const Vec2 c[4] = {gold->GetCorners()[kTopLeft] + Vec2(nails, 0), {}, {}, gold->GetCorners()[kBottomRight] - Vec2(nails, 0)};
        if (at == 2 && InkInside("gold_2_digits", 0, 100, c, gold->faceExtra, Magenta)) seen.push_back("2 digits");
        if (at == 2) ship->AddGold(1015 - ship->Gold());
        if (at == 3 && InkInside("gold_4_digits", 0, 100, c, gold->faceExtra, Magenta)) seen.push_back("4 digits");
        if (at == 3) ship->AddGold(static_cast<double>(INT_MIN) - ship->Gold());
        if (at == 4 && InkInside("gold_10_digits", 0, 100, c, gold->faceExtra, Magenta)) seen.push_back("10 digits");
        // A fight: sail, charge and fire; then a minute of menu.
        p.Hold('D', at > 5 && at < 120);
        if (at > 5 && at < 400 && at % 40 == 5) p.Post(WM_LBUTTONDOWN);
        if (at > 5 && at < 400 && at % 40 == 30) p.Post(WM_LBUTTONUP);
        if (at == 400) p.Key(VK_ESCAPE);
        if (at == 402) play = Figures(true), scenery = Figures(false);
        if (at == 4002) {
            if (!game->hud().lifeBar()->renderable->inRenderList && Figures(true) == play) seen.push_back("stood still");
            if (Figures(false) != scenery) seen.push_back("scenery ran");
            gltest::SaveScreenshot(Shot("menu_over_game"));
            p.Click(Vec2(200, 200));
        }
        if (at == 4200 && game->Showing() == Screen::Kind::kPlay && Figures(true) != play) seen.push_back("plays on");
        // A tower half in sight has no marker; wholly out of sight, it has one.
        const float edge = camera.GetTopLeft().x + 800.0f;
        if (at == 4201) tower->SetPosition(Vec2(edge, tower->GetPosition()->y));
        if (at == 4202 && game->aids().towersRight() == 0) seen.push_back("no marker");
        if (at == 4202) tower->SetPosition(Vec2(edge + 400.0f, tower->GetPosition()->y));
        if (at == 4203 && game->aids().MarkerBox(1)) seen.push_back("marker"), gltest::SaveScreenshot(Shot("marker"));
        // A shop open as the ship sinks: "Tap 'R'!!" stays off the fading scroll.
        if (at > 4200 && at < 4290) p.cursor = Vec2(700, 500);
        if (at == 4204) {
            tower->upgrader = static_cast<Upgrader*>(goManager.Create("Upgrader"));
            tower->upgrader->Init();
            tower->upgrader->Open(ship);
        }
        if (at == 4270) ship->health = -1.0f;
        if (at == 4280) {
            const auto [on, off] = Ink("panel_and_prompt", 60, 340, tower->upgrader->scroll->GetCorners(), 0, Red);
            if (ship->state == Life::kSinking && on == 0 && off > 20) seen.push_back("prompt clear of the panel");
            ship->SetState(Life::kDead);  // dead: a new ship comes
        }
        // The life bar in the ghost sea, then the longest refusal on the options scroll.
        if (at == 4290) p.Key(VK_SPACE);
        if (at == 4380) ship->health = ship->maxHealth * 0.4f;
        if (at == 4382) gltest::SaveScreenshot(Shot("ghost_life_bar")), p.Key(VK_ESCAPE);
        if (at == 4390) p.Click(Vec2(200, 270));
        if (game->Showing() == Screen::Kind::kOptions && mark > 0) mark = -frame;
        if (mark < 0 && frame + mark == 5) p.Click(Vec2(540, 246));  // Steer left's key...
        if (mark < 0 && frame + mark == 8) p.Key(VK_SPACE);         // ...offered Sea toggle's
        if (mark < 0 && frame + mark == 10) {
            const Renderable* scroll = game->options().Scroll();
            const Vec2 paper[4] = {scroll->corners[kTopLeft] + Vec2(40, 0), {}, {}, scroll->corners[kBottomRight] - Vec2(40, 0)};
            if (game->options().Message() == "Space is taken by Sea toggle" &&
                InkInside("options_refusal", 80, 130, paper, 0, Red))
                seen.push_back("refusal on the scroll");
            p.Post(WM_CLOSE);
        }
    };
    EXPECT_EQ(Program(platform, options).Run(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"2 digits", "4 digits", "10 digits", "stood still", "scenery ran", "plays on", "no marker",
                                              "marker", "prompt clear of the panel", "refusal on the scroll"}));
}

}  // namespace

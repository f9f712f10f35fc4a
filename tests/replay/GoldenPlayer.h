#pragma once

// A player for the kept recordings: it sails to the nearest hostile tower and holds
// beside it (so towers are taken and levels change), fires now and then, takes gold with
// 'M', clicks a line of any upgrade panel that opens, and is sunk often enough. It reads
// the game to decide but acts only through messages, as a person would.
#include <cmath>
#include <cstdint>

#include "Renderable.h"
#include "ScriptedPlay.h"
#include "defences/Tower.h"
#include "defences/UpgradeButton.h"
#include "defences/Upgrader.h"
#include "objects/GameObj.h"

struct GoldenPlayer {
    void operator()(ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (game->phase != Game::kPlaying) {
            noise.Release(p);
            Steer(p, 0);
            if (frame % 60 == 0) {  // "Play!"
                p.cursor = Vec2(200, 200);
                p.Post(WM_LBUTTONDOWN);
                p.Post(WM_LBUTTONUP);
            }
            return;
        }
        if (noise.Chance(300)) p.Key('M');
        if (noise.Chance(700)) p.Key(VK_SPACE);
        if (noise.Chance(500)) p.Key('R');
        if (noise.Chance(4000)) {  // back to the menu now and then
            noise.Release(p);
            Steer(p, 0);
            p.Key(VK_ESCAPE);
            return;
        }
        if (ClickPanel(p, game)) return;
        MerchantShip* ship = game->playerShip.Get();
        int want = 0;
        if (ship && ship->GetPosition()) {
            const float x = ship->GetPosition()->x;
            float best = 1e9f;
            for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) {
                Tower* t = *it;
                if (t->team != GameObj::kHostile || !t->GetPosition()) continue;
                const float dx = t->GetPosition()->x - x;
                if (std::fabs(dx) < std::fabs(best)) best = dx;
            }
            if (best < 1e8f && std::fabs(best) > 30.0f) want = best > 0 ? 1 : -1;
            // Now and then rest at a tower of its own, so that its panel opens.
            for (auto it = game->towers.Begin(); !it.AtEnd(); ++it)
                if ((*it)->team == GameObj::kPlayerSide && (*it)->GetPosition() &&
                    std::fabs((*it)->GetPosition()->x - x) < 60.0f && frame % 1500 < 400)
                    want = 0;
        }
        if (want != 0 && noise.Chance(8)) want = noise.Chance(2) ? 1 : -1;  // a wobble
        Steer(p, want);
        p.cursor = Vec2(std::fmin(std::fmax(p.cursor.x + noise.Spread(40), 0.0f), 799.0f),
                        std::fmin(std::fmax(p.cursor.y + noise.Spread(30), 0.0f), 599.0f));
        if (noise.Chance(noise.held[2] ? 25 : 60)) noise.Hold(p, 2, !noise.held[2]);
    }

    // Clicks a random line of the first panel on the screen; true when it did.
    bool ClickPanel(ScriptedPlatform& p, Game* game) {
        if (!noise.Chance(40)) return false;
        for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) {
            Upgrader* panel = (*it)->upgrader;
            if (!panel || panel->state != Upgrader::Phase::kOpening) continue;
            UpgradeButton* lines[] = {panel->gunpowerButton, panel->speedButton, panel->strengthButton,
                                      panel->reloadButton};
            UpgradeButton* line = lines[(static_cast<int>(noise.Spread(2)) + 2) % 4];
            if (!line || !line->renderable || !line->renderable->inRenderList) return false;
            const Vec2* c = line->GetCorners();
            noise.Release(p);
            p.cursor = Vec2((c[0].x + c[3].x) / 2, (c[0].y + c[3].y) / 2);
            p.Post(WM_LBUTTONDOWN);
            p.Post(WM_LBUTTONUP);
            return true;
        }
        return false;
    }

    void Steer(ScriptedPlatform& p, int want) {
        if (noise.held[0] != (want < 0)) noise.Hold(p, 0, want < 0);
        if (noise.held[1] != (want > 0)) noise.Hold(p, 1, want > 0);
    }

    RandomPlayer noise;
};

// The draw shortcuts (skipping what cannot be seen, nearest sampling, the water's one
// colour, the sky drawn from its copy) keep the picture: the menu and a level-10 battle, each drawn the long way and the short
// way from the same state, differ by at most 8 levels in any channel and in at most 1 %
// of the pixels.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "CachedBackdrop.h"
#include "Culler.h"
#include "GL.h"
#include "PlayTestKit.h"
#include "Renderer.h"
#include "Texture.h"
#include "TextureManager.h"
#include "ships/Ship.h"

namespace {

using playtest::PlayTest;

std::vector<uint8_t> DrawFrame(bool shortcuts) {
    renderer.shortcuts = shortcuts;
    for (auto it = textureManager.textures.Begin(); !it.AtEnd(); ++it) textureManager.ApplySampling(*it, shortcuts);
    // The short way is drawn until the sky is drawn from its copy.
    for (int i = 0; i < (shortcuts ? 4 : 1); ++i) {
        renderer.BeginFrame();
        camera.Update(0.0f);
        goManager.Draw();
        culler.Render();
        renderer.EndOrtho();
    }
    glFinish();
    if (shortcuts) {
        EXPECT_TRUE(renderer.backdrop && renderer.backdrop->HoldsCopy()) << "the sky was drawn from its copy";
    }
    std::vector<uint8_t> pixels(800 * 600 * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    renderer.shortcuts = true;
    for (auto it = textureManager.textures.Begin(); !it.AtEnd(); ++it) textureManager.ApplySampling(*it, true);
    return pixels;
}

void ExpectSamePicture(const char* scene) {
    const std::vector<uint8_t> longWay = DrawFrame(false);
    const std::vector<uint8_t> shortWay = DrawFrame(true);
    int worst = 0, differing = 0, colours = 0;
    for (size_t p = 0; p < longWay.size(); p += 4) {
        int diff = 0;
        for (size_t c = 0; c < 3; ++c) diff = std::max(diff, std::abs(longWay[p + c] - shortWay[p + c]));
        worst = std::max(worst, diff);
        differing += diff > 0;
        colours += longWay[p] != longWay[0] || longWay[p + 1] != longWay[1];
    }
    EXPECT_GT(colours, 800 * 600 / 2) << scene << ": a picture, not a blank frame";
    EXPECT_LE(worst, 8) << scene;
    EXPECT_LE(differing, 800 * 600 / 100) << scene;
}

TEST_F(PlayTest, ShortcutsKeepTheMenuAndABattleAsDrawnTheLongWay) {
    for (int i = 0; i < 30; ++i) Frame();
    ExpectSamePicture("menu");

    // Level 10: fifteen hostile towers launching for ten seconds, the player firing, and
    // every other enemy ship burning (smoke and flames).
    game->menu().playButton->SetState(MenuButton::Phase::kReturning);
    Step();
    game->level = 9;
    CaptureAll();
    for (int i = 0; i < 600; ++i) {
        orlop.mousePosition = Vec2(600.0f, 250.0f);
        Release(0);
        if (MerchantShip* ship = Ship()) ship->health = ship->maxHealth;
        if (i == 540) {
            int n = 0;
            for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it)
                if ((*it)->team == -1 && (*it)->state == Life::kNormal && dynamic_cast<::Ship*>(*it) && n++ % 2)
                    static_cast<::Ship*>(*it)->health *= 0.2f;
        }
        Frame();
    }
    ASSERT_GE(game->towers.Count(), 15);
    ExpectSamePicture("level 10");
}

}  // namespace

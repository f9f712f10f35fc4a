// The real entry point in a real window: the scene it builds, and a scripted session
// fed through the input handler that plays, returns to the menu and quits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FileResolver.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "Renderable.h"
#include "ScriptedPlatform.h"
#include "Sprite.h"
#include "Texture.h"
#include "app/Program.h"
#include "defences/Tower.h"
#include "defences/UpgradeButton.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"
#include "objects/ObjRef.h"
#include "play/Game.h"
#include "sea/Water.h"
#include "ships/MerchantShip.h"
#include "ui/LifeBar.h"
#include "ui/MenuButton.h"
#include "ui/UIButton.h"

namespace {

std::string Shot(const char* name) { return std::string(BRINEGATE_BUILD_DIR) + "/" + name; }

TEST(Program, ScriptedSessionPlaysReturnsToTheMenuAndQuitsInOrder) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    ScriptedPlatform platform;

    enum Stage { kMenu, kPressedPlay, kPlaying, kBackInMenu, kPressedQuit } stage = kMenu;
    std::vector<std::string> seen;
    int stageStart = 0;
    bool timedOut = false;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (frame > 3000) {  // a stuck script must not hang the test run
            timedOut = true;
            p.Post(WM_CLOSE);
            return;
        }
        switch (stage) {
            case kMenu:
                if (frame == 40) {
                    gltest::SaveScreenshot(Shot("screenshot_menu.png"));
                    // Only the menu is on screen: the title and two buttons.
                    if (game->hud().goldButton()->renderable->inRenderList) seen.push_back("gold shown in menu");
                    // The cursor's transparent corner shows the scene, not a black box.
                    Sprite* c = Program::Running()->cursor();
                    gltest::Rgba corner =
                        gltest::ReadPixel(static_cast<int>(p.cursor.x - c->frameWidth / 2 + 1),
                                          static_cast<int>(p.cursor.y - c->frameHeight / 2 + 1));
                    if (corner.r + corner.g + corner.b < 30) seen.push_back("black cursor corner");
                    p.Click(Vec2(200, 200));
                    stage = kPressedPlay;
                    stageStart = frame;
                }
                break;
            case kPressedPlay:
                if (frame == stageStart + 30) gltest::SaveScreenshot(Shot("screenshot_menu_falling.png"));
                if (game->Showing() == Screen::Kind::kPlay) {
                    seen.push_back("playing");
                    stage = kPlaying;
                    stageStart = frame;
                }
                break;
            case kPlaying:
                if (frame == stageStart + 20) {
                    if (game->menu().playButton->renderable->inRenderList) seen.push_back("menu shown in play");
                    p.Key(VK_ESCAPE);
                }
                if (game->Showing() == Screen::Kind::kMenu) {
                    seen.push_back("menu");
                    stage = kBackInMenu;
                    stageStart = frame;
                }
                break;
            case kBackInMenu:
                if (frame == stageStart + 20) {
                    if (!game->menu().quitButton->renderable->inRenderList) seen.push_back("quit hidden");
                    p.Click(Vec2(200, 340));
                    stage = kPressedQuit;
                }
                break;
            case kPressedQuit:
                if (game->menu().quitButton->state == MenuButton::Phase::kReturning) seen.push_back("quit pressed");
                break;
        }
    };

    Program program(platform);
    int status = program.Run();

    EXPECT_FALSE(timedOut) << "the script did not finish";
    EXPECT_EQ(status, 0) << "a normal end is a success";
    EXPECT_EQ(seen, (std::vector<std::string>{"playing", "menu", "quit pressed"}));
    // The designed shut-down: game record and cursor freed, every object destroyed,
    // the window closed.
    EXPECT_EQ(program.game(), nullptr);
    EXPECT_EQ(program.cursor(), nullptr);
    EXPECT_TRUE(goManager.objects.Empty());
    EXPECT_EQ(orlop.window, nullptr);
    EXPECT_FALSE(goManager.log.IsOpen());
}

// --- a whole game, played through the real entry point --------------------------------

int BallsOfTeam(int team) {
    int n = 0;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it)
        n += std::strcmp((*it)->GetType(), "CannonBall") == 0 && (*it)->team == team;
    return n;
}

// Holds 'A' or 'D' towards a speed that shrinks as the ship nears x.
void SailTowards(ScriptedPlatform& p, MerchantShip* ship, float x) {
    const float dx = x - ship->GetPosition()->x;
    const float wanted = std::fmax(-ship->maxSpeed, std::fmin(ship->maxSpeed, dx * 1.5f));
    p.Hold('A', ship->velocity.x > wanted + 30.0f);
    p.Hold('D', ship->velocity.x < wanted - 30.0f);
}

void LetGo(ScriptedPlatform& p) {
    p.Hold('A', false);
    p.Hold('D', false);
}

// Under fire the ship is kept afloat with gold ('M') and repairs ('R'), one key a frame.
bool KeepAfloat(ScriptedPlatform& p, MerchantShip* ship) {
    if (ship->health >= 0.7f * ship->maxHealth) return false;
    p.Key(ship->Gold() < 5 ? 'M' : 'R');
    return true;
}

Tower* NearestHostileTower(Game* game, float x) {
    Tower* best = nullptr;
    for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) {
        Tower* t = *it;
        if (t->team != -1) continue;
        if (!best || std::fabs(t->GetPosition()->x - x) < std::fabs(best->GetPosition()->x - x)) best = t;
    }
    return best;
}

// Start, fire, return to the menu and play again (a second tower joins the level), take
// the first tower, dock there and buy, visit the ghost sea and come back, take the last
// hostile tower and reach level 2, then leave through the menu. Driven by what the game
// shows, so the random seed of the run does not matter; a stuck stage fails by name.
TEST(Program, ScriptedPlayThroughTakesTowersShopsTogglesTheSeaAndReachesLevelTwo) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    ScriptedPlatform platform;
    orlop.paced = false;

    enum Stage {
        kMenu, kFirstPlay, kLevelOne, kBackInMenu, kTakeFirst, kDock, kBuy, kGhostSea,
        kLivingSea, kTakeLast, kLevelTwo, kQuitting
    };
    const char* const names[] = {"menu", "first play", "level one", "back in menu",
                                 "take first", "dock", "buy", "ghost sea",
                                 "living sea", "take last", "level two", "quitting"};
    constexpr int kBudget = 8000;  // about four times what a run takes
    Stage stage = kMenu;
    int since = 0;
    std::vector<std::string> seen;
    ObjRef<Tower> first;
    bool timedOut = false;
    bool fired = false;
    auto enter = [&](Stage next, int frame, const char* milestone) {
        stage = next;
        since = frame;
        if (milestone) seen.push_back(milestone);
    };

    platform.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (frame > kBudget) {
            timedOut = true;
            p.Post(WM_CLOSE);
            return;
        }
        MerchantShip* ship = game->playerShip.Get();
        const int inStage = frame - since;
        switch (stage) {
            case kMenu:
                if (frame == 5) {
                    p.Click(Vec2(200, 200));
                    enter(kFirstPlay, frame, nullptr);
                }
                break;
            case kFirstPlay:
                if (game->Showing() == Screen::Kind::kPlay && ship) enter(kLevelOne, frame, "playing");
                break;
            case kLevelOne:
                // A shot towards the upper right, while the level banner shows.
                if (inStage == 10) p.Click(Vec2(650, 250));
                if (inStage > 10 && !fired && BallsOfTeam(1) > 0) {
                    fired = true;
                    seen.push_back("fired");
                }
                if (inStage == 40) {
                    gltest::SaveScreenshot(Shot("screenshot_play_level1.png"));
                    p.Key(VK_ESCAPE);
                }
                if (inStage > 40 && game->Showing() == Screen::Kind::kMenu) enter(kBackInMenu, frame, "menu");
                break;
            case kBackInMenu:
                if (inStage == 20) p.Click(Vec2(200, 200));
                if (game->Showing() == Screen::Kind::kPlay) {
                    if (game->towers.Count() == 2) seen.push_back("second tower");
                    first = game->towers.Head()->value;
                    enter(kTakeFirst, frame, "playing again");
                }
                break;
            case kTakeFirst:
                if (!first.Get()) break;  // stuck: the budget tells
                if (first.Get()->team == 1) {
                    gltest::SaveScreenshot(Shot("screenshot_tower_taken.png"));
                    enter(kDock, frame, "took a tower");
                } else if (ship && !KeepAfloat(p, ship)) {
                    SailTowards(p, ship, first.Get()->GetPosition()->x);
                }
                break;
            case kDock: {
                Tower* t = first.Get();
                if (!t) break;
                if (t->upgrader && t->upgrader->state == Upgrader::Phase::kOpening) {
                    LetGo(p);
                    enter(kBuy, frame, "panel open");
                } else if (ship && !KeepAfloat(p, ship)) {
                    SailTowards(p, ship, t->GetPosition()->x);
                }
                break;
            }
            case kBuy: {
                // Steering would close the panel: hands off the keys.
                LetGo(p);
                Upgrader* panel = first.Get() ? first.Get()->upgrader : nullptr;
                if (!panel || !ship) break;
                if (!panel->ship.Is(ship)) {
                    enter(kDock, frame, nullptr);  // a new ship docks again
                } else if (ship->maxSpeed > 200.0f) {
                    gltest::SaveScreenshot(Shot("screenshot_upgrade_panel.png"));
                    enter(kGhostSea, frame, "bought");
                } else if (ship->Gold() < 100) {
                    p.Key('M');
                } else if (!KeepAfloat(p, ship) && inStage % 30 == 0 && panel->speedButton) {
                    const Vec2* c = panel->speedButton->GetCorners();
                    p.Click(Vec2((c[0].x + c[3].x) / 2, (c[0].y + c[3].y) / 2));
                }
                break;
            }
            case kGhostSea:
                if (inStage == 1) p.Key(' ');
                if (inStage == 60 && game->seaMode == Sea::kGhost) {
                    gltest::SaveScreenshot(Shot("screenshot_ghost_sea.png"));
                    p.Key(' ');
                    enter(kLivingSea, frame, "ghost sea");
                }
                break;
            case kLivingSea:
                if (inStage == 90 && game->seaMode == Sea::kLiving) enter(kTakeLast, frame, "living sea");
                break;
            case kTakeLast:
                if (game->level == 2) {
                    LetGo(p);
                    enter(kLevelTwo, frame, "level 2");
                } else if (ship && !KeepAfloat(p, ship)) {
                    Tower* t = NearestHostileTower(game, ship->GetPosition()->x);
                    if (t) SailTowards(p, ship, t->GetPosition()->x);
                }
                break;
            case kLevelTwo:
                if (inStage == 30) {
                    gltest::SaveScreenshot(Shot("screenshot_level2.png"));
                    if (game->towers.Count() == 3) seen.push_back("three towers");
                    p.Key(VK_ESCAPE);
                }
                if (inStage > 30 && game->Showing() == Screen::Kind::kMenu) enter(kQuitting, frame, "menu");
                break;
            case kQuitting:
                if (inStage == 10) p.Key(VK_ESCAPE);
                break;
        }
    };

    int status = Program(platform).Run();
    orlop.paced = true;

    EXPECT_FALSE(timedOut) << "stuck at stage \"" << names[stage] << "\" after " << kBudget << " frames";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"playing", "fired", "menu", "second tower",
                                               "playing again", "took a tower", "panel open",
                                               "bought", "ghost sea", "living sea", "level 2",
                                               "three towers", "menu"}));
    EXPECT_TRUE(goManager.objects.Empty());
}

TEST(Program, EscapeInTheMenuEndsTheProgramAtOnce) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    ScriptedPlatform platform;
    int escapeFrame = 0;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        if (frame == 5) {
            p.cursor = Vec2(200, 200);  // over "Play!": Escape wins before any button
            p.Post(WM_LBUTTONDOWN);
            p.Key(VK_ESCAPE);
            escapeFrame = frame;
        }
        if (frame > 600) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(platform).Run(), 0);
    EXPECT_EQ(platform.frame, escapeFrame + 1);
}

TEST(Program, ClosingTheWindowEndsTheProgramCleanly) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    ScriptedPlatform platform;
    platform.step = [](ScriptedPlatform& p, int frame) {
        if (frame == 10) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(platform).Run(), 0);
    EXPECT_EQ(platform.frame, 10) << "no frame after the close";
    EXPECT_TRUE(goManager.objects.Empty());
}

TEST(Program, NoDataFolderIsSaidFirstWithWhereItWasLookedFor) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    FileResolver::ClearSearchRoots();
    FileResolver::AddSearchRoot("/nowhere/brinegate-data");
    ScriptedPlatform platform;
    platform.step = [](ScriptedPlatform& p, int frame) {
        if (frame == 2) p.Post(WM_CLOSE);
    };
    ::testing::internal::CaptureStderr();
    const int status = Program(platform).Run();
    const std::string err = ::testing::internal::GetCapturedStderr();
    gltest::UseDataFolder();
    EXPECT_EQ(status, 0);
    const std::string first = err.substr(0, err.find('\n'));
    EXPECT_EQ(first.rfind("brinegate: no game data found", 0), 0u) << err;
    EXPECT_NE(first.find("/nowhere/brinegate-data"), std::string::npos) << first;
    EXPECT_NE(first.find("images/cursor.tga"), std::string::npos) << first;
}

// --- the scene ----------------------------------------------------------------------

TEST(Scene, SetUpMakesExactlyTheListedObjectsWithOnlyTheMenuShowing) {
    REQUIRE_GL();
    Game game;
    game.SetUp();
    std::map<std::string, int> types;
    int meetNothing = 0;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        ++types[(*it)->GetType()];
        meetNothing += (*it)->noCollide;
    }
    EXPECT_EQ(meetNothing, 1 + 13) << "the second sea and the hidden options screen";
    // The player's ship brings its gun, its fire, its wake and the gun's smoke; the
    // options scroll its 12 buttons and the scroll itself.
    EXPECT_EQ(types, (std::map<std::string, int>{{"Water", 2},
                                                 {"Sky", 1},
                                                 {"World", 1},
                                                 {"GameObj", 1},
                                                 {"UIButton", 18},
                                                 {"MerchantShip", 1},
                                                 {"Cannon", 1},
                                                 {"Fire", 1},
                                                 {"ParticleObj", 2}}));
    MerchantShip* ship = game.playerShip.Get();
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->team, 1);
    EXPECT_EQ(ship->realm, 3);
    EXPECT_EQ(*ship->GetPosition(), Vec2(450, 0));
    EXPECT_TRUE(ship->water.Is(game.sea));
    EXPECT_EQ(Vec2(ship->renderable->colour[0], ship->renderable->colour[1]), Vec2(0.8f, 0.0f));
    EXPECT_EQ(game.Showing(), Screen::Kind::kMenu);
    EXPECT_EQ(game.seaMode, Sea::kLiving);
    EXPECT_EQ(game.secondSea->noCollide, 1);
    EXPECT_EQ(game.sea->noCollide, 0);
    EXPECT_FLOAT_EQ(game.sea->renderable->GetDepth(), 0.7f);
    EXPECT_FLOAT_EQ(game.secondSea->renderable->GetDepth(), 0.1f);
    EXPECT_EQ(game.menu().playButton->renderable->inRenderList, 1);
    EXPECT_EQ(game.menu().quitButton->renderable->inRenderList, 1);
    EXPECT_EQ(game.menu().optionsButton->renderable->inRenderList, 1);
    EXPECT_EQ(game.menu().optionsButton->GetPosition()->y, 270.0f);
    EXPECT_EQ(game.menu().quitButton->GetPosition()->y, 340.0f) << "one step lower, below Options";
    EXPECT_EQ(game.hud().goldButton()->renderable->inRenderList, 0);
    EXPECT_EQ(game.hud().healthButton()->renderable->inRenderList, 0);
    EXPECT_EQ(game.hud().lifeBar()->renderable->inRenderList, 0);
    EXPECT_EQ(game.hud().healthButton()->renderable->scale, Vec2(2, 2));
    EXPECT_EQ(game.hud().goldButton()->textScale, Vec2(0.6f, 0.6f));
    EXPECT_EQ(game.menu().playButton->label, "Play!");
    EXPECT_EQ(game.menu().quitButton->label, "Quit");
    EXPECT_EQ(game.menu().optionsButton->label, "Options");
    EXPECT_FLOAT_EQ(game.font().glyphWidth, 63.0f);
    EXPECT_FALSE(game.font().texture->placeholder) << "the generated font was found";

    // One frame later the life bar's background has followed the bar off screen.
    goManager.Update(kFrameStep);
    EXPECT_EQ(game.hud().lifeBar()->background->inRenderList, 0);
    goManager.Clear();
}

}  // namespace

namespace {

TEST(Program, NoDisplayIsAClearFailureNotAnInvisibleGame) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already started in this process";
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    SdlPlatform platform;
    ::testing::internal::CaptureStderr();
    Program program(platform);
    int status = program.Run();
    std::string err = ::testing::internal::GetCapturedStderr();
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    EXPECT_NE(status, 0);
    EXPECT_NE(err.find("cannot create the window"), std::string::npos) << err;
    EXPECT_EQ(program.game(), nullptr) << "nothing was built";
}

}  // namespace

// The player's aids (gains and losses, the towers left, the shop's notes, hints, rumble)
// and the records kept between runs. Each stage saves a screenshot into the build folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DigestRun.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "ScriptedPlatform.h"
#include "VirtualPad.h"
#include "app/Program.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "ships/MerchantShip.h"
#include "store/Records.h"

namespace {

namespace fs = std::filesystem;

std::string Shot(const char* name) { return std::string(BRINEGATE_BUILD_DIR) + "/" + name; }

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Pixels of the window box that `is` picks.
template <typename Pick>
int CountPicked(int left, int top, int right, int bottom, Pick is) {
    std::vector<unsigned char> rgba(800 * 600 * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const unsigned char* p = &rgba[((599 - y) * 800 + x) * 4];
            n += is(p[0], p[1], p[2]) ? 1 : 0;
        }
    return n;
}

bool Red(int r, int g, int b) { return r > 90 && g * 3 < r && b * 3 < r; }
bool PaleYellow(int r, int g, int b) { return r > 200 && g > 190 && b > 100 && b < 215; }

Tower* FirstTower(Game* game) { return game->towers.Empty() ? nullptr : *game->towers.Begin(); }

TEST(Records, RoundTripBestOfTwoGamesAndADamagedFileSetAside) {
    const fs::path dir = fs::current_path() / "records-unit";
    fs::remove_all(dir);
    const std::string path = (dir / "records.ini").string();
    std::ostringstream quiet;

    Records records;
    GameRecord first{4, 12, 30, 2500, 600, 2}, second{2, 15, 3, 100, 61, 1};
    records.Finish(first);
    records.Finish(second);
    EXPECT_EQ(records.last, second);
    EXPECT_EQ(records.best, (GameRecord{4, 15, 30, 2500, 600, 2}));
    std::string error;
    ASSERT_TRUE(records.Save(path, error)) << error;
    const Records read = Records::Load(path, quiet, true);
    EXPECT_EQ(read.last, records.last);
    EXPECT_EQ(read.best, records.best);
    EXPECT_EQ(quiet.str(), "");

    // A file from before towers lost were kept reads as it did, with none lost.
    std::ofstream(path) << "[last]\nlevel = 3\ntowers = 4\nships = 5\ngold = 6\nseconds = 7\n";
    EXPECT_EQ(Records::Load(path, quiet, true).last, (GameRecord{3, 4, 5, 6, 7, 0}));
    EXPECT_EQ(quiet.str(), "");

    // Damaged twice: each copy kept, none overwritten, and the records start afresh.
    for (const char* junk : {"[best]\nlevel = four\n", "[last]\nlevel = -3\n"}) {
        std::ofstream(path) << junk;
        std::ostringstream warnings;
        const Records fresh = Records::Load(path, warnings, true);
        EXPECT_FALSE(fresh.best.Played());
        EXPECT_NE(warnings.str().find(path + ": damaged at line 2"), std::string::npos) << warnings.str();
        EXPECT_FALSE(fs::exists(path));
    }
    EXPECT_EQ(Slurp(path + ".bad"), "[best]\nlevel = four\n");
    EXPECT_EQ(Slurp(path + ".bad.2"), "[last]\nlevel = -3\n");
    // Read only (a replay): named, left where it is.
    std::ofstream(path) << "junk";
    std::ostringstream warnings;
    Records::Load(path, warnings, false);
    EXPECT_NE(warnings.str().find(path), std::string::npos);
    EXPECT_EQ(Slurp(path), "junk");

    // A relative XDG_DATA_HOME is no place for them: HOME's default is.
    const std::string data = std::getenv("XDG_DATA_HOME"), home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "relative/data", 1);
    setenv("HOME", "/h", 1);
    EXPECT_EQ(Records::DefaultPath(), "/h/.local/share/brinegate/records.ini");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(Records::DefaultPath(), data + "/brinegate/records.ini");
}

int CountRumble(void* userdata, Uint16 low, Uint16 high) {
    auto* felt = static_cast<std::vector<int>*>(userdata);
    if (low || high) felt->push_back(low);
    return 0;
}

TEST(AidsAndRecords, APlayedGameShowsItsAidsAndItsRecordsOutliveTheProgram) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    const fs::path recordsPath = Records::DefaultPath();
    fs::remove(recordsPath);
    Options options;
    options.configPath = "aids/settings.ini";
    // The goal is known here: the controls' hints come first.
    fs::create_directories("aids");
    std::ofstream("aids/settings.ini") << "[hints]\ndone = tower\n";
    options.unpaced = true;
    options.hasSeed = true;
    options.seed = 5;
    std::vector<std::string> seen;
    std::vector<int> felt;
    SDL_Joystick* pad = nullptr;
    int playing = 0;
    bool keyed = false;

    ScriptedPlatform first;
    first.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        MerchantShip* ship = game->playerShip.Get();
        if (frame == 2) pad = virtualpad::Plug(CountRumble, &felt);
        if (frame == 5) p.Click(Vec2(200, 200));
        if (!playing && game->phase == Game::kPlaying && ship) playing = frame;
        const int at = playing ? frame - playing : -1;
        Tower* tower = FirstTower(game);
        if (at == 3) {
            if (game->hints().Shown() == Settings::kHintSteer &&
                CountPicked(100, 560, 700, 600, PaleYellow) > 40)
                seen.push_back("steer hint");
            if (game->TowerCount() == "Towers 1/1") seen.push_back("tower count");
            gltest::SaveScreenshot(Shot("screenshot_hint_and_tower_count.png"));
        }
        p.Hold('D', at >= 5 && at < 80);
        if (at == 82 && game->hints().Shown() == Settings::kHintFire &&
            Slurp("aids/settings.ini").find("done = steer tower\n") != std::string::npos)
            seen.push_back("steering done and kept");
        if (at == 90) p.Key('M');
        if (at == 92 && !game->popups().Words().empty() && game->popups().Words().back().text == "+50")
            seen.push_back("+50");
        // The pad used last names its buttons; a key hands the prompts back.
        if (at == 94) SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
        if (at == 95) SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP, 0);
        if (at > 95 && at < 99 && orlop.platform->PadLastUsed() && !keyed) {
            SDL_Event key{};  // from the keyboard itself, not a scripted message
            key.type = SDL_KEYDOWN;
            key.key.keysym.sym = SDLK_q;
            SDL_PushEvent(&key);
            keyed = true;
        }
        if (at == 99 && keyed && !orlop.platform->PadLastUsed()) seen.push_back("pad, then keys");
        if (at == 100) ship->health -= 3.0f;  // a hit, as the world's pass would deal it
        if (at == 102 && felt.size() == 1) seen.push_back("short rumble");
        if (at == 110) {
            tower->upgrader = static_cast<Upgrader*>(goManager.Create("Upgrader"));
            tower->upgrader->Init();
            tower->upgrader->SetPosition(Vec2(400, 300));
            tower->upgrader->Open(ship);
            ship->gold = 15;
        }
        if (at == 180) p.Click(Vec2(430, 100));  // Gunpower for 10
        if (at == 182 && tower->upgrader->purchases == 1 && game->popups().Words().back().text == "-10") {
            seen.push_back("bought");
            gltest::SaveScreenshot(Shot("screenshot_purchase.png"));
        }
        if (at == 190) p.Click(Vec2(430, 100));  // 5 gold for 12
        if (at == 193) {
            if (CountPicked(232, 268, 568, 302, Red) > 20) seen.push_back("not enough gold");
            gltest::SaveScreenshot(Shot("screenshot_not_enough_gold.png"));
            tower->upgrader->Hide();
            ship->gold = 1000;
            ship->health = -1.0f;
        }
        if (at == 197) {
            const std::string line = game->notices().Showing();
            if (line.rfind("Sunk! ", 0) == 0 && line.find(" gold spilled") != std::string::npos &&
                std::atoi(line.c_str() + 6) >= 500 && CountPicked(0, 250, 800, 290, Red) > 100)
                seen.push_back("sinking line");
            // The blow is felt short, the sinking a frame later long.
            if (felt.size() >= 2 && felt.back() > felt[0]) seen.push_back("long rumble");
            gltest::SaveScreenshot(Shot("screenshot_sinking.png"));
        }
        if (at == 200) p.Key(VK_ESCAPE);
        if (at == 205 && game->BestLine() == "Best: level 1, 0 towers") seen.push_back("best of this game");
        if (at == 210) p.Click(Vec2(200, 410));  // Records
        if (at == 215 && game->phase == Game::kRecords) {
            seen.push_back("records");
            gltest::SaveScreenshot(Shot("screenshot_records.png"));
        }
        if (at == 216) p.Key(VK_ESCAPE);
        if (at == 220) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(first, options).Run(), 0);
    if (pad) virtualpad::Unplug(pad);
    EXPECT_EQ(seen, (std::vector<std::string>{"steer hint", "tower count", "steering done and kept", "+50",
                                              "pad, then keys", "short rumble", "bought", "not enough gold", "sinking line",
                                              "long rumble", "best of this game", "records"}));
    std::ostringstream quiet;
    Records kept = Records::Load(recordsPath, quiet, true);
    EXPECT_EQ(kept.last.level, 1);
    EXPECT_GE(kept.last.gold, 50);

    // An earlier, better game in the file; this one is counted beside it.
    kept.best = GameRecord{4, 12, 30, 99999, 5000};
    std::string error;
    ASSERT_TRUE(kept.Save(recordsPath, error)) << error;
    seen.clear();
    playing = 0;
    ScriptedPlatform second;
    second.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (frame == 5) p.Click(Vec2(200, 200));
        if (!playing && game->phase == Game::kPlaying && game->playerShip.Get()) playing = frame;
        const int at = playing ? frame - playing : -1;
        // The clicks on the shop fired the cannon too.
        if (at == 3 && game->hints().Shown() == Settings::kHintSea) seen.push_back("steering and firing stay done");
        if (at == 5) p.Key(VK_ESCAPE);
        if (at == 10 && game->BestLine() == "Best: level 4, 12 towers") {
            seen.push_back("best of all");
            gltest::SaveScreenshot(Shot("screenshot_menu_best.png"));
        }
        if (at == 12) p.Click(Vec2(200, 270));  // Options
        if (at > 12 && game->phase == Game::kOptions && seen.size() == 2) {
            p.Click(Vec2(200, 520));  // Hints On -> Off
            seen.push_back("options");
        }
        if (seen.size() == 3 && Slurp("aids/settings.ini").find("show = false\n") != std::string::npos) {
            seen.push_back("hints off");
            gltest::SaveScreenshot(Shot("screenshot_options_hints_off.png"));
        }
        if (at == 600 || seen.size() == 4) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(second, options).Run(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"steering and firing stay done", "best of all", "options", "hints off"}));
    kept = Records::Load(recordsPath, quiet, true);
    EXPECT_EQ(kept.best.level, 4);
    EXPECT_EQ(kept.best.towers, 12);
    EXPECT_EQ(kept.last.level, 1);
    EXPECT_LT(kept.last.gold, 99999);
}

TEST(AidsAndRecords, AGameRecordedWithEveryAidShowingReplaysToItsStateAndWritesNothing) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    const fs::path recordsPath = Records::DefaultPath();
    Options record;
    record.configPath = "replayed/settings.ini";
    record.recordPath = "aids.rec";
    record.hasSeed = true;
    record.seed = 11;
    bool hint = false, words = false, count = false;
    ScriptedPlatform live;
    live.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        if (frame == 5) p.Click(Vec2(200, 200));
        p.Hold('A', frame > 20 && frame < 60);
        if (frame % 50 == 0) p.Key('M');
        if (frame % 70 == 0) p.Key('R');
        if (frame == 200) p.Key(VK_SPACE);
        hint = hint || game->hints().Shown() >= 0;
        words = words || !game->popups().Words().empty();
        count = count || game->TowerCount() == "Towers 1/1";
        if (frame == 300) p.Post(WM_CLOSE);
    };
    int status = -1;
    const std::string recorded = Digest(record, live, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(hint && words && count);

    fs::remove(recordsPath);
    const std::string settings = Slurp("replayed/settings.ini");
    Options replay;
    replay.configPath = "replayed/settings.ini";
    replay.replayPath = "aids.rec";
    SdlPlatform player;
    EXPECT_EQ(Digest(replay, player, status), recorded);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(recordsPath));
    EXPECT_EQ(Slurp("replayed/settings.ini"), settings);
}

}  // namespace

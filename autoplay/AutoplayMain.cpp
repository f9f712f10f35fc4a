// brinegate-autoplay: plays the real game with keys and the mouse, unpaced and without
// drawing, and prints one JSON line of what came of it. Needs a display for its small
// window (under xvfb-run where there is none). Its settings, records and trace log live
// in a scratch folder that is removed at the end.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BotPlatform.h"
#include "FileResolver.h"
#include "Orlop.h"
#include "Pilot.h"
#include "RespawnWatch.h"
#include "app/LogLocation.h"
#include "app/Program.h"
#include "defences/ShopPrices.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "store/Settings.h"
#include "store/WholeNumber.h"

namespace {

struct Run {
    uint32_t seed = 1;
    int level = 1;
    int minutes = 15;
    bool safeRespawn = true;
    bool idle = false;
    bool repairs = true;
};

constexpr const char* kUsage =
    "usage: brinegate-autoplay [--seed N] [--level L] [--minutes M] [--safe-respawn on|off] [--idle]\n"
    "                          [--no-repair]\n";

// Purchases so far in the game's shops, told by how far its prices have risen.
int UpgradesBought(const ShopPrices& prices) {
    int bought = 0;
    for (const int32_t cost : {prices.gunpower, prices.speed, prices.strength, prices.reload})
        for (int32_t price = ShopPrices::kStart; price < cost && bought < 1000000; price = Upgrader::NextPrice(price)) ++bought;
    return bought;
}

bool Number(const char* text, uint64_t bound, uint64_t& out) { return text && ReadWholeNumber(text, bound, out); }

bool Parse(int argc, char** argv, Run& run) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        uint64_t n = 0;
        if (a == "--idle" || a == "--no-repair") {
            (a == "--idle" ? run.idle : run.repairs) = a == "--idle";
            continue;
        }
        if (a == "--seed" && Number(value, UINT32_MAX, n)) run.seed = static_cast<uint32_t>(n);
        else if (a == "--level" && Number(value, 1000, n) && n >= 1) run.level = static_cast<int>(n);
        else if (a == "--minutes" && Number(value, 100000, n) && n >= 1) run.minutes = static_cast<int>(n);
        else if (a == "--safe-respawn" && value && (!std::strcmp(value, "on") || !std::strcmp(value, "off")))
            run.safeRespawn = !std::strcmp(value, "on");
        else return false;
        ++i;
    }
    return true;
}

std::string Json(const Run& run, const GameRecord& record, const RespawnWatch& watch, int upgrades) {
    char survival[32] = "null";
    if (watch.judged > 0)
        std::snprintf(survival, sizeof survival, "%.4f", static_cast<double>(watch.survived) / watch.judged);
    char line[512];
    std::snprintf(line, sizeof line,
                  "{\"seed\": %u, \"start_level\": %d, \"minutes\": %d, \"safe_respawn\": %s, \"idle\": %s, \"repairs\": %s, "
                  "\"level\": %d, \"towers_taken\": %d, \"towers_lost\": %d, \"ships_sunk\": %d, \"sinkings\": %d, "
                  "\"respawns\": %d, \"respawns_judged\": %d, \"respawn_survival_10s\": %s, \"upgrades_bought\": %d}",
                  run.seed, run.level, run.minutes, run.safeRespawn ? "true" : "false", run.idle ? "true" : "false",
                  run.repairs ? "true" : "false",
                  record.level, record.towers, record.lost, record.ships, watch.sinkings, watch.respawns,
                  watch.judged, survival, upgrades);
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    Run run;
    if (!Parse(argc, argv, run)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // A folder of its own: the player's settings and records are never read or written.
    std::string scratch = (std::filesystem::temp_directory_path() / "brinegate-autoplay-XXXXXX").string();
    if (!mkdtemp(scratch.data())) {
        std::perror("brinegate-autoplay: scratch folder");
        return 1;
    }
    setenv("XDG_DATA_HOME", scratch.c_str(), 1);
    Settings settings;
    settings.safeRespawn = run.safeRespawn;
    settings.hints = false;
    std::string error;
    const std::string settingsPath = scratch + "/settings.ini";
    if (!settings.Save(settingsPath, error)) {
        std::fprintf(stderr, "brinegate-autoplay: %s\n", error.c_str());
        return 1;
    }
    ApplyLogLocation(scratch);
    // The trace restarts past this, so a long run stays small.
    goManager.SetLogLimit(uint64_t{4} << 20);
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);

    Options options;
    options.hasSeed = true;
    options.seed = run.seed;
    options.unpaced = true;
    options.noSound = true;
    options.configPath = settingsPath;
    options.logDir = scratch;

    BotPlatform platform;
    Pilot pilot(run.idle, run.repairs);
    RespawnWatch watch;
    GameRecord record;
    int upgrades = 0;
    bool started = false;
    const int frames = run.minutes * 60 * 60;
    platform.think = [&](BotPlatform& hands) {
        Game* game = Program::RunningGame();
        if (!game) return;
        if (game->phase == Game::kPlaying && !game->paused) {
            // The first frame of play: the level asked for, with its row of towers.
            if (!started && run.level > 1) game->SkipToLevel(run.level);
            started = true;
            watch.Watch(*game);
            if (watch.Frames() >= frames) {
                record = game->ThisGame();
                upgrades = UpgradesBought(game->prices);
                hands.PostQuitMessage(0);
                return;
            }
        }
        pilot.Think(hands, *game);
    };
    // Nothing to look at: the world is not drawn.
    orlop.drawWorld = false;
    const int status = Program(platform, options).Run();
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    if (status != 0) return status;
    std::printf("%s\n", Json(run, record, watch, upgrades).c_str());
    return 0;
}

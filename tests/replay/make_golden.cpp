// Makes a kept recording: plays `frames` frames with the golden player from `seed`,
// records them to NAME.rec and writes the trace log's hash beside it (NAME.trace).
// Kept recordings are made once, by the build whose game they pin down; a later build
// replays them (test_golden) and must reach the same digest and the same trace log.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "GlTestContext.h"
#include "GoldenPlayer.h"
#include "app/Options.h"
#include "app/Program.h"
#include "play/StateDigest.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_golden NAME SEED FRAMES\n");
        return 2;
    }
    const std::string name = argv[1];
    Options options;
    options.recordPath = name + ".rec";
    options.hasSeed = true;
    options.seed = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    options.frames = std::strtoull(argv[3], nullptr, 10);
    options.unpaced = true;
    options.noSound = true;
    gltest::UseDataFolder();
    ScriptedPlatform platform;
    GoldenPlayer player{RandomPlayer{options.seed * 7919u + 1}};
    int sinkings = 0, level = 0;
    ShopPrices prices;  // the game's, as its last frame left them
    uint64_t ship = 0;
    platform.step = [&](ScriptedPlatform& p, int frame) {
        Game* game = Program::RunningGame();
        const MerchantShip* now = game->playerShip.Get();
        if (now && now->Serial() != ship) sinkings += ship ? 1 : 0, ship = now->Serial();
        level = game->level;
        prices = game->prices;
        player(p, frame);
    };
    const int status = Program(platform, options).Run();
    if (status != 0) return status;
    std::printf("%s: level %d, %d sinkings, prices %d %d %d %d\n", name.c_str(), level, sinkings,
                prices.gunpower, prices.speed, prices.strength, prices.reload);
    std::ifstream log("GOManLog.txt", std::ios::binary);
    std::stringstream bytes;
    bytes << log.rdbuf();
    Fnv1a hash;
    hash.Add(bytes.str().data(), bytes.str().size());
    std::ofstream(name + ".trace") << FormatDigest(hash.Value()) << "\n";
    return 0;
}

// The program's entry in a browser page. The page (web/pre.js) turns its address into
// the command line (?replay=NAME plays a recording and prints its digest), mounts the
// browser's storage where the settings and records are kept, and reads the status this
// hands back when the run ends.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "objects/GOManager.h"
#include "play/Game.h"
#include "app/LogLocation.h"
#include "app/Options.h"
#include "app/Program.h"
#include "ships/MerchantShip.h"
#include "WebPlatform.h"

// Where the player's ship is across the sea while the game is played, for the page's
// test (NaN in the menu and the other screens, or without a ship).
extern "C" EMSCRIPTEN_KEEPALIVE double BrinegateShipX() {
    Game* game = Program::RunningGame();
    MerchantShip* ship = game && game->Showing() == Screen::Kind::kPlay ? game->playerShip.Get() : nullptr;
    return ship ? static_cast<double>(ship->GetPosition()->x) : std::nan("");
}

int main(int argc, char** argv) {
    const CommandLine command = ParseCommandLine(argc, argv);
    std::fputs(command.out.c_str(), stdout);
    std::fputs(command.err.c_str(), stderr);
    int status = command.status;
    if (!command.exit) {
        // The trace log would only fill the page's memory: off unless the address asks.
        if (std::getenv("BRINEGATE_TRACE")) ApplyLogLocation(command.options.logDir);
        else goManager.OpenLogAt("");
        // The data is packed into the page's working directory, where the game looks first.
        WebPlatform platform;
        Program program(platform, command.options);
        status = program.Run();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    EM_ASM({ if (Module.brinegateEnded) Module.brinegateEnded($0); }, status);
    return status;
}

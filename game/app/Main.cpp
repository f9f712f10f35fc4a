// The program's entry: reads the command line, finds the data folder and runs the game
// in an SDL window.
#include <SDL2/SDL.h>

#include <cstdio>
#include <string>

#include "FileResolver.h"
#include "SdlPlatform.h"
#include "app/LogLocation.h"
#include "app/Options.h"
#include "app/Program.h"

int main(int argc, char** argv) {
    const CommandLine command = ParseCommandLine(argc, argv);
    std::fputs(command.out.c_str(), stdout);
    std::fputs(command.err.c_str(), stderr);
    if (command.exit) return command.status;

    // Before anything is traced: the working directory, the user's state folder or --log-dir.
    ApplyLogLocation(command.options.logDir);

    // The working directory comes first; then the data beside the executable, then
    // the installed copy, so the game finds its art wherever it is started from. The
    // installed copy is looked up beside bin/ first, which holds however the tree was
    // staged or moved, and then where the build meant to put it. A Debian package
    // follows the games layout: /usr/games beside /usr/share/games/brinegate.
    if (char* base = SDL_GetBasePath()) {
        FileResolver::AddSearchRoot(std::string(base) + "data");
        FileResolver::AddSearchRoot(std::string(base) + "../share/brinegate");
        FileResolver::AddSearchRoot(std::string(base) + "../share/games/brinegate");
        SDL_free(base);
    }
    FileResolver::AddSearchRoot(BRINEGATE_INSTALLED_DATA_DIR);
    SdlPlatform platform;
    Program program(platform, command.options);
    return program.Run();
}

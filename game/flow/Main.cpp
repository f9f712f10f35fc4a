// The program's entry: finds the data folder and runs the game in an SDL window.
#include <SDL2/SDL.h>

#include <string>

#include "FileResolver.h"
#include "Program.h"
#include "SdlPlatform.h"

int main() {
    // The working directory comes first; then the data beside the executable, then
    // the installed copy, so the game finds its art wherever it is started from.
    if (char* base = SDL_GetBasePath()) {
        FileResolver::AddSearchRoot(std::string(base) + "data");
        SDL_free(base);
    }
    FileResolver::AddSearchRoot(BRINEGATE_INSTALLED_DATA_DIR);
    SdlPlatform platform;
    return Program::Run(platform);
}

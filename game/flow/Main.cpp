// Entry point: opens the window and runs the loop over a few sprites with the
// cursor following the mouse, until the game scene exists.
#include <SDL2/SDL.h>

#include <cstdio>
#include <ctime>

#include "Camera.h"
#include "FileResolver.h"
#include "Orlop.h"
#include "Random.h"
#include "SdlPlatform.h"
#include "Sprite.h"

namespace {
Sprite* g_cursor = nullptr;

int32_t Frame(float dt) {
    (void)dt;
    if (orlop.inputEvent && !orlop.lastDown && orlop.lastCode == VK_ESCAPE) return 0;
    g_cursor->position = orlop.mousePosition + camera.GetTopLeft();
    g_cursor->UpdateCorners();
    return 1;
}
}  // namespace

int main() {
    SRand(static_cast<uint32_t>(std::time(nullptr)));
    if (char* base = SDL_GetBasePath()) {
        FileResolver::AddSearchRoot(std::string(base) + "data");
        SDL_free(base);
    }
    FileResolver::AddSearchRoot(BRINEGATE_INSTALLED_DATA_DIR);
    SdlPlatform platform;
    orlop.platform = &platform;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.bits = 32.0f;
    orlop.title = "Brinegate";
    orlop.windowed = 1;
    orlop.frameCallback = Frame;
    if (!orlop.Init()) return 1;

    g_cursor = new Sprite(1, 1, "images\\cursor.tga");
    g_cursor->SetDepth(1.0f);
    AddToRenderList(g_cursor);
    Sprite* ship = new Sprite(1, 1, "Images\\MerchantShip.tga");
    ship->position = Vec2(400, 300);
    ship->scale = Vec2(0.21f, 0.23f);
    ship->blendMode = 1;
    ship->UpdateCorners();
    ship->SetDepth(0.5f);
    Sprite* tower = new Sprite(1, 1, "images\\tower.tga");
    tower->position = Vec2(200, 350);
    tower->scale = Vec2(0.3f, 0.3f);
    tower->blendMode = 1;
    tower->UpdateCorners();
    tower->SetDepth(0.4f);

    orlop.Run();

    delete tower;
    delete ship;
    delete g_cursor;
    orlop.Shutdown();
    return 0;
}

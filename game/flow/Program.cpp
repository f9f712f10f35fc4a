#include "Program.h"

#include <ctime>

#include "Camera.h"
#include "GOManager.h"
#include "Game.h"
#include "Orlop.h"
#include "Random.h"
#include "SoundManager.h"
#include "Sprite.h"

Game* Program::game = nullptr;
Sprite* Program::cursor = nullptr;

int32_t Program::Frame(float dt) {
    bool result = game->Update(dt);
    goManager.Update(dt);
    soundManager.Update();
    cursor->position = orlop.mousePosition + camera.GetTopLeft();
    cursor->UpdateCorners();
    return result ? 1 : 0;
}

int Program::Run(Platform& platform) {
    SRand(static_cast<uint32_t>(std::time(nullptr)));
    orlop.platform = &platform;
    orlop.width = 800.0f;
    orlop.height = 600.0f;
    orlop.bits = 32.0f;
    orlop.title = "Brinegate";
    orlop.windowed = 1;
    orlop.frameCallback = Frame;
    if (!orlop.Init()) return 1;

    cursor = new Sprite(1, 1, "images\\cursor.tga");
    // Blended, so the cursor's transparent corners show the scene rather than a black box.
    cursor->blendMode = 1;
    cursor->SetDepth(1.0f);
    AddToRenderList(cursor);

    game = new Game;
    game->SetUp();

    unsigned music = soundManager.LoadSound("pirates.mp3", 1, 1);
    soundManager.PlaySound(music, Vec2(0.0f, 0.0f), Vec2(0.0f, 0.0f));

    orlop.Run();

    game->towers.Clear();
    delete game;
    game = nullptr;
    delete cursor;
    cursor = nullptr;
    goManager.Clear();
    orlop.Shutdown();
    // A normal end is a success for the shell and for launchers.
    return 0;
}

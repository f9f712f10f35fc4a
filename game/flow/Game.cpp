#include "Game.h"

#include <cstring>

#include "Box.h"
#include "Camera.h"
#include "GOManager.h"
#include "LifeBar.h"
#include "MenuButton.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "Sky.h"
#include "SoundManager.h"
#include "UIButton.h"
#include "Water.h"
#include "World.h"

namespace {

const char* const kFontImage = "images\\caribbeanfont_wood.tga";
const char* const kButtonImage = "images\\ui_button_wood.tga";

// A release of code: 0 left button, 2 right button, otherwise a virtual-key code.
bool Released(uint32_t code) {
    return orlop.inputEvent == 1 && orlop.lastDown == 0 && orlop.lastCode == code;
}

Water* MakeSea(float y, float depth) {
    Water* water = static_cast<Water*>(goManager.Create("Water"));
    water->width = 9000.0f;
    water->bottom = 200.0f;
    water->spacing = 15.0f;
    water->Init();
    water->SetPosition(Vec2(-4500.0f, y));
    water->renderable->SetDepth(depth);
    return water;
}

}  // namespace

MenuButton* Game::MakeMenuButton(const char* label) {
    MenuButton* button = static_cast<MenuButton*>(goManager.Create("MenuButton"));
    button->MakeSprite(kButtonImage);
    button->font = LoadGameFont(kFontImage);
    button->SetLabel(label);
    return button;
}

void Game::SetUp() {
    font = LoadGameFont(kFontImage);

    sea = MakeSea(550.0f, 0.7f);
    secondSea = MakeSea(530.0f, 0.1f);
    secondSea->noCollide = 1;

    deadSound = soundManager.LoadSound("Sound\\Dead.mp3", 0, 0);

    Sky* sky = static_cast<Sky*>(goManager.Create("Sky"));
    const float colours[4][4] = {
        {0.0f, 0.25f, 0.0f, 1.0f}, {0.31f, 0.0f, 0.15f, 1.0f}, {0.8f, 0.8f, 1.0f, 1.0f},
        {0.5f, 0.7f, 1.0f, 1.0f}};
    float* fields[4] = {sky->ghostTop, sky->ghostBottom, sky->livingTop, sky->livingBottom};
    for (int i = 0; i < 4; ++i) std::memcpy(fields[i], colours[i], sizeof colours[i]);
    sky->Init();

    world = static_cast<World*>(goManager.Create("World"));
    world->Init();
    world->renderable->SetDepth(0.2f);

    lifeBar = static_cast<LifeBar*>(goManager.Create("LifeBar"));
    lifeBar->Init();
    RemoveFromRenderList(lifeBar->renderable);

    playerShip = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
    if (MerchantShip* ship = playerShip.Get()) {
        ship->team = 1;
        ship->Init();
        ship->water = sea;
        ship->SetPosition(Vec2(450.0f, 0.0f));
        ship->realm = 3;
        const float red[4] = {0.8f, 0.0f, 0.0f, 1.0f};
        std::memcpy(ship->renderable->colour, red, sizeof red);
    }

    playButton = MakeMenuButton("Play!");
    playButton->SetPosition(Vec2(200.0f, 200.0f));
    playButton->Init();

    // Made but never placed nor initialised: it is never drawn.
    optionsButton = MakeMenuButton("Options");

    quitButton = MakeMenuButton("Quit");
    quitButton->SetPosition(Vec2(200.0f, 270.0f));
    quitButton->Init();

    goldButton = static_cast<UIButton*>(goManager.Create("UIButton"));
    goldButton->MakeSprite(kButtonImage);
    goldButton->SetPosition(Vec2(100.0f, 50.0f));
    goldButton->font = LoadGameFont(kFontImage);
    goldButton->renderable->scale = Vec2(0.7f, 0.7f);
    goldButton->renderable->UpdateCorners();
    goldButton->textScale = Vec2(0.6f, 0.6f);
    goldButton->Init();
    RemoveFromRenderList(goldButton->renderable);

    healthButton = static_cast<UIButton*>(goManager.Create("UIButton"));
    healthButton->MakeSprite("images\\ui_health.tga");
    healthButton->SetPosition(Vec2(50.0f, 50.0f));
    healthButton->font = LoadGameFont(kFontImage);
    healthButton->textScale = Vec2(0.1f, 0.1f);
    healthButton->SetLabel("Health");
    healthButton->renderable->scale =
        Vec2(healthButton->renderable->scale.x + 1.0f, healthButton->renderable->scale.y + 1.0f);
    healthButton->renderable->UpdateCorners();
    healthButton->Init();
    RemoveFromRenderList(healthButton->renderable);

    seaMode = 1;
    phase = kMenu;
}

bool Game::Update(float dt) {
    if (phase == kMenu) return UpdateMenu(dt);
    if (phase == kPlaying) return UpdatePlaying(dt);
    return true;
}

bool Game::UpdateMenu(float dt) {
    sea->Disturb(dt * 5.0f, static_cast<float>(Rand() % 9001 - 4500));
    AddToRenderList(playButton->renderable);
    AddToRenderList(quitButton->renderable);
    const float titleColour[4] = {0.9f, 0.9f, 0.5f, 1.0f};
    font.DrawText(50, 75, 1.0f, "Brinegate", titleColour, Vec2(1.3f, 1.3f));
    if (Released(VK_ESCAPE)) return false;
    for (MenuButton* button : {playButton, optionsButton, quitButton}) {
        if (Released(0) && BoxContains(button->GetCorners(), orlop.mousePosition))
            button->SetState(MenuButton::kFalling);
    }
    if (playButton->state == MenuButton::kReturning) {
        phase = kPlaying;
        // Towers are placed here once the island can hold them.
        RemoveFromRenderList(playButton->renderable);
        RemoveFromRenderList(optionsButton->renderable);
        RemoveFromRenderList(quitButton->renderable);
    }
    if (quitButton->state == MenuButton::kReturning) return false;
    return true;
}

bool Game::UpdatePlaying(float dt) {
    // Ambient ripples keep the sea alive while there is nothing else to sail yet.
    sea->Disturb(2.0f * dt, static_cast<float>(Rand() % 8001 - 4000));
    if (Released(VK_ESCAPE)) {
        phase = kMenu;
        RemoveFromRenderList(goldButton->renderable);
    }
    return true;
}

#pragma once

#include <cstdint>

#include "Font.h"
#include "List.h"
#include "ObjRef.h"
#include "MerchantShip.h"

class World;
class Water;
class UIButton;
class MenuButton;
class Tower;
class LifeBar;

// The game flow's state and its (non-owning) pointers to the key objects.
class Game {
public:
    static constexpr int32_t kPlaying = 0;
    static constexpr int32_t kMenu = 1;

    // Builds the scene: seas, sky, island, menu buttons, heads-up objects, fonts, sounds.
    void SetUp();
    // One frame of the menu or of play; false ends the program.
    bool Update(float dt);
    // Places one tower of the current level on the island, raising the island under it.
    void SpawnTower();
    // Starts the next level once no hostile tower is left; draws the level banner.
    void UpdateLevel();

    int32_t phase = 0;
    World* world = nullptr;
    Water* sea = nullptr;
    Water* secondSea = nullptr;
    Font font;
    uint8_t spawnLeft = 0;
    UIButton* goldButton = nullptr;
    int32_t seaMode = 1;  // 1 living sea, 2 ghost sea
    ObjRef<MerchantShip> playerShip;  // none while a new one is due
    MenuButton* playButton = nullptr;
    MenuButton* quitButton = nullptr;
    MenuButton* optionsButton = nullptr;
    int32_t leftmostTowerX = -50;
    int32_t rightmostTowerX = 50;
    List<Tower*> towers;
    float levelTime = 0.0f;
    int32_t level = 1;
    UIButton* healthButton = nullptr;
    unsigned deadSound = 0;
    LifeBar* lifeBar = nullptr;

private:
    bool UpdateMenu(float dt);
    bool UpdatePlaying(float dt);
    MenuButton* MakeMenuButton(const char* label);
};

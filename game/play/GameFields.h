#pragma once

#include <cstdint>

#include "Font.h"
#include "List.h"
#include "Vec2.h"
#include "defences/ShopPrices.h"
#include "objects/ObjRef.h"
#include "ships/MerchantShip.h"
#include "ui/OptionsScreen.h"

class LifeBar;
class MenuButton;
class Tower;
class UIButton;
class Water;
class World;

// The game flow's state and its (non-owning) pointers to the key objects: the record the
// game's parts (the menu, the heads-up, the level director) read and change.
class GameFields {
public:
    static constexpr int32_t kPlaying = 0;
    static constexpr int32_t kMenu = 1;
    // The options screen, opened from the menu.
    static constexpr int32_t kOptions = 2;
    // The records scroll, opened from the menu or the options.
    static constexpr int32_t kRecords = 3;

    // The wood of the game's buttons and its lettering.
    static constexpr const char* kFontImage = "images\\caribbeanfont_wood.tga";
    static constexpr const char* kButtonImage = "images\\ui_button_wood.tga";

    // Towers stand within this distance of the centre, short of where the player's
    // ship wraps around (SeaBounds::kWrapX), so every tower can be reached and taken.
    static constexpr int32_t kTowerReach = 4300;

    int32_t phase = kPlaying;
    World* world = nullptr;
    Water* sea = nullptr;
    Water* secondSea = nullptr;
    Font font;
    uint8_t spawnLeft = 0;
    UIButton* goldButton = nullptr;
    Sea seaMode = Sea::kLiving;
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
    OptionsScreen optionsScreen;
    ShopPrices prices;  // this game's, from its first tower to its last
    // The safe respawn (SafeRespawn): off in the game's own rule; the program turns it
    // on from the settings, or from the recording it replays.
    bool safeRespawn = false;

    // True when the player last used a pad rather than the keyboard or mouse.
    bool PadUsed() const;
    // Window corners of the scroll of an upgrade panel on the screen, or null.
    const Vec2* ShownPanelScroll();
    // Hostile towers of this level and all of its towers.
    int HostileTowers() const;
};

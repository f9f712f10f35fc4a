#pragma once

#include <vector>

#include "objects/GameObj.h"
#include "objects/ObjRef.h"

class Cannon;
class Ship;
class Sprite;
class Upgrader;
struct ShopPrices;
class Water;

// A tower on the island: shoots at ships of the other side within reach, launches
// hostile ships while hostile, changes hands when a ship holds against it until its flag
// has sunk and risen in the ship's colours, and opens the upgrade panel for the player's
// ship docked at a tower the player owns.
class Tower : public GameObj {
public:
    const char* GetType() override { return "Tower"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;
    void Kill() override;

    void Capture(GameObj* ship);

    // A hostile tower holds back its launch while this many of its ships are afloat, so
    // a long game does not pile up a fleet that no player can face.
    static constexpr int kMaxAfloat = 4;
    // Ships this tower launched that are still afloat: not destroyed, sinking or dead.
    int ShipsAfloat();
    // Closes the panel at once (the menu is about to show over it).
    void HidePanel();

    ObjRef<Water> water;
    ObjRef<GameObj> target;
    Cannon* cannon = nullptr;      // owned through the manager; Kill puts it into Life::kDead
    Upgrader* upgrader = nullptr;  // owned through the manager; Kill releases it
    ShopPrices* prices = nullptr;  // the game's, which its panel sells at
    float spawnTimer = 1.0f;       // seconds since the last launch
    Sprite* flag = nullptr;        // owned
    float captureProgress = 0.0f;
    ObjRef<GameObj> capturer;
    uint8_t flagLowered = 0;
    // Set once the player's ship has taken the tower (a tower handed over otherwise,
    // as when a level is skipped, is not the player's doing).
    uint8_t takenByPlayer = 0;
    float dockTime = 0.0f;
    float dockSteer = 0.0f;

private:
    std::vector<ObjRef<Ship>> launched_;

    // Creates one hostile ship at the tower, its kind and spread set by the difficulty.
    void Launch();
};

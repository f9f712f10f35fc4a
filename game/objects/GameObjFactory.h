#pragma once

#include <string>

class GameObj;

// Each class's maker, defined with the class: the factory names every class without
// knowing any of them, so a class may create others through the manager.
GameObj* MakeParticleObj();
GameObj* MakeWater();
GameObj* MakeMerchantShip();
GameObj* MakeCloud();
GameObj* MakeRain();
GameObj* MakeFireBall();
GameObj* MakeFire();
GameObj* MakeWorld();
GameObj* MakeCannon();
GameObj* MakeTreasureChest();
GameObj* MakeTower();
GameObj* MakeUpgrader();
GameObj* MakeCannonBall();
GameObj* MakeRamBoat();
GameObj* MakeMineLayer();
GameObj* MakeMine();
GameObj* MakeUIButton();
GameObj* MakeMenuButton();
GameObj* MakeSky();
GameObj* MakeUpgradeButton();
GameObj* MakeLifeBar();

// Constructs a game object from its class name; unknown names give no object.
class GameObjFactory {
public:
    static GameObj* Construct(const std::string& typeName);
};

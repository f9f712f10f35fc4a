#include "objects/GameObjFactory.h"

#include <new>

#include "objects/GameObj.h"

namespace {

struct Entry {
    const char* name;
    GameObj* (*make)();
};

// Compared in this order, whole string and case-sensitive. Classes still to come
// have no constructor yet and yield no object, like any unknown name.
const Entry kTable[] = {
    {"ParticleObj", MakeParticleObj},
    {"Water", MakeWater},
    {"MerchantShip", MakeMerchantShip},
    {"Cloud", MakeCloud},
    {"Rain", MakeRain},
    {"FireBall", MakeFireBall},
    {"Fire", MakeFire},
    {"World", MakeWorld},
    {"Cannon", MakeCannon},
    {"TreasureChest", MakeTreasureChest},
    {"Tower", MakeTower},
    {"Upgrader", MakeUpgrader},
    {"CannonBall", MakeCannonBall},
    {"RamBoat", MakeRamBoat},
    {"MineLayer", MakeMineLayer},
    {"Mine", MakeMine},
    {"UIButton", MakeUIButton},
    {"MenuButton", MakeMenuButton},
    {"Sky", MakeSky},
    {"UpgradeButton", MakeUpgradeButton},
    {"LifeBar", MakeLifeBar},
};

}  // namespace

GameObj* GameObjFactory::Construct(const std::string& typeName) {
    for (const Entry& e : kTable) {
        if (typeName != e.name) continue;
        if (!e.make) return nullptr;
        try {
            return e.make();
        } catch (const std::bad_alloc&) {
            return nullptr;  // no object, and nothing is added to the manager's list
        }
    }
    return nullptr;
}

#include "GameObjFactory.h"

#include <new>

#include "GameObj.h"
#include "Cannon.h"
#include "CannonBall.h"
#include "FireBall.h"
#include "Mine.h"
#include "MineLayer.h"
#include "RamBoat.h"
#include "Cloud.h"
#include "Fire.h"
#include "ParticleObj.h"
#include "Rain.h"
#include "Sky.h"
#include "Water.h"
#include "LifeBar.h"
#include "MenuButton.h"
#include "UIButton.h"
#include "UpgradeButton.h"
#include "Upgrader.h"
#include "Tower.h"
#include "World.h"
#include "MerchantShip.h"
#include "TreasureChest.h"

namespace {

template <typename T>
GameObj* Make() {
    return new T;
}

struct Entry {
    const char* name;
    GameObj* (*make)();
};

// Compared in this order, whole string and case-sensitive. Classes still to come
// have no constructor yet and yield no object, like any unknown name.
const Entry kTable[] = {
    {"ParticleObj", Make<ParticleObj>},
    {"Water", Make<Water>},
    {"MerchantShip", Make<MerchantShip>},
    {"Cloud", Make<Cloud>},
    {"Rain", Make<Rain>},
    {"FireBall", Make<FireBall>},
    {"Fire", Make<Fire>},
    {"World", Make<World>},
    {"Cannon", Make<Cannon>},
    {"TreasureChest", Make<TreasureChest>},
    {"Tower", Make<Tower>},
    {"Upgrader", Make<Upgrader>},
    {"CannonBall", Make<CannonBall>},
    {"RamBoat", Make<RamBoat>},
    {"MineLayer", Make<MineLayer>},
    {"Mine", Make<Mine>},
    {"UIButton", Make<UIButton>},
    {"MenuButton", Make<MenuButton>},
    {"Sky", Make<Sky>},
    {"UpgradeButton", Make<UpgradeButton>},
    {"LifeBar", Make<LifeBar>},
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

#include "play/GameFields.h"

#include "defences/Tower.h"
#include "objects/GameObj.h"

int GameFields::HostileTowers() const {
    int hostile = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) hostile += (*it)->team == GameObj::kHostile ? 1 : 0;
    return hostile;
}

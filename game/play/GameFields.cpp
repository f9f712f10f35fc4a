#include "play/GameFields.h"

#include "Orlop.h"
#include "Renderable.h"
#include "defences/Tower.h"
#include "defences/Upgrader.h"
#include "objects/GameObj.h"

const Vec2* GameFields::ShownPanelScroll() {
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) {
        const Upgrader* panel = (*it)->upgrader;
        if (panel && panel->scroll && panel->scroll->renderable && panel->scroll->renderable->inRenderList)
            return panel->scroll->renderable->corners;
    }
    return nullptr;
}

bool GameFields::PadUsed() const { return orlop.platform && orlop.platform->PadLastUsed(); }

int GameFields::HostileTowers() const {
    int hostile = 0;
    for (auto it = towers.Begin(); !it.AtEnd(); ++it) hostile += (*it)->team == GameObj::kHostile ? 1 : 0;
    return hostile;
}

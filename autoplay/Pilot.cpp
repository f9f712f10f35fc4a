#include "Pilot.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "BotPlatform.h"
#include "Box.h"
#include "Camera.h"
#include "defences/Tower.h"
#include "defences/UpgradeButton.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"
#include "ui/MenuButton.h"

namespace {

constexpr float kPi = 3.14159265f;

bool IsEnemyShip(GameObj& o) {
    if (o.team != GameObj::kHostile || o.frozen || o.realm == GameObj::kGhostRealm || !o.renderable) return false;
    if (o.state == Life::kSinking || o.state == Life::kDead) return false;
    const char* type = o.GetType();
    return std::strcmp(type, "MerchantShip") == 0 || std::strcmp(type, "RamBoat") == 0 ||
           std::strcmp(type, "MineLayer") == 0;
}

Vec2 Centre(const Vec2* corners) {
    return Vec2((corners[kTopLeft].x + corners[kBottomRight].x) * 0.5f,
                (corners[kTopLeft].y + corners[kBottomRight].y) * 0.5f);
}

}  // namespace

void Pilot::FitShot(float distance, float& charge, float& elevation) {
    const float d = std::max(distance, 1.0f);
    const float lowRange = kMuzzle * kMuzzle / kGravity;  // 45 degrees at charge 1
    if (d < lowRange) {
        charge = 1.0f;
        elevation = 0.5f * std::asin(d / lowRange);
    } else {
        charge = std::min(std::sqrt(d * kGravity) / kMuzzle, 2.0f);
        elevation = kPi / 4.0f;
    }
}

void Pilot::Think(BotPlatform& hands, Game& game) {
    // Input not yet handed over would make the next decision on an old picture.
    if (hands.Waiting() > 2) return;
    if (game.phase == Game::kMenu) {
        if (!played_ || !idle_) PressPlay(hands, game);
        return;
    }
    if (game.phase != Game::kPlaying) return;
    played_ = true;
    if (idle_) return;
    if (repairWait_ > 0) --repairWait_;

    MerchantShip* ship = game.playerShip.Get();
    if (!ship || ship->state == Life::kDead) {
        hands.Hold('A', false);
        hands.Hold('D', false);
        return;
    }
    // Low, or going down ("Tap 'R'!!"): repair while there is gold for it.
    const bool sinking = ship->state == Life::kSinking;
    if (repairs_ && (sinking || ship->health < kRepairBelow * ship->maxHealth) && ship->gold >= 5 &&
        repairWait_ == 0 && !charging_) {
        hands.Tap('R');
        repairWait_ = 6;
    }
    if (sinking) {
        hands.Hold('A', false);
        hands.Hold('D', false);
        return;
    }
    if (Shop(hands, game, *ship)) return;

    // A tower just taken: rest beside it for its shop when there is gold to spend.
    float targetX = ship->GetPosition()->x;
    Tower* rest = nullptr;
    for (auto it = game.towers.Begin(); !it.AtEnd(); ++it)
        if ((*it)->Serial() == restTower_ && (*it)->team == GameObj::kPlayerSide) rest = *it;
    const ShopPrices& prices = game.prices;
    const int32_t cheapest = std::min({prices.gunpower, prices.speed, prices.strength, prices.reload});
    if (rest && rested_ < kRestSeconds && ship->gold >= cheapest) {
        rested_ += 1.0f / 60.0f;
        hands.Hold('A', false);
        hands.Hold('D', false);
    } else if (Tower* tower = NearestHostileTower(game, ship->GetPosition()->x)) {
        targetX = tower->GetPosition()->x;
        if (tower->Serial() != restTower_) {
            restTower_ = tower->Serial();
            rested_ = 0.0f;
        }
        Sail(hands, *ship, targetX);
    } else {
        Sail(hands, *ship, targetX);
    }
    Fire(hands, *ship);
}

void Pilot::PressPlay(BotPlatform& hands, Game& game) {
    if (menuWait_ > 0) {
        --menuWait_;
        return;
    }
    if (!game.playButton || game.playButton->state != Life::kNormal) return;
    hands.cursor = Centre(game.playButton->GetCorners());
    hands.Click();
    menuWait_ = 120;
}

void Pilot::Sail(BotPlatform& hands, MerchantShip& ship, float targetX) {
    const float error = targetX - ship.GetPosition()->x;
    float wanted = std::clamp(error * 2.0f, -ship.maxSpeed, ship.maxSpeed);
    if (std::fabs(error) < 12.0f) wanted = 0.0f;
    const float v = ship.velocity.x;
    hands.Hold('D', v < wanted - 40.0f);
    hands.Hold('A', v > wanted + 40.0f);
}

void Pilot::Fire(BotPlatform& hands, MerchantShip& ship) {
    Cannon* gun = ship.cannon.Get();
    if (!gun) return;
    const Vec2 at = *ship.GetPosition();
    auto aimAt = [&](float elevation, float side) {
        const Vec2 world(at.x + side * std::cos(elevation) * 150.0f, at.y - std::sin(elevation) * 150.0f);
        hands.cursor = world - camera.GetTopLeft();
    };
    if (charging_) {
        aimAt(elevation_, side_);
        if (gun->charge >= wantCharge_ - 0.01f || gun->charge >= gun->maxCharge) {
            hands.Hold(0, false);
            charging_ = false;
        }
        return;
    }
    if (gun->reloadTimer <= gun->reloadTime) return;
    GameObj* enemy = NearestEnemy(at.x);
    if (!enemy) return;
    // Where the enemy will be when the ball comes down, the ship's own speed carried by
    // the ball taken off: twice refined.
    const Vec2 e = *enemy->GetPosition();
    float charge = 1.0f, elevation = 0.0f;
    float distance = std::fabs(e.x - at.x);
    for (int i = 0; i < 2; ++i) {
        FitShot(distance, charge, elevation);
        const float t = 2.0f * kMuzzle * charge * std::sin(elevation) / kGravity;
        const float ahead = e.x + enemy->velocity.x * t - at.x - ship.velocity.x * charge * t;
        distance = std::fabs(ahead);
        side_ = ahead >= 0.0f ? 1.0f : -1.0f;
    }
    if (distance > kReach) return;
    FitShot(distance, wantCharge_, elevation_);
    aimAt(elevation_, side_);
    hands.Hold(0, true);
    charging_ = true;
}

bool Pilot::Shop(BotPlatform& hands, Game& game, MerchantShip& ship) {
    if (shopWait_ > 0) {
        --shopWait_;
        return true;
    }
    for (auto it = game.towers.Begin(); !it.AtEnd(); ++it) {
        Upgrader* panel = (*it)->upgrader;
        if (!panel || panel->state != Upgrader::Phase::kOpening || panel->fade < 1.0f || !panel->renderable ||
            !panel->renderable->inRenderList)
            continue;
        // The cheapest line it can pay, strength first on a tie.
        struct Line {
            UpgradeButton* button;
            int32_t cost;
        } lines[] = {{panel->strengthButton, game.prices.strength},
                     {panel->reloadButton, game.prices.reload},
                     {panel->gunpowerButton, game.prices.gunpower},
                     {panel->speedButton, game.prices.speed}};
        const Line* best = nullptr;
        for (const Line& line : lines)
            if (line.button && line.cost <= ship.gold && (!best || line.cost < best->cost)) best = &line;
        if (!best) return false;
        if (charging_) {
            hands.Hold(0, false);
            charging_ = false;
            return true;
        }
        hands.cursor = Centre(best->button->GetCorners());
        hands.Click();
        shopWait_ = 3;
        return true;
    }
    return false;
}

Tower* Pilot::NearestHostileTower(Game& game, float x) const {
    Tower* nearest = nullptr;
    for (auto it = game.towers.Begin(); !it.AtEnd(); ++it) {
        Tower* tower = *it;
        if (tower->team != GameObj::kHostile) continue;
        if (!nearest || std::fabs(tower->GetPosition()->x - x) < std::fabs(nearest->GetPosition()->x - x))
            nearest = tower;
    }
    return nearest;
}

GameObj* Pilot::NearestEnemy(float x) const {
    GameObj* nearest = nullptr;
    for (auto it = goManager.objects.Begin(); !it.AtEnd(); ++it) {
        GameObj& o = **it;
        if (!IsEnemyShip(o)) continue;
        if (!nearest || std::fabs(o.GetPosition()->x - x) < std::fabs(nearest->GetPosition()->x - x)) nearest = &o;
    }
    return nearest;
}

#pragma once

#include <cstdint>

#include "Vec2.h"

class BotPlatform;
class Game;
class GameObj;
class MerchantShip;
class Tower;

// The autoplay bot's mind. It reads the game's objects as a player reads the screen and
// answers with keys and the mouse only: it sails to the nearest hostile tower and holds
// beside it, fires at the nearest hostile ship within reach with a charge fitted to the
// distance, repairs when low, and buys an upgrade when it rests at a tower it owns.
class Pilot {
public:
    // Idle: after "Play!" nothing at all. Without repairs: never 'R', as a player who
    // has not found it.
    Pilot(bool idle, bool repairs) : idle_(idle), repairs_(repairs) {}

    // One decision, after a frame.
    void Think(BotPlatform& hands, Game& game);

    // Farthest shot: a lob at 45 degrees with the cannon's full charge (2) lands some
    // 1333 pixels away; a little short of it, the shot is fired.
    static constexpr float kReach = 1250.0f;
    // The speed of a ball at charge 1, and the balls' gravity.
    static constexpr float kMuzzle = 500.0f;
    static constexpr float kGravity = 750.0f;
    // Repairs below this share of full health.
    static constexpr float kRepairBelow = 0.5f;
    // Seconds spent resting at a tower just taken, for its shop to open.
    static constexpr float kRestSeconds = 3.0f;

    // The charge and the elevation (radians) that land a ball `distance` pixels away on
    // its own level: the low lob at charge 1 up to 333 pixels, beyond that 45 degrees
    // with more charge.
    static void FitShot(float distance, float& charge, float& elevation);

private:
    void PressPlay(BotPlatform& hands, Game& game);
    void Sail(BotPlatform& hands, MerchantShip& ship, float targetX);
    void Fire(BotPlatform& hands, MerchantShip& ship);
    bool Shop(BotPlatform& hands, Game& game, MerchantShip& ship);
    Tower* NearestHostileTower(Game& game, float x) const;
    GameObj* NearestEnemy(float x) const;

    bool idle_;
    bool repairs_;
    bool played_ = false;
    int menuWait_ = 0;
    // A shot being charged: the charge to let go at, and where to aim.
    bool charging_ = false;
    float wantCharge_ = 1.0f;
    float elevation_ = 0.0f;
    float side_ = 1.0f;
    int repairWait_ = 0;
    int shopWait_ = 0;
    // A tower just taken, and how long the ship has rested there.
    uint64_t restTower_ = 0;
    float rested_ = 0.0f;
};

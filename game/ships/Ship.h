#pragma once

#include <cstdint>

#include "ships/Floater.h"

class Fire;
class ParticleObj;

// A floater that sails: gold, health and a top speed; a wake of spray, a fire when badly
// hurt, sinking below 0 health with its gold left behind as treasure chests.
// States: the shared ones (a sinking ghost vanishes upwards) and its own below.
// Realms: living for an ordinary ship, ghost for a ghost ship, both for the player's.
class Ship : public Floater {
public:
    // Ship::Phase hides Floater::Phase: a ship that rams is in Floater::Phase::kRammed.
    enum class Phase : int32_t { kGhostRising = 987 };  // a wreck raised as a ghost, rising
    static_assert(PhasesClearOfShared({Phase::kGhostRising}));

    const char* GetType() override { return "Ship"; }
    void Collide(GameObj* other) override;
    void Update(float dt) override;
    void Init() override;
    // Releases the wake and the fire; an object killed before Init has neither.
    void Kill() override;

    // Each call changes the speed by 50 whatever dt is (called once per frame).
    void SteerLeft(float dt);
    void SteerRight(float dt);
    void AddMaxSpeed(float amount);
    void AddMaxHealth(float amount);
    // Adds (or with a negative amount takes) health, never above maxHealth.
    void AddHealth(float amount);
    // 10 health for 5 gold, with a small kick upwards.
    void Repair();
    // gold += amount (truncated toward zero), saturating at the ends of the int range,
    // so neither a huge chest nor a purse already in debt can wrap it round.
    void AddGold(double amount);

    int32_t gold = 10;
    float health = 30.0f;
    ParticleObj* wake = nullptr;  // owned through the manager, released by Kill
    uint8_t aiControlled = 0;
    Fire* fire = nullptr;         // owned through the manager, released by Kill
    float maxHealth = 30.0f;
    float maxSpeed = 200.0f;  // pixels per second
    // Set when a ball the player's ship fired took this ship's health below 0: the
    // sinking is the player's doing (the records count only these).
    uint8_t sunkByPlayer = 0;

protected:
    // After a cannon ball changed health from `before`: notes a sinking shot of the player's.
    void NoteShot(bool byPlayer, float before);
    // The live prey held in target, searching for the last merchant ship of another
    // team when there is none; a prey that is sinking or dead is dropped (null).
    GameObj* SeekPrey(ObjRef<GameObj>& target);
    // Drops the gold as treasure chests (the player's ship keeps the lower half).
    void DropTreasure();
    // Gold per chest for a hoard: a multiple of 10, so that at most 21 chests are thrown.
    static int32_t TreasureStep(int32_t amount);

private:
    // Fire, slope damage, wake, and sinking (with the drop) of a ship on the sea.
    void Afloat(float dt);
    // A wreck raised from the living sea: tinted, larger, rising to the surface.
    void MakeGhost();
    void RiseGhost(float dt);
};

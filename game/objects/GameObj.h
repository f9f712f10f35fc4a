#pragma once

#include <cstdint>
#include <string>

#include "Vec2.h"
#include "objects/ObjState.h"

class Renderable;

// Base of everything that lives in the scene. Owned by the GOManager; owns its renderable.
class GameObj {
public:
    GameObj();
    GameObj(const GameObj&) = delete;
    GameObj& operator=(const GameObj&) = delete;

    // Realms: which sea an object belongs to.
    static constexpr int32_t kNoRealm = -1;    // not touched by the sea toggle
    static constexpr int32_t kLivingRealm = 1;
    static constexpr int32_t kGhostRealm = 2;
    static constexpr int32_t kBothRealms = 3;  // the seas, the sky, the heads-up objects
    // Teams.
    static constexpr int32_t kHostile = -1;
    static constexpr int32_t kPlayerSide = 1;

    virtual ~GameObj();
    virtual const char* GetType() { return "GameObj"; }
    // Corner box of the renderable: top-left, top-right, bottom-left, bottom-right.
    virtual Vec2* GetCorners();
    virtual void SetPosition(const Vec2& p);
    virtual void Collide(GameObj* other) { (void)other; }
    // Unused slot kept so that the later operations keep their order.
    virtual void Spare(int32_t, int32_t) {}
    virtual Vec2* GetPosition();
    virtual void Update(float dt);
    virtual void Init();
    virtual void Kill();
    // Draws at once what the renderable does not (a label, a line) from the state the
    // frame's updates left; changes nothing of the game. The manager calls it after
    // every update of the frame, in list order, and on paused frames too.
    virtual void Draw() {}

    // Same state: nothing. Another: frozen cleared, stateTime reset. States are told
    // apart by their numbers here, as the digest tells them apart.
    void SetState(ObjState newState);
    // Makes the object's sprite (alpha blended) or re-images the existing renderable.
    void MakeSprite(const std::string& imageName);
    // Moves the renderable by a displacement and refreshes its box.
    void Move(const Vec2& displacement);

    // A number unique to this object for the whole run (never reused), and whether the
    // object that had it still exists. ObjRef builds on these.
    uint64_t Serial() const { return serial_; }
    static bool IsAlive(uint64_t serial);

    float difficulty = 0.0f;
    int32_t realm = kNoRealm;
    int32_t team = kHostile;
    int32_t rows = 1;
    int32_t columns = 1;
    uint8_t noCollide = 0;
    Renderable* renderable = nullptr;
    float lastStep = 0.0f;  // seconds
    // Life, the sea switch, or a phase of the object's own class.
    ObjState state = Life::kNormal;
    Vec2 velocity;          // pixels per second
    float stateTime = 0.0f; // seconds in the current state
    uint8_t frozen = 0;
    // Seconds in which hunters pass this object by and nothing hostile harms it: a
    // player's ship come back with the safe respawn. 0 for everything else.
    float graceTime = 0.0f;
    bool InGrace() const { return graceTime > 0.0f; }

protected:
    // lastStep, stateTime and the renderable's animation: every Update does these.
    void BaseStep(float dt);

private:
    uint64_t serial_ = 0;
};

#pragma once

#include <cstdint>
#include <string>

#include "List.h"
#include "Singleton.h"
#include "Vec2.h"
#include "objects/BroadPhase.h"
#include "objects/TraceLog.h"

class GameObj;

// Owns every game object: creates them by type name, updates them once per frame,
// reports overlaps to the mover's Collide and destroys the dead at the end of the pass;
// then draws them (what their renderables do not show) in a pass of their own.
// Every event is traced to "GOManLog.txt", a line each, written out at the end of every
// pass (and on exit or a crash).
class GOManager : public singleton<GOManager> {
public:
    GOManager();
    ~GOManager() override;

    GameObj* Create(std::string typeName);
    void QueueForDeletion(GameObj* object);
    void Update(float dt);
    // Each live object that is not frozen draws itself, in list order. Nothing is logged
    // and nothing of the game changes, so a paused frame may draw too.
    void Draw();
    void Clear();
    // The last object in list order not of excludeTeam, not sinking, dead or crossing
    // between the seas, not frozen, of the given type (any type when null), within 10000
    // pixels of position.
    GameObj* FindTarget(int32_t excludeTeam, const Vec2& position, const char* typeName);

    // The log restarts (keeping one previous file) once it passes this many bytes,
    // so that a long session cannot fill the disk.
    void SetLogLimit(uint64_t bytes) { log.SetLimit(bytes); }
    // Reopens the log on a fresh file (used after Clear, and by tests).
    void ReopenLog();
    // Moves the log to another file (truncated); false when it cannot be opened, in
    // which case logging is off until the next successful open.
    bool OpenLogAt(const std::string& path);
    const std::string& LogPath() const { return log.Path(); }

    TraceLog log;
    List<GameObj*> objects;
    List<GameObj*> deleteQueue;
    // The overlap walk goes through the index of boxes, or (false) over every pair, the
    // reference it is tested against; both make the same Collide calls in the same order.
    bool indexed = true;
    BroadPhase index;

    static constexpr const char* kLogName = "GOManLog.txt";
    static constexpr const char* kOldLogName = "GOManLog.old.txt";

private:
    void Log(const char* text, const char* suffix = nullptr, const char* tail = nullptr);
    // The mover's overlap walk over every other node of the list.
    void CollideAllPairs(ListNode<GameObj*>* node);

    std::string logPath_ = kLogName;
    // Until a place is chosen, the first pass opens the default one.
    bool logPending_ = true;
};

extern GOManager goManager;

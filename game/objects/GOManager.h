#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "List.h"
#include "Singleton.h"

class GameObj;

// Owns every game object: creates them by type name, updates them once per frame,
// reports overlaps to the mover's Collide and destroys the dead at the end of the pass.
// Every event is traced to "GOManLog.txt", one flushed line each.
class GOManager : public singleton<GOManager> {
public:
    GOManager();
    ~GOManager() override;

    GameObj* Create(std::string typeName);
    void QueueForDeletion(GameObj* object);
    void Update(float dt);
    void Clear();

    // The log restarts (keeping one previous file) once it passes this many bytes,
    // so that a long session cannot fill the disk.
    void SetLogLimit(uint64_t bytes) { logLimit_ = bytes; }
    // Reopens the log on a fresh file (used after Clear, and by tests).
    void ReopenLog();

    std::ofstream log;
    List<GameObj*> objects;
    List<GameObj*> deleteQueue;

    static constexpr const char* kLogName = "GOManLog.txt";
    static constexpr const char* kOldLogName = "GOManLog.old.txt";

private:
    void Log(const char* text, const char* suffix = nullptr, const char* tail = nullptr);
    void RotateLog();

    uint64_t logBytes_ = 0;
    uint64_t logLimit_ = 64ull * 1024 * 1024;
};

extern GOManager goManager;

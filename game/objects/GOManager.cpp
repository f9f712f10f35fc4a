#include "GOManager.h"

#include <cstdio>
#include <cstring>

#include "GameObj.h"
#include "GameObjFactory.h"

GOManager goManager;

GOManager::GOManager() { log.open(kLogName, std::ios::out | std::ios::trunc); }

GOManager::~GOManager() {
    if (log.is_open()) log.close();
    objects.Clear();
    deleteQueue.Clear();
}

void GOManager::ReopenLog() {
    if (log.is_open()) log.close();
    log.clear();
    log.open(kLogName, std::ios::out | std::ios::trunc);
    logBytes_ = 0;
}

void GOManager::RotateLog() {
    log.close();
    std::rename(kLogName, kOldLogName);
    log.clear();
    log.open(kLogName, std::ios::out | std::ios::trunc);
    logBytes_ = 0;
}

void GOManager::Log(const char* text, const char* suffix, const char* tail) {
    if (!log.is_open() || !log.good()) return;
    log << text;
    size_t n = std::strlen(text) + 1;
    if (suffix) {
        log << suffix;
        n += std::strlen(suffix);
    }
    if (tail) {
        log << tail;
        n += std::strlen(tail);
    }
    log << '\n';
    log.flush();
    logBytes_ += n;
    if (logBytes_ >= logLimit_) RotateLog();
}

GameObj* GOManager::Create(std::string typeName) {
    GameObj* object = GameObjFactory::Construct(typeName);
    if (object) objects.PushBack(object);
    return object;
}

void GOManager::QueueForDeletion(GameObj* object) {
    if (log.is_open()) Log("Queuing up GO of type: ", object->GetType(), " for deletion");
    deleteQueue.PushBack(object);
}

void GOManager::Update(float dt) {
    Log("Updating GOs");
    // Follows next links after the body, so objects appended during the walk are reached.
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) {
        GameObj* mover = node->value;
        Log("Dealing with GO: ", mover->GetType());
        if (mover->state == 3) {
            Log("GO dead, queuing for deletion");
            deleteQueue.PushBack(mover);
        } else if (!mover->frozen) {
            Log("GO active, updating");
            mover->Update(dt);
            for (ListNode<GameObj*>* o = objects.Head(); o; o = o->next) {
                if (o == node) continue;
                GameObj* other = o->value;
                if (mover->noCollide || other->noCollide) continue;
                const Vec2* a = other->GetCorners();
                const Vec2* b = mover->GetCorners();
                if (b[0].x <= a[3].x && b[0].y <= a[3].y && b[3].x >= a[0].x && b[3].y >= a[0].y)
                    mover->Collide(other);
            }
        }
        Log("Finished with GO");
    }
    Log("Finished updating");
    Log("Deleting GOs");
    for (ListNode<GameObj*>* entry = deleteQueue.Head(); entry; entry = entry->next) {
        GameObj* dead = entry->value;
        // A second entry for an object already destroyed in this walk (it died and was
        // also queued by another object's Kill) must not be touched again.
        if (!objects.Find(dead)) continue;
        Log("Deleting GO of type: ", dead->GetType());
        while (objects.Remove(dead)) {
        }
        dead->Kill();
        delete dead;
    }
    deleteQueue.Clear();
    Log("Done deleting,");
}

void GOManager::Clear() {
    log.close();
    // Every Kill runs before any object is destroyed: a Kill may reach a companion
    // (a tower's cannon, a ship's wake) that stands earlier in the list.
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) node->value->Kill();
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) delete node->value;
    objects.Clear();
    // Kill overrides queue their companions, which this walk has destroyed already.
    deleteQueue.Clear();
}

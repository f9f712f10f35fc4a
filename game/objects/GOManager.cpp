#include "objects/GOManager.h"

#include <cstdio>
#include <cstring>

#include "Box.h"
#include "objects/GameObj.h"
#include "objects/GameObjFactory.h"

GOManager goManager;

// The log is opened at the first pass, or earlier where the program chooses its place, so
// that a process that never plays (--help, a refused command line) leaves no file behind.
GOManager::GOManager() = default;

GOManager::~GOManager() {
    log.Close();
    objects.Clear();
    deleteQueue.Clear();
}

void GOManager::ReopenLog() {
    logPending_ = false;
    log.Open(logPath_);
}

bool GOManager::OpenLogAt(const std::string& path) {
    logPending_ = false;
    logPath_ = path;
    return log.Open(logPath_);
}

void GOManager::Log(const char* text, const char* suffix, const char* tail) {
    log.Line(text, suffix, tail);
}

GameObj* GOManager::Create(std::string typeName) {
    GameObj* object = GameObjFactory::Construct(typeName);
    if (object) objects.PushBack(object);
    return object;
}

void GOManager::QueueForDeletion(GameObj* object) {
    if (log.IsOpen()) Log("Queuing up GO of type: ", object->GetType(), " for deletion");
    deleteQueue.PushBack(object);
}

void GOManager::CollideAllPairs(ListNode<GameObj*>* node) {
    GameObj* mover = node->value;
    // Fetched once, at the first pair; the corners are still read through the
    // renderable each time, so a mover that moves in a Collide is tested where it is.
    const Vec2* b = nullptr;
    for (ListNode<GameObj*>* o = objects.Head(); o; o = o->next) {
        if (o == node) continue;
        GameObj* other = o->value;
        if (other->noCollide) continue;
        const Vec2* a = other->GetCorners();
        if (!b) b = mover->GetCorners();
        if (b[kTopLeft].x <= a[kBottomRight].x && b[kTopLeft].y <= a[kBottomRight].y &&
            b[kBottomRight].x >= a[kTopLeft].x && b[kBottomRight].y >= a[kTopLeft].y)
            mover->Collide(other);
    }
}

void GOManager::Update(float dt) {
    if (logPending_) ReopenLog();
    Log("Updating GOs");
    const bool began = indexed;
    bool useIndex = began;
    if (began) index.Begin(objects);
    // Follows next links after the body, so objects appended during the walk are reached.
    size_t position = 0;
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next, ++position) {
        GameObj* mover = node->value;
        Log("Dealing with GO: ", mover->GetType());
        if (mover->state == Life::kDead) {
            Log("GO dead, queuing for deletion");
            deleteQueue.PushBack(mover);
        } else if (!mover->frozen) {
            Log("GO active, updating");
            mover->Update(dt);
            // A mover that collides with nothing skips the walk (its Update may set the
            // flag). One without a renderable walks every pair, as does everyone once
            // the list has changed behind the index.
            if (!mover->noCollide) {
                bool walked = false;
                if (useIndex && mover->renderable) {
                    walked = index.Walk(node, position);
                    useIndex = walked;
                }
                if (!walked) CollideAllPairs(node);
            }
        }
        Log("Finished with GO");
    }
    if (began) index.End();
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
    log.Flush();
}

void GOManager::Draw() {
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) {
        GameObj* object = node->value;
        if (object->state != Life::kDead && !object->frozen) object->Draw();
    }
}

GameObj* GOManager::FindTarget(int32_t excludeTeam, const Vec2& position, const char* typeName) {
    GameObj* found = nullptr;
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) {
        GameObj* o = node->value;
        if (o->team == excludeTeam || o->frozen || o->InGrace()) continue;
        const ObjState s = o->state;
        if (s == Life::kSinking || s == Life::kDead || s == SeaSwitch::kToGhost || s == SeaSwitch::kToLiving)
            continue;
        if (typeName && std::strcmp(o->GetType(), typeName) != 0) continue;
        const Vec2 d = *o->GetPosition() - position;
        if (d.x * d.x + d.y * d.y < 1e8f) found = o;
    }
    return found;
}

void GOManager::Clear() {
    log.Close();
    // Every Kill runs before any object is destroyed: a Kill may reach a companion
    // (a tower's cannon, a ship's wake) that stands earlier in the list.
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) node->value->Kill();
    for (ListNode<GameObj*>* node = objects.Head(); node; node = node->next) delete node->value;
    objects.Clear();
    // Kill overrides queue their companions, which this walk has destroyed already.
    deleteQueue.Clear();
}

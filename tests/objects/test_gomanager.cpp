// The game-object manager's pass: update order, creation during the pass, overlap
// calls, frozen and noCollide objects, death and the deletion queue, its log, and the
// draw pass that follows the updates.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Box.h"
#include "Renderable.h"
#include "objects/GOManager.h"
#include "objects/GameObj.h"
#include "objects/ObjRef.h"
#include "objects/TraceLog.h"
#include "ships/Mine.h"

namespace {

struct Journal {
    std::vector<std::string> events;
    void Add(const std::string& e) { events.push_back(e); }
    int Count(const std::string& e) const {
        return static_cast<int>(std::count(events.begin(), events.end(), e));
    }
};
Journal* g_journal = nullptr;

class Box : public Renderable {
public:
    float GetWidth() override { return corners[kBottomRight].x - corners[kTopLeft].x; }
    float GetHeight() override { return corners[kBottomRight].y - corners[kTopLeft].y; }
};

// A game object with a plain box, recording what happens to it.
class Probe : public GameObj {
public:
    explicit Probe(std::string n) : name(std::move(n)) {
        renderable = new Box;
        Place(0, 0, 10, 10);
    }
    ~Probe() override { g_journal->Add("destroy " + name); }
    const char* GetType() override { return name.c_str(); }
    void Place(float x0, float y0, float x1, float y1) { BoxSet(renderable->corners, x0, y0, x1, y1); }
    void Update(float dt) override {
        BaseStep(dt);
        g_journal->Add("update " + name);
        if (onUpdate) onUpdate(this);
    }
    void Collide(GameObj* other) override {
        g_journal->Add(name + " hits " + other->GetType());
    }
    void Draw() override { g_journal->Add("draw " + name); }
    void Kill() override {
        GameObj::Kill();
        g_journal->Add("kill " + name);
        if (onKill) onKill(this);
    }
    std::string name;
    std::function<void(Probe*)> onUpdate;
    std::function<void(Probe*)> onKill;
};

Probe* Add(const std::string& name, float x = 0, float y = 0) {
    Probe* p = new Probe(name);
    p->Place(x, y, x + 10, y + 10);
    goManager.objects.PushBack(p);
    return p;
}

std::vector<std::string> ReadLog() {
    std::ifstream in(GOManager::kLogName);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class Manager : public ::testing::Test {
protected:
    void SetUp() override {
        g_journal = &journal;
        goManager.SetLogLimit(64ull * 1024 * 1024);
        goManager.ReopenLog();
    }
    void TearDown() override {
        goManager.Clear();
        g_journal = nullptr;
    }
    Journal journal;
};

TEST_F(Manager, EmptyPassWritesExactlyFourLines) {
    goManager.Update(0.016666668f);
    EXPECT_EQ(ReadLog(), (std::vector<std::string>{"Updating GOs", "Finished updating",
                                                     "Deleting GOs", "Done deleting,"}));
}

TEST_F(Manager, UpdatesInCreationOrderAndLogsEachObject) {
    Add("A", 0, 0);
    Add("B", 100, 0);
    goManager.Update(0.5f);
    EXPECT_EQ(journal.events, (std::vector<std::string>{"update A", "update B"}));
    EXPECT_EQ(ReadLog(),
              (std::vector<std::string>{"Updating GOs", "Dealing with GO: A", "GO active, updating",
                                        "Finished with GO", "Dealing with GO: B",
                                        "GO active, updating", "Finished with GO",
                                        "Finished updating", "Deleting GOs", "Done deleting,"}));
    Probe* a = static_cast<Probe*>(goManager.objects.Head()->value);
    EXPECT_FLOAT_EQ(a->stateTime, 0.5f);
    EXPECT_FLOAT_EQ(a->lastStep, 0.5f);
}

TEST_F(Manager, ObjectsCreatedDuringThePassAreUpdatedInTheSamePass) {
    Probe* a = Add("A", 0, 0);
    a->onUpdate = [](Probe* self) {
        if (self->stateTime < 0.02f) Add("child", 500, 500);
    };
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("update child"), 1);
}

TEST_F(Manager, OverlapCallsOnlyTheMoverAndEdgesCount) {
    Add("A", 0, 0);
    Add("B", 10, 10);   // shares only the corner (10, 10) with A
    Add("C", 10.5f, 30);  // apart from both
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("A hits B"), 1);
    EXPECT_EQ(journal.Count("B hits A"), 1);
    EXPECT_EQ(journal.Count("A hits C") + journal.Count("C hits A") + journal.Count("B hits C") +
                  journal.Count("C hits B"),
              0);
    EXPECT_EQ(journal.Count("A hits A"), 0) << "never with itself";
    // The mover's Update runs before its own overlap test.
    auto upd = std::find(journal.events.begin(), journal.events.end(), "update A");
    auto hit = std::find(journal.events.begin(), journal.events.end(), "A hits B");
    EXPECT_LT(upd, hit);
}

TEST_F(Manager, NoCollideTakesNoPartInEitherRole) {
    Add("A", 0, 0);
    Probe* ghost = Add("G", 0, 0);
    ghost->noCollide = 1;
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("A hits G"), 0);
    EXPECT_EQ(journal.Count("G hits A"), 0);
    EXPECT_EQ(journal.Count("update G"), 1) << "still updated";
}

TEST_F(Manager, FrozenIsNotUpdatedNorMovesButCanBeHit) {
    Add("A", 0, 0);
    Probe* ice = Add("F", 0, 0);
    ice->frozen = 1;
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("update F"), 0);
    EXPECT_EQ(journal.Count("F hits A"), 0);
    EXPECT_EQ(journal.Count("A hits F"), 1);
}

TEST_F(Manager, DrawPassFollowsTheUpdatesInListOrderSkipsFrozenAndDeadAndLogsNothing) {
    Add("A", 0, 0);
    Probe* ice = Add("F", 100, 0);
    ice->frozen = 1;
    Probe* dying = Add("D", 200, 0);
    Add("B", 300, 0);
    dying->onUpdate = [](Probe* self) { self->SetState(Life::kDead); };
    goManager.Update(0.016666668f);
    const std::vector<std::string> logged = ReadLog();
    goManager.Draw();
    EXPECT_EQ(journal.events, (std::vector<std::string>{"update A", "update D", "update B", "draw A", "draw B"}));
    EXPECT_EQ(ReadLog(), logged);
    // A paused frame draws without an update in between.
    journal.events.clear();
    goManager.Draw();
    EXPECT_EQ(journal.events, (std::vector<std::string>{"draw A", "draw B"}));
}

TEST_F(Manager, DeadObjectIsQueuedOnceKilledOnceAndDestroyedAtTheEndOfThePass) {
    Probe* a = Add("A", 0, 0);
    Add("B", 0, 0);
    a->SetState(Life::kDead);
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("update A"), 0);
    EXPECT_EQ(journal.Count("B hits A"), 1) << "a dead object is still an 'other' in its last pass";
    EXPECT_EQ(journal.Count("kill A"), 1);
    EXPECT_EQ(journal.Count("destroy A"), 1);
    auto kill = std::find(journal.events.begin(), journal.events.end(), "kill A");
    auto destroy = std::find(journal.events.begin(), journal.events.end(), "destroy A");
    EXPECT_LT(kill, destroy);
    EXPECT_LT(std::find(journal.events.begin(), journal.events.end(), "update B"), kill);
    EXPECT_EQ(goManager.objects.Count(), 1);
    std::vector<std::string> log = ReadLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "GO dead, queuing for deletion"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Deleting GO of type: A"), 1);
}

TEST_F(Manager, ObjectBothDeadAndQueuedByAnotherKillIsDestroyedOnce) {
    Probe* owner = Add("Owner", 0, 0);
    Probe* companion = Add("Companion", 500, 500);
    owner->SetState(Life::kDead);
    companion->SetState(Life::kDead);
    owner->onKill = [companion](Probe*) { goManager.QueueForDeletion(companion); };
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("kill Companion"), 1);
    EXPECT_EQ(journal.Count("destroy Companion"), 1);
    EXPECT_TRUE(goManager.objects.Empty());
    std::vector<std::string> log = ReadLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Queuing up GO of type: Companion for deletion"), 1);
    EXPECT_TRUE(goManager.deleteQueue.Empty());
}

TEST_F(Manager, ObjectQueuedWhileAliveIsStillUpdatedThenDestroyed) {
    Probe* tower = Add("Tower", 0, 0);
    goManager.QueueForDeletion(tower);
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("update Tower"), 1);
    EXPECT_EQ(journal.Count("destroy Tower"), 1);
}

TEST_F(Manager, CompanionQueuedDuringDeletionIsReachedInTheSameWalk) {
    Probe* ship = Add("Ship", 0, 0);
    Probe* wake = Add("Wake", 500, 500);
    ship->SetState(Life::kDead);
    ship->onKill = [wake](Probe*) { goManager.QueueForDeletion(wake); };
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("destroy Wake"), 1);
    EXPECT_TRUE(goManager.objects.Empty());
}

TEST_F(Manager, DeathDuringThePassIsQueuedWhenTheWalkReachesIt) {
    Probe* a = Add("A", 0, 0);
    Probe* b = Add("B", 500, 500);
    Probe* c = Add("C", 900, 900);
    // B kills A (behind it) and C (ahead of it).
    b->onUpdate = [a, c](Probe* self) {
        if (self->stateTime > 0.02f) return;  // only in the first pass
        a->SetState(Life::kDead);
        c->SetState(Life::kDead);
    };
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("destroy C"), 1) << "queued later in the same pass";
    EXPECT_EQ(journal.Count("destroy A"), 0) << "its node was passed already";
    goManager.Update(0.016666668f);
    EXPECT_EQ(journal.Count("destroy A"), 1);
    EXPECT_EQ(journal.Count("update A"), 1) << "not updated again once dead";
}

TEST_F(Manager, ClearKillsEverythingBeforeDestroyingAnything) {
    Probe* cannon = Add("Cannon", 0, 0);
    Probe* tower = Add("Tower", 0, 0);
    // A kill that reaches a companion earlier in the list.
    tower->onKill = [cannon](Probe*) { cannon->SetState(Life::kDead); };
    goManager.Clear();
    EXPECT_EQ(journal.Count("destroy Cannon"), 1);
    EXPECT_EQ(journal.Count("destroy Tower"), 1);
    EXPECT_TRUE(goManager.objects.Empty());
    EXPECT_TRUE(goManager.deleteQueue.Empty());
}

TEST_F(Manager, LogStartsAgainPastItsLimitKeepingThePreviousFile) {
    std::remove(GOManager::kOldLogName);
    goManager.SetLogLimit(200);
    for (int i = 0; i < 10; ++i) goManager.Update(0.016666668f);
    std::ifstream old(GOManager::kOldLogName);
    ASSERT_TRUE(old.good()) << "the previous log is kept";
    std::ifstream in(GOManager::kLogName, std::ios::ate);
    EXPECT_LT(static_cast<long>(in.tellg()), 300L);
    std::string first;
    std::getline(old, first);
    EXPECT_FALSE(first.empty());
}

TEST(GameObjBase, SetStateRules) {
    GameObj o;
    o.stateTime = 2.0f;
    o.frozen = 1;
    o.SetState(Life::kNormal);
    EXPECT_FLOAT_EQ(o.stateTime, 2.0f) << "same state: nothing";
    EXPECT_EQ(o.frozen, 1);
    o.SetState(SeaSwitch::kToGhost);
    EXPECT_EQ(o.state, SeaSwitch::kToGhost);
    EXPECT_FLOAT_EQ(o.stateTime, 0.0f);
    EXPECT_EQ(o.frozen, 0);
    EXPECT_STREQ(o.GetType(), "GameObj");

    // A class's own phase that shares a shared state's number is another state...
    EXPECT_NE(ObjState(Mine::Phase::kExploding), ObjState(Life::kSinking));
    static_assert(ObjState(Mine::Phase::kExploding).Number() == ObjState(Life::kSinking).Number());
    // ...but SetState goes by the number, as the digest does.
    o.SetState(Life::kSinking);
    o.stateTime = 1.0f;
    o.SetState(Mine::Phase::kExploding);
    EXPECT_EQ(o.state, Life::kSinking);
    EXPECT_FLOAT_EQ(o.stateTime, 1.0f);
}

TEST(GameObjFactoryTable, UnknownAndNotCreatableNamesGiveNoObject) {
    int before = goManager.objects.Count();
    EXPECT_EQ(goManager.Create("Ship"), nullptr);
    EXPECT_EQ(goManager.Create("Floater"), nullptr);
    EXPECT_EQ(goManager.Create("GameObj"), nullptr);
    EXPECT_EQ(goManager.Create("water"), nullptr) << "names are case-sensitive";
    EXPECT_EQ(goManager.Create(""), nullptr);
    EXPECT_EQ(goManager.objects.Count(), before);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(TraceLogFile, LinesKeepTheirOrderPastTheBufferAndSurviveACrash) {
    {
        TraceLog log;
        ASSERT_TRUE(log.Open("long.txt"));
        for (int i = 0; i < 20000; ++i) log.Line("line ", std::to_string(i).c_str());
    }
    const std::vector<std::string> lines = ReadLines("long.txt");
    ASSERT_EQ(lines.size(), 20000u);
    EXPECT_EQ(lines[4321], "line 4321");
    EXPECT_EQ(lines.back(), "line 19999");

    // A child writes lines that are only buffered, then crashes.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TraceLog log;
        if (!log.Open("crash.txt")) _exit(3);
        for (int i = 0; i < 37; ++i) log.Line("before the crash ", std::to_string(i).c_str());
        raise(SIGSEGV);
        _exit(4);  // not reached: the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    // Ended by the signal (or by a sanitizer's report of it), never past it.
    EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 4 &&
                                        WEXITSTATUS(status) != 3 && WEXITSTATUS(status) != 0))
        << "the crash still ends the process";
    const std::vector<std::string> written = ReadLines("crash.txt");
    ASSERT_EQ(written.size(), 37u);
    EXPECT_EQ(written.back(), "before the crash 36");
}

TEST(TraceLogFile, AFullDiskIsSaidOnceAndTheGameGoesOn) {
    // A child whose files may not pass 4 KiB stands in for a full disk.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        FILE* err = std::freopen("full-err.txt", "w", stderr);
        TraceLog log;
        if (!err || setrlimit(RLIMIT_FSIZE, &limit) != 0 || !log.Open("full.txt")) _exit(3);
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < 200; ++i) log.Line("a line that will not fit");
            log.Flush();
        }
        std::fflush(stderr);
        _exit(log.Good() ? 4 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: no limit, 4: the writes went on as if all was well";
    const std::vector<std::string> err = ReadLines("full-err.txt");
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("\"full.txt\" cannot be written further"), std::string::npos) << err[0];
}

TEST(TraceLogFile, NothingIsWrittenMidPassAndEverythingAtItsEnd) {
    goManager.ReopenLog();
    struct Logger : GameObj {
        void Update(float) override { seen = ReadLines(GOManager::kLogName).size(); }
        size_t seen = 0;
    };
    Logger* o = new Logger;
    goManager.objects.PushBack(o);
    goManager.Update(0.016666668f);
    EXPECT_EQ(o->seen, 0u) << "lines wait in the buffer during the pass";
    EXPECT_EQ(ReadLines(GOManager::kLogName).size(), 7u);
    goManager.objects.Remove(o);
    delete o;
}

TEST(GameObjFactoryTable, EveryNameCreatedAndClearedWithoutInit) {
    const char* names[] = {"ParticleObj", "Water",    "MerchantShip",  "Cloud",       "Rain",
                           "FireBall",    "Fire",     "World",         "Cannon",      "TreasureChest",
                           "Tower",       "Upgrader", "CannonBall",    "RamBoat",     "MineLayer",
                           "Mine",        "UIButton", "MenuButton",    "Sky",         "UpgradeButton",
                           "LifeBar"};
    for (const char* name : names) EXPECT_NE(goManager.Create(name), nullptr) << name;
    EXPECT_EQ(goManager.objects.Count(), 21);
    goManager.Clear();  // every Kill copes with an object that never got its renderable
    EXPECT_EQ(goManager.objects.Count(), 0);
    goManager.ReopenLog();
}

TEST(ObjectReference, ReadsNullOnceTheObjectIsDestroyedEvenAtTheSameAddress) {
    GameObj* first = new GameObj;
    ObjRef<GameObj> ref = first;
    EXPECT_EQ(ref.Get(), first);
    EXPECT_TRUE(ref.Is(first));
    delete first;
    EXPECT_EQ(ref.Get(), nullptr);
    // Whatever is built next, possibly at the same address, is another object.
    GameObj* second = new GameObj;
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_FALSE(ref.Is(second));
    delete second;
}

}  // namespace

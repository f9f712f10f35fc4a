#include "defences/Tower.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "Box.h"
#include "Orlop.h"
#include "Random.h"
#include "Renderable.h"
#include "Sprite.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "objects/GameObjFactory.h"
#include "sea/Water.h"
#include "ships/Cannon.h"
#include "ships/Ship.h"

namespace {

// Docking advances by a fixed amount per contact, not by the frame step.
constexpr float kDockTick = 0.016888888f;

}  // namespace

void Tower::Init() {
    flag = new Sprite(1, 1, "images\\flag.tga");
    flag->SetDepth(0.3f);
    flag->blendMode = BlendMode::kAlpha;
    flag->scale = Vec2(0.4f, 0.4f);
    flag->UpdateCorners();
    AddToRenderList(flag);

    MakeSprite("images\\tower.tga");
    renderable->scale = Vec2(0.3f, 0.3f);
    renderable->UpdateCorners();
    renderable->SetDepth(0.4f);

    cannon = static_cast<Cannon*>(goManager.Create("Cannon"));
    if (cannon) {
        cannon->Init();
        cannon->team = team;
        cannon->renderable->scale = Vec2(0.35f, 0.25f);
        cannon->renderable->UpdateCorners();
        cannon->renderable->SetDepth(0.4f);
    }

    realm = kBothRealms;
    AddToRenderList(renderable);
}

void Tower::Update(float dt) {
    const Vec2 at = renderable->position;

    // Park the flag at the top once the tower has been placed and no capture has run.
    if (flag && !capturer.Get() && captureProgress == 0.0f) {
        flag->position = Vec2(at.x, at.y - 80.0f);
        flag->UpdateCorners();
    }
    captureProgress -= dt;

    float& alpha = renderable->colour[3];
    if (state == SeaSwitch::kToGhost) {
        alpha -= dt;
        if (alpha < 0.5f) frozen = 1;
    } else if (state == SeaSwitch::kToLiving) {
        alpha += dt;
        if (alpha >= 0.7f) SetState(Life::kNormal);
    }

    BaseStep(dt);

    if (cannon) cannon->SetPosition(Vec2(at.x, renderable->corners[kTopLeft].y + 20.0f));

    if (!target.Get()) target = goManager.FindTarget(team, at, "MerchantShip");
    GameObj* prey = target.Get();
    if (prey &&
        (state == Life::kSinking || state == Life::kDead || prey->state == Life::kSinking ||
         prey->state == Life::kDead || prey->InGrace())) {
        target.Reset();
        prey = nullptr;
    }

    if (prey && cannon) {
        const float d = at.x - prey->GetPosition()->x;
        // g * R / v^2 with the balls' gravity 750 and muzzle speed 500.
        float s = d * 750.0f / 250000.0f;
        if (s < 0.0f) s = -s;
        if (s < 1.0f) {
            const double a = 0.5 * std::asin(s);  // the low elevation that lands at |d|
            if (d > 0.0f) cannon->aim = Vec2(static_cast<float>(-std::cos(a)), static_cast<float>(-std::sin(a)));
            else cannon->aim = Vec2(static_cast<float>(std::cos(a)), static_cast<float>(-std::sin(a)));
            cannon->Fire();
        }
    }

    if (team == kHostile && state != SeaSwitch::kToGhost && state != SeaSwitch::kToLiving) {
        spawnTimer += dt;
        if (spawnTimer > 8.0 - 3.5 * difficulty) {
            spawnTimer = 0.0f;
            // The clock runs on regardless; a full fleet only skips this launch.
            if (ShipsAfloat() < kMaxAfloat) Launch();
        }
    }
}

int Tower::ShipsAfloat() {
    int afloat = 0;
    auto out = launched_.begin();
    for (const ObjRef<Ship>& ref : launched_) {
        const Ship* ship = ref.Get();
        if (!ship || ship->state == Life::kSinking || ship->state == Life::kDead) continue;
        *out++ = ref;
        ++afloat;
    }
    launched_.erase(out, launched_.end());
    return afloat;
}

void Tower::HidePanel() {
    if (upgrader) upgrader->Hide();
}

void Tower::Launch() {
    int kind = 0;
    if (static_cast<double>(difficulty) > 0.1) kind = Rand() % 2;
    if (static_cast<double>(difficulty) > 0.2) kind = Rand() % 3;
    static const char* const kKinds[] = {"MerchantShip", "RamBoat", "MineLayer"};
    auto* ship = static_cast<Ship*>(goManager.Create(kKinds[kind]));
    if (!ship) return;
    ship->aiControlled = 1;
    ship->water = water.Get();
    ship->difficulty = difficulty;
    ship->Init();

    const Vec2 at = renderable->position;
    const float spread = 300.0f * difficulty;
    const double span = (at.x + spread + 1.0) - (at.x - spread);
    // A spread too wide for an int (never reached by the levels) is held at the largest.
    const int n = span >= 1.0 ? static_cast<int>(std::min(span, static_cast<double>(INT_MAX))) : 1;
    const float x = at.x - spread + static_cast<float>(Rand() % n);
    ship->SetPosition(Vec2(static_cast<float>(static_cast<int>(x)), at.y));
    launched_.push_back(ship);
}

void Tower::Collide(GameObj* other) {
    if (other->state == Life::kDead || std::strcmp(other->GetType(), "MerchantShip") != 0) return;
    if (other->team != team || team != kPlayerSide) {
        Capture(other);
        return;
    }

    // The player's ship docked at a tower the player owns.
    dockTime += kDockTick;
    if (orlop.keys['A']) dockSteer += kDockTick;
    if (orlop.keys['D']) dockSteer -= kDockTick;
    if (std::fabs(dockSteer) > 3.0f) dockTime = 0.0f;
    if (dockTime > 2.0f) {
        if (!upgrader) {
            upgrader = static_cast<Upgrader*>(goManager.Create("Upgrader"));
            if (!upgrader) return;
            upgrader->prices = prices;
            upgrader->Init();
            upgrader->SetPosition(Vec2(400, 300));
        }
        dockTime = 0.0f;
        upgrader->Open(dynamic_cast<Ship*>(other));
    }
}

void Tower::Capture(GameObj* ship) {
    if (!capturer.Get() && team != ship->team) {
        captureProgress = 0.0f;
        capturer = ship;
    }
    if (!capturer.Is(ship)) {
        // A rival has to wear down the running capture first.
        captureProgress -= lastStep * 20.0f;
        if (captureProgress < 0.0f) {
            captureProgress = 0.0f;
            capturer = ship;
        }
    }
    if (!capturer.Is(ship) || team == ship->team || !flag) return;

    captureProgress += lastStep * 3.0f;
    const float y0 = flag->position.y;
    const float speed = 20.0f - 5.0f * difficulty;  // pixels per second
    const float top = renderable->corners[kTopLeft].y;
    const float x = renderable->position.x;
    if (flag->corners[kTopLeft].y < top && !flagLowered) {
        flag->position = Vec2(x, y0 + speed * lastStep);
        flag->UpdateCorners();
    } else if (flag->corners[kTopLeft].y > top) {
        flagLowered = 1;
    }
    if (!flagLowered) return;

    // Up again in the ship's colours.
    for (int i = 0; i < 4; ++i) flag->colour[i] = ship->renderable->colour[i];
    flag->position = Vec2(x, y0 - speed * lastStep);
    flag->UpdateCorners();
    if (flag->corners[kBottomRight].y - 20.0f < top) {
        team = ship->team;
        if (team == kPlayerSide) takenByPlayer = 1;
        // The gun changes sides with the tower, or its balls would harm nobody.
        if (cannon) cannon->team = team;
        capturer.Reset();
        flagLowered = 0;
        target.Reset();
    }
}

void Tower::Kill() {
    if (cannon) cannon->SetState(Life::kDead);
    cannon = nullptr;
    delete flag;  // leaves the render list on its way out
    flag = nullptr;
    // The panel can never open again once its tower is gone.
    if (upgrader) goManager.QueueForDeletion(upgrader);
    upgrader = nullptr;
    RemoveFromRenderList(renderable);
}

GameObj* MakeTower() { return new Tower; }

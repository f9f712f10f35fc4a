// The merchant ship: what hurts it, what it picks up, how it aims and hunts, and a
// fight between two computer-steered ships.
#include <climits>
#include <cmath>

#include "Orlop.h"
#include "ShipTestKit.h"
#include "ships/Cannon.h"
#include "ships/Mine.h"
#include "ships/TreasureChest.h"

using namespace shiptest;

namespace {

Thing* Hitter(const char* type, int team, Vec2 velocity, ObjState state = Life::kNormal) {
    Thing* t = AddThing(type, 0.0f, 0.0f);
    t->team = team;
    t->velocity = velocity;
    t->state = state;
    return t;
}

TreasureChest* Chest(Water* sea, float value) {
    auto* chest = static_cast<TreasureChest*>(goManager.Create("TreasureChest"));
    chest->value = value;
    chest->water = sea;
    chest->Init();
    chest->SetPosition(Vec2(0.0f, 300.0f));
    return chest;
}

}  // namespace

TEST_F(ShipsTest, BallsRamsAndMinesOfOtherTeamsHurtAndShakeThePlayer) {
    MerchantShip* player = Launch(1, 0.0f, false);
    MerchantShip* enemy = Launch(-1, 500.0f);
    Thing* ball = Hitter("CannonBall", -1, Vec2(300.0f, 400.0f));
    player->Collide(ball);
    player->Collide(ball);  // spent by the first touch
    EXPECT_EQ(player->health, 30.0f - 500.0f / 40.0f);
    EXPECT_EQ(ball->state, Life::kSinking);
    EXPECT_EQ(camera.shakeMagnitude, 50.0f);
    camera.shakeTime = 0.0f;
    player->Collide(Hitter("CannonBall", 1, Vec2(300.0f, 400.0f)));   // own team
    player->Collide(Hitter("CannonBall", -1, Vec2(300.0f, 400.0f), Life::kDead));  // dead
    enemy->Collide(Hitter("CannonBall", 1, Vec2(0.0f, 500.0f)));      // straight down
    EXPECT_EQ(player->health, 17.5f);
    EXPECT_EQ(camera.shakeTime, 0.0f);
    EXPECT_EQ(enemy->health, 30.0f);

    Thing* ram = Hitter("RamBoat", -1, Vec2(120.0f, 90.0f));
    player->Collide(ram);
    EXPECT_EQ(player->velocity.x, -120.0f);
    EXPECT_EQ(player->health, 17.5f - 150.0f / 50.0f);
    EXPECT_EQ(camera.shakeMagnitude, 150.0f);

    player->Collide(Hitter("Mine", -1, Vec2()));
    camera.shakeMagnitude = 0.0f;
    for (Thing* mine : {Hitter("Mine", 1, Vec2()), Hitter("Mine", -1, Vec2(), Mine::Phase::kExploding)})
        player->Collide(mine);
    EXPECT_EQ(player->health, -5.5f) << "only the live enemy mine hurts";
    EXPECT_EQ(camera.shakeMagnitude, 100.0f);
}

TEST_F(ShipsTest, AChestGoesToTheFirstShipAfloatThatTouchesIt) {
    TreasureChest* chest = Chest(sea, 120.0f);
    EXPECT_FLOAT_EQ(chest->renderable->scale.x, 0.4f);
    MerchantShip* ship = Launch(-1, 0.0f);
    chest->value = 25.7f;
    chest->Collide(ship);
    EXPECT_NE(chest->state, Life::kDead) << "still full when it touches first";
    ship->Collide(chest);
    EXPECT_EQ(ship->gold, 35);
    chest->Collide(ship);
    chest->Collide(sea);
    EXPECT_EQ(chest->state, Life::kDead) << "emptied, it goes at the next touch";

    TreasureChest* full = Chest(sea, 10.0f);
    ship->SetState(Life::kSinking);
    ship->Collide(full);
    EXPECT_EQ(full->value, 10.0f) << "a sinking ship takes nothing";
    ship->SetState(Life::kNormal);
    ship->gold = INT32_MAX - 5;
    ship->Collide(full);
    EXPECT_EQ(ship->gold, INT32_MAX);
}

TEST_F(ShipsTest, ThePlayerAimsAtTheMouseAndRecoilsFromEveryPull) {
    MerchantShip* ship = Launch(1, 0.0f, false);
    Cannon* gun = ship->cannon.Get();
    const Vec2 at = *ship->GetPosition();
    camera.corners[kTopLeft] = Vec2(-400.0f, -300.0f);  // the mouse is read in window pixels
    orlop.mousePosition = at + Vec2(430.0f, 260.0f);
    ship->Update(kStep);
    EXPECT_NEAR(gun->aim.x, 0.6f, 1e-5f);
    EXPECT_NEAR(gun->aim.y, -0.8f, 1e-5f);
    camera.corners[kTopLeft] = Vec2();
    orlop.mousePosition = at;  // right on the ship: no direction, the aim stays
    ship->Update(kStep);
    EXPECT_NEAR(gun->aim.x, 0.6f, 1e-5f);

    gun->charge = 2.0f;
    ship->velocity = Vec2();
    ship->FireCannon();
    EXPECT_EQ(CountOfType("CannonBall"), 1);
    EXPECT_FALSE(FlowsAtRest(sea));
    EXPECT_NEAR(ship->velocity.x, -30.0f, 1e-4f) << "the shot spent the charge";
}

TEST_F(ShipsTest, AComputerShipPicksItsPreyAndLobsOnTarget) {
    MerchantShip* hunter = Launch(-1, 0.0f);
    MerchantShip* prey = Launch(1, 200.0f, false);
    Launch(1, 250.0f, false)->frozen = 1;
    Launch(1, 260.0f, false)->SetState(Life::kSinking);
    Launch(-1, 270.0f);
    hunter->target.Reset();
    hunter->keepDistance = 200.0f;
    hunter->velocity = Vec2();
    hunter->fireTimer = 3.0f;
    hunter->Update(kStep);
    EXPECT_TRUE(hunter->target.Is(prey)) << "the last ship it may hunt";
    EXPECT_EQ(hunter->velocity.x, 0.0f) << "exactly at its distance: no kick";
    ASSERT_EQ(CountOfType("CannonBall"), 1);
    const Vec2 aim = hunter->cannon.Get()->aim;
    EXPECT_LT(aim.y, 0.0f);
    EXPECT_NEAR(500.0 * 500.0 * std::sin(2.0 * std::atan2(-aim.y, aim.x)) / 750.0, 200.0, 0.1)
        << "a lob that comes down on the prey";

    // Its prey destroyed, it finds another; one right above it is shot at along +x.
    MerchantShip* next = Launch(1, hunter->GetPosition()->x, false);
    goManager.objects.Remove(prey);
    prey->Kill();
    delete prey;
    hunter->cannon.Get()->reloadTimer = hunter->fireTimer = 3.0f;
    hunter->velocity = Vec2();
    hunter->Update(kStep);
    EXPECT_TRUE(hunter->target.Is(next));
    EXPECT_EQ(hunter->cannon.Get()->aim, Vec2(1.0f, 0.0f));
}

TEST_F(ShipsTest, TwoComputerShipsFightUntilOneSinksAndTheOtherTakesItsGold) {
    // Equal ships fire together and sink together; one sturdier hull settles it.
    MerchantShip* winner = Launch(-1, -150.0f);
    ObjRef<MerchantShip> loser = Launch(2, 150.0f);
    winner->AddMaxHealth(30.0f);
    winner->AddHealth(30.0f);
    winner->gold = loser.Get()->gold = 60;
    int balls = 0, chests = 0;
    for (int frame = 0; frame < 6000 && (loser || CountOfType("TreasureChest") > 0); ++frame) {
        balls = std::max(balls, CountOfType("CannonBall"));
        chests = std::max(chests, CountOfType("TreasureChest"));
        // With nothing left to hunt, the winner is sailed to the chests as a player would.
        if (GameObj* chest = LastOfType("TreasureChest")) {
            if (chest->GetPosition()->x < winner->GetPosition()->x) winner->SteerLeft(kStep);
            else winner->SteerRight(kStep);
        }
        goManager.Update(kStep);
    }
    EXPECT_GT(balls, 0);
    EXPECT_EQ(loser.Get(), nullptr) << "sunk and gone";
    EXPECT_EQ(chests, 6);
    EXPECT_EQ(winner->state, Life::kNormal);
    EXPECT_EQ(CountOfType("TreasureChest"), 0);
    EXPECT_EQ(winner->gold, 120) << "its own gold and all of the loser's";
}

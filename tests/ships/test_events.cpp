// The world tells what happened: ships emit an event where gold moves, a hull is hit, a
// chest is taken or a ship sinks, and the aids hear only the player's ship.
#include <vector>

#include "ShipTestKit.h"
#include "aids/Popups.h"
#include "objects/GameEvents.h"
#include "play/Chronicle.h"
#include "ships/TreasureChest.h"

using namespace shiptest;

namespace {

using Kind = GameEvent::Kind;

std::vector<Kind> Kinds(const std::vector<GameEvent>& events) {
    std::vector<Kind> kinds;
    for (const GameEvent& e : events) kinds.push_back(e.kind);
    return kinds;
}

}  // namespace

TEST_F(ShipsTest, GoldMovesOnlyThroughThePurseWhichTellsEveryChange) {
    MerchantShip* ship = Launch(1, 0.0f, false);
    gameEvents.Clear();
    ship->AddGold(50.9);  // 10 + 50
    EXPECT_FALSE(ship->Spend(61)) << "more than the purse holds";
    EXPECT_FALSE(ship->Spend(-5)) << "a negative price would pay the buyer";
    EXPECT_TRUE(ship->Spend(20));
    ship->health = 10.0f;
    ship->Repair();
    ship->AddGold(0.5);  // truncated to nothing: no event
    EXPECT_EQ(ship->Gold(), 35);
    const std::vector<GameEvent> events = gameEvents.Take();
    ASSERT_EQ(Kinds(events), (std::vector<Kind>{Kind::kGoldIn, Kind::kGoldOut, Kind::kGoldOut}));
    EXPECT_EQ(events[0].amount, 50);
    EXPECT_EQ(events[1].amount, 20);
    EXPECT_EQ(events[2].amount, 5);
    for (const GameEvent& e : events) EXPECT_EQ(e.subject, ship->Serial());
    EXPECT_TRUE(gameEvents.Take().empty()) << "taken once";
}

TEST_F(ShipsTest, HitsChestsAndSinkingsAreToldAndTheAidsHearTheirShipAlone) {
    MerchantShip* player = Launch(1, 0.0f, false);
    MerchantShip* enemy = Launch(-1, 500.0f);
    gameEvents.Clear();
    auto* chest = static_cast<TreasureChest*>(goManager.Create("TreasureChest"));
    chest->value = 30.0f;
    chest->water = sea;
    chest->Init();
    player->Collide(chest);
    player->Collide(chest);  // emptied: nothing more to take or tell
    enemy->AddGold(7);
    GameObj* ball = goManager.Create("CannonBall");
    ball->team = -1;
    ball->velocity = Vec2(300.0f, 400.0f);
    ball->state = Life::kNormal;
    player->Collide(ball);

    std::vector<GameEvent> events = gameEvents.Take();
    EXPECT_EQ(Kinds(events), (std::vector<Kind>{Kind::kGoldIn, Kind::kChestTaken, Kind::kGoldIn, Kind::kHit}));
    Popups popups;
    const ShipChange change = popups.Hear(events, player);
    EXPECT_EQ(change.gained, 30) << "the enemy's 7 is not the player's";
    EXPECT_TRUE(change.hit);
    ASSERT_EQ(popups.Words().size(), 1u);
    EXPECT_EQ(popups.Words()[0].text, "+30");
    Chronicle chronicle;
    chronicle.Tick(1, 0.0f);
    EXPECT_TRUE(chronicle.Hear(events, player->Serial()).chestTaken);
    EXPECT_EQ(chronicle.Record().gold, 30);

    // Sinking: the spill is told with the sinking and makes no word; a hostile ship
    // counts for the records only when a ball of the player's sank it.
    player->AddGold(100 - player->Gold());
    player->health = -1.0f;
    player->Update(kStep);
    enemy->sunkByPlayer = 1;
    enemy->health = -1.0f;
    enemy->Update(kStep);
    events = gameEvents.Take();
    const ShipChange sunk = popups.Hear(events, player);
    EXPECT_TRUE(sunk.sank);
    EXPECT_EQ(sunk.spilled, 60) << "the player keeps the lower half: six chests of 10";
    EXPECT_EQ(sunk.gained, 0);
    EXPECT_EQ(popups.Words().size(), 1u);
    chronicle.Hear(events, player->Serial());
    EXPECT_EQ(chronicle.Record().ships, 1);
}

// Nobody takes the events when the world runs without a game: the queue stays bounded
// and keeps the newest.
TEST(GameEventQueue, StaysBoundedWhenNobodyTakesThem) {
    gameEvents.Clear();
    for (uint64_t i = 0; i < 3 * GameEvents::kMaxQueued; ++i) gameEvents.Emit(GameEvent::Kind::kHit, i);
    const std::vector<GameEvent> taken = gameEvents.Take();
    ASSERT_FALSE(taken.empty());
    EXPECT_LE(taken.size(), GameEvents::kMaxQueued);
    EXPECT_EQ(taken.back().subject, 3 * GameEvents::kMaxQueued - 1);
    EXPECT_TRUE(gameEvents.Take().empty());
}

// The safe respawn: without it a sunk ship comes back at the usual place; with it,
// where no enemy is near, or with no such place where the enemy is farthest, and there
// no hunter aims at it and no shot harms it for its grace, which its own shot ends.
#include "PlayTestKit.h"
#include "play/SafeRespawn.h"
#include "ships/Cannon.h"
#include "ships/CannonBall.h"

namespace playtest {
namespace {

MerchantShip* Enemy(Game& game, float x) {
    auto* ship = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
    ship->aiControlled = 1;
    ship->water = game.sea;
    ship->Init();
    ship->SetPosition(Vec2(x, 0.0f));
    return ship;
}

// A hostile ball in flight right on the ship.
void ShootAt(MerchantShip& ship) {
    auto* ball = static_cast<CannonBall*>(goManager.Create("CannonBall"));
    ball->Init();
    ball->velocity = Vec2(400.0f, 0.0f);
    ball->SetPosition(*ship.GetPosition());
}

GameObj* HuntersPrey(MerchantShip& ship) {
    return goManager.FindTarget(GameObj::kHostile, *ship.GetPosition(), "MerchantShip");
}

TEST_F(PlayTest, SafeRespawnPlacesTheNewShipClearAndSparesItUntilItFires) {
    StartPlaying();
    Ship()->SetState(Life::kDead);
    Step();
    EXPECT_EQ(Ship()->GetPosition()->x, SafeRespawn::kHomeX) << "the game's own rule";
    EXPECT_FALSE(Ship()->InGrace());

    game->safeRespawn = true;
    Enemy(*game, 500.0f);
    Enemy(*game, 900.0f);
    Ship()->SetState(Life::kDead);
    Step();
    const float x = Ship()->GetPosition()->x;
    EXPECT_GT(SafeRespawn::Room(x, game->towers), 0.0f);
    // The nearest such place: one step nearer home has no room.
    const float nearer = x + (x < SafeRespawn::kHomeX ? SafeRespawn::kStep : -SafeRespawn::kStep);
    EXPECT_LE(SafeRespawn::Room(nearer, game->towers), 0.0f);

    // A fleet along the whole sea: no place has room, the ship comes back all the same.
    for (float at = -4000.0f; at <= 4000.0f; at += 400.0f) Enemy(*game, at);
    Ship()->SetState(Life::kDead);
    Step();
    MerchantShip& ship = *Ship();
    ASSERT_TRUE(ship.InGrace());
    const float health = ship.health;
    const int graceFrames = static_cast<int>(SafeRespawn::kGraceSeconds * 60.0f);
    for (int frame = 0; frame < graceFrames - 20; ++frame) {
        ShootAt(ship);
        Frame();
        ASSERT_EQ(HuntersPrey(ship), nullptr) << "frame " << frame;
    }
    EXPECT_EQ(ship.health, health) << "no harm in the grace";
    EXPECT_TRUE(ship.InGrace());

    Release(0);  // the ship's own shot (its gun has long reloaded)
    Frame();
    EXPECT_FALSE(ship.InGrace());
    EXPECT_EQ(HuntersPrey(ship), &ship);
    ShootAt(ship);
    Frame();
    EXPECT_LT(ship.health, health);
}

}  // namespace
}  // namespace playtest

namespace playtest {
namespace {

// The records count what the player's ship did: a tower once a level however often it
// changes hands (each loss counted and told), and a hostile ship only when the
// player's own ball sinks it.
TEST_F(PlayTest, RecordsCountTowersOnceALevelTheirLossesAndOnlyShipsThePlayerSank) {
    game->playButton->SetState(MenuButton::Phase::kReturning);
    Step();
    game->SkipToLevel(2);
    Frame();
    Frame();
    ASSERT_EQ(game->level, 2);
    EXPECT_EQ(game->ThisGame().towers, 0) << "towers handed over by a skip are no one's doing";
    Tower* tower = LastTower();
    for (int hands = 0; hands < 3; ++hands) {
        tower->team = GameObj::kPlayerSide;  // as a finished capture by the player's ship leaves it
        tower->takenByPlayer = 1;
        Frame();
        tower->team = GameObj::kHostile;
        Frame();
    }
    EXPECT_EQ(game->ThisGame().towers, 1);
    EXPECT_EQ(game->ThisGame().lost, 3);
    EXPECT_EQ(game->notices().Showing(), "Tower lost!");

    // Two hostile ships: one at the player's gun, nearly sunk, goes down to its ball;
    // the other sinks of harm that is none of the player's.
    MerchantShip& ship = *Ship();
    MerchantShip* shot = Enemy(*game, ship.GetPosition()->x);
    MerchantShip* drowned = Enemy(*game, -3000.0f);
    shot->health = 0.5f;
    drowned->health = -1.0f;
    ship.cannon.Get()->reloadTimer = 10.0f;
    Release(0);
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_EQ(shot->state, Life::kSinking);
    EXPECT_EQ(drowned->state, Life::kSinking);
    EXPECT_EQ(game->ThisGame().ships, 1);
}

}  // namespace
}  // namespace playtest

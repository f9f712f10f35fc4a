// The upgrade panel: rising prices, what each purchase buys and where it stops, the fade
// in and out by steering, and a buyer that sinks or is gone.
#include <gtest/gtest.h>

#include <climits>

#include "GlTestContext.h"
#include "Orlop.h"
#include "Renderable.h"
#include "WaterTestKit.h"
#include "defences/UpgradeButton.h"
#include "defences/Upgrader.h"
#include "ships/Cannon.h"
#include "ships/MerchantShip.h"

namespace {

constexpr float dt = kFrameStep;

class Shop : public ::testing::Test {
protected:
    void SetUp() override {
        gltest::UseDataFolder();
        sea = watertest::MakeSea();
        ship = MakeShip();
        panel = static_cast<Upgrader*>(goManager.Create("Upgrader"));
        panel->prices = &prices;  // the game's, as a tower hands them on
        panel->Init();
        panel->SetPosition(Vec2(400, 300));
        panel->Open(ship);
        panel->Update(dt);
    }
    void TearDown() override { goManager.Clear(); }

    MerchantShip* MakeShip() {
        auto* s = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
        s->team = 1;
        s->water = sea;
        s->Init();
        s->gold = 1000000;
        return s;
    }
    // The left button released over a price line, as one panel update sees it.
    void Click(UpgradeButton* line) {
        orlop.mousePosition = line->renderable->position;
        orlop.inputEvent = 1;
        orlop.lastDown = 0;
        orlop.lastCode = 0;
        panel->Update(dt);
        orlop.inputEvent = 0;
    }
    void Steer(uint8_t key, int frames) {
        orlop.keys[key] = 1;
        for (int i = 0; i < frames; ++i) panel->Update(dt);
        orlop.keys[key] = 0;
    }

    ShopPrices prices;
    Water* sea = nullptr;
    MerchantShip* ship = nullptr;
    Upgrader* panel = nullptr;
};

TEST_F(Shop, PricesRiseByThePowerRuleAndTheTopPriceIsNotSold) {
    const float speed = ship->maxSpeed;
    const int32_t gold = ship->gold;
    int32_t paid = 0;
    for (int32_t price : {10, 12, 15, 19, 25, 34, 48, 70, 107, 170, 284, 499, 928, 1837, 3895, 8903}) {
        EXPECT_EQ(prices.speed, price);
        Click(panel->speedButton);
        paid += price;
    }
    EXPECT_EQ(ship->gold, gold - paid);
    EXPECT_EQ(ship->maxSpeed, speed + 16 * 50.0f);
    EXPECT_EQ(panel->speedButton->label, "Speed:" + std::to_string(prices.speed));

    prices.reload = 2000000000;
    ship->gold = INT32_MAX;
    Click(panel->reloadButton);
    EXPECT_EQ(ship->gold, INT32_MAX - 2000000000);
    EXPECT_EQ(panel->reloadButton->label, "Reload Rate:2147483647");
    ship->gold = INT32_MAX;
    Click(panel->reloadButton);
    EXPECT_EQ(ship->gold, INT32_MAX);
}

TEST_F(Shop, EachLineImprovesItsOwnPartWithinItsLimits) {
    Cannon* gun = ship->cannon.Get();
    const float health = ship->health, maxHealth = ship->maxHealth;
    Click(panel->strengthButton);
    EXPECT_EQ(ship->maxHealth, maxHealth + 40.0f);
    EXPECT_EQ(ship->health, health);
    for (int i = 0; i < 2; ++i) {
        const int32_t gold = ship->gold;
        Click(panel->gunpowerButton);
        EXPECT_EQ(gun->charge, gun->maxCharge);
        Click(panel->reloadButton);
        EXPECT_EQ(gun->reloadTime, 0.01f);
        EXPECT_EQ(ship->gold, gold - 2 * (i ? 12 : 10)) << "paid even when nothing more changes";
    }
    ship->gold = prices.speed - 1;
    panel->speedButton->SetLabel("");
    Click(panel->speedButton);
    EXPECT_EQ(ship->gold, prices.speed - 1);
    EXPECT_EQ(panel->speedButton->label, "Speed:10");
}

TEST_F(Shop, FadesInStaysAndClosesAfterHalfASecondOfNetSteering) {
    for (int i = 0; i < 80; ++i) panel->Update(dt);
    EXPECT_EQ(panel->fade, 1.0f);
    EXPECT_EQ(panel->scroll->renderable->colour[3], 1.0f);
    EXPECT_EQ(panel->reloadButton->textColour[3], 1.0f);
    Steer('A', 18);
    Steer('D', 18);
    Steer('A', 28);
    EXPECT_EQ(panel->state, Upgrader::Phase::kOpening);
    panel->Open(ship);  // the tower's routine re-opening keeps the steering done so far
    Steer('A', 4);
    EXPECT_EQ(panel->state, Upgrader::Phase::kClosing);

    for (int i = 0; i < 20; ++i) panel->Update(dt);
    const float part = panel->fade;
    panel->Open(ship);  // docked again while closing: it turns back
    EXPECT_EQ(panel->closeSteer, 0.0f);
    panel->Update(dt);
    EXPECT_GT(panel->fade, part);

    Steer('D', 32);
    int frames = 0;
    while (panel->state != Life::kNormal && frames++ < 200) panel->Update(dt);
    EXPECT_NEAR(frames * dt, 1.0f, 3 * dt);
    EXPECT_EQ(panel->closeSteer, 0.0f);
    EXPECT_FALSE(panel->renderable->inRenderList);
    EXPECT_FALSE(panel->scroll->renderable->inRenderList);
    EXPECT_FALSE(panel->gunpowerButton->renderable->inRenderList);

    prices.gunpower = 77;  // bought at another tower meanwhile
    panel->Open(ship);
    panel->Update(dt);
    EXPECT_EQ(panel->gunpowerButton->label, "Gunpower:77");
    EXPECT_TRUE(panel->scroll->renderable->inRenderList);
}

TEST_F(Shop, ClicksAreIgnoredWhileTheBuyerSinksOrIsGone) {
    const int32_t gold = ship->gold;
    ship->SetState(Life::kSinking);
    Click(panel->speedButton);
    EXPECT_EQ(ship->gold, gold);
    EXPECT_NE(panel->state, Upgrader::Phase::kOpening) << "a panel without a buyer fades out";
    ship->SetState(Life::kDead);
    goManager.Update(dt);  // destroys the ship
    EXPECT_EQ(panel->ship.Get(), nullptr);
    Click(panel->speedButton);
    EXPECT_EQ(prices.speed, 10);

    MerchantShip* next = MakeShip();
    panel->Open(next);
    Click(panel->speedButton);
    EXPECT_EQ(next->gold, gold - 10);
}

}  // namespace

#pragma once

#include <gtest/gtest.h>

#include "../water/WaterTestKit.h"
#include "Camera.h"
#include "GlTestContext.h"
#include "Random.h"
#include "ships/MerchantShip.h"

namespace shiptest {

using namespace watertest;

// A fresh manager, a fixed random sequence and a calm sea of the game's shape.
class ShipsTest : public ::testing::Test {
protected:
    void SetUp() override {
        gltest::UseDataFolder();  // real image sizes: the floating depends on them
        goManager.Clear();
        goManager.ReopenLog();
        SRand(20240917u);
        camera.shakeTime = camera.shakeMagnitude = 0.0f;
        sea = MakeSea();
        sea->Update(kStep);
    }
    void TearDown() override { goManager.Clear(); }

    MerchantShip* Launch(int team, float x, bool computer = true) {
        auto* ship = static_cast<MerchantShip*>(goManager.Create("MerchantShip"));
        ship->team = team;
        ship->aiControlled = computer ? 1 : 0;
        ship->Init();
        ship->water = sea;
        ship->SetPosition(Vec2(x, 0.0f));
        ship->Update(kStep);  // settles on the water
        return ship;
    }
    float Surface(float x) { return sea->GetHeight(x, nullptr); }

    Water* sea = nullptr;
};

inline float Bottom(GameObj* o) { return o->GetCorners()[kBottomRight].y; }

}  // namespace shiptest

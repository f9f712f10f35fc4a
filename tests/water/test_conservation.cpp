// Hammering the sea with everything the game throws at it, far longer and harder than
// play does: the field must stay finite and keep its water.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Random.h"
#include "WaterTestKit.h"

using namespace watertest;

namespace {

constexpr double kVolume = 0.01;
constexpr double kTolerance = 1e-4;  // relative; float sums over 301 columns and many steps

class Hammer : public ::testing::Test {
protected:
    void SetUp() override {
        SRand(12345);
        sea = MakeSea();
        ASSERT_NE(sea, nullptr);
    }
    void TearDown() override { goManager.Clear(); }

    // Every number the sea holds is finite and the total is still there.
    void Check(int frame) {
        const WaveSim& s = sea->sim;
        double total = 0.0;
        for (int i = 0; i < s.count; ++i) {
            ASSERT_TRUE(std::isfinite(s.volumes[i])) << "frame " << frame << " column " << i;
            ASSERT_TRUE(std::isfinite(s.heights[i])) << "frame " << frame << " column " << i;
            total += s.volumes[i];
        }
        for (float q : s.flows) ASSERT_TRUE(std::isfinite(q)) << "frame " << frame;
        ASSERT_EQ(s.flows[0], 0.0f);
        ASSERT_EQ(s.flows[s.count], 0.0f);
        ASSERT_NEAR(total, kVolume, kVolume * kTolerance) << "frame " << frame;
        for (int p = 0; p < 300; ++p) ASSERT_TRUE(std::isfinite(SurfaceY(sea, p)));
        float slope = 0.0f;
        ASSERT_TRUE(std::isfinite(sea->GetHeight(-4500.0f + 17.0f * (frame % 500 + 1), &slope)));
        ASSERT_TRUE(std::isfinite(slope));
        minVolume = std::fmin(minVolume, *std::min_element(s.volumes.begin(), s.volumes.end()));
        maxVolume = std::fmax(maxVolume, *std::max_element(s.volumes.begin(), s.volumes.end()));
    }

    static float RandomX(int range) { return static_cast<float>(Rand() % (2 * range + 1) - range); }
    static float Signed() { return Rand() % 2 ? 1.0f : -1.0f; }

    Water* sea = nullptr;
    float minVolume = 1.0f;
    float maxVolume = -1.0f;
};

}  // namespace

TEST_F(Hammer, EverythingThePlayProducesAtOnceEveryFrame) {
    for (int frame = 0; frame < 6000; ++frame) {
        sea->Surge(30.0f * kStep, RandomX(4600));                           // right-click release
        sea->Disturb(2.0f * kStep, RandomX(4000));                          // ambient, playing
        sea->Disturb(5.0f * kStep, RandomX(4500));                          // ambient, menu
        sea->Disturb(Signed() * 2000.0f * kStep / 100.0f, RandomX(4500));   // a fast ball
        sea->Disturb(Signed() * 400.0f * kStep / 1000.0f, RandomX(4500));   // a ship under way
        if (frame % 3 == 0) sea->Disturb(0.051f, RandomX(4500));            // a shot's recoil
        if (frame % 20 == 0) sea->Disturb(1.1f, RandomX(4500));             // a menu button lands
        sea->Update(kStep);
        Check(frame);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(maxVolume - minVolume, 1e-6f) << "the sea should have been stirred hard";
}

TEST_F(Hammer, RepeatedSurgesOnOneSpotDrainItsNeighboursWithoutBlowingUp) {
    // The worst the player can do: a release every frame at the same place, with the
    // fiercest splash and a landing button there too.
    for (int frame = 0; frame < 20000; ++frame) {
        sea->Surge(30.0f * kStep, 0.0f);
        sea->Disturb(2000.0f * kStep / 100.0f, 0.0f);
        if (frame % 2 == 0) sea->Disturb(1.1f, 10.0f);
        sea->Update(kStep);
        if (frame % 10 == 0 || frame > 19990) {
            Check(frame);
            if (HasFatalFailure()) return;
        }
    }
    // Columns were pumped dry and clamped, yet the water stays within a few columns'
    // worth of the total and the clamp keeps the hollows barely below empty.
    EXPECT_LT(minVolume, 0.0f);
    EXPECT_GT(minVolume, -1e-4f);
    EXPECT_LT(maxVolume, 0.01f);
}

TEST_F(Hammer, SurgesWhileTheGhostSeaIsHeld) {
    // In the ghost sea a release steps the held sea sixteen times and freezes it again.
    sea->SetState(SeaSwitch::kToGhost);
    while (!sea->frozen) goManager.Update(kStep);
    for (int release = 0; release < 3000; ++release) {
        sea->Surge(30.0f * kStep, RandomX(4500));
        ASSERT_TRUE(sea->frozen);
        for (int k = 0; k < 16; ++k) sea->Update(0.016f);
        sea->frozen = 1;
        if (release % 5 == 0) {
            Check(release);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(sea->state, SeaSwitch::kToGhost);
}

TEST_F(Hammer, PeriodicPushesAtEveryRhythmStayBounded) {
    // Pushing in step with the sea's own swell is the way to pump energy into it.
    for (int period = 2; period <= 40; period += 2) {
        sea->sim.Init(301, 1.0f);
        for (int frame = 0; frame < 1500; ++frame) {
            if (frame % period == 0) sea->Surge(30.0f * kStep, 100.0f);
            if (frame % period == period / 2) sea->Disturb(-2000.0f * kStep / 100.0f, 100.0f);
            sea->Update(kStep);
        }
        Check(period);
        if (HasFatalFailure()) return;
    }
    EXPECT_LT(maxVolume, 0.01f);
}

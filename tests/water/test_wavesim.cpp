// The column model on its own: rest state, one step by hand, the clamp, the two
// pushes, the end guards and mirror symmetry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "sea/WaveSim.h"

namespace {

WaveSim MakeSim(int n) {
    WaveSim s;
    s.Init(n, 1.0f);
    return s;
}

float F(const WaveSim& s, float strength) {
    return static_cast<float>(static_cast<double>(s.impulseGain) * -static_cast<double>(strength));
}

}  // namespace

TEST(WaveSim, InitFillsTheRestState) {
    WaveSim s = MakeSim(301);
    EXPECT_EQ(s.count, 301);
    EXPECT_EQ(s.cellWidth, 1.0f / 301.0f);
    EXPECT_EQ(s.heightScale, 1.0f);
    EXPECT_EQ(s.impulseGain, 7e-5f);
    // From the double constant, not the float one.
    EXPECT_EQ(s.flowGain, static_cast<float>(7.000000000000001e-4 / (s.cellWidth * 5.0)));
    EXPECT_NEAR(s.flowGain, 0.00014 * 301, 1e-7);
    // Worked out in float the gain comes out one unit lower for many counts.
    for (int n = 1; n <= 64; ++n) {
        WaveSim other = MakeSim(n);
        ASSERT_EQ(other.flowGain,
                  static_cast<float>(7.000000000000001e-4 / (static_cast<double>(other.cellWidth) * 5.0)))
            << n;
    }
    ASSERT_EQ(s.volumes.size(), 301u);
    ASSERT_EQ(s.flows.size(), 302u);
    ASSERT_EQ(s.heights.size(), 301u);
    for (int i = 0; i < 301; ++i) {
        EXPECT_EQ(s.volumes[i], static_cast<float>(0.01 / 301)) << i;
        EXPECT_EQ(s.heights[i], 0.0f) << i;
    }
    for (float q : s.flows) EXPECT_EQ(q, 0.0f);
    EXPECT_NEAR(s.TotalVolume(), 0.01, 1e-9);

    // Re-initialising a used field starts over.
    s.Ripple(100, 3.0f);
    s.Step();
    s.Init(50, 2.0f);
    EXPECT_EQ(s.count, 50);
    EXPECT_EQ(s.flows.size(), 51u);
    for (float q : s.flows) EXPECT_EQ(q, 0.0f);
    for (float v : s.volumes) EXPECT_EQ(v, static_cast<float>(0.01 / 50));
}

TEST(WaveSim, AtRestEveryHeightIsOneAndNothingFlows) {
    for (int n : {301, 100, 64}) {
        WaveSim s = MakeSim(n);
        for (int step = 0; step < 200; ++step) s.Step();
        for (int i = 0; i < n; ++i) ASSERT_FLOAT_EQ(s.heights[i], 1.0f) << n << " column " << i;
        for (float q : s.flows) ASSERT_EQ(q, 0.0f);
    }
    WaveSim exact = MakeSim(301);
    exact.Step();
    EXPECT_EQ(exact.heights[0], 1.0f);
    EXPECT_EQ(exact.heights[300], 1.0f);
}

TEST(WaveSim, OneStepFollowsTheFlowThenVolumePasses) {
    WaveSim s = MakeSim(4);
    s.volumes = {0.004f, 0.002f, 0.003f, 0.001f};
    s.flows = {0.0f, 1e-4f, 0.0f, -2e-4f, 0.0f};
    const float g = s.flowGain;
    s.Step();

    // Flows first, from the old volumes, damped by 0.997; the closed ends stay 0.
    const double q1 = (1e-4 + (0.004 - 0.002) * g) * 0.997;
    const double q2 = ((0.002 - 0.003) * g) * 0.997;
    const double q3 = (-2e-4 + (0.003 - 0.001) * g) * 0.997;
    EXPECT_EQ(s.flows[0], 0.0f);
    EXPECT_EQ(s.flows[4], 0.0f);
    EXPECT_NEAR(s.flows[1], q1, 1e-10);
    EXPECT_NEAR(s.flows[2], q2, 1e-10);
    EXPECT_NEAR(s.flows[3], q3, 1e-10);

    // Then volumes from the new flows, a tenth of the difference per step.
    const double v[4] = {0.004 - q1 * 0.1, 0.002 + (q1 - q2) * 0.1, 0.003 + (q2 - q3) * 0.1,
                         0.001 + q3 * 0.1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(s.volumes[i], v[i], 1e-9) << i;
        // height = volume * (scale / cellWidth) * 100
        EXPECT_NEAR(s.heights[i], v[i] * 4 * 100, 1e-5) << i;
    }
    EXPECT_NEAR(s.TotalVolume(), 0.01, 1e-9);
}

TEST(WaveSim, NegativeColumnsAreClampedAndTheLackIsSharedByAll) {
    WaveSim s = MakeSim(4);
    s.volumes = {0.0001f, 0.0039f, 0.003f, 0.003f};
    // A strong flow to the right drains column 0 past empty.
    s.flows[1] = 0.01f;
    s.Step();
    const double q1 = (0.01 + (0.0001 - 0.0039) * s.flowGain) * 0.997;
    const double q2 = ((0.0039 - 0.003) * s.flowGain) * 0.997;
    const double drained = 0.0001 - q1 * 0.1;
    ASSERT_LT(drained, 0.0);
    const double share = drained / 4;
    EXPECT_NEAR(s.volumes[0], share, 1e-9);
    EXPECT_NEAR(s.volumes[1], 0.0039 + (q1 - q2) * 0.1 + share, 1e-9);
    EXPECT_NEAR(s.TotalVolume(), 0.01, 1e-9);
    // The column that ran dry reads slightly below empty until the next step.
    EXPECT_LT(s.heights[0], 0.0f);
    EXPECT_NEAR(s.heights[0], share * 400, 1e-5);
}

TEST(WaveSim, RippleAddsTheSymmetricTableAroundTheColumn) {
    WaveSim s = MakeSim(40);
    const int j = 20;
    s.flows[j] = 0.5f;  // the centre boundary is left alone
    const float strength = 3.0f;
    s.Ripple(j, strength);
    const float f = F(s, strength);
    ASSERT_LT(f, 0.0f);
    const double left[5] = {1 / 7.0, 0.25, 1 / 5.0, 1 / 6.0, 1 / 7.0};  // j-1 .. j-5
    for (int m = 1; m <= 5; ++m) {
        EXPECT_FLOAT_EQ(s.flows[j - m], static_cast<float>(-f * left[m - 1])) << "j-" << m;
        EXPECT_FLOAT_EQ(s.flows[j + m], static_cast<float>(f * left[m - 1])) << "j+" << m;
        EXPECT_EQ(s.flows[j - m], -s.flows[j + m]) << m;
    }
    EXPECT_EQ(s.flows[j], 0.5f);
    for (int i = 0; i <= 40; ++i) {
        if (i < j - 5 || i > j + 5) {
            EXPECT_EQ(s.flows[i], 0.0f) << i;
        }
    }

    // A positive strength gathers water into columns j-1 and j: their surface sinks
    // (a larger height is lower on screen) and the neighbours rise.
    WaveSim t = MakeSim(40);
    t.Ripple(j, strength);
    t.Step();
    const float rest = static_cast<float>(0.01 / 40);
    EXPECT_GT(t.volumes[j - 1], rest);
    EXPECT_GT(t.volumes[j], rest);
    EXPECT_LT(t.volumes[j - 3], rest);
    EXPECT_LT(t.volumes[j + 2], rest);
    EXPECT_NEAR(t.TotalVolume(), 0.01, 1e-9);

    // A negative strength does the opposite.
    WaveSim u = MakeSim(40);
    u.Ripple(j, -strength);
    u.Step();
    EXPECT_LT(u.volumes[j - 1], rest);
    EXPECT_LT(u.volumes[j], rest);
}

TEST(WaveSim, SurgeIsLopsidedAndPushesWaterOnwards) {
    WaveSim s = MakeSim(40);
    const int j = 20;
    const float strength = 0.5f;
    s.Surge(j, strength);
    const float f = F(s, strength);
    // j-5 .. j-1 all push right; j+1 .. j+3 push back left; j+4, j+5 push right again.
    const double expected[11] = {-0.125, -1 / 7.0, -1 / 6.0, -1 / 5.0, -0.25, 0,
                                 0.25,   1 / 5.0,  1 / 6.0,  -1 / 7.0, -0.125};
    for (int m = -5; m <= 5; ++m)
        EXPECT_FLOAT_EQ(s.flows[j + m], static_cast<float>(f * expected[m + 5])) << "j" << m;
    for (int m = 1; m <= 5; ++m) EXPECT_GT(s.flows[j - m], 0.0f) << m;
    EXPECT_LT(s.flows[j + 1], 0.0f);
    EXPECT_GT(s.flows[j + 4], 0.0f);
    EXPECT_GT(s.flows[j + 5], 0.0f);

    // Unlike a ripple, it leaves net momentum to the right.
    double net = 0.0;
    for (float q : s.flows) net += q;
    EXPECT_NEAR(net, -f * (0.125 + 1 / 7.0 + 1 / 6.0 + 1 / 5.0 + 0.25 - 0.25 - 0.2 - 1 / 6.0 +
                           1 / 7.0 + 0.125),
                1e-11);
    EXPECT_GT(net, 0.0);
    WaveSim r = MakeSim(40);
    r.Ripple(j, strength);
    double rippleNet = 0.0;
    for (float q : r.flows) rippleNet += q;
    EXPECT_EQ(rippleNet, 0.0);

    // Stepped on, the shape is not a mirror image about the pushed boundary.
    for (int step = 0; step < 10; ++step) s.Step();
    double mismatch = 0.0;
    for (int k = 0; k < 8; ++k) mismatch += std::fabs(s.volumes[j - 1 - k] - s.volumes[j + k]);
    EXPECT_GT(mismatch, 1e-8);
    EXPECT_NEAR(s.TotalVolume(), 0.01, 1e-9);
}

TEST(WaveSim, PushesWithinSixColumnsOfAnEndAreIgnored) {
    const int n = 40;
    for (bool surge : {false, true}) {
        for (int j : {-100, -1, 0, 1, 5, n - 6, n - 1, n, n + 7, std::numeric_limits<int>::max(),
                      std::numeric_limits<int>::min()}) {
            WaveSim s = MakeSim(n);
            if (surge) s.Surge(j, 5.0f);
            else s.Ripple(j, 5.0f);
            for (float q : s.flows) ASSERT_EQ(q, 0.0f) << (surge ? "surge " : "ripple ") << j;
        }
        // The nearest columns that are allowed.
        for (int j : {6, n - 7}) {
            WaveSim s = MakeSim(n);
            if (surge) s.Surge(j, 5.0f);
            else s.Ripple(j, 5.0f);
            EXPECT_NE(s.flows[j - 5], 0.0f) << j;
            EXPECT_NE(s.flows[j + 5], 0.0f) << j;
            EXPECT_EQ(s.flows[0], 0.0f);
            EXPECT_EQ(s.flows[n], 0.0f);
        }
    }
    // Too small a field has no column far enough from both ends.
    WaveSim tiny = MakeSim(12);
    for (int j = 0; j < 12; ++j) tiny.Ripple(j, 1.0f);
    for (float q : tiny.flows) EXPECT_EQ(q, 0.0f);
}

TEST(WaveSim, NonFiniteStrengthsAreIgnored) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (float strength : bad) {
        WaveSim s = MakeSim(40);
        s.Ripple(20, strength);
        s.Surge(20, strength);
        s.Step();
        for (float q : s.flows) ASSERT_EQ(q, 0.0f);
        for (float h : s.heights) ASSERT_TRUE(std::isfinite(h));
    }
}

TEST(WaveSim, RippleInTheMiddleSpreadsMirrorSymmetrically) {
    // An even count puts boundary n/2 exactly in the middle, ends included.
    WaveSim s = MakeSim(100);
    const int j = 50;
    s.Ripple(j, 40.0f);  // strong enough to empty columns and exercise the clamp
    bool clamped = false;
    for (int step = 0; step < 2000; ++step) {
        s.Step();
        for (float v : s.volumes) clamped = clamped || v < 0.0f;
        if (step % 7 == 0) s.Ripple(j, 40.0f * ((step / 7) % 2 ? 1.0f : -1.0f));
    }
    EXPECT_TRUE(clamped) << "the test should drive columns past empty";
    for (int k = 0; k < 50; ++k) {
        ASSERT_EQ(s.volumes[j - 1 - k], s.volumes[j + k]) << k;
        ASSERT_EQ(s.heights[j - 1 - k], s.heights[j + k]) << k;
    }
    for (int m = 0; m <= 50; ++m) ASSERT_EQ(s.flows[j - m], -s.flows[j + m]) << m;
    // And it did spread: the far ends have moved.
    EXPECT_NE(s.volumes[0], static_cast<float>(0.01 / 100));
}

// Built with the float-to-int conversion check on: x values from bad callers must
// never reach a conversion that does not fit (that alone is undefined behaviour).
#include <gtest/gtest.h>

#include <limits>

#include "WaterTestKit.h"

using namespace watertest;

TEST(WaterCasts, WildXNeverReachesAConversion) {
    Water* sea = MakeSea();
    ASSERT_NE(sea, nullptr);
    const float wild[] = {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::lowest(),
                          1e30f, -1e30f, 3e9f, -3e9f, 2147483648.0f, -2147483904.0f};
    for (float x : wild) {
        sea->Disturb(1.0f, x);
        sea->Surge(1.0f, x);
    }
    for (float q : sea->sim.flows) EXPECT_EQ(q, 0.0f);

    // A strip that was never given a width maps every x to NaN or an infinity.
    auto* flat = static_cast<Water*>(goManager.Create("Water"));
    flat->spacing = 15.0f;
    flat->Init();
    for (float x : {0.0f, 1.0f, -1.0f, 1e30f}) {
        flat->Disturb(1.0f, x);
        flat->Surge(1.0f, x);
    }
    for (float q : flat->sim.flows) EXPECT_EQ(q, 0.0f);

    // Sizes that would make a vertex count out of range.
    for (float spacing : {1e-30f, 0.0f, -0.0f, std::numeric_limits<float>::denorm_min()}) {
        auto* bad = static_cast<Water*>(goManager.Create("Water"));
        bad->width = 9000.0f;
        bad->spacing = spacing;
        bad->Init();
        EXPECT_EQ(bad->Strip()->vertexCount, 0) << spacing;
    }
    goManager.Clear();
}

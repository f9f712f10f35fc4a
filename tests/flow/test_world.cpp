// The island strip: flat state, raising under a point and height lookups.
#include <gtest/gtest.h>

#include <cmath>

#include "ComplexSprite.h"
#include "objects/GOManager.h"
#include "sea/World.h"

namespace {

class Island : public ::testing::Test {
protected:
    void SetUp() override {
        world = static_cast<World*>(goManager.Create("World"));
        ASSERT_NE(world, nullptr);
        world->Init();
    }
    void TearDown() override { goManager.Clear(); }
    float TopY(int column) { return world->Strip()->vertices[column * 2 * 3 + 1]; }
    float TopV(int column) { return world->Strip()->texCoords[column * 2].y; }
    World* world = nullptr;
};

TEST_F(Island, FlatStripSpansTheSeaAndAnswersItsHeightBetweenTheEnds) {
    EXPECT_STREQ(world->GetType(), "World");
    EXPECT_EQ(world->realm, 3);
    const ComplexSprite* strip = world->Strip();
    EXPECT_EQ(strip->vertexCount, 300);
    EXPECT_FLOAT_EQ(strip->vertices[0], -4500.0f);
    EXPECT_FLOAT_EQ(strip->vertices[298 * 3], 4440.0f);
    EXPECT_FLOAT_EQ(strip->vertices[1 * 3 + 1], 800.0f);
    EXPECT_FLOAT_EQ(strip->colours[1 * 4 + 3], 0.9f);
    EXPECT_FLOAT_EQ(strip->corners[kTopLeft].y, 575.0f);
    for (float x : {-4499.0f, -1000.5f, 0.0f, 60.0f, 4439.0f}) EXPECT_FLOAT_EQ(world->GetHeightAt(x), 575.0f) << x;
    EXPECT_FLOAT_EQ(world->GetHeightAt(-4500.0f), 0.0f);
    EXPECT_FLOAT_EQ(world->GetHeightAt(4440.0f), 0.0f);
    EXPECT_FLOAT_EQ(world->GetHeightAt(-9000.0f), 0.0f);
    EXPECT_FLOAT_EQ(world->GetHeightAt(NAN), 0.0f);
}

TEST_F(Island, RaiseLiftsWithinAHundredPixelsAndKeepsTexturesInRange) {
    // Column 75 stands at x = 0; columns 73..77 are within 100 pixels.
    world->Raise(Vec2(0, 12345));
    EXPECT_FLOAT_EQ(TopY(75), 574.0f);
    EXPECT_FLOAT_EQ(TopY(74), 575.0f - 0.4f);
    EXPECT_FLOAT_EQ(TopY(76), 575.0f - 0.4f);
    EXPECT_FLOAT_EQ(TopY(73), 575.0f) << "120 pixels away";
    EXPECT_FLOAT_EQ(TopV(75), 574.0f / 600.0f);
    for (int i = 0; i < 300; ++i) world->Raise(Vec2(0, 0));
    EXPECT_LT(TopY(75), 300.0f);
    for (int c = 0; c < 150; ++c) EXPECT_LE(TopV(c), 1.0f);
    EXPECT_FLOAT_EQ(world->Strip()->vertices[75 * 2 * 3 + 3 + 1], 800.0f) << "bottom stays";
}

TEST_F(Island, LookupAtAVertexUsesTheBracketFromThePreviousVertex) {
    world->Raise(Vec2(0, 0));  // column 75 at x = 0 is now 574, 74 and 76 at 574.6
    // At x = 0 the first strict bracket is columns 74..76: the raised middle is skipped.
    EXPECT_FLOAT_EQ(world->GetHeightAt(0.0f), 574.6f);
    // Between 60 and 120 the bracket is 75..77.
    EXPECT_FLOAT_EQ(world->GetHeightAt(30.0f), 574.6f);
    EXPECT_NEAR(world->GetHeightAt(61.0f), 574.0f + (575.0f - 574.0f) * 61.0f / 120.0f, 1e-3f);
}

TEST_F(Island, ResetFlattensTheTopOnly) {
    for (int i = 0; i < 50; ++i) world->Raise(Vec2(600, 0));
    world->Reset();
    for (int c = 0; c < 150; ++c) {
        EXPECT_FLOAT_EQ(TopY(c), 575.0f);
        EXPECT_FLOAT_EQ(TopV(c), 575.0f / 600.0f);
    }
}

TEST_F(Island, StateTimeWrapsAfterOneSecond) {
    for (int i = 0; i < 61; ++i) world->Update(0.016666668f);
    EXPECT_LT(world->stateTime, 0.05f);
}

}  // namespace

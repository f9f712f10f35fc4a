// The menu button's cycle: hover easing, falling when pressed, floating on the sea
// while it fades, the one-update returning state, and home again.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>

#include "Camera.h"
#include "Orlop.h"
#include "Renderable.h"
#include "TestImages.h"
#include "objects/GOManager.h"
#include "sea/Water.h"
#include "ui/MenuButton.h"

namespace {

class MenuButtonCycle : public ::testing::Test {
protected:
    void SetUp() override {
        camera = Camera();
        camera.SetView(Vec2(400, 300), Vec2(800, 600));
        orlop.mousePosition = Vec2(-100, -100);
        WriteSolidTga("face.tga", 200, 50, 0xAA7744FF);
        button = static_cast<MenuButton*>(goManager.Create("MenuButton"));
        ASSERT_NE(button, nullptr);
        button->MakeSprite("face.tga");
        button->SetPosition(Vec2(200, 200));
        button->Init();
    }
    void TearDown() override { goManager.Clear(); }

    Water* MakeSea() {
        Water* sea = static_cast<Water*>(goManager.Create("Water"));
        sea->width = 9000.0f;
        sea->bottom = 200.0f;
        sea->spacing = 15.0f;
        sea->Init();
        sea->SetPosition(Vec2(-4500.0f, 550.0f));
        return sea;
    }
    Vec2 Pos() { return button->renderable->position; }
    MenuButton* button = nullptr;
};

TEST_F(MenuButtonCycle, ReportsTheButtonTypeName) { EXPECT_STREQ(button->GetType(), "UIButton"); }

TEST_F(MenuButtonCycle, HoverEasesRightAndLeavingEasesHomeWithoutLearningANewHome) {
    button->Update(kFrameStep);
    EXPECT_EQ(button->home, Vec2(200, 200));
    orlop.mousePosition = Vec2(200, 200);
    button->Update(kFrameStep);
    // Ten times the remaining offset per second.
    EXPECT_NEAR(Pos().x, 200.0f + 20.0f * 10.0f * kFrameStep, 1e-3f);
    for (int i = 0; i < 120; ++i) button->Update(kFrameStep);
    EXPECT_NEAR(Pos().x, 220.0f, 0.01f);
    EXPECT_NEAR(Pos().y, 201.0f, 0.01f);
    EXPECT_EQ(button->home, Vec2(200, 200)) << "a hovered button keeps its home";

    orlop.mousePosition = Vec2(-100, -100);
    button->Update(kFrameStep);
    EXPECT_EQ(button->hovered, 0);
    EXPECT_EQ(button->home, Vec2(200, 200)) << "still moving: no new home";
    for (int i = 0; i < 200; ++i) button->Update(kFrameStep);
    EXPECT_NEAR(Pos().x, 200.0f, 0.01f);
}

TEST_F(MenuButtonCycle, PressedButtonFallsWithGravityAndKeepsItsSidewaysSpeed) {
    orlop.mousePosition = Vec2(200, 200);
    button->Update(kFrameStep);
    float vx = button->velocity.x;
    float vy = button->velocity.y;
    ASSERT_GT(vx, 0.0f);
    button->SetState(MenuButton::Phase::kFalling);
    float y0 = Pos().y;
    button->Update(kFrameStep);
    EXPECT_FLOAT_EQ(button->velocity.x, vx);
    EXPECT_NEAR(button->velocity.y, vy + 850.0f * kFrameStep, 1e-3f);
    EXPECT_GT(Pos().y, y0);
    // Without a sea it never leaves the falling state.
    for (int i = 0; i < 300; ++i) goManager.Update(kFrameStep);
    EXPECT_EQ(button->state, MenuButton::Phase::kFalling);
}

TEST_F(MenuButtonCycle, FallsIntoTheSeaFloatsFadesAndReturnsHomeForOneUpdate) {
    Water* sea = MakeSea();
    goManager.Update(kFrameStep);  // idle: learns home and alpha
    button->SetState(MenuButton::Phase::kFalling);
    int frames = 0;
    while (button->state == MenuButton::Phase::kFalling && frames < 300) {
        goManager.Update(kFrameStep);
        ++frames;
    }
    ASSERT_EQ(button->state, MenuButton::Phase::kFloating) << "met the sea";
    EXPECT_EQ(button->water, sea);
    EXPECT_LT(frames, 80);

    goManager.Update(kFrameStep);
    button->Update(0.0f);  // the sea stepped after the button in that pass
    float slope = 0.0f;
    EXPECT_FLOAT_EQ(Pos().y, sea->GetHeight(Pos().x, &slope)) << "rides the surface";
    EXPECT_LT(button->renderable->colour[3], 1.0f);

    int floating = 0;
    while (button->state == MenuButton::Phase::kFloating && floating < 200) {
        goManager.Update(kFrameStep);
        ++floating;
    }
    ASSERT_EQ(button->state, MenuButton::Phase::kReturning);
    EXPECT_NEAR(floating, 60, 3) << "fades by one alpha per second";
    goManager.Update(kFrameStep);
    EXPECT_EQ(button->state, Life::kNormal) << "returning lasts one update";
    EXPECT_EQ(Pos(), Vec2(200, 200));
    EXPECT_FLOAT_EQ(button->renderable->colour[3], 1.0f);
    EXPECT_EQ(button->velocity, Vec2(0, 0));
}

TEST_F(MenuButtonCycle, OnlyAFallingButtonReactsToTheSea) {
    Water* sea = MakeSea();
    button->Collide(sea);
    EXPECT_EQ(button->state, Life::kNormal);
    button->SetState(MenuButton::Phase::kFalling);
    button->Collide(button);  // not water
    EXPECT_EQ(button->state, MenuButton::Phase::kFalling);
    button->Collide(sea);
    EXPECT_EQ(button->state, MenuButton::Phase::kFloating);
}

}  // namespace

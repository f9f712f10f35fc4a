// Buttons and the life bar: label centring from the last drawn width, hover colouring
// of price lines, and the life bar's cropping, placement and lagging background.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Box.h"
#include "Orlop.h"
#include "Sprite.h"
#include "TestImages.h"
#include "defences/UpgradeButton.h"
#include "defences/Upgrader.h"
#include "objects/GOManager.h"
#include "ui/LifeBar.h"
#include "ui/UIButton.h"

namespace {

// A 16 x 7 grid of 63 x 42 cells: every printable character has a cell.
void WriteFont(const char* path) { WriteSolidTga(path, 63 * 16, 42 * 7, 0xFFFFFFFF); }

class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFont("testfont.tga");
        WriteSolidTga("face.tga", 200, 50, 0xAA7744FF);
        orlop.mousePosition = Vec2();
    }
    void TearDown() override { goManager.Clear(); }

    UIButton* MakeButton(const char* label, Vec2 at) {
        UIButton* b = static_cast<UIButton*>(goManager.Create("UIButton"));
        b->MakeSprite("face.tga");
        b->SetPosition(at);
        b->font = LoadGameFont("testfont.tga");
        b->SetLabel(label);
        b->Init();
        return b;
    }
};

TEST_F(Buttons, LabelIsCentredFromTheSecondDrawingOn) {
    UIButton* b = MakeButton("Play!", Vec2(200, 200));
    ASSERT_TRUE(b->renderable->screenSpace);
    EXPECT_FLOAT_EQ(b->renderable->depth, 0.9f);
    EXPECT_FLOAT_EQ(b->textWidth, 1.0f);
    b->Draw();
    // "Play!": P 43, l 33, a 33, y 33, ! 43 at scale 1.
    EXPECT_FLOAT_EQ(b->textWidth, 185.0f);
    b->SetLabel("Quit");
    b->Draw();
    EXPECT_FLOAT_EQ(b->textWidth, 43.0f + 33 + 33 + 33);
}

TEST_F(Buttons, EmptyOrHiddenLabelIsNotDrawnAndKeepsItsWidth) {
    UIButton* empty = MakeButton("", Vec2(200, 200));
    empty->Draw();
    EXPECT_FLOAT_EQ(empty->textWidth, 1.0f);
    UIButton* hidden = MakeButton("Gold 50", Vec2(200, 300));
    RemoveFromRenderList(hidden->renderable);
    hidden->Draw();
    EXPECT_FLOAT_EQ(hidden->textWidth, 1.0f);
    AddToRenderList(hidden->renderable);
    hidden->Draw();
    EXPECT_GT(hidden->textWidth, 1.0f);
}

TEST_F(Buttons, TextScaleNarrowsTheAdvanceButNotTheMeasuredUnits) {
    UIButton* b = MakeButton("AAAA", Vec2(200, 200));
    b->textScale = Vec2(0.5f, 0.5f);
    b->Draw();
    // pen = int(63 - 0.5 * 20 + pen) per capital: 53 each, in unscaled units.
    EXPECT_FLOAT_EQ(b->textWidth, 4 * 53.0f);
}

TEST_F(Buttons, PriceLineIsAnInvisibleHitBoxThatTurnsItsLabelWhiteUnderTheCursor) {
    // The line's own image name, resolved in the working directory.
    mkdir("Images", 0755);
    WriteSolidTga("Images/Nothing.tga", 4, 6, 0x00000000);
    UpgradeButton* line = static_cast<UpgradeButton*>(goManager.Create("UpgradeButton"));
    line->font = LoadGameFont("testfont.tga");
    line->Init();
    line->SetPosition(Vec2(400, 150));
    EXPECT_FLOAT_EQ(line->renderable->colour[3], 0.0f);
    EXPECT_EQ(line->textScale, Vec2(0.5f, 0.5f));
    const Vec2* c = line->GetCorners();
    EXPECT_FLOAT_EQ(c[3].x - c[0].x, 4 * 40.0f);
    EXPECT_FLOAT_EQ(c[3].y - c[0].y, 6 * 5.0f);

    orlop.mousePosition = Vec2(400 + 80, 150);  // on the right edge
    line->Update(kFrameStep);
    EXPECT_EQ(line->hovered, 1);
    EXPECT_FLOAT_EQ(line->textColour[0], 1.0f);
    orlop.mousePosition = Vec2(400, 150 + 16);
    line->Update(kFrameStep);
    EXPECT_EQ(line->hovered, 0);
    EXPECT_FLOAT_EQ(line->textColour[0], 0.0f);
    EXPECT_FLOAT_EQ(line->textColour[3], 1.0f);

    line->SetState(Upgrader::Phase::kOpening);
    orlop.mousePosition = Vec2(400, 150);
    line->Update(kFrameStep);
    EXPECT_EQ(line->hovered, 0) << "coloured only in state 1";
}

// --- life bar ---------------------------------------------------------------------

class LifeBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        mkdir("images", 0755);
        WriteSolidTga("images/ui_button_wood.tga", 280, 40, 0xFFFFFFFF);
        bar = static_cast<LifeBar*>(goManager.Create("LifeBar"));
        bar->Init();
    }
    void TearDown() override { goManager.Clear(); }
    LifeBar* bar = nullptr;
};

TEST_F(LifeBarTest, TypeNameIsTheBaseOneAndBothSpritesAreScreenSpace) {
    EXPECT_STREQ(bar->GetType(), "GameObj");
    EXPECT_EQ(bar->realm, 3);
    EXPECT_TRUE(bar->renderable->screenSpace);
    EXPECT_TRUE(bar->background->screenSpace);
    EXPECT_FLOAT_EQ(bar->background->depth, 0.8f);
    EXPECT_FLOAT_EQ(bar->renderable->depth, 0.9f);
    EXPECT_EQ(bar->background->position, Vec2(145, 15));
}

TEST_F(LifeBarTest, HalfValueShowsTheLeftHalfFromTheSameLeftEdge) {
    bar->SetValue(15, 30);
    bar->Update(kFrameStep);
    const Vec2* fg = bar->renderable->corners;
    const Vec2* bg = bar->background->corners;
    EXPECT_FLOAT_EQ(fg[0].x, bg[0].x);
    EXPECT_FLOAT_EQ(fg[3].x - fg[0].x, (bg[3].x - bg[0].x) * 0.5f);
    EXPECT_FLOAT_EQ(bar->renderable->texCoords[2].x, 0.5f);
    EXPECT_FLOAT_EQ(bar->renderable->texCoords[3].x, 0.5f);
    EXPECT_FLOAT_EQ(bar->renderable->texCoords[0].x, 0.0f);
}

TEST_F(LifeBarTest, NegativeGivesNothingAndOverfullRunsPastTheBackground) {
    bar->SetValue(-5, 100);
    EXPECT_FLOAT_EQ(bar->fraction, 0.0f);
    EXPECT_FLOAT_EQ(bar->renderable->corners[kBottomRight].x - bar->renderable->corners[kTopLeft].x, 0.0f);
    bar->SetValue(150, 100);
    bar->Update(kFrameStep);
    EXPECT_GT(bar->renderable->corners[kBottomRight].x, bar->background->corners[kBottomRight].x);
    EXPECT_FLOAT_EQ(bar->renderable->texCoords[3].x, 1.5f);
}

TEST_F(LifeBarTest, SamePairChangesNothingButANewMaximumRecomputes) {
    bar->SetValue(50, 100);
    bar->renderable->position = Vec2(0, 0);  // would be restored by a recompute
    bar->SetValue(50, 100);
    EXPECT_EQ(bar->renderable->position, Vec2(0, 0));
    bar->SetValue(50, 200);
    EXPECT_FLOAT_EQ(bar->fraction, 0.25f);
    EXPECT_NE(bar->renderable->position, Vec2(0, 0));
}

TEST_F(LifeBarTest, HidingTheBarHidesTheBackgroundOneUpdateLater) {
    RemoveFromRenderList(bar->renderable);
    EXPECT_EQ(bar->background->inRenderList, 1);
    bar->Update(kFrameStep);
    EXPECT_EQ(bar->background->inRenderList, 0);
    AddToRenderList(bar->renderable);
    bar->Update(kFrameStep);
    EXPECT_EQ(bar->background->inRenderList, 1);
}

}  // namespace

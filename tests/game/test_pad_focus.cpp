// The pad's focus among rows of buttons, as the menu and the options screen step it.
#include <gtest/gtest.h>

#include "Orlop.h"
#include "ui/PadFocus.h"

namespace {

TEST(PadFocus, StepsEnterFromEitherEndStopAtTheEdgesAndKeepWithinARow) {
    PadFocus focus;
    EXPECT_FALSE(focus.Step(VK_GAMEPAD_DPAD_DOWN)) << "no rows, no step";
    // Null places stand for buttons outside the object manager; three rows, the
    // last three wide.
    focus.SetRows({{nullptr}, {nullptr, nullptr}, {nullptr, nullptr, nullptr}});
    EXPECT_FALSE(focus.Step(VK_GAMEPAD_DPAD_RIGHT)) << "sideways needs a row first";
    EXPECT_FALSE(focus.Step('A'));
    ASSERT_TRUE(focus.Step(VK_GAMEPAD_DPAD_UP));
    EXPECT_EQ(focus.row(), 2) << "up from nowhere starts at the bottom";
    focus.Step(VK_GAMEPAD_DPAD_RIGHT);
    focus.Step(VK_GAMEPAD_DPAD_RIGHT);
    focus.Step(VK_GAMEPAD_DPAD_RIGHT);
    EXPECT_EQ(focus.column(), 2) << "the row's last button";
    focus.Step(VK_GAMEPAD_DPAD_DOWN);
    EXPECT_EQ(focus.row(), 2);
    EXPECT_EQ(focus.column(), 0) << "a new row starts at its first button";
    focus.Step(VK_GAMEPAD_DPAD_LEFT);
    EXPECT_EQ(focus.column(), 0);
    focus.Step(VK_GAMEPAD_DPAD_UP);
    focus.Step(VK_GAMEPAD_DPAD_UP);
    focus.Step(VK_GAMEPAD_DPAD_UP);
    EXPECT_EQ(focus.row(), 0) << "held at the top";
    focus.Reset();
    focus.Step(VK_GAMEPAD_DPAD_DOWN);
    EXPECT_EQ(focus.row(), 0) << "down from nowhere starts at the top";
}

}  // namespace

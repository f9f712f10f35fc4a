#include <gtest/gtest.h>

#include <string>

#include "ContactSheet.h"
#include "DecodedImage.h"
#include "ScenePreview.h"

// The sheet is for a person; the test makes sure it is there, whole, and shows
// frames that were really drawn (not left empty).
TEST(ContactSheet, WritesASheetOfEveryImageAndFourGameFrames) {
    ScenePreview preview(BRINEGATE_DATA_DIR);
    ASSERT_TRUE(preview.Ok()) << "an image failed to decode";
    const std::string path = std::string(BRINEGATE_BUILD_DIR) + "/asset_contact_sheet.png";
    ASSERT_TRUE(ContactSheet::Write(preview, path));
    DecodedImage sheet(path);
    ASSERT_TRUE(sheet.Ok()) << sheet.Error();
    EXPECT_EQ(sheet.Width(), ContactSheet::kWidth);
    EXPECT_GT(sheet.Height(), 1200);
    // The menu frame's sky is blue at the top; the ghost frame's is dark green.
    const uint8_t* sky = sheet.Rgba(400, 5);
    EXPECT_GT(sky[2], sky[0] + 40);
    const uint8_t* ghost = sheet.Rgba(1200 + 20, 600 + 5);
    EXPECT_GT(ghost[1], ghost[0]);
    EXPECT_LT(ghost[1], 140);
}

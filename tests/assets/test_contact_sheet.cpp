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
    // The menu frame's sky is blue at the top; the ghost sea's frame is darker.
    const uint8_t* sky = sheet.Rgba(400, 5);
    EXPECT_GT(sky[2], sky[0] + 40);
    auto meanLuma = [&](int x0, int y0) {
        double s = 0;
        for (int y = y0; y < y0 + 400; y += 4)
            for (int x = x0; x < x0 + 800; x += 4) s += sheet.Luma(x, y);
        return s / (100 * 200);
    };
    EXPECT_LT(meanLuma(800, 600), meanLuma(800, 0) - 0.15);
}

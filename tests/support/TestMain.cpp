// Every test process runs in a scratch folder of its own: ctest starts many
// processes at once from one folder, and tests write files by plain relative
// names ("face.tga", "GOManLog.txt") that another process could overwrite or
// truncate while they are being read back.
#include <gtest/gtest.h>

#include "PrivateDirectory.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    PrivateDirectory scratch;
    return RUN_ALL_TESTS();
}

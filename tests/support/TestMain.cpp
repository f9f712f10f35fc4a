// Every test process runs in a scratch folder of its own: ctest starts many
// processes at once from one folder, and tests write files by plain relative
// names ("face.tga", "GOManLog.txt") that another process could overwrite or
// truncate while they are being read back.
//
// The player's own settings and records never reach a test either: their folders are
// the scratch folder's, unless the test sets others.
#include <gtest/gtest.h>

#include <cstdlib>

#include "PrivateDirectory.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    PrivateDirectory scratch;
    setenv("XDG_CONFIG_HOME", (scratch.Path() / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch.Path() / "data").c_str(), 1);
    return RUN_ALL_TESTS();
}

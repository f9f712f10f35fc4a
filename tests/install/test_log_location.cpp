// Where the trace log goes when the working directory cannot take it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "GOManager.h"
#include "LogLocation.h"

namespace fs = std::filesystem;

namespace {

TEST(LogLocation, FolderChoice) {
    // An explicit folder wins over everything.
    EXPECT_EQ(ChooseLogFolder(true, "/var/tmp/logs", "/state", "/home/a"), "/var/tmp/logs");
    EXPECT_EQ(ChooseLogFolder(false, "logs", nullptr, nullptr), "logs");
    // A writable working directory keeps the log where it always was.
    EXPECT_EQ(ChooseLogFolder(true, "", "/state", "/home/a"), ".");
    // Otherwise the XDG state folder, when it is an absolute path ...
    EXPECT_EQ(ChooseLogFolder(false, "", "/state", "/home/a"), "/state/brinegate");
    EXPECT_EQ(ChooseLogFolder(false, "", "/state/", "/home/a"), "/state/brinegate");
    // ... or its default under HOME.
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/state"})
        EXPECT_EQ(ChooseLogFolder(false, "", unusable, "/home/a"), "/home/a/.local/state/brinegate")
            << (unusable ? unusable : "null");
    EXPECT_EQ(ChooseLogFolder(false, "", nullptr, "/home/a/"), "/home/a/.local/state/brinegate");
    // Nowhere to try.
    EXPECT_EQ(ChooseLogFolder(false, "", nullptr, nullptr), "");
    EXPECT_EQ(ChooseLogFolder(false, "", "", ""), "");
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each case starts with the log in the working directory, as after start-up.
class LogPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = fs::absolute("home-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(home_);
        ASSERT_TRUE(goManager.OpenLogAt(GOManager::kLogName));
    }
    void TearDown() override { goManager.OpenLogAt(GOManager::kLogName); }

    fs::path home_;
};

TEST_F(LogPlacement, UnwritableWorkingDirectoryMovesTheLogToTheStateFolder) {
    const std::string path = PlaceLog(false, "", nullptr, home_.c_str());
    const fs::path expected = home_ / ".local/state/brinegate/GOManLog.txt";
    ASSERT_EQ(fs::path(path), expected);
    EXPECT_EQ(fs::path(goManager.LogPath()), expected);
    EXPECT_FALSE(fs::exists(GOManager::kLogName)) << "the empty start-up file is left behind";
    goManager.Update(0.016666668f);
    EXPECT_NE(ReadText(expected).find("Finished updating"), std::string::npos);

    // XDG_STATE_HOME, when set, takes the place of ~/.local/state.
    const fs::path state = home_ / "xdg";
    EXPECT_EQ(fs::path(PlaceLog(false, "", state.c_str(), home_.c_str())), state / "brinegate/GOManLog.txt");
    EXPECT_TRUE(fs::exists(expected)) << "a log with lines in it is kept";
}

TEST_F(LogPlacement, ExplicitFolderIsCreatedAndTheWorkingDirectoryKeepsItsOwnLog) {
    const std::string nested = (home_ / "a/b/c").string();
    EXPECT_EQ(PlaceLog(true, nested, nullptr, nullptr), nested + "/GOManLog.txt");
    EXPECT_TRUE(goManager.log.IsOpen());
    EXPECT_FALSE(fs::exists(GOManager::kLogName));

    // The working directory named in full is the file the log is already in: the
    // log reopens there and must not be removed as a stray.
    ASSERT_TRUE(goManager.OpenLogAt(GOManager::kLogName));
    const fs::path here = fs::current_path();
    EXPECT_EQ(fs::path(PlaceLog(true, here.string(), nullptr, nullptr)), here / GOManager::kLogName);
    EXPECT_TRUE(fs::exists(GOManager::kLogName));
    EXPECT_EQ(PlaceLog(true, "", nullptr, nullptr), GOManager::kLogName);
    EXPECT_TRUE(goManager.log.IsOpen());
}

TEST_F(LogPlacement, WorkingDirectoryThatRefusesTheFileFallsBackToTheStateFolder) {
    // A folder where the log file should be: writable directory, file cannot be opened.
    goManager.log.Close();
    fs::remove(GOManager::kLogName);
    fs::create_directory(GOManager::kLogName);
    EXPECT_EQ(fs::path(PlaceLog(true, "", nullptr, home_.c_str())),
              home_ / ".local/state/brinegate/GOManLog.txt");
    fs::remove(GOManager::kLogName);
}

TEST_F(LogPlacement, NoWritablePlaceTurnsLoggingOffWithOneLine) {
    // A regular file where folders would have to be made: nothing can be created below it.
    const fs::path blocker = home_ / "not-a-folder";
    std::ofstream(blocker) << "x";
    for (const std::string& option : {std::string(), (blocker / "logs").string()}) {
        ASSERT_TRUE(goManager.OpenLogAt(GOManager::kLogName));
        testing::internal::CaptureStderr();
        EXPECT_EQ(PlaceLog(false, option, (blocker / "state").c_str(), blocker.c_str()), "");
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(goManager.log.IsOpen());
        EXPECT_FALSE(fs::exists(GOManager::kLogName)) << "an empty log is left in the working directory";
        goManager.Update(0.016666668f);  // runs on without a log
    }
}

}  // namespace

// Where the trace log goes when the working directory cannot take it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/LogLocation.h"
#include "objects/GOManager.h"

namespace fs = std::filesystem;

namespace {

TEST(LogLocation, FolderChoice) {
    EXPECT_EQ(ChooseLogFolder(true, "/var/logs", "/state", "/home/a"), "/var/logs");
    EXPECT_EQ(ChooseLogFolder(false, "logs", nullptr, nullptr), "logs");
    EXPECT_EQ(ChooseLogFolder(true, "", "/state", "/home/a"), ".");
    EXPECT_EQ(ChooseLogFolder(false, "", "/state/", "/home/a"), "/state/brinegate");
    // An unset, empty or relative XDG_STATE_HOME falls back to its default under HOME.
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative"})
        EXPECT_EQ(ChooseLogFolder(false, "", xdg, "/home/a/"), "/home/a/.local/state/brinegate");
    EXPECT_EQ(ChooseLogFolder(false, "", nullptr, ""), "");
}

std::string ReadText(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Each case starts with the log in the working directory, as after start-up.
class LogPlacement : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = fs::absolute(testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(home_);
        ASSERT_TRUE(goManager.OpenLogAt(GOManager::kLogName));
    }
    void TearDown() override { goManager.OpenLogAt(GOManager::kLogName); }

    fs::path home_;
};

TEST_F(LogPlacement, LogMovesToTheStateFolderOrTheChosenOneLeavingNoEmptyFileBehind) {
    const fs::path state = home_ / ".local/state/brinegate/GOManLog.txt";
    EXPECT_EQ(fs::path(PlaceLog(false, "", nullptr, home_.c_str())), state);
    EXPECT_EQ(fs::path(goManager.LogPath()), state);
    EXPECT_FALSE(fs::exists(GOManager::kLogName));
    goManager.Update(0.016666668f);
    EXPECT_NE(ReadText(state).find("Finished updating"), std::string::npos);

    // An explicit folder is made with its parents; a log with lines in it is kept.
    const fs::path nested = home_ / "a/b";
    EXPECT_EQ(fs::path(PlaceLog(true, nested.string(), nullptr, nullptr)), nested / "GOManLog.txt");
    EXPECT_TRUE(fs::exists(state));

    // The working directory named in full is the file the log is already in: not a stray.
    ASSERT_TRUE(goManager.OpenLogAt(GOManager::kLogName));
    EXPECT_EQ(fs::path(PlaceLog(true, fs::current_path().string(), nullptr, nullptr)),
              fs::current_path() / GOManager::kLogName);
    EXPECT_TRUE(fs::exists(GOManager::kLogName));

    // A working directory that refuses the file itself (a folder in its place).
    goManager.log.Close();
    fs::remove(GOManager::kLogName);
    fs::create_directory(GOManager::kLogName);
    const fs::path xdg = home_ / "xdg";
    EXPECT_EQ(fs::path(PlaceLog(true, "", xdg.c_str(), nullptr)), xdg / "brinegate/GOManLog.txt");
    fs::remove(GOManager::kLogName);
}

TEST_F(LogPlacement, NoWritablePlaceTurnsLoggingOffWithOneLine) {
    // A regular file where folders would have to be made.
    const fs::path blocker = home_ / "not-a-folder";
    std::ofstream(blocker) << "x";
    for (const std::string& option : {std::string(), (blocker / "logs").string()}) {
        ASSERT_TRUE(goManager.OpenLogAt(GOManager::kLogName));
        testing::internal::CaptureStderr();
        EXPECT_EQ(PlaceLog(false, option, nullptr, blocker.c_str()), "");
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(goManager.log.IsOpen());
        EXPECT_FALSE(fs::exists(GOManager::kLogName)) << "empty log left in the working directory";
        goManager.Update(0.016666668f);
    }
}

TEST_F(LogPlacement, ALogHeldByAnotherGameIsLeftIntactAndThisGameWritesItsOwn) {
    goManager.log.Close();
    TraceLog first, second;
    ASSERT_TRUE(first.Open(GOManager::kLogName));
    first.Line("first game's line");
    first.Flush();
    EXPECT_TRUE(!second.Open(GOManager::kLogName) && second.Busy());
    const fs::path own =
        home_ / ".local/state/brinegate" / ("GOManLog." + std::to_string(getpid()) + ".txt");
    testing::internal::CaptureStderr();
    EXPECT_EQ(fs::path(PlaceLog(true, "", nullptr, home_.c_str())), own);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    goManager.Update(0.016666668f);
    EXPECT_NE(ReadText(own).find("Finished updating"), std::string::npos);
    EXPECT_EQ(ReadText(GOManager::kLogName), "first game's line\n");
}

}  // namespace

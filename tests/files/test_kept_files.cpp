// What the game keeps for the player (settings, records, recordings, the trace log) is
// never written over unless it was read whole, never waited on, and never cut before its
// replacement is whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FakePlatform.h"
#include "GlTestContext.h"
#include "ScriptedPlatform.h"
#include "app/LogLocation.h"
#include "app/Program.h"
#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "play/Game.h"
#include "store/Records.h"
#include "store/Settings.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// What a path is, as far as a save could change it: its type, and a file's bytes.
std::string Describe(const fs::path& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return "nothing";
    if (S_ISLNK(st.st_mode)) return "link to " + fs::read_symlink(path).string();
    return S_ISREG(st.st_mode) ? "file " + Slurp(path) : "type " + std::to_string(st.st_mode & S_IFMT);
}

// A run's use of its settings or records: read, change, and save only when the file may
// be written over. 1: saved, 0: kept off (naming why), 2 or 3: wrong.
int UseAndSave(const std::string& path, bool records) {
    std::ostringstream warnings;
    std::string why, error;
    Settings settings = records ? Settings() : Settings::Load(path, warnings, &why);
    Records kept = records ? Records::Load(path, warnings, true, &why) : Records();
    settings.musicVolume = 7;
    kept.Finish(GameRecord{3, 0, 0, 0, 0});
    if (!why.empty()) return warnings.str().find(why) != std::string::npos ? 0 : 3;
    return (records ? kept.Save(path, error) : settings.Save(path, error)) ? 1 : 2;
}

TEST(KeptFiles, OddSettingsAndRecordsPathsAreNeverChangedExceptThroughALink) {
    const char* kinds[] = {"too large", "unreadable", "fifo", "device", "symlink", "folder"};
    for (const bool records : {false, true}) {
        for (const std::string kind : kinds) {
            const fs::path dir = fs::absolute((records ? "records " : "settings ") + kind);
            fs::create_directories(dir);
            fs::permissions(dir, fs::perms::all);  // an ordinary user could write a new file here
            std::string path = (dir / (records ? "records.ini" : "settings.ini")).string();
            const std::string text = records ? "[best]\nlevel = 1\n" : "[sound]\nmusic = 3\n";
            if (kind == "too large") Put(path, std::string(300 * 1024, '#'));
            if (kind == "unreadable") Put(path, text), chmod(path.c_str(), 0);
            if (kind == "fifo") mkfifo(path.c_str(), 0600);
            if (kind == "device") path = "/dev/null";
            if (kind == "symlink") Put(dir / "real.ini", text), fs::create_symlink("real.ini", path);
            if (kind == "folder") fs::create_directory(path);
            const std::string before = Describe(path), label = path + " (" + kind + ")";
            int result = 0;
            if (kind == "unreadable") {
                // Root reads anything: the run that cannot read it leaves root first.
                const pid_t child = fork();
                if (child == 0) _exit(geteuid() == 0 && (setgid(65534) || setuid(65534)) ? 9 : UseAndSave(path, records));
                waitpid(child, &result, 0);
                result = WIFEXITED(result) ? WEXITSTATUS(result) : 8;
            } else {
                result = UseAndSave(path, records);
            }
            if (records && kind == "too large") {  // damaged records: set aside whole, then replaced
                EXPECT_EQ(result, 1);
                EXPECT_EQ(Describe(path + ".bad"), before);
                continue;
            }
            EXPECT_EQ(result, kind == "symlink" ? 1 : 0) << label;
            EXPECT_EQ(Describe(path), before) << label;
            if (kind == "symlink") {
                EXPECT_NE(Slurp(dir / "real.ini").find(records ? "level = 3" : "music = 7"), std::string::npos);
            }
            // The writer itself refuses what is not a file, if asked anyway.
            std::string error;
            if (kind == "fifo" || kind == "device" || kind == "folder") {
                EXPECT_FALSE((records ? Records().Save(path, error) : Settings().Save(path, error)) ||
                             Describe(path) != before) << label;
            }
        }
    }
}

TEST(KeptFiles, RecordsThatCannotBeSetAsideAreLeftAloneAndTwoGamesKeepTheBestOfBoth) {
    fs::create_directories("taken");
    const std::string path = fs::absolute("taken/records.ini").string();
    Put(path, "[best]\nlevel = x\n");
    for (int n = 1; n < 100; ++n) Put(path + ".bad" + (n == 1 ? "" : "." + std::to_string(n)), "");
    std::ostringstream warnings;
    std::string why;
    Records::Load(path, warnings, true, &why);
    EXPECT_NE(why.find("is taken"), std::string::npos) << why;
    EXPECT_NE(warnings.str().find("stays as it is at " + path), std::string::npos) << warnings.str();
    EXPECT_EQ(Slurp(path), "[best]\nlevel = x\n");

    // Two games at once: this one read no records; the other ended meanwhile with 100 gold.
    fs::create_directories("two");
    Records mine = Records::Load("two/records.ini", warnings, true), theirs;
    theirs.Finish(GameRecord{1, 0, 0, 100, 0});
    mine.Finish(GameRecord{2, 0, 0, 5, 0});
    std::string error;
    ASSERT_TRUE(theirs.Save("two/records.ini", error) && mine.Save("two/records.ini", error)) << error;
    const Records kept = Records::Load("two/records.ini", warnings, false);
    EXPECT_EQ(kept.best, (GameRecord{2, 0, 0, 100, 0}));
    EXPECT_EQ(kept.last, (GameRecord{2, 0, 0, 5, 0}));
}

// --- whole runs ----------------------------------------------------------------------

TEST(KeptRuns, PipesAsTheTraceLogOrTheRecordingAreRefusedInOneLineWithoutWaiting) {
    // Nothing ever opens the other ends: a wait would hang the test.
    fs::create_directories("pipes");
    ASSERT_EQ(mkfifo("pipes/GOManLog.txt", 0600) | mkfifo("pipes/run.rec", 0600), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(PlaceLog(false, "pipes", nullptr, nullptr), "");
    Options options;
    options.recordPath = "pipes/run.rec";
    FakePlatform platform;
    EXPECT_EQ(Program(platform, options).Run(), kUsageStatus);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "brinegate: cannot write the trace log in \"pipes\" (it is a pipe); running without it\n"
              "brinegate: pipes/run.rec: cannot be written: it is a pipe\n");
    goManager.OpenLogAt(GOManager::kLogName);
}

TEST(KeptRuns, AFailedStartKeepsTheOldRecordingAndTraceLog) {
    fs::create_directories("failed");
    const std::string old = "brinegate-recording 2\nseed 1\nkeys 65 68 82 32 77 80\nend 0\n";
    Put("failed/run.rec", old);
    Put("failed/GOManLog.txt", "the last game's log\n");
    ASSERT_TRUE(goManager.OpenLogAt("failed/GOManLog.txt"));  // as the entry point places it
    FakePlatform platform;
    platform.windowOk = false;
    Options record, replay;
    record.recordPath = "failed/run.rec";
    replay.replayPath = "failed/missing.rec";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Program(platform, record).Run(), 1);
    EXPECT_EQ(Program(platform, replay).Run(), kUsageStatus);
    ::testing::internal::GetCapturedStderr();
    goManager.log.Close();  // as at the process's end
    EXPECT_EQ(Slurp("failed/run.rec"), old);
    EXPECT_EQ(Slurp("failed/GOManLog.txt"), "the last game's log\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("failed"), fs::directory_iterator()), 2) << "a stray file left";
    goManager.OpenLogAt(GOManager::kLogName);
}

// The second run ends as a closed terminal ends it (SIGHUP): as a closed window, records kept.
TEST(KeptRuns, TwoRunsInOneProcessEachStartTheShopAtItsOwnPricesAndAHangUpKeepsTheRecords) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    int32_t seenAtStart[2] = {-1, -1};
    for (int run = 0; run < 2; ++run) {
        ScriptedPlatform platform;
        int seenAt = 0;
        platform.step = [&](ScriptedPlatform& p, int frame) {
            Game* game = Program::RunningGame();
            if (frame == 5) p.Click(Vec2(200, 200));  // "Play!"
            if (frame > 600) p.Post(WM_CLOSE);
            if (seenAt > 0 && frame == seenAt + 60) run == 0 ? p.Post(WM_CLOSE) : (void)raise(SIGHUP);
            if (seenAtStart[run] >= 0 || game->phase != Game::kPlaying || game->towers.Empty()) return;
            seenAtStart[run] = game->prices.speed;
            seenAt = frame;
            for (auto it = game->towers.Begin(); !it.AtEnd(); ++it) EXPECT_EQ((*it)->prices, &game->prices);
            game->prices.speed = 15;  // as after two purchases
        };
        std::remove(Records::DefaultPath().c_str());
        Options options;
        options.recordPath = "two-runs.rec";
        EXPECT_EQ(Program(platform, options).Run(), 0);
        EXPECT_LT(platform.frame, 600);
    }
    EXPECT_EQ(seenAtStart[0], ShopPrices::kStart);
    EXPECT_EQ(seenAtStart[1], ShopPrices::kStart) << "the second game starts at its own prices";
    EXPECT_NE(Slurp("two-runs.rec").find("\nreleases queued\n"), std::string::npos);
    std::ostringstream warnings;
    EXPECT_TRUE(Records::Load(Records::DefaultPath(), warnings, false).last.Played()) << warnings.str();
}

}  // namespace

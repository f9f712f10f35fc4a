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
#include <functional>
#include <sstream>
#include <string>

#include "FakePlatform.h"
#include "GOManager.h"
#include "Game.h"
#include "GlTestContext.h"
#include "LogLocation.h"
#include "Program.h"
#include "Recording.h"
#include "Records.h"
#include "ScriptedPlatform.h"
#include "Settings.h"
#include "Tower.h"
#include "WholeFile.h"

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
    if (S_ISREG(st.st_mode)) return "file " + Slurp(path);
    return "type " + std::to_string(st.st_mode & S_IFMT);
}

// Runs `body` in a child process that cannot read a mode-000 file: as root (as tests
// often run) only by leaving root. Returns the child's exit status.
int AsOrdinaryUser(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(99);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// What a run does with its settings: read them, and after a change write them only when
// the file may be written over. Returns 0 when it kept off, 1 when it wrote, 2 on a failed write.
int SettingsRun(const std::string& path) {
    std::ostringstream warnings;
    std::string why, error;
    Settings settings = Settings::Load(path, warnings, &why);
    settings.musicVolume = 7;
    if (!why.empty()) return warnings.str().find(why) != std::string::npos ? 0 : 3;
    return settings.Save(path, error) ? 1 : 2;
}

int RecordsRun(const std::string& path) {
    std::ostringstream warnings;
    std::string why, error;
    Records records = Records::Load(path, warnings, true, &why);
    GameRecord game;
    game.level = 3;
    records.Finish(game);
    if (!why.empty()) return warnings.str().find(why) != std::string::npos ? 0 : 3;
    return records.Save(path, error) ? 1 : 2;
}

TEST(KeptFiles, OddSettingsAndRecordsPathsAreNeverChangedExceptThroughALink) {
    struct Case {
        const char* name;
        // Makes what stands at `path`; returns the path to hand the game.
        std::function<std::string(const fs::path& path)> make;
        bool written;  // a save goes through (to the file the link names)
    };
    const std::string bigText(300 * 1024, '#');
    const Case cases[] = {
        {"too large", [&](const fs::path& p) { Put(p, bigText); return p.string(); }, false},
        {"unreadable", [](const fs::path& p) { Put(p, "[sound]\nmusic = 3\n"); chmod(p.c_str(), 0); return p.string(); }, false},
        {"fifo", [](const fs::path& p) { mkfifo(p.c_str(), 0600); return p.string(); }, false},
        {"device", [](const fs::path&) { return std::string("/dev/null"); }, false},
        {"symlink", [](const fs::path& p) {
             const bool records = p.filename() == "records.ini";
             Put(p.parent_path() / "real.ini", records ? "[best]\nlevel = 1\n" : "[sound]\nmusic = 3\n");
             fs::create_symlink("real.ini", p);
             return p.string(); }, true},
        {"folder", [](const fs::path& p) { fs::create_directory(p); return p.string(); }, false},
    };
    for (const bool records : {false, true}) {
        for (const Case& c : cases) {
            const fs::path dir = fs::absolute(std::string("odd-") + (records ? "records-" : "settings-") + c.name);
            fs::create_directories(dir);
            fs::permissions(dir, fs::perms::all);  // an ordinary user could write a new file here
            const std::string path = c.make(dir / (records ? "records.ini" : "settings.ini"));
            const std::string before = Describe(path), target = Describe(dir / "real.ini");
            const auto run = [&] { return records ? RecordsRun(path) : SettingsRun(path); };
            const int result = std::string(c.name) == "unreadable" ? AsOrdinaryUser(run) : run();
            const std::string label = std::string(records ? "records, " : "settings, ") + c.name;
            // A too-large records file is damaged records: set aside whole, then replaced.
            if (records && std::string(c.name) == "too large") {
                EXPECT_EQ(result, 1) << label;
                EXPECT_EQ(Describe(path + ".bad"), before) << label;
                continue;
            }
            EXPECT_EQ(result, c.written ? 1 : 0) << label;
            EXPECT_EQ(Describe(path), before) << label;
            if (c.written) {
                EXPECT_NE(Describe(dir / "real.ini"), target) << label << ": the file the link names is replaced";
                EXPECT_NE(Slurp(dir / "real.ini").find(records ? "level = 3" : "music = 7"), std::string::npos);
            }
            // A save asked for anyway is refused by the writer for what is not a file.
            std::string error;
            if (!c.written && std::string(c.name) != "too large" && std::string(c.name) != "unreadable") {
                EXPECT_FALSE(records ? Records().Save(path, error) : Settings().Save(path, error)) << label;
                EXPECT_NE(error.find("it is a"), std::string::npos) << label << ": " << error;
                EXPECT_EQ(Describe(path), before) << label;
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
    const std::string shared = "two/records.ini";
    Records mine = Records::Load(shared, warnings, true);
    Records theirs;
    GameRecord rich;
    rich.level = 1;
    rich.gold = 100;
    theirs.Finish(rich);
    std::string error;
    ASSERT_TRUE(theirs.Save(shared, error)) << error;
    GameRecord poor;
    poor.level = 2;
    mine.Finish(poor);
    ASSERT_TRUE(mine.Save(shared, error)) << error;
    const Records kept = Records::Load(shared, warnings, false);
    EXPECT_EQ(kept.best.gold, 100);
    EXPECT_EQ(kept.best.level, 2);
    EXPECT_EQ(kept.last, poor);
}

TEST(KeptFiles, StaleTemporaryFilesOfGoneRunsAreRemovedAndLiveOnesKept) {
    fs::create_directories("stale");
    const std::string gone = "stale/.settings.ini.999999999.AbCdEf";  // past any pid
    const std::string live = "stale/.settings.ini." + std::to_string(getpid()) + ".AbCdEf";
    const std::string old = "stale/.settings.ini.AbCdEf";  // named by an earlier build
    const std::string fresh = "stale/.settings.ini.XyZxYz";
    for (const std::string& f : {gone, live, old, fresh}) Put(f, "partial");
    fs::last_write_time(old, fs::file_time_type::clock::now() - std::chrono::hours(1));
    WholeFile::RemoveStale("stale/settings.ini");
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(live)) << "a run still writing it";
    EXPECT_TRUE(fs::exists(fresh)) << "perhaps an earlier build's run still writing it";
}

TEST(KeptFiles, RecordingsNameTheirInputRule) {
    const std::string head = "brinegate-recording 2\nseed 1\nkeys 65 68 82 32 77 80\n";
    const std::string tail = "m 1 514 0 0\nend 2\n";
    for (const bool queued : {false, true}) {
        std::istringstream in(head + (queued ? "releases queued\n" : "") + tail);
        Recording r;
        std::string error;
        ASSERT_TRUE(ParseRecording(in, "r", r, error)) << error;
        EXPECT_EQ(r.everyRelease, queued);
    }
    std::istringstream late(head + "m 1 514 0 0\nreleases queued\nend 2\n");
    Recording r;
    std::string error;
    EXPECT_FALSE(ParseRecording(late, "r", r, error));
    EXPECT_NE(error.find("out of place"), std::string::npos) << error;
}

// --- whole runs ----------------------------------------------------------------------

TEST(KeptRuns, PipesAsTheTraceLogOrTheRecordingAreRefusedInOneLineWithoutWaiting) {
    fs::create_directories("pipes/state");
    ASSERT_EQ(mkfifo("pipes/GOManLog.txt", 0600), 0);
    ASSERT_EQ(mkfifo("pipes/run.rec", 0600), 0);
    // Nothing ever opens the other ends: a wait would hang the test.
    ::testing::internal::CaptureStderr();
    const std::string placed = PlaceLog(false, "pipes", nullptr, nullptr);
    const std::string logErr = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(placed.empty());
    EXPECT_EQ(logErr, "brinegate: cannot write the trace log in \"pipes\" (it is a pipe); running without it\n");

    Options options;
    options.recordPath = "pipes/run.rec";
    FakePlatform platform;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Program(platform, options).Run(), kUsageStatus);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "brinegate: pipes/run.rec: cannot be written: it is a pipe\n");
    EXPECT_EQ(platform.swaps, 0);
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
    Options options;
    options.recordPath = "failed/run.rec";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Program(platform, options).Run(), 1);
    // A refused replay fails before the window.
    Options replay;
    replay.replayPath = "failed/missing.rec";
    EXPECT_EQ(Program(platform, replay).Run(), kUsageStatus);
    ::testing::internal::GetCapturedStderr();
    goManager.log.Close();  // as at the process's end
    EXPECT_EQ(Slurp("failed/run.rec"), old);
    EXPECT_EQ(Slurp("failed/GOManLog.txt"), "the last game's log\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("failed"), fs::directory_iterator()), 2)
        << "no temporary file, no empty log left";
    goManager.OpenLogAt(GOManager::kLogName);
}

TEST(KeptRuns, TwoRunsInOneProcessEachStartTheShopAtItsOwnPricesAndRecordTheInputRule) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    int32_t seenAtStart[2] = {-1, -1};
    for (int run = 0; run < 2; ++run) {
        ScriptedPlatform platform;
        platform.step = [&](ScriptedPlatform& p, int frame) {
            Game* game = Program::RunningGame();
            if (frame == 5) p.Click(Vec2(200, 200));  // "Play!"
            if (frame > 600) p.Post(WM_CLOSE);
            if (frame > 5 && seenAtStart[run] < 0 && game->phase == Game::kPlaying && !game->towers.Empty()) {
                seenAtStart[run] = game->prices.speed;
                for (auto it = game->towers.Begin(); !it.AtEnd(); ++it)
                    EXPECT_EQ((*it)->prices, &game->prices) << "a tower's panel sells at its game's prices";
                game->prices.speed = 15;  // as after two purchases
                p.Post(WM_CLOSE);
            }
        };
        Options options;
        options.recordPath = "two-runs.rec";
        EXPECT_EQ(Program(platform, options).Run(), 0);
    }
    EXPECT_EQ(seenAtStart[0], ShopPrices::kStart);
    EXPECT_EQ(seenAtStart[1], ShopPrices::kStart) << "the second game starts at its own prices";
    EXPECT_NE(Slurp("two-runs.rec").find("\nreleases queued\n"), std::string::npos);
}

TEST(KeptRuns, AClosedTerminalEndsTheGameAsClosingTheWindowDoesKeepingItsRecords) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    const std::string records = Records::DefaultPath();
    std::remove(records.c_str());
    ScriptedPlatform platform;
    platform.step = [](ScriptedPlatform& p, int frame) {
        if (frame == 5) p.Click(Vec2(200, 200));  // "Play!"
        if (frame == 120) raise(SIGHUP);
        if (frame > 600) p.Post(WM_CLOSE);
    };
    EXPECT_EQ(Program(platform).Run(), 0);
    EXPECT_EQ(platform.frame, 120) << "no frame after the hang-up";
    std::ostringstream warnings;
    EXPECT_TRUE(Records::Load(records, warnings, false).last.Played()) << warnings.str();
}

}  // namespace

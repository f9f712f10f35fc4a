// Kept recordings, made by an earlier build with make_golden, replay to the digest they
// recorded and write a trace log with the same bytes: the same input still gives the
// same game. Each recording runs in a process of its own, as a player's replay does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DigestRun.h"
#include "GlTestContext.h"
#include "ScriptedPlay.h"
#include "play/StateDigest.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> KeptRecordings() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(BRINEGATE_GOLDEN_DIR))
        if (entry.path().extension() == ".rec") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ReplaysToItsDigestAndTraceLog) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    gltest::UseDataFolder();
    const fs::path kept = fs::path(BRINEGATE_GOLDEN_DIR) / GetParam();
    Options replay;
    replay.replayPath = kept.string() + ".rec";
    ScriptedPlatform platform;
    int status = -1;
    Digest(replay, platform, status);
    EXPECT_EQ(status, 0) << "1: the replay missed the digest the recording keeps";

    Fnv1a hash;
    const std::string log = ReadAll("GOManLog.txt");
    hash.Add(log.data(), log.size());
    std::string expected = ReadAll(kept.string() + ".trace");
    expected.erase(expected.find_last_not_of("\n") + 1);
    EXPECT_EQ(FormatDigest(hash.Value()), expected) << "the trace log differs from the recorded build's";
}

INSTANTIATE_TEST_SUITE_P(Kept, Golden, ::testing::ValuesIn(KeptRecordings()),
                         [](const auto& info) { return info.param; });

}  // namespace

// The command line: what each option sets, and what is refused (status 2, a message
// and the usage on stderr, nothing on stdout).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Options.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "brinegate");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, OptionsSetTheirValuesAndNothingElse) {
    const CommandLine none = Parse({});
    EXPECT_FALSE(none.exit);
    EXPECT_TRUE(none.out.empty() && none.err.empty());
    const Options& d = none.options;
    EXPECT_FALSE(d.fullscreen || d.noSound || d.hasSeed || d.unpaced || d.printDigest);
    EXPECT_EQ(d.frames, 0u);
    EXPECT_TRUE(d.logDir.empty() && d.recordPath.empty() && d.replayPath.empty());

    const CommandLine all = Parse({"--fullscreen", "--no-sound", "--seed", "4294967295", "--log-dir", "logs",
                                   "--record", "run.txt", "--frames=12", "--unpaced", "--print-digest"});
    ASSERT_FALSE(all.exit) << all.err;
    const Options& o = all.options;
    EXPECT_TRUE(o.fullscreen && o.noSound && o.unpaced && o.printDigest);
    EXPECT_TRUE(o.hasSeed);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.logDir, "logs");
    EXPECT_EQ(o.recordPath, "run.txt");
    EXPECT_EQ(o.frames, 12u);
    EXPECT_TRUE(o.replayPath.empty());

    const CommandLine zeroSeed = Parse({"--replay", "run.txt"});
    EXPECT_EQ(zeroSeed.options.replayPath, "run.txt");
    EXPECT_FALSE(zeroSeed.options.hasSeed) << "a replay takes the recording's seed";
    EXPECT_TRUE(Parse({"--seed", "0"}).options.hasSeed) << "seed 0 is a seed, not its absence";
}

TEST(CommandLine, HelpAndVersionPrintAndEndWell) {
    const CommandLine help = Parse({"--help"});
    EXPECT_TRUE(help.exit);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.empty());
    for (const char* option : {"--fullscreen", "--no-sound", "--seed", "--log-dir", "--record", "--replay",
                               "--frames", "--unpaced", "--print-digest", "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    const CommandLine version = Parse({"--version"});
    EXPECT_TRUE(version.exit);
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find(kBrinegateVersion), std::string::npos) << version.out;
}

TEST(CommandLine, UnusableArgumentsAreRefusedWithTheUsage) {
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"},
        {"stray"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--seed", "ten"},
        {"--frames", "0"},
        {"--frames", "-5"},
        {"--frames"},
        {"--record", "a", "--replay", "b"},
        {"--seed", "3", "--replay", "b"},
        {"--record", ""},
        {"--unpaced=maybe"},
    };
    for (const auto& args : bad) {
        const CommandLine r = Parse(args);
        std::string shown;
        for (const char* a : args) shown += std::string(a) + " ";
        EXPECT_TRUE(r.exit) << shown;
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_TRUE(r.out.empty()) << shown;
        EXPECT_EQ(r.err.rfind("brinegate: ", 0), 0u) << shown << r.err;
        EXPECT_NE(r.err.find("--print-digest"), std::string::npos) << "usage follows: " << shown;
    }
    EXPECT_NE(Parse({"--bogus"}).err.find("--bogus"), std::string::npos) << "the message names the culprit";
}

}  // namespace

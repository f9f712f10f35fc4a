// The command line: what each option sets, help and version, and what is refused
// (status 2, a message and the usage on stderr).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Options.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "brinegate");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, ValuesHelpAndVersion) {
    const Options none = Parse({}).options;
    EXPECT_FALSE(none.fullscreen || none.noSound || none.hasSeed || none.unpaced || none.printDigest);
    EXPECT_EQ(none.frames, 0u);

    const CommandLine all = Parse({"--fullscreen", "--no-sound", "--seed", "4294967295", "--log-dir", "logs",
                                   "--record", "run.txt", "--frames=12", "--unpaced", "--print-digest"});
    ASSERT_FALSE(all.exit) << all.err;
    const Options& o = all.options;
    EXPECT_TRUE(o.fullscreen && o.noSound && o.unpaced && o.printDigest && o.hasSeed);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.logDir + o.recordPath + o.replayPath, "logsrun.txt");
    EXPECT_EQ(o.frames, 12u);
    EXPECT_TRUE(Parse({"--seed", "0"}).options.hasSeed) << "seed 0 is a seed, not its absence";
    EXPECT_EQ(Parse({"--replay", "r"}).options.replayPath, "r");
    EXPECT_TRUE(!none.hasVsync && Parse({"--vsync", "OFF"}).options.vsync == Vsync::kOff);

    const CommandLine help = Parse({"--help"}), version = Parse({"--version"});
    EXPECT_TRUE(help.exit && version.exit);
    EXPECT_EQ(help.status + version.status, 0);
    EXPECT_NE(help.out.find("--print-digest"), std::string::npos);
    std::istringstream usage(help.out);
    for (std::string line; std::getline(usage, line);)  // each option's description on its line
        EXPECT_TRUE(line.rfind("  -", 0) != 0 || line.find("  ", 2) != std::string::npos) << line;
    EXPECT_NE(version.out.find(kBrinegateVersion), std::string::npos);
}

TEST(CommandLine, UnusableArgumentsAreRefusedWithTheUsage) {
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"}, {"stray"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--seed", "ten"},
        {"--frames", "0"}, {"--frames", "-5"}, {"--frames"}, {"--frames", "18446744073709551616"}, {"--record", "a", "--replay", "b"},
        {"--seed", "3", "--replay", "b"}, {"--record", ""}, {"--unpaced=maybe"}, {"--vsync", "no"}};
    for (const auto& args : bad) {
        const CommandLine r = Parse(args);
        const std::string shown = std::string(args[0]) + (args.size() > 1 ? std::string(" ") + args[1] : "");
        EXPECT_TRUE(r.exit) << shown;
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_TRUE(r.out.empty()) << shown;
        EXPECT_EQ(r.err.rfind("brinegate: ", 0), 0u) << shown << r.err;
        EXPECT_NE(r.err.find("--print-digest"), std::string::npos) << "usage follows: " << shown;
    }
    EXPECT_NE(Parse({"--bogus"}).err.find("--bogus"), std::string::npos) << "the message names the culprit";
    EXPECT_EQ(Parse({"--frames", "18446744073709551615"}).options.frames, UINT64_MAX);
    // Numbers are decimal however written: the parser underneath reads a leading 0 as octal.
    EXPECT_EQ(Parse({"--frames", "010"}).options.frames, 10u);
    EXPECT_EQ(Parse({"--seed=0009"}).options.seed, 9u);
    EXPECT_EQ(Parse({"--frames", "000"}).status, 2);
}

}  // namespace

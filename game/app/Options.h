#pragma once

#include <cstdint>
#include <string>

#include "FramePacer.h"

// What the command line asks of a run.
struct Options {
    bool fullscreen = false;
    bool noSound = false;
    bool hasSeed = false;
    uint32_t seed = 0;
    std::string logDir;      // empty: the usual place
    std::string configPath;  // empty: the usual settings file
    std::string recordPath;  // empty: no recording
    std::string replayPath;  // empty: live input
    uint64_t frames = 0;     // 0: no limit
    bool unpaced = false;
    bool printDigest = false;
    bool hasVsync = false;  // false: the settings file's choice
    Vsync vsync = Vsync::kAuto;
};

// The outcome of reading the command line: either options to run with, or an exit
// status with the text to show (help and version on stdout, errors on stderr).
struct CommandLine {
    Options options;
    bool exit = false;
    int status = 0;
    std::string out;
    std::string err;
};

constexpr const char* kBrinegateVersion = "1.0.0";
// Exit status for a command line, or a file named on it, that cannot be used.
constexpr int kUsageStatus = 2;

// Reads argv without side effects.
CommandLine ParseCommandLine(int argc, const char* const* argv);

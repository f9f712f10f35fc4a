#pragma once

// Runs the program unpaced and returns the digest line it printed, with its status.
#include <gtest/gtest.h>

#include <string>

#include "Platform.h"
#include "app/Options.h"
#include "app/Program.h"

inline std::string Digest(Options options, Platform& platform, int& status) {
    options.unpaced = options.printDigest = true;
    ::testing::internal::CaptureStdout();
    status = Program(platform, options).Run();
    const std::string printed = ::testing::internal::GetCapturedStdout();
    return printed.substr(0, printed.find('\n'));
}

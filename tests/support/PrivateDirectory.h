// Runs a test inside a directory of its own. ctest runs many test processes at
// once from one folder, and every one of them writes "GOManLog.txt" there; a
// test that reads the log back must not see another process's lines.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class PrivateDirectory {
public:
    PrivateDirectory() {
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "brinegate-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~PrivateDirectory() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

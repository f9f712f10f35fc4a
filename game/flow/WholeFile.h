#pragma once

#include <cstddef>
#include <string>

// Small files the game keeps for the player, read and written whole.
class WholeFile {
public:
    static constexpr const char* kTooLarge = "too large";
    // Writes `text` to a temporary file beside `path` and renames it over the old one,
    // so a crash leaves either the old file or the new one. Creates the folder. On
    // failure returns false with `error` naming the path and the reason.
    static bool Write(const std::string& path, const std::string& text, std::string& error);
    // Reads a regular file of at most `maxBytes`. False with `why` empty when there is
    // no file, kTooLarge when it is larger, else with the reason.
    static bool Read(const std::string& path, size_t maxBytes, std::string& text, std::string& why);
};

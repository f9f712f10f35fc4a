#pragma once

#include <string>

// Small files the game keeps for the player, written whole (DataFile reads them).
class WholeFile {
public:
    // Writes `text` to a temporary file beside `path` and renames it over the old one,
    // so a crash leaves either the old file or the new one. Creates the folder. On
    // failure returns false with `error` naming the path and the reason.
    static bool Write(const std::string& path, const std::string& text, std::string& error);
};

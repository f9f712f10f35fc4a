#pragma once

#include <string>

// Small files the game keeps for the player, written whole (DataFile reads them).
// Only a regular file, or a name where there is none, is ever written over: a pipe,
// a device or a folder named like one of them is left alone. A symbolic link is
// followed, so the file it names is replaced and the link stays.
class WholeFile {
public:
    // Writes `text` to a temporary file beside the target and renames it over the old
    // one, so a crash leaves either the old file or the new one. Creates the folder. On
    // failure returns false with `error` naming the path and the reason.
    static bool Write(const std::string& path, const std::string& text, std::string& error);

    // The file a write of `path` replaces: `path`, or the end of its chain of symbolic
    // links (which may not exist yet).
    static std::string Target(const std::string& path);
    // Empty when `target` may be written over (a regular file, or nothing there);
    // otherwise the reason ("it is a pipe").
    static std::string Unwritable(const std::string& target);

    // Creates an empty temporary file beside `target` for a writer that renames it over
    // the target when done (its folder is created when `makeFolder`). Returns the descriptor, or -1 with
    // `error` holding the reason. The name carries this process's id, so RemoveStale can
    // tell a file of a run that is gone from one still being written.
    static int CreateTemporary(const std::string& target, std::string& temporary, std::string& error,
                               bool makeFolder = true);
    // Removes what CreateTemporary left beside `target` in runs that were killed before
    // they could rename or remove it.
    static void RemoveStale(const std::string& target);
};

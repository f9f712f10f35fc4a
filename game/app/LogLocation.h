#pragma once

#include <string>

// Where the object manager's trace log goes. The manager opens "GOManLog.txt" in the
// working directory when the program starts; an installed game is often started from
// a folder it may not write (a launcher's "/", a read-only share), and the log then
// moves to the user's state folder instead.

// The folder for the log, or an empty string when there is none to try:
// - `logDirOption` (the --log-dir value) when given, whatever else holds;
// - "." when the working directory can be written;
// - "$XDG_STATE_HOME/brinegate" when that variable is an absolute path;
// - "$HOME/.local/state/brinegate" otherwise, when HOME is set.
// Null or empty variables count as unset, and so does a relative XDG_STATE_HOME.
std::string ChooseLogFolder(bool workingDirWritable, const std::string& logDirOption,
                            const char* xdgStateHome, const char* home);

// Moves the manager's log to the chosen folder, creating it (and its parents) when
// needed. When the working directory does not take the log after all, the state
// folder is tried next; an explicit folder that fails is not replaced by another.
// When the file is busy (another game holds it), the log goes to the user's state
// folder as "GOManLog.<pid>.txt" instead, and one line on stderr says where.
// When no place can be written, logging stays off and one line on stderr says so.
// A log file left behind empty is removed. Returns the log's path, or an empty
// string when logging is off.
std::string PlaceLog(bool workingDirWritable, const std::string& logDirOption,
                     const char* xdgStateHome, const char* home);

// PlaceLog for this process: the working directory's writability and the
// environment's XDG_STATE_HOME and HOME. The entry point calls it once, after reading
// the command line (an empty string when --log-dir was not given), before the game
// starts.
std::string ApplyLogLocation(const std::string& logDirOption);

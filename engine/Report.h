#pragma once

#include <string>
#include <string_view>

// The game's one voice on stderr: every line starts "brinegate: ", and bytes a terminal
// cannot show (control bytes, broken UTF-8) are written as \xNN, so a file name or a
// damaged line quoted in a message can neither garble nor steer the terminal.

// "brinegate: " + the escaped text + a newline.
std::string ReportLine(std::string_view text);
// Writes ReportLine(text) to stderr in one write.
void Report(std::string_view text);
// The text with unshowable bytes as \xNN; tabs become \t, newlines \n.
std::string Showable(std::string_view text);
// The system's reason for an errno value, as strerror gives it.
std::string Why(int error);

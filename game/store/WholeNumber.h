#pragma once

#include <cstdint>
#include <string_view>

// Reads a whole number written in decimal digits only (no sign, no blanks) that is at
// most `most`; false, with `out` untouched, for anything else.
bool ReadWholeNumber(std::string_view text, uint64_t most, uint64_t& out);

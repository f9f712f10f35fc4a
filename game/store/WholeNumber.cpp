#include "store/WholeNumber.h"

#include <charconv>

bool ReadWholeNumber(std::string_view text, uint64_t most, uint64_t& out) {
    const char* end = text.data() + text.size();
    // from_chars takes a '-' only for signed types, so digits alone are read here.
    uint64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value > most) return false;
    out = value;
    return true;
}

#include "Report.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Length of the valid UTF-8 sequence of a printable character at `s`, or 0.
size_t ShowableSequence(const unsigned char* s, size_t left) {
    const unsigned c = s[0];
    if (c >= 0x20 && c < 0x7F) return 1;
    size_t n = 0;
    unsigned code = 0;
    if (c >= 0xC2 && c <= 0xDF) n = 2, code = c & 0x1Fu;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, code = c & 0x0Fu;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, code = c & 0x07u;
    else return 0;
    if (left < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((s[i] & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (s[i] & 0x3Fu);
    }
    // Overlong forms, surrogates, past U+10FFFF, and the C1 controls (which a terminal acts on).
    const unsigned least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[n] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    if (code >= 0x80 && code <= 0x9F) return 0;
    return n;
}

}  // namespace

std::string Showable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        const size_t n = ShowableSequence(s + i, text.size() - i);
        if (n > 0) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        if (s[i] == '\t') {
            out += "\\t";
        } else if (s[i] == '\n') {
            out += "\\n";
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", s[i]);
            out += hex;
        }
        ++i;
    }
    return out;
}

std::string ReportLine(std::string_view text) { return "brinegate: " + Showable(text) + "\n"; }

void Report(std::string_view text) {
    const std::string line = ReportLine(text);
    // stdio's stderr is unbuffered and may write in pieces; one write keeps lines whole
    // between two games sharing a terminal.
    std::fflush(stderr);
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

std::string Why(int error) { return std::strerror(error); }

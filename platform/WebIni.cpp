// ini_parse_string for the browser build. Debian ships inih for the desktop, but its
// source package cannot be fetched here, so the page parses the records with this
// rendering of the same rules, built as Debian builds inih (ini.h's defaults): lines of
// at most INI_MAX_LINE - 1 bytes, ';' and '#' comment lines, inline ';' comments after
// whitespace, continuation lines, a UTF-8 BOM, and the first failing line returned.
#include <ini.h>

#include <cctype>
#include <cstring>

namespace {

constexpr size_t kMaxSection = 50;
constexpr size_t kMaxName = 50;

char* RightStrip(char* s) {
    char* p = s + std::strlen(s);
    while (p > s && std::isspace(static_cast<unsigned char>(*--p))) *p = '\0';
    return s;
}

char* LeftSkip(char* s) {
    while (*s && std::isspace(static_cast<unsigned char>(*s))) ++s;
    return s;
}

// The first of `chars` (any character when null) or of an inline comment after a space.
char* FindCharsOrComment(char* s, const char* chars) {
    bool wasSpace = false;
    while (*s && (!chars || !std::strchr(chars, *s)) && !(wasSpace && std::strchr(INI_INLINE_COMMENT_PREFIXES, *s))) {
        wasSpace = std::isspace(static_cast<unsigned char>(*s)) != 0;
        ++s;
    }
    return s;
}

void CopyBounded(char* to, const char* from, size_t size) {
    std::strncpy(to, from, size - 1);
    to[size - 1] = '\0';
}

}  // namespace

extern "C" int ini_parse_string(const char* string, ini_handler handler, void* user) {
    char line[INI_MAX_LINE];
    char section[kMaxSection] = "";
    char previousName[kMaxName] = "";
    int lineNumber = 0;
    int error = 0;
    const char* next = string;
    size_t left = std::strlen(string);
    while (left > 0) {
        // One line with its newline, or as much of it as the buffer holds.
        size_t n = 0;
        while (n + 1 < sizeof line && left > 0) {
            const char c = *next++;
            --left;
            line[n++] = c;
            if (c == '\n') break;
        }
        line[n] = '\0';
        ++lineNumber;
        char* start = line;
        if (lineNumber == 1 && std::strncmp(start, "\xEF\xBB\xBF", 3) == 0) start += 3;
        start = LeftSkip(RightStrip(start));
        if (*start && std::strchr(INI_START_COMMENT_PREFIXES, *start)) continue;
        if (*previousName && *start && start > line) {
            // Indented: more of the previous name's value.
            char* end = FindCharsOrComment(start, nullptr);
            if (*end) *end = '\0';
            RightStrip(start);
            if (!handler(user, section, previousName, start) && !error) error = lineNumber;
        } else if (*start == '[') {
            char* end = FindCharsOrComment(start + 1, "]");
            if (*end == ']') {
                *end = '\0';
                CopyBounded(section, start + 1, sizeof section);
                *previousName = '\0';
            } else if (!error) {
                error = lineNumber;
            }
        } else if (*start) {
            char* end = FindCharsOrComment(start, "=:");
            if (*end == '=' || *end == ':') {
                *end = '\0';
                char* name = RightStrip(start);
                char* value = end + 1;
                end = FindCharsOrComment(value, nullptr);
                if (*end) *end = '\0';
                value = LeftSkip(value);
                RightStrip(value);
                CopyBounded(previousName, name, sizeof previousName);
                if (!handler(user, section, name, value) && !error) error = lineNumber;
            } else if (!error) {
                error = lineNumber;
            }
        }
    }
    return error;
}

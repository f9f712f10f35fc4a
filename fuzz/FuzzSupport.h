#pragma once

// Shared by the fuzz targets: a private scratch folder for inputs that the code under
// test only takes as files, and a failure report that still shows when libFuzzer has
// closed stderr (-close_fd_mask), since it goes out through the sanitizer's report file.
#include <unistd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" __attribute__((weak)) void __sanitizer_report_error_summary(const char* text);

namespace fuzz {

__attribute__((format(printf, 1, 2), noreturn)) inline void Fail(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (__sanitizer_report_error_summary) __sanitizer_report_error_summary(text);
    else std::fprintf(stderr, "%s\n", text);
    std::abort();
}

// A folder of our own under $TMPDIR, removed at exit. Never destroyed itself: the
// exit handler runs after the destructors of statics made before it was registered.
inline const std::string& ScratchDir() {
    static const std::string* dir = [] {
        const char* base = std::getenv("TMPDIR");
        auto* made = new std::string(std::string(base && *base ? base : "/tmp") + "/brinegate-fuzz-XXXXXX");
        if (!mkdtemp(made->data())) Fail("fuzz: cannot make a scratch folder from %s", made->c_str());
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchDir(), ec);
        });
        return made;
    }();
    return *dir;
}

// Writes the bytes to <scratch>/<name> and returns its path.
inline std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchDir() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("fuzz: cannot write %s", path.c_str());
    if (size > 0 && std::fwrite(data, 1, size, f) != size) Fail("fuzz: short write to %s", path.c_str());
    if (std::fclose(f) != 0) Fail("fuzz: cannot close %s", path.c_str());
    return path;
}

}  // namespace fuzz

#include "store/Recording.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "DataFile.h"
#include "Report.h"
#include "store/Settings.h"
#include "store/WholeFile.h"
#include "store/WholeNumber.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

bool ToUnsigned(const std::string& s, uint64_t& v) {
    return s.size() <= 20 && ReadWholeNumber(s, UINT64_MAX, v);
}

bool ToSigned(const std::string& s, int64_t& v) {
    const bool negative = !s.empty() && s[0] == '-';
    uint64_t magnitude = 0;
    if (!ToUnsigned(negative ? s.substr(1) : s, magnitude)) return false;
    if (magnitude > (negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1)) return false;
    // Negating in unsigned arithmetic keeps INT64_MIN in range.
    v = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

bool ToFloat(const std::string& s, float& v) {
    char* end = nullptr;
    errno = 0;
    v = std::strtof(s.c_str(), &end);
    return !s.empty() && *end == '\0' && errno == 0 && std::isfinite(v);
}

// A token from the file as it may be shown: short, and printable whatever the file holds
// (a NUL would cut the message short, an escape code would reach the terminal).
std::string Excerpt(const std::string& token) {
    constexpr size_t kShown = 24;
    std::string shown;
    for (size_t i = 0; i < token.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            shown += hex;
        }
    }
    if (token.size() > kShown) shown += "...";
    return shown;
}

enum class LineRead { kLine, kEnd, kUnfinished, kTooLong };

// One line without its '\n', at most kMaxRecordingLine bytes of it.
LineRead ReadLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) return line.empty() ? LineRead::kEnd : LineRead::kUnfinished;
        if (c == '\n') return LineRead::kLine;
        if (line.size() == kMaxRecordingLine) return LineRead::kTooLong;
        line += static_cast<char>(c);
    }
}

bool ToDigest(const std::string& s, uint64_t& v) {
    if (s.size() != 16 || s.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
    v = std::strtoull(s.c_str(), nullptr, 16);
    return true;
}

}  // namespace

bool IsInputMessage(uint32_t message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL:
            return true;
        default:
            return false;
    }
}

namespace {

// The lines of a recording, one at a time. Each part returns the problem with the line,
// or an empty string when the line is good.
class RecordingLines {
public:
    std::string Take(int number, const std::vector<std::string>& w) {
        if (number == 1) return Magic(w);
        if (number == 2) return Seed(w);
        if (number == 3 && version_ >= 2) return Keys(w);
        if (w.empty()) return "empty line";
        if (ended_) return Digest(w);
        if (w[0] == "releases") return Releases(w);
        if (w[0] == "safe-respawn") return SafeRespawn(w);
        return Event(w);
    }
    bool Ended() const { return ended_; }
    Recording& Read() { return r_; }

private:
    std::string Magic(const std::vector<std::string>& w) {
        if (w.size() != 2 || w[0] != kRecordingMagic)
            return std::string("not a recording (it should start with \"") + kRecordingMagic + " " +
                   std::to_string(kRecordingVersion) + "\")";
        if (!ToUnsigned(w[1], version_) || version_ < 1 || version_ > static_cast<uint64_t>(kRecordingVersion))
            return "a recording of version " + Excerpt(w[1]) + "; this game plays versions 1 to " +
                   std::to_string(kRecordingVersion);
        return {};
    }

    std::string Seed(const std::vector<std::string>& w) {
        uint64_t seed = 0;
        if (w.size() != 2 || w[0] != "seed" || !ToUnsigned(w[1], seed) || seed > UINT32_MAX)
            return "expected \"seed N\" with N from 0 to 4294967295";
        r_.seed = static_cast<uint32_t>(seed);
        return {};
    }

    // Keys a live game could not have had would make a replay the player cannot leave
    // (Escape) or one that plays another game.
    std::string Keys(const std::vector<std::string>& w) {
        const std::string expected =
            "expected \"keys\" and " + std::to_string(Settings::kActionCount) + " different keys the game can use";
        if (w.size() != 1 + Settings::kActionCount || w[0] != "keys") return expected;
        for (int a = 0; a < Settings::kActionCount; ++a) {
            uint64_t key = 0;
            if (!ToUnsigned(w[1 + a], key) || key > 255 || !Settings::Bindable(static_cast<uint32_t>(key)) ||
                std::find(r_.keys.begin(), r_.keys.end(), key) != r_.keys.end())
                return expected;
            r_.keys.push_back(static_cast<uint32_t>(key));
        }
        return {};
    }

    // Written by builds that show the game every release; without it a frame shows only
    // its last event, as the build that made the recording did.
    std::string Releases(const std::vector<std::string>& w) {
        if (w.size() != 2 || w[1] != "queued") return "expected \"releases queued\"";
        if (version_ < 2 || lastFrame_ > 0 || r_.everyRelease) return "\"releases queued\" out of place";
        r_.everyRelease = true;
        return {};
    }

    // Once, before any input: the rule the run started with.
    std::string SafeRespawn(const std::vector<std::string>& w) {
        if (respawnRead_ || lastFrame_ != 0) return "\"safe-respawn\" given again or after the input";
        if (w.size() != 2 || (w[1] != "on" && w[1] != "off")) return "expected \"safe-respawn on\" or \"safe-respawn off\"";
        r_.safeRespawn = w[1] == "on";
        respawnRead_ = true;
        return {};
    }

    std::string Digest(const std::vector<std::string>& w) {
        if (w[0] != "digest" || r_.hasDigest) return "unexpected \"" + Excerpt(w[0]) + "\" after the end";
        if (w.size() != 2 || !ToDigest(w[1], r_.digest)) return "expected \"digest\" and 16 hex digits";
        r_.hasDigest = true;
        return {};
    }

    std::string Event(const std::vector<std::string>& w) {
        uint64_t frame = 0;
        if (w.size() < 2 || !ToUnsigned(w[1], frame)) return "expected a frame number after \"" + Excerpt(w[0]) + "\"";
        if (w[0] == "end") {
            if (w.size() != 2) return "expected \"end FRAMES\"";
            if (frame < lastFrame_) return "the end comes before frame " + std::to_string(lastFrame_);
            r_.frames = frame;
            ended_ = true;
            return {};
        }
        if (frame == 0) return "frames count from 1";
        if (frame < lastFrame_) return "frame " + Excerpt(w[1]) + " after frame " + std::to_string(lastFrame_);
        std::string problem;
        if (w[0] == "c") {
            problem = Cursor(w, frame);
        } else if (w[0] == "m") {
            problem = Message(w, frame);
        } else {
            problem = "unknown line \"" + Excerpt(w[0]) + "\"";
        }
        if (problem.empty()) lastFrame_ = frame;
        return problem;
    }

    std::string Cursor(const std::vector<std::string>& w, uint64_t frame) {
        Recording::Cursor c;
        c.frame = frame;
        if (w.size() != 4 || !ToFloat(w[2], c.position.x) || !ToFloat(w[3], c.position.y))
            return "expected \"c FRAME X Y\"";
        r_.cursors.push_back(c);
        return {};
    }

    std::string Message(const std::vector<std::string>& w, uint64_t frame) {
        Recording::Message m;
        m.frame = frame;
        uint64_t message = 0;
        if (w.size() != 5 || !ToUnsigned(w[2], message) || !ToUnsigned(w[3], m.message.wParam) ||
            !ToSigned(w[4], m.message.lParam))
            return "expected \"m FRAME MESSAGE WPARAM LPARAM\"";
        if (message > UINT32_MAX || !IsInputMessage(static_cast<uint32_t>(message)))
            return "message " + Excerpt(w[2]) + " is not an input message";
        m.message.message = static_cast<uint32_t>(message);
        r_.messages.push_back(m);
        return {};
    }

    Recording r_;
    bool ended_ = false;
    bool respawnRead_ = false;
    uint64_t lastFrame_ = 0;
    uint64_t version_ = 0;
};

}  // namespace

bool ParseRecording(std::istream& in, const std::string& name, Recording& out, std::string& error) {
    RecordingLines lines;
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& problem) {
        error = name + ":" + std::to_string(number) + ": " + problem;
        return false;
    };
    for (LineRead read; (read = ReadLine(in, line)) != LineRead::kEnd;) {
        ++number;
        // The writer ends every line; a last line without its end was cut off.
        if (read == LineRead::kUnfinished) return fail("cut short: the last line is unfinished");
        if (read == LineRead::kTooLong)
            return fail("a line longer than " + std::to_string(kMaxRecordingLine) + " bytes");
        const std::string problem = lines.Take(number, Words(line));
        if (!problem.empty()) return fail(problem);
    }
    if (number == 0) {
        number = 1;
        return fail("not a recording (the file is empty)");
    }
    if (!lines.Ended()) {
        ++number;
        return fail("cut short: no \"end\" line");
    }
    out = std::move(lines.Read());
    return true;
}

bool LoadRecording(const std::string& path, Recording& out, std::string& error) {
    DataFile file;
    if (!file.Read(path, kMaxRecordingBytes)) {
        const mode_t type = file.mode & S_IFMT;
        if (file.why == DataFile::kTooLarge)
            error = path + ": cannot be read as a recording: larger than " +
                    std::to_string(kMaxRecordingBytes >> 20) + " MiB";
        else if (file.why == DataFile::kNotRegular)
            error = path + ": cannot be read as a recording: it is " +
                    (type == S_IFDIR ? "a folder" : type == S_IFIFO ? "a pipe" : type == S_IFCHR ? "a device"
                                                                                                  : "not a plain file");
        else
            error = path + ": cannot be read (" + file.why + ")";
        return false;
    }
    // Parsed in place: a stringstream would copy a file of up to kMaxRecordingBytes.
    struct InPlace : std::streambuf {
        explicit InPlace(std::string& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
    } buffer(file.bytes);
    std::istream in(&buffer);
    return ParseRecording(in, path, out, error);
}

// --- recording -----------------------------------------------------------------------

RecordingPlatform::~RecordingPlatform() {
    // A run that did not finish (a window that would not open) leaves the old recording.
    if (!file_) return;
    std::fclose(file_);
    unlink(temporary_.c_str());
}

bool RecordingPlatform::Open(const std::string& path, uint32_t seed, const std::vector<uint32_t>& keys,
                             bool safeRespawn, std::string& error) {
    path_ = path;
    // Written beside the file and renamed over it when the run ends, so nothing of an
    // earlier recording is lost before there is a new one; a link stays a link.
    target_ = WholeFile::Target(path);
    if (const std::string why = WholeFile::Unwritable(target_); !why.empty()) {
        error = path + ": cannot be written: " + why;
        return false;
    }
    WholeFile::RemoveStale(target_);
    std::string why;
    // A folder named on the command line is the player's to make.
    const int fd = WholeFile::CreateTemporary(target_, temporary_, why, false);
    file_ = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!file_) {
        if (fd >= 0) {
            why = Why(errno);
            close(fd);
            unlink(temporary_.c_str());
        }
        error = path + ": cannot be written: " + why;
        return false;
    }
    std::fprintf(file_, "%s %d\nseed %" PRIu32 "\nkeys", kRecordingMagic, kRecordingVersion, seed);
    for (uint32_t key : keys) std::fprintf(file_, " %" PRIu32, key);
    std::fputs("\nreleases queued\n", file_);
    std::fprintf(file_, "safe-respawn %s\n", safeRespawn ? "on" : "off");
    return true;
}

bool RecordingPlatform::Finish(uint64_t digest, std::string& error) {
    if (!file_) return true;
    std::fprintf(file_, "end %" PRIu64 "\ndigest %016" PRIx64 "\n", FramesShown(), digest);
    // The mode an old recording had, or what a new file gets.
    struct stat old {};
    const mode_t mask = umask(0);
    umask(mask);
    const mode_t mode = stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~mask);
    bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0 && fchmod(fileno(file_), mode) == 0 &&
              fsync(fileno(file_)) == 0;
    int reason = ok ? 0 : errno;
    if (std::fclose(file_) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    file_ = nullptr;
    if (ok && rename(temporary_.c_str(), target_.c_str()) == 0) return true;
    if (ok) reason = errno;
    unlink(temporary_.c_str());
    error = path_ + ": cannot be written: " + Why(reason ? reason : EIO) + "; an earlier recording there is kept";
    return false;
}

bool RecordingPlatform::PeekMessage(WindowMessage& out) {
    if (!inner_.PeekMessage(out)) return false;
    if (file_ && IsInputMessage(out.message)) {
        // Held until the frame is shown: input a closing window cut off belongs to no frame.
        char line[96];
        std::snprintf(line, sizeof line, "m %" PRIu64 " %" PRIu32 " %" PRIu64 " %" PRId64 "\n", CurrentFrame(),
                      out.message, out.wParam, out.lParam);
        frameLines_ += line;
    }
    return true;
}

Vec2 RecordingPlatform::GetCursorPos() {
    cursor_ = inner_.GetCursorPos();
    return cursor_;
}

void RecordingPlatform::SwapBuffers() {
    if (file_) {
        std::fputs(frameLines_.c_str(), file_);
        frameLines_.clear();
        // The frame just drawn read the cursor of the last pass before it.
        if (!cursorWritten_ || !(cursor_.x == written_.x && cursor_.y == written_.y)) {
            std::fprintf(file_, "c %" PRIu64 " %.9g %.9g\n", CurrentFrame(), static_cast<double>(cursor_.x),
                         static_cast<double>(cursor_.y));
            written_ = cursor_;
            cursorWritten_ = true;
        }
    }
    PlatformRelay::SwapBuffers();
}

// --- replay --------------------------------------------------------------------------

bool ReplayPlatform::PeekMessage(WindowMessage& out) {
    // The window's own messages go on; live input is dropped.
    while (inner_.PeekMessage(out))
        if (!IsInputMessage(out.message)) return true;
    if (FramesShown() >= recording_.frames) {
        out = WindowMessage();
        out.message = WM_QUIT;
        return true;
    }
    const auto& messages = recording_.messages;
    if (nextMessage_ < messages.size() && messages[nextMessage_].frame <= CurrentFrame()) {
        out = messages[nextMessage_++].message;
        return true;
    }
    return false;
}

Vec2 ReplayPlatform::GetCursorPos() {
    const auto& cursors = recording_.cursors;
    while (nextCursor_ < cursors.size() && cursors[nextCursor_].frame <= CurrentFrame())
        cursor_ = cursors[nextCursor_++].position;
    return cursor_;
}

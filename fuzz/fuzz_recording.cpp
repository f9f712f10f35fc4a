// Recordings from arbitrary bytes. Each one that parses is played through the real
// game, headless (see Headless.h), as `brinegate --replay` would play it, for its first
// frames; then through the replay platform alone, to its end, as the main loop pulls
// messages: every recorded message in its own frame, live input shut out.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

#include "Headless.h"
#include "app/Options.h"
#include "app/Program.h"
#include "store/Recording.h"

namespace {

// Enough frames to leave the menu and fight a little; few enough that one input stays
// well under the fuzzer's timeout with the sanitizers on.
constexpr uint64_t kFrameCap = 1200;
// The platform alone costs next to nothing a frame.
constexpr uint64_t kPlatformFrameCap = 200000;

void CheckRefusal(const std::string& error) {
    // "<name>:<line>: <problem>", short and printable: it ends up on a terminal.
    if (error.rfind("input:", 0) != 0) fuzz::Fail("recording refused without naming file and line");
    if (error.size() > 300) fuzz::Fail("recording refused with a message of %zu bytes", error.size());
    for (unsigned char c : error)
        if (c < 0x20 || c == 0x7f) fuzz::Fail("recording refused with control byte 0x%02x in the message", c);
}

void ReplayThroughPlatform(const Recording& recording) {
    FakePlatform window;
    window.Post(WM_KEYDOWN, 'A');  // live input: dropped
    window.Post(WM_SIZE, 0, MakeLong(400, 300));
    ReplayPlatform replay(window, recording);
    size_t delivered = 0;
    bool sized = false;
    for (uint64_t frame = 1; frame <= kPlatformFrameCap + 1; ++frame) {
        replay.GetCursorPos();
        WindowMessage m;
        while (replay.PeekMessage(m)) {
            if (m.message == WM_QUIT) {
                if (frame != recording.frames + 1)
                    fuzz::Fail("replay of %llu frames quit before frame %llu",
                               static_cast<unsigned long long>(recording.frames),
                               static_cast<unsigned long long>(frame));
                if (delivered != recording.messages.size())
                    fuzz::Fail("replay quit with %zu of %zu messages delivered", delivered,
                               recording.messages.size());
                if (!sized) fuzz::Fail("replay swallowed the window's own message");
                return;
            }
            if (m.message == WM_SIZE) {
                sized = true;
                continue;
            }
            if (delivered >= recording.messages.size())
                fuzz::Fail("replay delivered message %u that was not recorded", m.message);
            const Recording::Message& want = recording.messages[delivered++];
            if (want.frame != frame || want.message.message != m.message || want.message.wParam != m.wParam ||
                want.message.lParam != m.lParam)
                fuzz::Fail("recorded message %zu (frame %llu) came out as %u in frame %llu", delivered - 1,
                           static_cast<unsigned long long>(want.frame), m.message,
                           static_cast<unsigned long long>(frame));
        }
        replay.SwapBuffers();
    }
    if (recording.frames <= kPlatformFrameCap)
        fuzz::Fail("replay of %llu frames did not quit", static_cast<unsigned long long>(recording.frames));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseBuildData();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    Recording recording;
    std::string error;
    if (!ParseRecording(in, "input", recording, error)) {
        CheckRefusal(error);
        return 0;
    }
    const std::string path = fuzz::WriteScratch("input.rec", data, size);
    FakePlatform platform;
    Options options;
    options.replayPath = path;
    options.frames = kFrameCap;
    options.unpaced = true;
    options.noSound = true;
    const int status = Program(platform, options).Run();
    if (status == kUsageStatus) fuzz::Fail("a recording whose bytes parse was refused as a file");
    // Quitting from the menu may end it sooner, but never later than the recording does.
    const uint64_t last = std::min(recording.frames, kFrameCap);
    if (static_cast<uint64_t>(platform.swaps) > last)
        fuzz::Fail("replay of %llu frames showed %d", static_cast<unsigned long long>(recording.frames),
                   platform.swaps);
    ReplayThroughPlatform(recording);
    return 0;
}

#pragma once

#include <cstdint>
#include <cstdio>
#include <istream>
#include <string>
#include <vector>

#include "Platform.h"

// A run's input, enough to play it again: the seed, every input message with the frame
// it was handled before (frames count from 1), and the cursor position each frame read.
// As text:
//   brinegate-recording 2
//   seed <n>
//   keys <k1> ... <k6>                     the player's keys of the actions
//   releases queued                        every release reached the game, one a frame
//                                          (absent: a frame showed only its last event)
//   safe-respawn on|off                    the safe respawn at the start (a recording
//                                          without the line was played with it off)
//   c <frame> <x> <y>                      cursor, written when it moved
//   m <frame> <message> <wParam> <lParam>  input message
//   end <frames>                           frames the run lasted
//   digest <16 hex digits>                 state at the end (optional)
struct Recording {
    struct Message {
        uint64_t frame = 0;
        WindowMessage message;
    };
    struct Cursor {
        uint64_t frame = 0;
        Vec2 position;
    };

    uint32_t seed = 0;
    // Virtual-key codes of the actions in the order of Settings; empty in a recording
    // of version 1, which was played with the designed keys.
    std::vector<uint32_t> keys;
    // Played with every release shown to the game (Orlop::everyRelease); false in
    // recordings made before that rule, which replay as they were played.
    bool everyRelease = false;
    bool safeRespawn = false;
    std::vector<Message> messages;
    std::vector<Cursor> cursors;
    uint64_t frames = 0;
    bool hasDigest = false;
    uint64_t digest = 0;
};

constexpr const char* kRecordingMagic = "brinegate-recording";
// No line the writer makes comes near this; a longer one is refused, not read on.
constexpr size_t kMaxRecordingLine = 4096;
// An hour with the cursor moving every frame comes to some 6 MB; a file past this
// is refused unread.
constexpr size_t kMaxRecordingBytes = size_t{256} << 20;
constexpr int kRecordingVersion = 2;

// Key, mouse-button and wheel messages: what a recording keeps and a replay shuts out.
bool IsInputMessage(uint32_t message);

// Reads a whole recording. On failure returns false with "<name>:<line>: <problem>".
bool ParseRecording(std::istream& in, const std::string& name, Recording& out, std::string& error);
bool LoadRecording(const std::string& path, Recording& out, std::string& error);

// Hands everything on to another platform; counts the frames shown (buffer swaps).
class PlatformRelay : public Platform {
public:
    explicit PlatformRelay(Platform& inner) : inner_(inner) {}

    bool CreateMainWindow(const std::string& title, int width, int height, bool windowed,
                          int bits) override {
        return inner_.CreateMainWindow(title, width, height, windowed, bits);
    }
    bool CreateContext() override { return inner_.CreateContext(); }
    void DestroyContext() override { inner_.DestroyContext(); }
    void DestroyMainWindow() override { inner_.DestroyMainWindow(); }
    void RestoreDisplayMode() override { inner_.RestoreDisplayMode(); }
    void ShowSystemCursor(bool show) override { inner_.ShowSystemCursor(show); }
    bool PeekMessage(WindowMessage& out) override { return inner_.PeekMessage(out); }
    void PostQuitMessage(int exitCode) override { inner_.PostQuitMessage(exitCode); }
    Vec2 GetCursorPos() override { return inner_.GetCursorPos(); }
    void SwapBuffers() override {
        ++framesShown_;
        inner_.SwapBuffers();
    }
    void PinToFirstProcessor() override { inner_.PinToFirstProcessor(); }
    std::string LastError() const override { return inner_.LastError(); }
    void WaitMessage(int timeoutMs) override { inner_.WaitMessage(timeoutMs); }
    void SetFullscreen(bool on) override { inner_.SetFullscreen(on); }
    bool IsFullscreen() const override { return inner_.IsFullscreen(); }
    void WarpCursor(Vec2 point) override { inner_.WarpCursor(point); }
    double RefreshRate() const override { return inner_.RefreshRate(); }
    bool SetSwapInterval(int interval) override { return inner_.SetSwapInterval(interval); }
    bool WindowedSize(int& width, int& height) const override { return inner_.WindowedSize(width, height); }
    void SetStartSize(int width, int height) override { inner_.SetStartSize(width, height); }
    bool PadLastUsed() const override { return inner_.PadLastUsed(); }
    void Rumble(float strength, int ms) override { inner_.Rumble(strength, ms); }

    uint64_t FramesShown() const { return framesShown_; }

protected:
    // The frame that the message or cursor being handled now belongs to.
    uint64_t CurrentFrame() const { return framesShown_ + 1; }

    Platform& inner_;

private:
    uint64_t framesShown_ = 0;
};

// Writes the input of the run as it is played.
class RecordingPlatform : public PlatformRelay {
public:
    using PlatformRelay::PlatformRelay;
    ~RecordingPlatform() override;

    // Creates the file and writes the header with the keys the run is played with.
    // False with a reason when it cannot.
    // Starts the recording in a temporary file beside `path` with the header, the keys
    // and the safe respawn the run is played with; only Finish puts it in place. False
    // with a reason when it cannot (also when `path` is a pipe, a device or a folder).
    bool Open(const std::string& path, uint32_t seed, const std::vector<uint32_t>& keys, bool safeRespawn,
              std::string& error);
    // Writes the end of the run and closes the file. False with a reason on a write error.
    bool Finish(uint64_t digest, std::string& error);

    bool PeekMessage(WindowMessage& out) override;
    Vec2 GetCursorPos() override;
    void SwapBuffers() override;

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    std::string target_;     // the file renamed over at the end (a link's target)
    std::string temporary_;  // the file written while the run lasts
    std::string frameLines_;  // input of the frame being played
    Vec2 cursor_;
    Vec2 written_;
    bool cursorWritten_ = false;
};

// Plays a recording: its messages at their frames, its cursor, the window's own
// messages (closing it, focus, size) but no live input; quits after the last frame.
class ReplayPlatform : public PlatformRelay {
public:
    ReplayPlatform(Platform& inner, Recording recording)
        : PlatformRelay(inner), recording_(std::move(recording)) {}

    bool PeekMessage(WindowMessage& out) override;
    Vec2 GetCursorPos() override;
    // The cursor comes from the recording, which already holds where it was put.
    void WarpCursor(Vec2) override {}

    const Recording& Played() const { return recording_; }

private:
    Recording recording_;
    size_t nextMessage_ = 0;
    size_t nextCursor_ = 0;
    Vec2 cursor_;
};

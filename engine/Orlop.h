#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "FramePacer.h"
#include "FrameStep.h"
#include "KeyMap.h"
#include "MouseButton.h"
#include "Platform.h"
#include "Singleton.h"
#include "Timer.h"
#include "Vec2.h"

// The engine's application shell: window, context, main loop and input state.
class Orlop : public singleton<Orlop> {
public:
    using FrameCallback = int32_t (*)(float seconds);
    // Told when the game stops (false) or goes on (true) because the window lost or got
    // back the keyboard focus.
    using FocusCallback = void (*)(bool active);

    Orlop();
    ~Orlop() override;

    // Returns false (with a message on stderr) when the window or context cannot be made.
    bool Init();
    void Run();
    void Shutdown();

    // The window procedure body: records input, returns 0 for handled messages.
    int64_t HandleMessage(uint32_t message, uint64_t wParam, int64_t lParam);

    Timer timer;
    void* window = nullptr;
    void* instance = nullptr;
    uint8_t inputEvent = 0;
    uint32_t lastCode = 0;
    uint8_t lastDown = 0;
    float bits = 32.0f;
    std::string title;
    uint8_t windowed = 0;
    float width = 0.0f;
    float height = 0.0f;
    Vec2 mousePosition;
    FrameCallback frameCallback = nullptr;
    uint8_t keys[256] = {};
    uint8_t mouseLeft = 0;
    uint8_t mouseMiddle = 0;
    uint8_t mouseRight = 0;
    int32_t wheelSteps = 0;
    // This frame's input ended with a release of `code`: a mouse button's InputCode, or
    // the code the game reads for a key.
    bool Released(uint32_t code) const { return inputEvent == 1 && lastDown == 0 && lastCode == code; }
    bool Released(MouseButton button) const { return Released(InputCode(button)); }

    // The codes the game reads for the keys reported (the player's own keys); set it
    // with SetKeyMap, which lets go of every key held.
    KeyMap keyMap;
    void SetKeyMap(const KeyMap& map);
    // The last key as reported, before the key map, for screens that ask for a key:
    // keyEvent is set for the frame like inputEvent, also for a key the map drops.
    uint8_t keyEvent = 0;
    uint32_t lastKey = 0;
    uint8_t lastKeyDown = 0;

    // Every release reaches the game: a frame shows the game one release, and releases
    // that come while the frame already holds one (a tap-to-click with a key, two keys
    // let go together) wait, in order, for the frames that follow. A press never hides
    // a release it follows. Cleared, the frame shows only its last event, as recordings
    // made before this rule were played (Init sets it).
    bool everyRelease = true;

    // The stand-in for the operating system; set before Init.
    Platform* platform = nullptr;
    // When cleared, frames follow each other without the 1/60 s wait (tests, replays).
    bool paced = true;
    // When cleared, frames leave the render list undrawn: for a program that plays
    // without looking (the autoplay bot). The game runs the same either way.
    bool drawWorld = true;
    // Whether swaps wait for the display's refresh; Run chooses from it, and SetVsync
    // while running chooses again.
    Vsync vsync = Vsync::kAuto;
    void SetVsync(Vsync mode);
    FramePacer pacer;

    // Frames stop while a window that has had the keyboard focus is without it; a window
    // that never had it (a bare X server) runs on, and so does an unpaced run (a script
    // has no player to wait for). Init starts both cleared.
    bool hadFocus = false;
    bool focused = false;
    FocusCallback focusCallback = nullptr;
    bool Suspended() const { return paced && hadFocus && !focused; }

private:
    // One key or button message as the frame's input fields show it.
    struct InputEvent {
        bool input = false;  // sets inputEvent, lastCode, lastDown
        uint32_t code = 0;
        bool key = false;    // sets keyEvent, lastKey, lastKeyDown
        uint32_t keyCode = 0;
        uint8_t down = 0;
    };
    // Puts the event in this frame's fields, or queues it behind a release they hold.
    void Show(const InputEvent& event);
    void Put(const InputEvent& event);
    // Ends the frame's input: the fields clear, and the next waiting release takes them.
    void EndFrameInput();

    std::deque<InputEvent> waiting_;
    bool running_ = false;
    // Keys held as reported: a code that several keys stand for stays down while any is.
    uint8_t held_[256] = {};
};

// Forwards to the global Orlop's input handler.
int64_t WindowProc(void* window, uint32_t message, uint64_t wParam, int64_t lParam);

extern Orlop orlop;

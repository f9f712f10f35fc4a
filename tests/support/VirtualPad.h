// SDL's virtual joystick as a game controller: SDL fills in the masks of its buttons and
// axes and maps it like any pad. Values are applied only as the event queue is polled,
// the last one set winning.
#pragma once

#include <SDL2/SDL.h>

namespace virtualpad {

// Attaches a pad with its triggers let go (their axes rest at -32768, read as 0); with
// `rumble`, the pad can rumble and reports each request to it.
inline SDL_Joystick* Plug(int (*rumble)(void*, Uint16, Uint16) = nullptr, void* userdata = nullptr) {
    SDL_VirtualJoystickDesc d{};
    d.Rumble = rumble;
    d.userdata = userdata;
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int index = SDL_JoystickAttachVirtualEx(&d);
    if (index < 0 || !SDL_IsGameController(index)) return nullptr;
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    return pad;
}

inline void Unplug(SDL_Joystick*& pad) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(pad)) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(pad);
    pad = nullptr;
}

}  // namespace virtualpad

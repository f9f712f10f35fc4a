#pragma once

#include <cstdint>

// Window messages and virtual-key codes as the input handler understands them.
// The platform layer translates its own events into these.
enum : uint32_t {
    WM_SIZE = 0x0005,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_DISPLAYCHANGE = 0x007E,  // the window is now on another display, or its mode changed
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSCOMMAND = 0x0112,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
};

enum : uint32_t {
    SC_SCREENSAVE = 0xF140,
    SC_MONITORPOWER = 0xF170,
};

enum : uint32_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0,
    // A game pad's buttons and stick directions, as Windows numbers them.
    VK_GAMEPAD_A = 0xC3,
    VK_GAMEPAD_B = 0xC4,
    VK_GAMEPAD_X = 0xC5,
    VK_GAMEPAD_Y = 0xC6,
    VK_GAMEPAD_RIGHT_SHOULDER = 0xC7,
    VK_GAMEPAD_LEFT_SHOULDER = 0xC8,
    VK_GAMEPAD_LEFT_TRIGGER = 0xC9,
    VK_GAMEPAD_RIGHT_TRIGGER = 0xCA,
    VK_GAMEPAD_DPAD_UP = 0xCB,
    VK_GAMEPAD_DPAD_DOWN = 0xCC,
    VK_GAMEPAD_DPAD_LEFT = 0xCD,
    VK_GAMEPAD_DPAD_RIGHT = 0xCE,
    VK_GAMEPAD_MENU = 0xCF,
    VK_GAMEPAD_VIEW = 0xD0,
    VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON = 0xD1,
    VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON = 0xD2,
    VK_GAMEPAD_LEFT_THUMBSTICK_UP = 0xD3,
    VK_GAMEPAD_LEFT_THUMBSTICK_DOWN = 0xD4,
    VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT = 0xD5,
    VK_GAMEPAD_LEFT_THUMBSTICK_LEFT = 0xD6,
    VK_GAMEPAD_RIGHT_THUMBSTICK_UP = 0xD7,
    VK_GAMEPAD_RIGHT_THUMBSTICK_DOWN = 0xD8,
    VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT = 0xD9,
    VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT = 0xDA,
    VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
};

// A pad's button or stick direction rather than a key of the keyboard.
inline bool IsPadKey(uint64_t vk) { return vk >= VK_GAMEPAD_A && vk <= VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT; }

struct WindowMessage {
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

// Packs two 16-bit words as Windows does for lParam and wParam.
inline int64_t MakeLong(uint32_t low, uint32_t high) {
    return static_cast<int64_t>(((high & 0xFFFFu) << 16) | (low & 0xFFFFu));
}

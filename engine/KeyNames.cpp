#include "KeyNames.h"

#include <array>
#include <cctype>

#include "WindowMessages.h"

namespace {

using Table = std::array<std::string, 256>;

Table Build() {
    Table t;
    for (char c = 'A'; c <= 'Z'; ++c) t[static_cast<unsigned char>(c)] = std::string(1, c);
    for (char c = '0'; c <= '9'; ++c) t[static_cast<unsigned char>(c)] = std::string(1, c);
    for (int i = 0; i < 12; ++i) t[VK_F1 + i] = "F" + std::to_string(i + 1);
    for (int i = 0; i < 10; ++i) t[VK_NUMPAD0 + i] = "Num " + std::to_string(i);
    const struct {
        uint32_t vk;
        const char* name;
    } fixed[] = {
        {VK_BACK, "Backspace"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_SHIFT, "Shift"},
        {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"}, {VK_PAUSE, "Pause"}, {VK_CAPITAL, "Caps Lock"},
        {VK_ESCAPE, "Escape"}, {VK_SPACE, "Space"}, {VK_PRIOR, "Page Up"}, {VK_NEXT, "Page Down"},
        {VK_END, "End"}, {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"}, {VK_INSERT, "Insert"}, {VK_DELETE, "Delete"},
        {VK_MULTIPLY, "Num Multiply"}, {VK_ADD, "Num Plus"}, {VK_SUBTRACT, "Num Minus"},
        {VK_DECIMAL, "Num Decimal"}, {VK_DIVIDE, "Num Divide"},
        {VK_OEM_1, "Semicolon"}, {VK_OEM_PLUS, "Equals"}, {VK_OEM_COMMA, "Comma"},
        {VK_OEM_MINUS, "Minus"}, {VK_OEM_PERIOD, "Period"}, {VK_OEM_2, "Slash"},
        {VK_OEM_3, "Backquote"}, {VK_OEM_4, "Left Bracket"}, {VK_OEM_5, "Backslash"},
        {VK_OEM_6, "Right Bracket"}, {VK_OEM_7, "Quote"},
        {VK_GAMEPAD_A, "Pad A"}, {VK_GAMEPAD_B, "Pad B"}, {VK_GAMEPAD_X, "Pad X"},
        {VK_GAMEPAD_Y, "Pad Y"}, {VK_GAMEPAD_RIGHT_SHOULDER, "Pad Right Shoulder"},
        {VK_GAMEPAD_LEFT_SHOULDER, "Pad Left Shoulder"}, {VK_GAMEPAD_LEFT_TRIGGER, "Pad Left Trigger"},
        {VK_GAMEPAD_RIGHT_TRIGGER, "Pad Right Trigger"}, {VK_GAMEPAD_DPAD_UP, "Pad Up"},
        {VK_GAMEPAD_DPAD_DOWN, "Pad Down"}, {VK_GAMEPAD_DPAD_LEFT, "Pad Left"},
        {VK_GAMEPAD_DPAD_RIGHT, "Pad Right"}, {VK_GAMEPAD_MENU, "Pad Menu"},
        {VK_GAMEPAD_VIEW, "Pad View"}, {VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON, "Pad Left Stick"},
        {VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON, "Pad Right Stick"},
        {VK_GAMEPAD_LEFT_THUMBSTICK_UP, "Pad Left Stick Up"},
        {VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, "Pad Left Stick Down"},
        {VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, "Pad Left Stick Right"},
        {VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, "Pad Left Stick Left"},
        {VK_GAMEPAD_RIGHT_THUMBSTICK_UP, "Pad Right Stick Up"},
        {VK_GAMEPAD_RIGHT_THUMBSTICK_DOWN, "Pad Right Stick Down"},
        {VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT, "Pad Right Stick Right"},
        {VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT, "Pad Right Stick Left"},
    };
    for (const auto& f : fixed) t[f.vk] = f.name;
    return t;
}

const Table& Names() {
    static const Table table = Build();
    return table;
}

std::string Folded(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    std::string out = s.substr(b, e - b);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::string KeyNames::Name(uint32_t vk) { return vk < 256 ? Names()[vk] : std::string(); }

std::string KeyNames::ShortName(uint32_t vk) {
    static const struct {
        uint32_t vk;
        const char* name;
    } kShort[] = {
        {VK_BACK, "Bksp"}, {VK_CAPITAL, "Caps"}, {VK_ESCAPE, "Esc"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},
        {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}, {VK_MULTIPLY, "Num *"}, {VK_ADD, "Num +"},
        {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num ."}, {VK_DIVIDE, "Num /"}, {VK_OEM_1, ";"},
        {VK_OEM_PLUS, "="}, {VK_OEM_COMMA, ","}, {VK_OEM_MINUS, "-"}, {VK_OEM_PERIOD, "."},
        {VK_OEM_2, "/"}, {VK_OEM_3, "`"}, {VK_OEM_4, "["}, {VK_OEM_5, "\\"}, {VK_OEM_6, "]"},
        {VK_OEM_7, "'"},
    };
    for (const auto& s : kShort)
        if (s.vk == vk) return s.name;
    return Name(vk);
}

uint32_t KeyNames::FromName(const std::string& name) {
    const std::string wanted = Folded(name);
    if (wanted.empty()) return 0;
    const Table& names = Names();
    for (uint32_t vk = 0; vk < names.size(); ++vk)
        if (!names[vk].empty() && Folded(names[vk]) == wanted) return vk;
    return 0;
}

// SDL events become the window messages the input handler understands, with
// Windows virtual-key codes, and drive the handler exactly as the system's would.
#include <gtest/gtest.h>

#include <deque>

#include "Orlop.h"
#include "SdlPlatform.h"

namespace {

std::deque<WindowMessage> Translate(const SDL_Event& e) {
    std::deque<WindowMessage> out;
    SdlPlatform::Translate(e, out);
    return out;
}

SDL_Event Key(Uint32 type, SDL_Keycode sym, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.repeat = repeat;
    return e;
}

TEST(SdlTranslation, KeysBecomeVirtualKeyCodes) {
    struct {
        SDL_Keycode sym;
        uint32_t vk;
    } cases[] = {{SDLK_a, 'A'},         {SDLK_d, 'D'},          {SDLK_m, 'M'},
                 {SDLK_r, 'R'},         {SDLK_z, 'Z'},          {SDLK_0, '0'},
                 {SDLK_9, '9'},         {SDLK_SPACE, 32},       {SDLK_ESCAPE, 27},
                 {SDLK_RETURN, 13},     {SDLK_LEFT, 0x25},      {SDLK_DOWN, 0x28},
                 {SDLK_F1, 0x70},       {SDLK_F12, 0x7B},       {SDLK_LSHIFT, 0x10},
                 {SDLK_KP_5, 0x65},     {SDLK_BACKSPACE, 8},    {SDLK_TAB, 9}};
    for (const auto& c : cases) {
        auto down = Translate(Key(SDL_KEYDOWN, c.sym));
        ASSERT_EQ(down.size(), 1u) << c.sym;
        EXPECT_EQ(down[0].message, static_cast<uint32_t>(WM_KEYDOWN));
        EXPECT_EQ(down[0].wParam, c.vk) << c.sym;
        auto up = Translate(Key(SDL_KEYUP, c.sym));
        ASSERT_EQ(up.size(), 1u);
        EXPECT_EQ(up[0].message, static_cast<uint32_t>(WM_KEYUP));
        EXPECT_EQ(up[0].wParam, c.vk);
    }
    EXPECT_TRUE(Translate(Key(SDL_KEYDOWN, SDLK_UNKNOWN)).empty()) << "no code, no message";
}

TEST(SdlTranslation, AutoRepeatIsAKeyDownMarkedAsRepeat) {
    auto first = Translate(Key(SDL_KEYDOWN, SDLK_a, 0));
    auto again = Translate(Key(SDL_KEYDOWN, SDLK_a, 1));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(first[0].lParam & (1 << 30), 0);
    EXPECT_NE(again[0].lParam & (1 << 30), 0);
    // A repeat counts as an input event like any key-down.
    orlop.inputEvent = 0;
    orlop.HandleMessage(again[0].message, again[0].wParam, again[0].lParam);
    EXPECT_EQ(orlop.inputEvent, 1);
    EXPECT_EQ(orlop.keys['A'], 1);
    orlop.keys['A'] = 0;
}

TEST(SdlTranslation, MouseButtonsAndWheel) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    EXPECT_EQ(Translate(e)[0].message, static_cast<uint32_t>(WM_LBUTTONDOWN));
    e.button.button = SDL_BUTTON_RIGHT;
    EXPECT_EQ(Translate(e)[0].message, static_cast<uint32_t>(WM_RBUTTONDOWN));
    e.type = SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_MIDDLE;
    EXPECT_EQ(Translate(e)[0].message, static_cast<uint32_t>(WM_MBUTTONUP));
    e.button.button = SDL_BUTTON_X1;
    EXPECT_TRUE(Translate(e).empty());

    SDL_Event w{};
    w.type = SDL_MOUSEWHEEL;
    w.wheel.y = -1;
    w.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    auto down = Translate(w);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].message, static_cast<uint32_t>(WM_MOUSEWHEEL));
    orlop.HandleMessage(down[0].message, down[0].wParam, down[0].lParam);
    EXPECT_EQ(orlop.wheelSteps, -1);
    w.wheel.y = 2;
    w.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    auto flipped = Translate(w);
    orlop.HandleMessage(flipped[0].message, flipped[0].wParam, flipped[0].lParam);
    EXPECT_EQ(orlop.wheelSteps, -2) << "natural scrolling reports the physical direction";
    orlop.wheelSteps = 0;
}

TEST(SdlTranslation, ClosingAndResizing) {
    SDL_Event q{};
    q.type = SDL_QUIT;
    EXPECT_EQ(Translate(q)[0].message, static_cast<uint32_t>(WM_CLOSE));
    SDL_Event w{};
    w.type = SDL_WINDOWEVENT;
    w.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_EQ(Translate(w)[0].message, static_cast<uint32_t>(WM_CLOSE));
    w.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    w.window.data1 = 1024;
    w.window.data2 = 768;
    auto size = Translate(w);
    ASSERT_EQ(size.size(), 1u);
    EXPECT_EQ(size[0].message, static_cast<uint32_t>(WM_SIZE));
    EXPECT_EQ(size[0].lParam & 0xFFFF, 1024);
    EXPECT_EQ((size[0].lParam >> 16) & 0xFFFF, 768);
    w.window.event = SDL_WINDOWEVENT_MOVED;
    EXPECT_TRUE(Translate(w).empty());
}

TEST(SdlTranslation, MouseMotionIsAMessageSoAFloodDelaysFrames) {
    SDL_Event m{};
    m.type = SDL_MOUSEMOTION;
    m.motion.x = 300;
    m.motion.y = 200;
    auto out = Translate(m);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, static_cast<uint32_t>(WM_MOUSEMOVE));
}

}  // namespace

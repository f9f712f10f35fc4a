// Full screen: the picture letterboxed into any output, the mouse mapped back, the
// toggle keys; and the focus: losing it stops the game until it comes back.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>
#include <vector>

#include "FakePlatform.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "Renderer.h"
#include "SdlPlatform.h"

#include <GL/glx.h>  // last: its X11 macros would clash with names above

namespace {

TEST(Letterbox, PictureFillsOneSideCentredAndTheMouseMapsBack) {
    const int outputs[][2] = {{800, 600}, {1920, 1080}, {1280, 1024}, {2560, 1440}, {600, 900}, {801, 599}};
    for (const auto& out : outputs) {
        const Letterbox box = FitLetterbox(800, 600, out[0], out[1]);
        SCOPED_TRACE(testing::Message() << out[0] << "x" << out[1]);
        EXPECT_TRUE((box.width == out[0] && box.height <= out[1]) || (box.height == out[1] && box.width <= out[0]));
        EXPECT_NEAR(box.width * 600.0, box.height * 800.0, 800.0) << "aspect kept within a pixel";
        EXPECT_LE(std::abs(out[0] - box.width - 2 * box.x) + std::abs(out[1] - box.height - 2 * box.y), 2);
        // The picture's corners and centre come back as its own pixels.
        EXPECT_EQ(OutputToPicture(box, 800, 600, box.x, box.y), Vec2(0, 0));
        EXPECT_EQ(OutputToPicture(box, 800, 600, box.x + box.width, box.y + box.height), Vec2(800, 600));
        EXPECT_EQ(OutputToPicture(box, 800, 600, box.x + box.width / 2.0, box.y + box.height / 2.0), Vec2(400, 300));
    }
    EXPECT_LT(OutputToPicture(FitLetterbox(800, 600, 1920, 1080), 800, 600, 10, 500).x, 0.0f) << "a bar";
    EXPECT_EQ(FitLetterbox(800, 600, 1680, 1260).width, 1680) << "5 % past twice the picture: fitted";
    const Vec2 minimised = OutputToPicture(FitLetterbox(800, 600, 0, 0), 800, 600, 5, 5);
    EXPECT_TRUE(std::isfinite(minimised.x) && std::isfinite(minimised.y));
}

TEST(SdlWindowEvents, FocusBecomesMessagesAndToggleKeysStayWithTheWindow) {
    std::deque<WindowMessage> out;
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    for (auto event : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_DISPLAY_CHANGED}) {
        e.window.event = event;
        SdlPlatform::Translate(e, out);
    }
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].message, static_cast<uint32_t>(WM_KILLFOCUS));
    EXPECT_EQ(out[1].message, static_cast<uint32_t>(WM_SETFOCUS));
    EXPECT_EQ(out[2].message, static_cast<uint32_t>(WM_DISPLAYCHANGE)) << "the pacing is chosen again";
    SDL_Event k{};
    k.type = SDL_KEYUP;
    const struct { SDL_Keycode sym; Uint16 mod; bool toggles; } keys[] = {
        {SDLK_F11, KMOD_NONE, true}, {SDLK_RETURN, KMOD_LALT, true}, {SDLK_RETURN, KMOD_RALT, true},
        {SDLK_RETURN, KMOD_NONE, false}, {SDLK_SPACE, KMOD_LALT, false}};
    for (const auto& key : keys) {
        k.key.keysym.sym = key.sym;
        k.key.keysym.mod = key.mod;
        EXPECT_EQ(SdlPlatform::IsFullscreenToggle(k), key.toggles) << key.sym << " " << key.mod;
    }
}

// The focus comes back after three sleeps, as a user switching back to the game.
struct FocusPlatform : FakePlatform {
    void WaitMessage(int timeoutMs) override {
        EXPECT_GT(timeoutMs, 0);
        framesAtWait.push_back(frames);
        if (framesAtWait.size() == 3) Post(WM_SETFOCUS);
    }
    std::vector<int> framesAtWait;
    std::vector<bool> changes;
    int frames = 0;
} g_platform;

TEST(Focus, LosingItStopsFramesUntilItComesBackButOnlyAfterHavingItAndNeverUnpaced) {
    orlop.platform = &g_platform;
    orlop.focusCallback = [](bool active) { g_platform.changes.push_back(active); };
    orlop.frameCallback = [](float) -> int32_t {
        if (++g_platform.frames == 5) g_platform.Post(WM_SETFOCUS);
        if (g_platform.frames == 10) g_platform.Post(WM_KILLFOCUS);
        return g_platform.frames < 20;
    };
    g_platform.Post(WM_KILLFOCUS);  // before the window ever had the focus: no effect
    orlop.paced = true;
    orlop.Run();
    EXPECT_EQ(g_platform.frames, 20);
    EXPECT_EQ(g_platform.changes, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(g_platform.framesAtWait, (std::vector<int>{10, 10, 10})) << "slept, no frames, while away";

    // A scripted run (--unpaced) has nobody to wait for: it runs on in the background.
    g_platform.frames = 0;
    g_platform.framesAtWait.clear();
    orlop.paced = false;
    orlop.Run();
    EXPECT_EQ(g_platform.frames, 20);
    EXPECT_TRUE(g_platform.framesAtWait.empty()) << "an unpaced run never sleeps for the focus";
    orlop.platform = nullptr;
    orlop.focusCallback = nullptr;
    orlop.frameCallback = nullptr;
    orlop.paced = true;
}

TEST(LetterboxedDrawing, PictureKeepsItsPixelsInTheCentredViewportBetweenBlackBars) {
    REQUIRE_GL();
    renderer.Resize(600, 600);  // picture 600 x 450 at row 75 of the test window
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 75, 600, 450}));
    renderer.BeginFrame();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glRectf(0, 0, 400, 600);  // the picture's left half, in its own pixels
    glColor4f(1, 0, 0, 1);
    glRectf(0, 0, 800, 100);  // its top sixth
    renderer.EndOrtho();
    glFinish();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    renderer.Resize(800, 600);
    // Window rows: bar to 74, red 75..149, white 150..524 left of column 300, bar from 525.
    auto sum = [](gltest::Rgba p) { return p.r + p.g + p.b; };
    EXPECT_EQ(sum(gltest::ReadPixel(300, 40)) + sum(gltest::ReadPixel(300, 560)), 0);
    EXPECT_EQ(sum(gltest::ReadPixel(350, 300)), 0) << "the white half ends at the picture's middle";
    EXPECT_EQ(sum(gltest::ReadPixel(150, 300)), 3 * 255);
    const gltest::Rgba red = gltest::ReadPixel(500, 110);
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.g, 0);
}

// Hands the window's messages to the engine until none has come for a while.
void PumpIntoEngine() {
    for (int quiet = 0; quiet < 20;) {
        WindowMessage m;
        if (orlop.platform->PeekMessage(m)) {
            quiet = 0;
            orlop.HandleMessage(m.message, m.wParam, m.lParam);
        } else {
            ++quiet;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

// With no window manager (plain Xvfb) the window keeps 800 x 600 while SDL assumes the
// screen's size; with one it grows. Either way the picture must fit what GL really has.
// A bare X server also lets the window take any size, as a window manager resizing it would.
TEST(FullScreenToggleAndResizing, PictureAndMouseFollowTheWindowsRealSize) {
    REQUIRE_GL();
    auto* sdl = dynamic_cast<SdlPlatform*>(orlop.platform);
    ASSERT_NE(sdl, nullptr);
    for (int size : {1, 0, 1600, 1640, 800}) {  // full screen, back, then resized
        SCOPED_TRACE(size);
        if (size > 1) {
            SDL_SetWindowSize(sdl->Window(), size, size * 3 / 4);
        } else {
            SDL_Event f11{};
            f11.type = SDL_KEYDOWN;
            f11.key.keysym.sym = SDLK_F11;
            SDL_PushEvent(&f11);
        }
        PumpIntoEngine();
        ASSERT_EQ(sdl->IsFullscreen(), size == 1);
        sdl->SwapBuffers();  // as the frame before would: GL takes up a new size there
        unsigned w = 0, h = 0;
        glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_WIDTH, &w);
        glXQueryDrawable(glXGetCurrentDisplay(), glXGetCurrentDrawable(), GLX_HEIGHT, &h);
        const Letterbox box = FitLetterbox(800, 600, static_cast<int>(w), static_cast<int>(h));
        // Twice the picture, and 1640 too (under 5 % to spare): a whole scale between bars.
        EXPECT_TRUE(size < 2 || (box.width == size / 800 * 800 && w == unsigned(size))) << box.width << " in " << w;
        auto out = [&](float px, float py) {
            return Vec2(box.x + px * box.width / 800, box.y + py * box.height / 600);
        };
        renderer.BeginFrame();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glColor3f(0, 1, 0);
        glRectf(0, 0, 800, 40);  // a top strip, and the HUD's at the bottom
        glColor3f(1, 0, 0);
        glRectf(0, 560, 800, 600);
        renderer.EndOrtho();
        glFinish();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        const struct { float x, y; int red; } corners[] = {{4, 4, 0}, {796, 4, 0}, {4, 596, 255}, {796, 596, 255}};
        for (const auto& c : corners) {
            const Vec2 at = out(c.x, c.y);
            const int row = static_cast<int>(h) - 1 - static_cast<int>(at.y);
            unsigned char p[4] = {};
            glReadPixels(static_cast<int>(at.x), row, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
            EXPECT_EQ(std::make_pair(int{p[0]}, int{p[1]}), std::make_pair(c.red, 255 - c.red))
                << "picture " << c.x << "," << c.y << " in " << w << "x" << h;
        }
        // X11 mouse points are drawable pixels; the pointer stays on the 1024 x 768 screen.
        const Vec2 aim = out(450, 330);
        SDL_WarpMouseInWindow(sdl->Window(), static_cast<int>(aim.x), static_cast<int>(aim.y));
        PumpIntoEngine();
        EXPECT_NEAR(sdl->GetCursorPos().x, 450, 2);
        EXPECT_NEAR(sdl->GetCursorPos().y, 330, 2);
    }
}

}  // namespace

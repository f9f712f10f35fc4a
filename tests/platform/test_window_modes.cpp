// Full screen: the picture letterboxed into any output and the mouse mapped back to the
// picture's pixels; the keys that toggle it; and the focus: a window that loses the
// keyboard focus stops the game until it comes back.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FakePlatform.h"
#include "GL.h"
#include "GlTestContext.h"
#include "Orlop.h"
#include "Renderer.h"
#include "SdlPlatform.h"

namespace {

TEST(Letterbox, PictureFillsOneSideKeepsItsShapeAndMouseMapsBack) {
    struct Output {
        int w, h;
    } outputs[] = {{800, 600}, {1920, 1080}, {1280, 1024}, {1024, 768}, {2560, 1440}, {600, 900}, {801, 599}};
    for (const Output& out : outputs) {
        const Letterbox box = FitLetterbox(800, 600, out.w, out.h);
        SCOPED_TRACE(testing::Message() << out.w << "x" << out.h);
        EXPECT_TRUE(box.width == out.w || box.height == out.h) << "as large as fits";
        EXPECT_LE(box.width, out.w);
        EXPECT_LE(box.height, out.h);
        EXPECT_NEAR(box.width * 600.0, box.height * 800.0, 800.0) << "aspect kept within a pixel";
        EXPECT_LE(std::abs((out.w - box.width - box.x) - box.x), 1) << "centred across";
        EXPECT_LE(std::abs((out.h - box.height - box.y) - box.y), 1) << "centred down";

        // The picture's corners and centre come back as the picture's own pixels.
        const Vec2 topLeft = OutputToPicture(box, 800, 600, box.x, box.y);
        const Vec2 bottomRight = OutputToPicture(box, 800, 600, box.x + box.width, box.y + box.height);
        const Vec2 centre = OutputToPicture(box, 800, 600, box.x + box.width / 2.0, box.y + box.height / 2.0);
        EXPECT_FLOAT_EQ(topLeft.x, 0.0f);
        EXPECT_FLOAT_EQ(topLeft.y, 0.0f);
        EXPECT_FLOAT_EQ(bottomRight.x, 800.0f);
        EXPECT_FLOAT_EQ(bottomRight.y, 600.0f);
        EXPECT_FLOAT_EQ(centre.x, 400.0f);
        EXPECT_FLOAT_EQ(centre.y, 300.0f);
    }
    // At the picture's own size nothing moves.
    const Letterbox same = FitLetterbox(800, 600, 800, 600);
    EXPECT_EQ(OutputToPicture(same, 800, 600, 123, 456), Vec2(123, 456));
    // A wide screen: bars left and right, and a point on a bar lies outside the picture.
    const Letterbox wide = FitLetterbox(800, 600, 1920, 1080);
    EXPECT_EQ(wide.y, 0);
    EXPECT_EQ(wide.x, (1920 - wide.width) / 2);
    EXPECT_LT(OutputToPicture(wide, 800, 600, 10, 500).x, 0.0f);
    // A minimised window has nothing to draw into and maps nothing to infinity.
    const Letterbox none = FitLetterbox(800, 600, 0, 0);
    EXPECT_EQ(none.width, 0);
    const Vec2 p = OutputToPicture(none, 800, 600, 5, 5);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

TEST(SdlWindowEvents, FocusBecomesMessagesAndToggleKeysStayWithTheWindow) {
    std::deque<WindowMessage> out;
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SdlPlatform::Translate(e, out);
    e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SdlPlatform::Translate(e, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].message, static_cast<uint32_t>(WM_KILLFOCUS));
    EXPECT_EQ(out[1].message, static_cast<uint32_t>(WM_SETFOCUS));

    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        EXPECT_TRUE(SdlPlatform::IsFullscreenToggle(KeyEvent(type, SDLK_F11, KMOD_NONE)));
        EXPECT_TRUE(SdlPlatform::IsFullscreenToggle(KeyEvent(type, SDLK_RETURN, KMOD_LALT)));
        EXPECT_TRUE(SdlPlatform::IsFullscreenToggle(KeyEvent(type, SDLK_RETURN, KMOD_RALT)));
        EXPECT_FALSE(SdlPlatform::IsFullscreenToggle(KeyEvent(type, SDLK_RETURN, KMOD_NONE)));
        EXPECT_FALSE(SdlPlatform::IsFullscreenToggle(KeyEvent(type, SDLK_SPACE, KMOD_LALT)));
    }
}

struct FocusLog {
    std::vector<bool> changes;
    int frames = 0;
    std::vector<int> framesAtWait;
};
FocusLog* g_focus = nullptr;

// The focus comes back after a few sleeps, as a user switching back to the game.
class FocusPlatform : public FakePlatform {
public:
    void WaitMessage(int timeoutMs) override {
        waitTimeouts.push_back(timeoutMs);
        g_focus->framesAtWait.push_back(g_focus->frames);
        if (waitTimeouts.size() == 3) Post(WM_SETFOCUS);
    }
    std::vector<int> waitTimeouts;
};

void OnFocus(bool active) { g_focus->changes.push_back(active); }

FocusPlatform* g_platform = nullptr;
int32_t CountingFrame(float) {
    ++g_focus->frames;
    if (g_focus->frames == 5) g_platform->Post(WM_SETFOCUS);
    if (g_focus->frames == 10) g_platform->Post(WM_KILLFOCUS);
    return g_focus->frames < 20 ? 1 : 0;
}

TEST(Focus, LosingItStopsFramesAndMutesUntilItComesBackButOnlyAfterHavingIt) {
    FocusPlatform platform;
    FocusLog log;
    g_focus = &log;
    g_platform = &platform;
    orlop.platform = &platform;
    orlop.paced = false;
    orlop.frameCallback = CountingFrame;
    orlop.focusCallback = OnFocus;
    orlop.hadFocus = orlop.focused = false;

    // A loss before the window ever had the focus (a bare X server) changes nothing.
    platform.Post(WM_KILLFOCUS);
    orlop.Run();

    EXPECT_EQ(log.frames, 20) << "the game ran to its end";
    EXPECT_EQ(log.changes, (std::vector<bool>{true, false, true}));
    // While away the loop slept instead of running frames: three sleeps, no frames.
    EXPECT_EQ(log.framesAtWait, (std::vector<int>{10, 10, 10}));
    for (int t : platform.waitTimeouts) EXPECT_GT(t, 0);
    EXPECT_EQ(platform.swaps, 20);
    EXPECT_FALSE(orlop.Suspended());

    orlop.platform = nullptr;
    orlop.frameCallback = nullptr;
    orlop.focusCallback = nullptr;
    orlop.paced = true;
    g_focus = nullptr;
    g_platform = nullptr;
}

// The renderer letterboxes: the picture keeps its 800 x 600 pixels for drawing, the
// viewport is centred in the output and the bars stay black.
TEST(LetterboxedDrawing, PictureLandsInTheCentredViewportWithBlackBars) {
    REQUIRE_GL();
    // An output 600 x 600 (inside the 800 x 600 test window): picture 600 x 450, bars of 75.
    renderer.Resize(600, 600);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 75);
    EXPECT_EQ(viewport[2], 600);
    EXPECT_EQ(viewport[3], 450);

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
    // Window rows from the top: bar 0..74, red 75..149, white 150..524, bar 525..599;
    // white only in the left half of the picture's 600 columns.
    const gltest::Rgba topBar = gltest::ReadPixel(300, 40);
    const gltest::Rgba red = gltest::ReadPixel(500, 110);
    const gltest::Rgba white = gltest::ReadPixel(150, 300);
    const gltest::Rgba bottomBar = gltest::ReadPixel(300, 560);
    const gltest::Rgba rightHalf = gltest::ReadPixel(350, 300);
    EXPECT_EQ(rightHalf.r + rightHalf.g + rightHalf.b, 0);
    EXPECT_EQ(topBar.r + topBar.g + topBar.b, 0);
    EXPECT_EQ(bottomBar.r + bottomBar.g + bottomBar.b, 0);
    EXPECT_GT(red.r, 200);
    EXPECT_LT(red.g, 50);
    EXPECT_GT(white.g, 200);
    renderer.Resize(800, 600);
}

}  // namespace

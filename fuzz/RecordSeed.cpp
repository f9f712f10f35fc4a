// Records a short game headlessly as a seed for fuzz_recording: from the menu into a
// game, steering both ways, aiming and firing, the ghost sea, a repair, gold, a pause,
// and back to the menu and into play again.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Headless.h"
#include "app/Options.h"
#include "app/Program.h"
#include "play/Game.h"

namespace {

class ScriptedPlatform : public FakePlatform {
public:
    void SwapBuffers() override {
        FakePlatform::SwapBuffers();
        Step(swaps);
    }

private:
    void Key(uint32_t key) {
        Post(WM_KEYDOWN, key);
        Post(WM_KEYUP, key);
    }
    void Step(int frame) {
        if (!Program::RunningGame()) return;
        if (Program::RunningGame()->Showing() == Screen::Kind::kMenu) {
            if (frame % 30 == 0) {  // "Play!"
                cursor = Vec2(200, 200);
                Post(WM_LBUTTONDOWN);
                Post(WM_LBUTTONUP);
            }
            return;
        }
        const int t = frame % 600;
        cursor = Vec2(static_cast<float>(100 + (frame * 7) % 600), static_cast<float>(100 + (frame * 3) % 300));
        if (t == 10) Post(WM_KEYDOWN, 'D');
        if (t == 200) Post(WM_KEYUP, 'D');
        if (t == 210) Post(WM_KEYDOWN, 'A');
        if (t == 330) Post(WM_KEYUP, 'A');
        if (t % 40 == 0) Post(WM_LBUTTONDOWN);
        if (t % 40 == 25) Post(WM_LBUTTONUP);
        if (t == 350 || t == 450) Key(VK_SPACE);
        if (t == 400) {
            Post(WM_RBUTTONDOWN);
            Post(WM_RBUTTONUP);
        }
        if (t == 470) Key('R');
        if (t == 480) Key('M');
        if (t == 500 || t == 520) Key(PlayScreen::kPauseKey);
        if (t == 560) Post(WM_MOUSEWHEEL, uint64_t{120} << 16);
        if (t == 590) Key(VK_ESCAPE);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUT.rec FRAMES\n", argv[0]);
        return 2;
    }
    fuzz::UseBuildData();
    ScriptedPlatform platform;
    Options options;
    options.recordPath = argv[1];
    options.hasSeed = true;
    options.seed = 20240611;
    options.frames = std::strtoull(argv[2], nullptr, 10);
    options.unpaced = true;
    options.noSound = true;
    return Program(platform, options).Run();
}

// A small program run by the sound tests in a process of its own, with the
// environment they choose: it uses the sound manager the way the game does and
// leaves its release to static destruction.
#include <chrono>
#include <cstdio>
#include <thread>

#include "SoundManager.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EFFECT.mp3 MUSIC.mp3\n", argv[0]);
        return 2;
    }
    const unsigned effect = soundManager.LoadSound(argv[1], 0, 1);
    const unsigned missing = soundManager.LoadSound("no such file.mp3", 0, 0);
    const unsigned again = soundManager.LoadSound(argv[1], 1, 0);
    const unsigned music = soundManager.LoadSound(argv[2], 1, 1);
    const int played = soundManager.PlaySound(effect, Vec2(500.0f, 300.0f), Vec2(10.0f, 0.0f));
    soundManager.PlaySound(music, Vec2(), Vec2());
    for (int i = 0; i < 20; ++i) {
        soundManager.Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("%u %u %u %u %d %d\n", effect, missing, again, music, played,
                soundManager.IsOn() ? 1 : 0);
    return 0;
}

// The desktop's side of the page's picture test (scripts/web-test.sh): plays the game
// with the command line after the first two arguments and writes the frame shown as
// the Nth buffer swap to a PNG file, read back from the window.
//   web_frame_shot N OUT.png --replay run.txt --unpaced
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FileResolver.h"
#include "GL.h"
#include "SdlPlatform.h"
#include "app/Options.h"
#include "app/Program.h"

namespace {

class ShotPlatform : public SdlPlatform {
public:
    ShotPlatform(int at, std::string out) : at_(at), out_(std::move(out)) {}
    void SwapBuffers() override {
        if (++shown_ == at_) written_ = Write();
        SdlPlatform::SwapBuffers();
    }
    bool written() const { return written_; }

private:
    bool Write() const {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(Window(), &w, &h);
        std::vector<unsigned char> rows(static_cast<size_t>(w) * h * 3), flipped(rows.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
        const size_t row = static_cast<size_t>(w) * 3;
        for (int y = 0; y < h; ++y) std::copy_n(&rows[row * (h - 1 - y)], row, &flipped[row * y]);
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormatFrom(flipped.data(), w, h, 24, static_cast<int>(row), SDL_PIXELFORMAT_RGB24);
        const bool saved = surface && IMG_SavePNG(surface, out_.c_str()) == 0;
        SDL_FreeSurface(surface);
        return saved;
    }

    int at_;
    std::string out_;
    int shown_ = 0;
    bool written_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: web_frame_shot N OUT.png [game options]\n");
        return 2;
    }
    std::vector<char*> args{argv[0]};
    for (int i = 3; i < argc; ++i) args.push_back(argv[i]);
    const CommandLine command = ParseCommandLine(static_cast<int>(args.size()), args.data());
    if (command.exit) {
        std::fputs(command.err.c_str(), stderr);
        return command.status;
    }
    Options options = command.options;
    options.frames = static_cast<uint64_t>(std::atoi(argv[1]));
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
    ShotPlatform platform(std::atoi(argv[1]), argv[2]);
    Program program(platform, options);
    const int status = program.Run();
    if (!platform.written()) {
        std::fprintf(stderr, "web_frame_shot: frame %s was not shown\n", argv[1]);
        return 1;
    }
    return status;
}

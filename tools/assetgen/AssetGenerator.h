#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Image.h"

// Writes every image and sound of the game into a data folder:
// images/<name>.tga, Sound/<Name>.mp3 and pirates.mp3 at the top.
class AssetGenerator {
public:
    struct ImageJob {
        std::string file;  // relative to the data folder
        bool alpha;        // 32-bit with alpha, or 24-bit opaque
        std::function<Image()> paint;
    };
    struct SoundJob {
        std::string file;
        int channels;
        std::function<std::vector<float>()> synthesise;  // interleaved, 44.1 kHz
    };

    static std::vector<ImageJob> Images();
    static std::vector<SoundJob> Sounds();

    // Generates everything into the folder, and the desktop icons as
    // brinegate-<size>.png into iconDir when one is given; prints what failed and
    // returns false on error.
    bool Run(const std::string& dataDir, const std::string& iconDir = "");
};

#pragma once

#include <string>
#include <vector>

// What each generated image must be, as the generator's README documents it.
struct ImageEntry {
    std::string name;  // file under images/
    int width, height;
    int bytesPerPixel;  // 4: with alpha, 3: opaque
    bool sprite;        // drawn as a sprite or particle: needs a transparent edge
};

inline const std::vector<ImageEntry>& ImageTable() {
    static const std::vector<ImageEntry> specs = {
        {"cursor.tga", 32, 32, 4, true},
        {"caribbeanfont_wood.tga", 1008, 336, 4, false},
        {"caribbeanfont.tga", 1008, 336, 4, false},
        {"ui_button_wood.tga", 280, 56, 4, true},
        {"ui_health.tga", 48, 48, 4, true},
        {"island2.tga", 2048, 600, 3, false},
        {"water.tga", 16, 16, 4, false},
        {"sky.tga", 800, 600, 3, false},
        {"fog.tga", 128, 256, 4, false},
        {"cloud.tga", 400, 240, 4, true},
        {"raindrop.tga", 16, 32, 4, true},
        {"smoke.tga", 128, 128, 4, true},
        {"splash.tga", 64, 64, 4, true},
        {"fireball.tga", 64, 64, 4, true},
        {"MerchantShip.tga", 512, 400, 4, true},
        {"ramboat.tga", 160, 80, 4, true},
        {"minelayer.tga", 440, 300, 4, true},
        {"mine.tga", 320, 320, 4, true},
        {"treasurechest.tga", 128, 100, 4, true},
        {"tower.tga", 256, 512, 4, true},
        {"flag.tga", 160, 200, 4, true},
        {"Cannon.tga", 200, 64, 4, true},
        {"cannonball.tga", 80, 80, 4, true},
        {"scroll.tga", 560, 460, 4, true},
        {"Nothing.tga", 8, 9, 4, false},
    };
    return specs;
}

inline std::string ImagePath(const std::string& name) {
    return std::string(BRINEGATE_DATA_DIR) + "/images/" + name;
}

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FileResolver.h"

// Every name the game asks for, spelt as the game spells it, finds a generated file.
TEST(DataFolder, EveryNameTheGameRequestsResolvesToAGeneratedFile) {
    FileResolver::ClearSearchRoots();
    FileResolver::AddSearchRoot(BRINEGATE_DATA_DIR);
    const char* const names[] = {
        "images\\cursor.tga", "images\\caribbeanfont_wood.tga", "images\\caribbeanfont.tga",
        "images\\ui_button_wood.tga", "images\\ui_health.tga", "images\\island2.tga", "images\\water.tga",
        "images\\sky.tga", "images\\fog.tga", "Images\\cloud.tga", "images\\raindrop.tga", "images//raindrop.tga",
        "images\\smoke.tga", "images//splash.tga", "images//fireball.tga", "images\\fireball.tga",
        "Images\\MerchantShip.tga", "images//ramboat.tga", "images//minelayer.tga", "images\\mine.tga",
        "images\\treasurechest.tga", "images\\tower.tga", "images\\flag.tga", "images\\Cannon.tga",
        "images\\cannonball.tga", "Images\\scroll.tga", "Images\\Nothing.tga", "pirates.mp3",
        "Sound\\CannonFire.mp3", "Sound\\Splash.mp3", "Sound\\Dead.mp3",
    };
    for (const char* name : names) {
        const std::string path = FileResolver::Resolve(name);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << name << " -> " << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u) << name;
    }
    FileResolver::ClearSearchRoots();
}

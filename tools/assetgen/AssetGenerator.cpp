#include "AssetGenerator.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>

#include "DefencePainter.h"
#include "FontPainter.h"
#include "IconPainter.h"
#include "Mp3Encoder.h"
#include "ParticlePainter.h"
#include "SceneryPainter.h"
#include "ShantyComposer.h"
#include "ShipPainter.h"
#include "SoundSynth.h"
#include "TgaWriter.h"
#include "UiPainter.h"

namespace fs = std::filesystem;

std::vector<AssetGenerator::ImageJob> AssetGenerator::Images() {
    // Folder and file names are those the game asks for once '\' becomes '/';
    // the engine matches letter case loosely, the files keep the names as listed.
    static const SceneryPainter scenery;
    static const ParticlePainter particles;
    static const UiPainter ui;
    static const DefencePainter defences;
    static const ShipPainter ships;
    static const FontPainter fonts(BRINEGATE_FONT_FILE);
    return {
        {"images/cursor.tga", true, [] { return ui.Cursor(); }},
        {"images/caribbeanfont_wood.tga", true, [] { return fonts.Wooden(); }},
        {"images/caribbeanfont.tga", true, [] { return fonts.Plain(); }},
        {"images/ui_button_wood.tga", true, [] { return ui.ButtonWood(); }},
        {"images/ui_health.tga", true, [] { return ui.Health(); }},
        {"images/island2.tga", false, [] { return scenery.Island(); }},
        {"images/water.tga", true, [] { return scenery.Water(); }},
        {"images/sky.tga", false, [] { return scenery.Sky(); }},
        {"images/fog.tga", true, [] { return scenery.Fog(); }},
        {"images/cloud.tga", true, [] { return scenery.Cloud(); }},
        {"images/raindrop.tga", true, [] { return particles.Raindrop(); }},
        {"images/smoke.tga", true, [] { return particles.Smoke(); }},
        {"images/splash.tga", true, [] { return particles.Splash(); }},
        {"images/fireball.tga", true, [] { return particles.Fireball(); }},
        {"images/MerchantShip.tga", true, [] { return ships.MerchantShip(); }},
        {"images/ramboat.tga", true, [] { return ships.RamBoat(); }},
        {"images/minelayer.tga", true, [] { return ships.MineLayer(); }},
        {"images/mine.tga", true, [] { return defences.Mine(); }},
        {"images/treasurechest.tga", true, [] { return defences.TreasureChest(); }},
        {"images/tower.tga", true, [] { return defences.Tower(); }},
        {"images/flag.tga", true, [] { return defences.Flag(); }},
        {"images/Cannon.tga", true, [] { return defences.Cannon(); }},
        {"images/cannonball.tga", true, [] { return defences.Cannonball(); }},
        {"images/scroll.tga", true, [] { return ui.Scroll(); }},
        {"images/Nothing.tga", true, [] { return ui.Nothing(); }},
    };
}

std::vector<AssetGenerator::SoundJob> AssetGenerator::Sounds() {
    static const SoundSynth synth;
    static const ShantyComposer composer;
    return {
        {"pirates.mp3", 2, [] { return composer.Compose(); }},
        {"Sound/CannonFire.mp3", 1, [] { return synth.CannonFire(); }},
        {"Sound/Splash.mp3", 1, [] { return synth.Splash(); }},
        {"Sound/Dead.mp3", 1, [] { return synth.Dead(); }},
    };
}

bool AssetGenerator::Run(const std::string& dataDir, const std::string& iconDir) {
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    std::error_code error;
    fs::create_directories(fs::path(dataDir) / "images", error);
    fs::create_directories(fs::path(dataDir) / "Sound", error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dataDir.c_str(), error.message().c_str());
        return false;
    }

    // Sounds (mostly MP3 encoding) on a second thread while the images are drawn.
    auto sounds = std::async(std::launch::async, [&dataDir] {
        bool ok = true;
        for (const auto& job : Sounds()) {
            std::vector<float> samples = job.synthesise();
            const int kbps = job.channels == 1 ? 96 : 160;
            if (!Mp3Encoder::Encode(samples, job.channels, SoundSynth::kRate, kbps,
                                    (fs::path(dataDir) / job.file).string())) {
                std::fprintf(stderr, "assetgen: cannot write %s\n", job.file.c_str());
                ok = false;
            }
        }
        return ok;
    });

    bool ok = true;
    for (const auto& job : Images()) {
        Image image = job.paint();
        if (image.Width() == 0 ||
            !TgaWriter::Write((fs::path(dataDir) / job.file).string(), image, job.alpha)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", job.file.c_str());
            ok = false;
        }
    }
    if (!iconDir.empty()) {
        const IconPainter icons;
        fs::create_directories(iconDir, error);
        for (int size : IconPainter::kSizes) {
            const std::string file = "brinegate-" + std::to_string(size) + ".png";
            if (!IconPainter::WritePng((fs::path(iconDir) / file).string(), icons.Icon(size))) {
                std::fprintf(stderr, "assetgen: cannot write %s\n", file.c_str());
                ok = false;
            }
        }
    }
    ok = sounds.get() && ok;
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf("assetgen: %s in %.1f s\n", ok ? "all files written" : "FAILED", seconds);
    return ok;
}

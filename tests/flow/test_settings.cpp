// The player's settings file: what survives a save, what a damaged file costs, how the
// file is written, and the key names it is written with.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "KeyNames.h"
#include "PrivateDirectory.h"
#include "store/Settings.h"

namespace fs = std::filesystem;

namespace {

size_t Entries(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }
size_t Lines(const std::ostringstream& s) {
    const std::string text = s.str();
    return std::count(text.begin(), text.end(), '\n');
}
bool KeysDistinct(const Settings& s) {
    for (int a = 0; a < Settings::kActionCount; ++a)
        if (s.ActionUsing(s.keys[a], a) >= 0) return false;
    return true;
}
Settings Read(const fs::path& path, const std::string& text, std::ostringstream& warnings) {
    std::ofstream(path, std::ios::binary) << text;
    return Settings::Load(path.string(), warnings);
}

TEST(KeyNames, EveryNamedCodeReadsBackAndNoNameUpsetsTheIniFile) {
    for (uint32_t vk = 0; vk < 256; ++vk) {
        const std::string name = KeyNames::Name(vk);
        if (name.empty()) continue;
        EXPECT_EQ(KeyNames::FromName(name), vk) << name;
        EXPECT_EQ(name.find_first_of(";#=:[]"), std::string::npos) << name;
    }
    EXPECT_EQ(KeyNames::Name(VK_OEM_1), "Semicolon");
    EXPECT_EQ(KeyNames::Name(256 + 'A'), "");
    EXPECT_EQ(KeyNames::FromName(" \tpAGE uP "), VK_PRIOR);
    for (const char* unknown : {"", "  ", "Pageup", "Num *", ";", "F13"}) EXPECT_EQ(KeyNames::FromName(unknown), 0u) << unknown;
}

TEST(SettingsFile, NonDefaultValuesComeBackAndAMissingFileGivesTheDefaultsQuietly) {
    PrivateDirectory dir;
    Settings s;
    s.musicVolume = 0;
    s.effectsVolume = 7;
    s.fullscreen = true;
    s.windowHeight = 150;
    s.vsync = Vsync::kOff;
    s.keys[Settings::kSteerLeft] = VK_LEFT;
    s.keys[Settings::kSea] = VK_OEM_1;
    s.hints = false;
    s.hintsDone = 1u << Settings::kHintSteer | 1u << Settings::kHintSea;
    s.rumble = false;
    const fs::path path = dir.Path() / "a" / "b" / "settings.ini";
    std::string error;
    ASSERT_TRUE(s.Save(path.string(), error)) << error;
    std::ostringstream warnings;
    EXPECT_EQ(Settings::Load(path.string(), warnings), s);
    EXPECT_EQ(Settings::Load((dir.Path() / "none.ini").string(), warnings), Settings());
    // Edited by hand: a byte-order mark, CRLF, indentation and comments cost nothing.
    s = Read(path, "\xEF\xBB\xBF# mine\r\n[Sound]\r\nmusic = 4 ; quiet\r\n\r\n  effects = 3\r\n; end", warnings);
    EXPECT_EQ(s.musicVolume, 4);
    EXPECT_EQ(s.effectsVolume, 3);  // indented, yet not more of the music's value
    EXPECT_EQ(warnings.str(), "");
}

TEST(SettingsFile, EachBadLineCostsOnlyItsEntryAndOneWarningNamingIt) {
    PrivateDirectory dir;
    const fs::path path = dir.Path() / "settings.ini";
    Settings rest;
    rest.effectsVolume = 4;
    rest.fullscreen = true;
    rest.keys[Settings::kSea] = VK_LEFT;
    auto check = [&](const std::string& text, int line) {
        std::ostringstream warnings;
        EXPECT_EQ(Read(path, text, warnings), rest) << text;
        EXPECT_EQ(Lines(warnings), 1u) << text << "\n" << warnings.str();
        EXPECT_EQ(warnings.str().rfind("brinegate: " + path.string() + ":" + std::to_string(line) + ": ", 0), 0u)
            << warnings.str();
    };
    const std::string head = "[sound]\n", tail = "effects = 4\n[display]\nfullscreen = on\n[keys]\nsea = Left\n";
    for (const std::string& bad : std::initializer_list<std::string>{
             "music = 11", "music = 7.5", "music = -1", "music = 011x", "music =", "music = 4;x", "music",
             "volume = 3", "fullscreen = on", "[sound", "music = 4 = 5", std::string("music = 4\0", 10),
             std::string(300, '4')})
        check(head + bad + "\n" + tail, 2);
    for (const char* bad : {"[hints]\ndone = steer, swim", "[pad]\nrumble = 2"}) check(head + tail + bad + "\n", 8);
    for (const char* bad : {"[graphics]\nmusic = 4", "steer_left = Left", "repair = Escape", "repair = Pad A",
                            "repair = Foo", "sea = Up", "fullscreen = yes"})
        check(head + tail + bad + "\n", 7);
    check("music = 4\n" + head + tail, 1);
    for (const char* bad : {"width = 199", "height = 149", "width = 16385", "height = 6e2", "vsync = sometimes", "vsync ="})
        check(std::string("[display]\n") + bad + "\n" + head + tail, 2);
}

TEST(SettingsFile, ColonsTextAfterASectionAndCommentsAfterABlankKeepTheirMeaning) {
    PrivateDirectory dir;
    const fs::path path = dir.Path() / "settings.ini";
    std::ostringstream warnings;
    const Settings s = Read(path, "[sound] volumes\nmusic: 3\neffects = 5 ;x\n[display ;x]\nfullscreen = on\n", warnings);
    EXPECT_EQ(s.musicVolume, 3);
    EXPECT_EQ(s.effectsVolume, 5);
    EXPECT_FALSE(s.fullscreen);  // still in [sound]: line 4 opens no section
    const std::string at = "brinegate: " + path.string() + ":";
    EXPECT_EQ(warnings.str(), at + "4: not a [section] or name = value line; ignored\n" + at +
                                  "5: unknown key \"fullscreen\" in [sound]; ignored\n");
}

TEST(SettingsFile, NoTwoActionsEverShareAKey) {
    PrivateDirectory dir;
    const fs::path path = dir.Path() / "settings.ini";
    std::ostringstream warnings;
    for (const char* keys : {"sea = A\nsteer_left = Space\nrepair = A\n", "gold = P\npause = P\n", "pause = M\n"})
        EXPECT_TRUE(KeysDistinct(Read(path, std::string("[keys]\n") + keys, warnings))) << keys;
    // steer_right would keep its designed D, which the file gave to steer_left.
    std::ostringstream one;
    EXPECT_EQ(Read(path, "[keys]\ngold = G\nsteer_left = D\n", one), Settings());
    EXPECT_EQ(Lines(one), 1u) << one.str();
    const Settings swapped = Read(path, "[keys]\nsteer_left = D\nsteer_right = A\n", one);
    EXPECT_EQ(swapped.keys[Settings::kSteerRight], 'A');
    EXPECT_EQ(Lines(one), 1u) << one.str();  // the swap is taken as it is
}

TEST(SettingsFile, WhatIsNotASettingsFileGivesTheDefaults) {
    PrivateDirectory dir;
    std::ostringstream warnings;
    ASSERT_EQ(mkfifo((dir.Path() / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(Read(dir.Path() / "huge", std::string(100 * 1024, '\n'), warnings), Settings());
    for (const char* name : {"", "fifo"})  // "" is the folder itself
        EXPECT_EQ(Settings::Load((dir.Path() / name).string(), warnings), Settings()) << name;
    EXPECT_EQ(Lines(warnings), 3u) << warnings.str();
}

TEST(SettingsSave, RenamesTheNewFileIntoPlaceOrFailsKeepingWhatWasThere) {
    PrivateDirectory dir;
    const fs::path path = dir.Path() / "settings.ini";
    std::string error;
    ASSERT_TRUE(Settings().Save(path.string(), error)) << error;
    ASSERT_EQ(link(path.c_str(), (dir.Path() / "old.ini").c_str()), 0);
    Settings louder;
    louder.musicVolume = 9;
    ASSERT_TRUE(louder.Save(path.string(), error)) << error;
    std::ostringstream warnings;
    EXPECT_EQ(Settings::Load((dir.Path() / "old.ini").string(), warnings), Settings());
    EXPECT_EQ(Entries(dir.Path()), 2u);
    // A regular file where the folder should be; then a folder where the file should be,
    // which is never written over.
    const std::string inFile = (path / "settings.ini").string(), onFolder = (dir.Path() / "taken").string();
    fs::create_directory(onFolder);
    EXPECT_FALSE(Settings().Save(inFile, error));
    EXPECT_NE(error.find(inFile), std::string::npos) << error;
    EXPECT_FALSE(Settings().Save(onFolder, error));
    EXPECT_NE(error.find(onFolder + ": it is a folder"), std::string::npos) << error;
    EXPECT_EQ(Settings::Load(path.string(), warnings), louder);
    EXPECT_EQ(Entries(dir.Path()), 3u);
    EXPECT_EQ(warnings.str(), "");
}

TEST(SettingsPath, FollowsXdgConfigHomeThenHome) {
    const char* const names[] = {"XDG_CONFIG_HOME", "HOME"};
    std::optional<std::string> saved[2];  // put back at the end
    for (int i = 0; i < 2; ++i)
        if (const char* value = std::getenv(names[i])) saved[i] = value;
    auto set = [](const char* name, const char* value) { value ? setenv(name, value, 1) : unsetenv(name); };
    set("HOME", "/home/p");
    set("XDG_CONFIG_HOME", "relative/conf");  // not absolute: ignored
    EXPECT_EQ(Settings::DefaultPath(), "/home/p/.config/brinegate/settings.ini");
    set("HOME", nullptr);
    EXPECT_EQ(Settings::DefaultPath(), "");
    set("XDG_CONFIG_HOME", "/x/conf");
    EXPECT_EQ(Settings::DefaultPath(), "/x/conf/brinegate/settings.ini");
    for (int i = 0; i < 2; ++i) set(names[i], saved[i] ? saved[i]->c_str() : nullptr);
}

}  // namespace

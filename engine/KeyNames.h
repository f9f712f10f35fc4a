#pragma once

#include <cstdint>
#include <string>

// Names of the virtual-key codes the platform layer produces, for menus and for the
// settings file. Punctuation is named in words: the names go into an INI file, where
// ';' and '#' start comments.
class KeyNames {
public:
    // "A", "F5", "Page Up", "Num 7", "Semicolon", "Pad A"...; empty for a code without one.
    static std::string Name(uint32_t vk);
    // A short name for a narrow button: "PgDn", ";", "Num +"; the name itself where it
    // has no shorter one.
    static std::string ShortName(uint32_t vk);
    // The code named `name`, ignoring case and surrounding whitespace; 0 when none is.
    static uint32_t FromName(const std::string& name);
};

#include "KeyMap.h"

#include <cstring>

void KeyMap::Reset() {
    for (uint32_t k = 0; k < 256; ++k) to_[k] = static_cast<uint16_t>(k);
}

void KeyMap::Set(uint32_t key, uint32_t code) {
    if (key < 256 && (code < 256 || code == kDropped)) to_[key] = static_cast<uint16_t>(code);
}

void KeyMap::Rebind(const uint32_t* designed, const uint32_t* chosen, int count) {
    // First every designed key goes quiet, then the chosen keys take the actions: a
    // designed key chosen again, by its own action or another, is set by the second step.
    for (int i = 0; i < count; ++i) Set(designed[i], kDropped);
    for (int i = 0; i < count; ++i) Set(chosen[i], designed[i]);
}

bool KeyMap::operator==(const KeyMap& other) const { return std::memcmp(to_, other.to_, sizeof to_) == 0; }

#pragma once

#include <cstdint>

// Which code the game reads for each key the platform reports. Every key is itself
// until the player chooses keys of their own: then the chosen key stands in for the
// designed one, and a designed key nobody chose any more reads as nothing.
// Codes are virtual-key codes, all below 256; larger ones pass through unchanged.
class KeyMap {
public:
    // Not a key code: 0 is one (the handler takes it as the left button's code).
    static constexpr uint32_t kDropped = 0x100;

    KeyMap() { Reset(); }
    // Every key reads as itself.
    void Reset();
    // `key` reads as `code` (kDropped: the key is not seen at all).
    void Set(uint32_t key, uint32_t code);
    // The designed keys of `count` actions, chosen[i] standing in for designed[i].
    void Rebind(const uint32_t* designed, const uint32_t* chosen, int count);
    uint32_t operator()(uint32_t key) const { return key < 256 ? to_[key] : key; }
    bool operator==(const KeyMap& other) const;

private:
    uint16_t to_[256];
};

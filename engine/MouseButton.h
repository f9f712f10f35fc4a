#pragma once

#include <cstdint>

// The mouse buttons, by the codes the engine's input fields report for them (keys have
// codes of their own, none of them these).
enum class MouseButton : uint32_t { kLeft = 0, kMiddle = 1, kRight = 2 };

constexpr uint32_t InputCode(MouseButton button) { return static_cast<uint32_t>(button); }

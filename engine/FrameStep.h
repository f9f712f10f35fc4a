#pragma once

// The constant frame step handed to the game: the float nearest 1/60 (seconds).
constexpr float kFrameStep = 0.016666668f;

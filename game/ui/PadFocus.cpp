#include "ui/PadFocus.h"

#include <algorithm>

#include "Box.h"
#include "Orlop.h"
#include "ui/UIButton.h"

bool PadFocus::Step(uint32_t code) {
    const int count = static_cast<int>(rows_.size());
    if (count == 0) return false;
    switch (code) {
        case VK_GAMEPAD_DPAD_DOWN:
            row_ = row_ < 0 ? 0 : std::min(row_ + 1, count - 1);
            column_ = 0;
            break;
        case VK_GAMEPAD_DPAD_UP:
            row_ = row_ < 0 ? count - 1 : std::max(row_ - 1, 0);
            column_ = 0;
            break;
        case VK_GAMEPAD_DPAD_LEFT:
        case VK_GAMEPAD_DPAD_RIGHT:
            if (row_ < 0) return false;
            column_ += code == VK_GAMEPAD_DPAD_LEFT ? -1 : 1;
            column_ = std::clamp(column_, 0, static_cast<int>(rows_[row_].size()) - 1);
            break;
        default:
            return false;
    }
    return true;
}

void PadFocus::Follow(const PlaceOf& placeOf) {
    // Taken on the key's release, as the game takes every key.
    if (!orlop.keyEvent || orlop.lastKeyDown || !orlop.platform) return;
    if (!Step(orlop.lastKey)) return;
    UIButton* button = rows_[row_][column_];
    orlop.platform->WarpCursor(button ? BoxCentre(button->GetCorners()) : placeOf(row_, column_));
}

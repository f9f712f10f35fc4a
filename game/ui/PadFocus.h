#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Vec2.h"

class UIButton;

// Where a pad's d-pad has put the cursor among rows of buttons (drawn top to bottom,
// left to right). A null place stands for a button that is no object of the game: its
// owner says where it is.
class PadFocus {
public:
    using Rows = std::vector<std::vector<UIButton*>>;
    // The point of a null place (row, column).
    using PlaceOf = std::function<Vec2(int row, int column)>;

    void SetRows(Rows rows) { rows_ = std::move(rows); }
    const Rows& rows() const { return rows_; }
    // No place focused: the next step down starts at the top, up at the bottom.
    void Reset() { row_ = -1; }
    int row() const { return row_; }
    int column() const { return column_; }

    // Moves the focus for the d-pad key `code`; false when the key is no step.
    bool Step(uint32_t code);
    // On this frame's released d-pad key, steps and puts the cursor on the focused place.
    void Follow(const PlaceOf& placeOf);

private:
    Rows rows_;
    int row_ = -1;
    int column_ = 0;
};

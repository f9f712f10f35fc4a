#pragma once

// One screen of the game: the menu, the options, the records or play. The game keeps
// them on a stack and runs the top one each frame. Update changes state and never draws;
// Draw draws what the frame shows beyond the render lists (texts written at once, in
// window pixels) and changes nothing.
class Screen {
public:
    enum class Kind { kPlay, kMenu, kOptions, kRecords };

    virtual ~Screen() = default;
    virtual Kind kind() const = 0;
    // One frame; false ends the program.
    virtual bool Update(float dt) = 0;
    // The frame this screen last updated, drawn (the screen it opened draws from the next).
    virtual void Draw() = 0;
    // On top again, once the screen above it has closed.
    virtual void Resume() {}
};

#pragma once

#include "Font.h"
#include "store/Records.h"
#include "ui/ScreenButton.h"

class Sprite;

// The last game beside the best of all games, on a scroll over the sea, with a "Back"
// button. Window pixels; no object of the game.
class RecordsScroll {
public:
    RecordsScroll() = default;
    ~RecordsScroll();
    RecordsScroll(const RecordsScroll&) = delete;
    RecordsScroll& operator=(const RecordsScroll&) = delete;

    // Needs the GL context.
    void Init();
    void Open();
    void Close();
    bool IsOpen() const { return open_; }
    // One frame of the open scroll; false once the player backs out (Back, Escape).
    bool Update(const GameRecord& last, const GameRecord& best);
    const Vec2* Paper() const;

    // "1:02:03" or "4:05": a time played.
    static std::string Clock(int64_t seconds);

private:
    void DrawTexts(const GameRecord& last, const GameRecord& best);

    Font ink_;
    Font wood_;
    Sprite* scroll_ = nullptr;
    ScreenButton back_;
    bool open_ = false;
};

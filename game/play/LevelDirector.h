#pragma once

#include <cstdint>
#include <vector>

struct Font;
class GameFields;
class Tower;

// Places the towers of each level on the island and starts the next level once every
// tower is taken; it keeps the row the towers stand in.
class LevelDirector {
public:
    // The row of this level's towers: its outermost places and the side whose turn it is.
    struct Row {
        int32_t leftmostX = -50;
        int32_t rightmostX = 50;
        uint8_t spawnLeft = 0;
    };

    // The banner is written in `font`.
    LevelDirector(GameFields& game, const Font& font) : game_(game), font_(font) {}

    void SpawnTower();
    // Starts the next level once no hostile tower is left; the banner shows a level's
    // first seconds.
    void UpdateLevel();
    // "Level N" while it shows.
    void DrawBanner() const;
    int32_t NextTowerX();
    void StartRow();
    // Makes the next frame of play begin `level` with its own row of towers, as if every
    // tower of this level had changed hands (benchmarks and the autoplay bot start there).
    void SkipTo(int32_t level);
    // The row as it stands; tests set it where a game's first tower finds it.
    Row& row() { return row_; }

private:
    // Raises the island under a tower until its footing meets the ground.
    void SettleOnIsland(Tower* tower);
    int32_t WidestGapX() const;

    GameFields& game_;
    const Font& font_;
    Row row_;
    std::vector<int32_t> rowX_;  // x of every tower placed in this level
    bool banner_ = false;
};

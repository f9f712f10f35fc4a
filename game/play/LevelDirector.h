#pragma once

#include <cstdint>
#include <vector>

class GameFields;
class Tower;

// Places the towers of each level on the island and starts the next level once every
// tower is taken; it keeps the row's bounds and turn in the game's own fields.
class LevelDirector {
public:
    explicit LevelDirector(GameFields& game) : game_(game) {}

    void SpawnTower();
    void UpdateLevel();
    int32_t NextTowerX();
    void StartRow();
    // Makes the next frame of play begin `level` with its own row of towers, as if every
    // tower of this level had changed hands (benchmarks and the autoplay bot start there).
    void SkipTo(int32_t level);

private:
    // Raises the island under a tower until its footing meets the ground.
    void SettleOnIsland(Tower* tower);
    int32_t WidestGapX() const;
    void DrawBanner();

    GameFields& game_;
    std::vector<int32_t> rowX_;  // x of every tower placed in this level
};

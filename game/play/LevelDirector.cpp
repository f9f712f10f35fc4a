#include "play/LevelDirector.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Box.h"
#include "Font.h"
#include "Random.h"
#include "Renderable.h"
#include "defences/Tower.h"
#include "objects/GOManager.h"
#include "play/GameFields.h"
#include "sea/SeaBounds.h"
#include "sea/Water.h"
#include "sea/World.h"

void LevelDirector::StartRow() {
    row_.leftmostX = 0;
    row_.rightmostX = 0;
    rowX_.clear();
}

int32_t LevelDirector::WidestGapX() const {
    constexpr int32_t kReach = SeaBounds::kTowerReach;
    if (rowX_.empty()) return 0;
    std::vector<int32_t> xs = rowX_;
    std::sort(xs.begin(), xs.end());
    // A spot on an end of the reachable stretch keeps its whole gap to the neighbour;
    // one between two towers keeps half of it. Ties go to the leftmost spot.
    int32_t best = -kReach;
    int64_t clearance = static_cast<int64_t>(xs.front()) + kReach;
    for (size_t i = 1; i < xs.size(); ++i) {
        const int64_t half = (static_cast<int64_t>(xs[i]) - xs[i - 1]) / 2;
        if (half > clearance) {
            clearance = half;
            best = static_cast<int32_t>(xs[i - 1] + half);
        }
    }
    if (static_cast<int64_t>(kReach) - xs.back() > clearance) best = kReach;
    return best;
}

int32_t LevelDirector::NextTowerX() {
    // The left row grows 100 to 300 pixels a tower, the right row by a gap as wide as
    // the whole row so far; either may run past the reach of the player's ship.
    auto onSide = [this](bool left) {
        if (left) return row_.leftmostX - 300 + Rand() % 201;
        int32_t m = row_.rightmostX - row_.leftmostX - 1;
        if (m < 1) m = 1;
        return row_.rightmostX + 300 + Rand() % m;
    };
    int32_t x = onSide(row_.spawnLeft != 0);
    if (std::abs(x) > SeaBounds::kTowerReach) x = onSide(row_.spawnLeft == 0);
    if (std::abs(x) > SeaBounds::kTowerReach) x = WidestGapX();
    row_.leftmostX = std::min(row_.leftmostX, x);
    row_.rightmostX = std::max(row_.rightmostX, x);
    row_.spawnLeft = !row_.spawnLeft;
    rowX_.push_back(x);
    return x;
}

void LevelDirector::SettleOnIsland(Tower* tower) {
    World* world = game_.world;
    const float x = tower->GetPosition()->x;
    Renderable* sprite = tower->renderable;
    // The footing is the bottom fifth of the drawn tower.
    const float footing = tower->GetCorners()[kBottomRight].y - sprite->GetHeight() * sprite->scale.y / 5.0f;
    // Each round lifts the ground under the tower by a fraction of a pixel at least, so
    // the loop ends; the cap only guards against a broken island.
    for (int round = 0; round < 100000 && footing < world->GetHeightAt(x); ++round) {
        for (int i = 0; i < 3; ++i) world->Raise(Vec2(x + 10.0f + static_cast<float>(Rand() % 91), 0.0f));
        for (int i = 0; i < 3; ++i) world->Raise(Vec2(x - 100.0f + static_cast<float>(Rand() % 91), 0.0f));
    }
}

void LevelDirector::SpawnTower() {
    const int32_t x = NextTowerX();
    Tower* tower = static_cast<Tower*>(goManager.Create("Tower"));
    if (!tower) return;
    tower->Init();
    tower->difficulty = static_cast<float>(static_cast<double>(game_.level) / 20.0);
    tower->water = game_.sea;
    tower->prices = &game_.prices;
    tower->SetPosition(Vec2(static_cast<float>(x), 375.0f));
    game_.towers.PushBack(tower);
    SettleOnIsland(tower);
}

void LevelDirector::UpdateLevel() {
    if (game_.HostileTowers() == 0) {
        ++game_.level;
        const int n = static_cast<int>(game_.level * 1.5);
        for (auto it = game_.towers.Begin(); !it.AtEnd(); ++it) goManager.QueueForDeletion(*it);
        game_.towers.Clear();
        game_.world->Reset();
        StartRow();
        for (int i = 0; i < n; ++i) {
            SpawnTower();
            game_.levelTime = 0.0f;
        }
    }
    banner_ = game_.levelTime < 3.0f;
}

void LevelDirector::DrawBanner() const {
    if (!banner_) return;
    char text[32];
    std::snprintf(text, sizeof text, "Level %d", static_cast<int>(game_.level));
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    font_.DrawText(200, 200, 1.0f, text, black, Vec2(1.0f, 1.0f));
}

void LevelDirector::SkipTo(int32_t level) {
    // No hostile tower left: the next UpdateLevel starts `level`.
    game_.level = level - 1;
    for (auto it = game_.towers.Begin(); !it.AtEnd(); ++it) (*it)->team = GameObj::kPlayerSide;
}

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Font.h"
#include "Vec2.h"
#include "objects/ObjState.h"

class MerchantShip;

// What the player's ship gained or lost since the last look.
struct ShipChange {
    int32_t gained = 0;   // gold come in: chests, lob bonuses, 'M'
    int32_t spent = 0;    // gold gone out: repairs, purchases
    int32_t spilled = 0;  // gold the ship spilled as chests when it sank
    bool hit = false;     // health lost to the world
    bool sank = false;    // the ship began to sink
};

// Words over the player's ship: "+N" and "-N" rising from it as gold changes hands. Window
// pixels, drawn at once; it only looks at the ship.
class Popups {
public:
    static constexpr float kRiseSeconds = 1.0f;
    // Changes this close together make one word, their sum.
    static constexpr float kMergeSeconds = 0.25f;
    static constexpr size_t kMostWords = 3;

    void Init(const Font& font) { font_ = font.Proportional(); }
    // Compares the ship with the last look. `fromWorld` marks a look after the world's
    // pass, where lost health is a hit; elsewhere the player paid it (the ghost sea's stir).
    // A new ship only sets the baseline.
    ShipChange Watch(const MerchantShip* ship, bool fromWorld);
    // A stretch of the screen that the words stay below: a plank of the heads-up, a notice.
    struct KeepOut {
        float left, right, bottom;
    };
    // Moves and draws every word, none over a keep-out; `dt` 0 draws them where they stand.
    void Draw(float dt, const std::vector<KeepOut>& planks);
    void Clear();

    // A change of gold seen at a window point: a new word rising and fading there, or a
    // part of the newest word's sum when that word is young.
    void Add(int64_t change, Vec2 at);

    struct Word {
        std::string text;
        Vec2 at;
        float age = 0.0f;
        int64_t sum = 0;
        // Window pixels of the word's top left at the last Draw.
        Vec2 drawn;
    };
    const std::vector<Word>& Words() const { return words_; }

private:
    Font font_;
    std::vector<Word> words_;
    uint64_t serial_ = 0;
    int32_t gold_ = 0;
    ObjState state_ = Life::kNormal;
    float health_ = 0.0f;
};

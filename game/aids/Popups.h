#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Font.h"
#include "Vec2.h"
#include "objects/GameEvent.h"

class MerchantShip;

// What the player's ship gained or lost, as the world told it.
struct ShipChange {
    int32_t gained = 0;   // gold come in: chests, lob bonuses, 'M'
    int32_t spent = 0;    // gold gone out: repairs, purchases
    int32_t spilled = 0;  // gold the ship spilled as chests when it sank
    bool hit = false;     // health lost to a ball, a ram or a mine
    bool sank = false;    // the ship began to sink
};

// Words over the player's ship: "+N" and "-N" rising from it as gold changes hands. Window
// pixels; it only listens to the world's events.
class Popups {
public:
    static constexpr float kRiseSeconds = 1.0f;
    // Changes this close together make one word, their sum.
    static constexpr float kMergeSeconds = 0.25f;
    static constexpr size_t kMostWords = 3;

    void Init(const Font& font) { font_ = font.Proportional(); }
    // Hears the events of the player's ship: its gold coming and going rises as words
    // over it. The other objects' events pass by.
    ShipChange Hear(const std::vector<GameEvent>& events, const MerchantShip* ship);
    // A stretch of the screen that the words stay below: a plank of the heads-up, a notice.
    struct KeepOut {
        float left, right, bottom;
    };
    // Ages and places every word, none over a keep-out; `dt` 0 leaves them where they stand.
    void Update(float dt, const std::vector<KeepOut>& planks);
    // The words where the last Update placed them.
    void Draw() const;
    void Clear();

    // A change of gold seen at a window point: a new word rising and fading there, or a
    // part of the newest word's sum when that word is young.
    void Add(int64_t change, Vec2 at);

    struct Word {
        std::string text;
        Vec2 at;
        float age = 0.0f;
        int64_t sum = 0;
        // Window pixels of the word's top left at the last Update.
        Vec2 drawn;
    };
    const std::vector<Word>& Words() const { return words_; }

private:
    Font font_;
    std::vector<Word> words_;
};

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Font.h"
#include "Vec2.h"

class MerchantShip;

// What the player's ship gained or lost since the last look.
struct ShipChange {
    int32_t gained = 0;   // gold come in: chests, lob bonuses, 'M'
    int32_t spent = 0;    // gold gone out: repairs, purchases
    int32_t spilled = 0;  // gold the ship spilled as chests when it sank
    bool hit = false;     // health lost to the world
    bool sank = false;    // the ship began to sink
};

// Words over the player's ship: "+N" and "-N" rising from it as gold changes hands, and
// a line for a sinking. Window pixels, drawn at once; it only looks at the ship.
class Popups {
public:
    static constexpr float kRiseSeconds = 1.0f;
    static constexpr float kSinkSeconds = 2.0f;

    void Init(const Font& font) { font_ = font; }
    // Compares the ship with the last look. `fromWorld` marks a look after the world's
    // pass, where lost health is a hit; elsewhere the player paid it (the ghost sea's stir).
    // A new ship only sets the baseline.
    ShipChange Watch(const MerchantShip* ship, bool fromWorld);
    // Moves and draws every word, the sinking line with its top at `lineY`; `dt` 0
    // draws them where they stand.
    void Draw(float dt, float lineY);
    static constexpr float kLineY = 250.0f;
    void Clear();

    // A line in the sinking line's place, shown as long (as "Tower lost!").
    void Notice(const std::string& text);

    // A word at a window point, rising and fading.
    void Add(const std::string& text, Vec2 at, bool gain);

    struct Word {
        std::string text;
        Vec2 at;
        float age = 0.0f;
        bool gain = true;
    };
    const std::vector<Word>& Words() const { return words_; }
    // The sinking line while it shows, else empty.
    const std::string& SinkLine() const { return sinkLine_; }

private:
    Font font_;
    std::vector<Word> words_;
    uint64_t serial_ = 0;
    int32_t gold_ = 0;
    int32_t state_ = 0;
    float health_ = 0.0f;
    std::string sinkLine_;
    float sinkAge_ = 0.0f;
};

#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// How far one game got, from "Play!" until the program ends.
struct GameRecord {
    int32_t level = 0;  // the highest level reached; 0: never played
    int32_t towers = 0;  // towers taken
    int32_t ships = 0;   // hostile ships sunk
    int64_t gold = 0;    // gold gathered (chests, lob bonuses, 'M')
    int64_t seconds = 0; // time played, whole seconds
    int32_t lost = 0;    // towers the player held that hostile ships took back

    bool Played() const { return level > 0; }
    // Each figure the larger of the two (for towers lost: the most lost in one game).
    GameRecord BestWith(const GameRecord& other) const;
    bool operator==(const GameRecord& other) const;
};

// The last game and the best of all games, kept between runs in an INI file written
// whole and renamed into place.
class Records {
public:
    // $XDG_DATA_HOME/brinegate/records.ini when that is an absolute path, else
    // $HOME/.local/share/brinegate/records.ini; empty when neither is set.
    static std::string DefaultPath();

    // Reads the file; a missing one gives empty records silently. A damaged one is named
    // on `warnings` and the records start afresh; with `setAside` it is moved to
    // "<path>.bad" first (or "<path>.bad.2" and on, so no earlier one is overwritten).
    // One that is not set aside, or cannot be read at all (a pipe, a folder, a file of
    // another owner), must not be written over: `unwritable`, when given, gets why.
    static Records Load(const std::string& path, std::ostream& warnings, bool setAside,
                        std::string* unwritable = nullptr);
    // Writes the whole file through a temporary file renamed over the old one. Under a
    // lock on the folder it reads the file again first and keeps the best of both, so a
    // game that ended meanwhile keeps its best; a file that is no longer readable
    // records is left alone (false).
    bool Save(const std::string& path, std::string& error) const;
    std::string Text() const;

    // Ends a game: it becomes the last, and counts towards the best.
    void Finish(const GameRecord& game);

    GameRecord last;
    GameRecord best;
};

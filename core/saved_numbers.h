// The sound range of every number the player's files keep (the profile and
// the options file), in one table, and the one read that holds a stored
// number to it; and the saturating sum every score and count grows by.
//
// A damaged or edited file may hold any number, or none a float can be: read
// through here, no caller ever sees one the game could not have written.
#pragma once
#include <cstdint>
#include <string>

// The most points a saved score holds: two of them still add up within 32
// bits, and a 32-bit float stores it exactly.
constexpr int32_t kMaxSavedPoints = 1000000000;
static_assert(kMaxSavedPoints <= INT32_MAX / 2);
// The most a saved count that grows by one holds: a 32-bit float stores
// every whole number up to it.
constexpr int32_t kMaxSavedCount = 1 << 24;
// The most spells of one kind a ring game can award: each needs a finished
// sequence, after which the ring rests a second, and our longest ring level
// lasts 90 s.
constexpr int32_t kMaxSavedRingSpells = 120;
// The most hits a saved ring game holds: 500 points each still fit a score.
constexpr int32_t kMaxSavedRingHits = 4000000;
// The longest a saved picture puzzle has been played, in ms (100 hours).
constexpr int32_t kMaxSavedPuzzleMs = 360000000;

struct TSavedNumberRange {
    const char* key;  // a trailing '#' stands for the digits of a numbered key
    double lo, hi;
    // Where a value outside lo..hi goes: the nearest end of the range when
    // clamped, else `fallback` (a setting chosen from a few, where the end
    // of the range would be a choice the player never made). NaN always
    // reads as `fallback`.
    bool clamped;
    double fallback;
};

// The range of a stored key, or null for a key the table does not know.
const TSavedNumberRange* SavedNumberRange(const std::string& key);
// raw held to the key's range; a key without one is only kept finite.
double SaneSavedNumber(const std::string& key, double raw);
// The same truncated to the int the game keeps it in.
int32_t SavedInt(const std::string& key, double raw);

// a + b, held at the ends of 32 bits instead of wrapping.
int32_t SatAdd(int32_t a, int32_t b);

// The one table of saved ranges and the saturating sum, at their edges.
#include "core/saved_numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(SavedNumbers, AStoredNumberIsHeldToItsKeysRange) {
    struct Case {
        const char* key;
        double raw;
        int32_t want;
    } cases[] = {
        // counts and points stop at their ends
        {"levelMatches", 2147483648.0, kMaxSavedCount},
        {"levelMatches", -1.0, 0},
        {"levelMatches", 77.0, 77},
        {"pointsTotal", 1e30, kMaxSavedPoints},
        {"pointsTotal", -2147483648.0, 0},
        {"puzzlesTime", 2147483647.0, kMaxSavedPuzzleMs},
        {"timeTime", 1e9, 60000},
        {"endlessTime", 1e30, INT32_MAX},
        // numbered keys share their stem's range
        {"RMGRecivedSpell4", 2147483647.0, kMaxSavedRingSpells},
        {"ballsFil0", -5.0, 0},
        {"razodPrevBlock2", -1.0, 0},
        // a setting chosen from a few falls back to its default
        {"difficulty", 7.0, 2},
        {"difficulty", 3.0, 3},
        {"gameState", -2147483648.0, 0},
        {"showTutorial", NAN, 1},
        // a number that is no number reads as the key's default
        {"levelCombos", NAN, 0},
        {"level", -1.0, -1},
        {"level", -7.0, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(SavedInt(c.key, c.raw), c.want) << c.key << "=" << c.raw;
    EXPECT_FLOAT_EQ(static_cast<float>(SaneSavedNumber("musicVol", 1.5)), 1.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(SaneSavedNumber("soundVol", NAN)), 0.8f);
    EXPECT_EQ(SavedNumberRange("noSuchKey"), nullptr);
    EXPECT_EQ(SavedNumberRange("levelMatches7"), nullptr) << "only keys written numbered are numbered";
    EXPECT_EQ(SaneSavedNumber("noSuchKey", NAN), 0.0);
}

TEST(SavedNumbers, SumsStopAtTheEndsOfThirtyTwoBits) {
    EXPECT_EQ(SatAdd(INT32_MAX, 1), INT32_MAX);
    EXPECT_EQ(SatAdd(INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(SatAdd(INT32_MIN, -1), INT32_MIN);
    EXPECT_EQ(SatAdd(2000000000, -2000000000), 0);
    EXPECT_EQ(SatAdd(-5, 3), -2);
}

}  // namespace

#include "core/saved_numbers.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/text.h"

namespace {

constexpr double kClock = 2147483647.0;  // the level clocks stop there
constexpr double kTimeAttackMs = 60000.0;
constexpr double kLevels = 9999.0;       // level numbers, and rune numbers in a held block

constexpr TSavedNumberRange Count(const char* key) { return {key, 0, kMaxSavedCount, true, 0}; }
constexpr TSavedNumberRange Points(const char* key) { return {key, 0, kMaxSavedPoints, true, 0}; }
constexpr TSavedNumberRange Clock(const char* key, double most) { return {key, 0, most, true, 0}; }
constexpr TSavedNumberRange Flag(const char* key, double fallback) { return {key, 0, 1, false, fallback}; }

const TSavedNumberRange kRanges[] = {
    // ---- the quest ----
    {"level", -1, kLevels, true, 1},
    {"difficulty", 1, 3, false, 2},
    {"gameState", -3, 2, false, 0},
    Points("pointsActual"),
    Points("pointsTotal"),
    Flag("showTutorial", 1),
    // the held block's last runes, of the quest and of each other mode
    {"prevBlock#", 0, kLevels, true, 0},
    {"razodPrevBlock#", 0, kLevels, true, 0},
    {"endlessPrevBlock#", 0, kLevels, true, 0},
    {"timePrevBlock#", 0, kLevels, true, 0},
    // ---- the quest level's statistics and spheres ----
    Count("levelRrecivedSpells"),
    Count("levelDroppedSpells"),
    Count("levelUsedBlocks"),
    Count("levelMatches"),
    Count("levelCombos"),
    Clock("levelTime", kClock),
    Count("ballsFil#"),
    Count("ballsLod#"),
    Count("razodSpellsCounter"),
    Count("razodMultipler"),
    Clock("razodMultiplerTime", kClock),
    // ---- the picture puzzle ----
    Clock("puzzlesTime", kMaxSavedPuzzleMs),
    Count("puzzlesClicks"),
    // ---- the ring game ----
    {"seqHits", 0, kMaxSavedRingHits, true, 0},
    Clock("rgTime", kClock),
    Count("recivedSpells"),
    {"RMGRecivedSpell#", 0, kMaxSavedRingSpells, true, 0},
    // ---- endless ----
    Flag("endlessResume", 0),
    Points("endlessPoints"),
    Clock("endlessTime", kClock),
    Count("endlessRecivedSpells"),
    Count("endlessDroppedSpells"),
    Count("endlessBlocks"),
    Count("endlessSpellsCounter"),
    Count("endlessMultipler"),
    Clock("endlessMultiplerTime", kClock),
    // ---- time attack ----
    Flag("timeResume", 0),
    Points("timePoints"),
    Clock("timeTime", kTimeAttackMs),
    Count("timeRecivedSpells"),
    Count("timeDroppedSpells"),
    Count("timeBlocks"),
    Count("timeSpellsCounter"),
    Count("timeMultipler"),
    Clock("timeMultiplerTime", kClock),
    // ---- the options file ----
    {"screenMode", 0, 2, false, 0},
    {"musicVol", 0, 1, true, 0.5},
    {"soundVol", 0, 1, true, 0.8},
    {"startingLevel", -1, kLevels, true, -1},
};

}  // namespace

const TSavedNumberRange* SavedNumberRange(const std::string& key) {
    // A numbered key ("ballsFil3") is found by its stem and a '#'.
    size_t stem = key.size();
    while (stem > 0 && key[stem - 1] >= '0' && key[stem - 1] <= '9') --stem;
    const std::string numbered = stem < key.size() ? key.substr(0, stem) + "#" : std::string();
    for (const TSavedNumberRange& r : kRanges)
        if (key == r.key || (!numbered.empty() && numbered == r.key)) return &r;
    return nullptr;
}

double SaneSavedNumber(const std::string& key, double raw) {
    const TSavedNumberRange* r = SavedNumberRange(key);
    if (!r) return std::isfinite(raw) ? raw : 0.0;
    if (std::isnan(raw)) return r->fallback;
    if (raw >= r->lo && raw <= r->hi) return raw;
    if (!r->clamped) return r->fallback;
    return std::clamp(raw, r->lo, r->hi);
}

int32_t SavedInt(const std::string& key, double raw) { return plat::TruncToInt(SaneSavedNumber(key, raw)); }

int32_t SatAdd(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + static_cast<int64_t>(b);
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// The board's runes and their ages under a prefix: six lists of
// "x:y:value" entries, columns 0-5, 6-11 and 12-14 each, every cell written.
#include <cstdint>

#include "board/board.h"
#include "pieces/rune.h"
#include "platform/app.h"
#include "platform/time.h"
#include "profiles/profile_manager.h"
#include "profiles/saved_game.h"

bool ParseSavedEntry(const std::string& entry, int count, std::vector<int>& out) {
    out.clear();
    size_t at = 0;
    while (static_cast<int>(out.size()) < count) {
        if (at > entry.size()) return false;
        size_t end = entry.find(':', at);
        if (end == std::string::npos) end = entry.size();
        size_t i = at;
        const bool negative = i < end && entry[i] == '-';
        if (negative) ++i;
        if (i == end) return false;
        int64_t v = 0;
        for (; i < end; ++i) {
            const char c = entry[i];
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
            if (v > INT64_C(2147483648)) return false;
        }
        if (negative) v = -v;
        if (v > INT32_MAX || v < INT32_MIN) return false;
        out.push_back(static_cast<int>(v));
        at = end + 1;
    }
    return true;
}

namespace {

constexpr int kCells = 15;

bool OnBoard(int x, int y) { return x >= 0 && x < kCells && y >= 0 && y < kCells; }

// The three lists of one layer, in the saved order.
void SaveLayer(const std::string& prefix, const char* suffix, int32_t (*value)(int x, int y, int32_t now),
               int32_t now) {
    std::vector<std::string> lists[3];
    for (int x = 0; x < kCells; ++x)
        for (int y = 0; y < kCells; ++y)
            lists[x < 6 ? 0 : x < 12 ? 1 : 2].push_back(std::to_string(x) + ":" + std::to_string(y) + ":" +
                                                        std::to_string(value(x, y, now)));
    for (int k = 0; k < 3; ++k) profile->SetList(prefix + suffix + std::to_string(k + 1), lists[k], 0);
}

// Each entry of the layer's three lists, checked, in order.
template <class Apply>
void LoadLayer(const std::string& prefix, const char* suffix, Apply apply) {
    std::vector<int> v;
    for (int k = 1; k <= 3; ++k) {
        const std::string key = prefix + suffix + std::to_string(k);
        for (const std::string& e : profile->GetList(key)) {
            if (!ParseSavedEntry(e, 3, v) || !OnBoard(v[0], v[1])) {
                plat::Print("Saved board " + key + ": entry \"" + e + "\" skipped");
                continue;
            }
            apply(v[0], v[1], v[2]);
        }
    }
}

// Differences of clock readings wrap in 32 bits, as the clock's own do.
int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

int saveBoard(const std::string& prefix) {
    SaveLayer(prefix, "", [](int x, int y, int32_t) { return board->runeLayer[x][y]; }, 0);
    const int32_t now = plat::MilliSecs();
    SaveLayer(prefix, "TimerLayer",
              [](int x, int y, int32_t t) { return WrapSub(t, board->placeTimeLayer[x][y]); }, now);
    profile->SaveProfile();
    return 0;
}

int loadBoard(const std::string& prefix) {
    if (!profile->current) return 0;
    LoadLayer(prefix, "", [](int x, int y, int id) {
        board->runeLayer[x][y] = id;
        board->colorLayer[x][y] = RuneColour(id);
    });
    const int32_t now = plat::MilliSecs();
    LoadLayer(prefix, "TimerLayer", [now](int x, int y, int age) { board->placeTimeLayer[x][y] = WrapSub(now, age); });
    return 0;
}

// libFuzzer target: hiscore files. Whatever text loads must give a table in
// order, within its per-mode limit, whose written file loads back to the
// very same table and text.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "config/tsc_lexer.h"
#include "title/hiscores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    THiscores table;
    table.maxPerType = 3;  // small, so the trimming is reached often
    try {
        table.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const TSCError&) {
        return 0;
    }
    std::map<int32_t, int> perType;
    for (size_t i = 0; i < table.scores.size(); ++i) {
        if (++perType[table.scores[i]->typeID] > table.maxPerType) __builtin_trap();
        if (i > 0 && TScore::CompareScores(*table.scores[i - 1], *table.scores[i]) > 0) __builtin_trap();
    }
    const std::string text = table.RenderFile();
    if (table.scores.empty()) return 0;
    THiscores again;
    again.maxPerType = 3;
    try {
        if (again.LoadFromText(text) != 0) __builtin_trap();  // a written entry left out
    } catch (const TSCError&) {
        __builtin_trap();  // a file the table wrote and cannot read
    }
    if (again.RenderFile() != text) __builtin_trap();
    return 0;
}

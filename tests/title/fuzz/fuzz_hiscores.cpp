// libFuzzer target: hiscore files. Whatever text loads must give a table in
// order, within its per-mode limit, whose written file loads back to the
// very same table and text; and that table holds every entry of the input
// with its numbers, up to the trim, however its groups are named.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "config/tsc_file.h"
#include "config/tsc_lexer.h"
#include "platform/text.h"
#include "title/hiscores.h"

namespace {

using Entry = std::pair<int32_t, int32_t>;  // mode, score

std::string FoldAZ(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The best entries of each mode, up to perType of each, in a fixed order.
std::vector<Entry> Best(std::vector<Entry> all, int perType) {
    std::sort(all.begin(), all.end(), [](const Entry& a, const Entry& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    std::vector<Entry> out;
    std::map<int32_t, int> counts;
    for (const Entry& e : all)
        if (++counts[e.first] <= perType) out.push_back(e);
    return out;
}

std::vector<Entry> EntriesOf(const THiscores& table) {
    std::vector<Entry> out;
    for (const TScorePtr& s : table.scores) out.emplace_back(s->typeID, s->score);
    return Best(out, table.maxPerType);
}

// The entries of a text that parses, read from its tokens alone: every
// top-level group holding a score, a gameID and a typeID (the first of each
// name within its own braces) is one.
std::vector<Entry> EntriesOfText(const std::string& text) {
    TTSCLexer lexer;
    lexer.LexBytes(text.data(), text.size());
    const std::vector<TTSCToken>& t = lexer.tokenList;
    auto kind = [&](size_t i) { return i < t.size() ? t[i].kind : 0; };
    std::unordered_map<std::string, std::string> defines;
    std::vector<Entry> out;
    std::map<std::string, std::string> keys;  // of the group being read
    int depth = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == TSC_HASH) {  // # define name value
            defines[FoldAZ(t[i + 2].text)] = t[i + 3].text;
            i += 3;
        } else if (t[i].kind == TSC_IDENT && kind(i + 1) == TSC_OPEN_BRACE) {
            if (depth++ == 0) keys.clear();
            ++i;
        } else if (t[i].kind == TSC_CLOSE_BRACE) {
            if (--depth == 0 && keys.count("score") && keys.count("gameid") && keys.count("typeid")) {
                auto number = [&](const char* k) { return plat::TruncToInt(TSCTextToNumber(keys[k])); };
                out.emplace_back(number("typeid"), number("score"));
            }
        } else if (t[i].kind == TSC_IDENT && kind(i + 1) == TSC_EQUALS) {
            const TTSCToken& v = t[i + 2];
            const std::string value = v.kind == TSC_IDENT ? defines[FoldAZ(v.text)] : v.text;
            if (depth == 1) keys.emplace(FoldAZ(t[i].text), value);
            i += 2;
            while (kind(i + 1) == TSC_COMMA) i += 2;
        }
    }
    return out;
}

// The entries as the file writes them: its numbers are stored as floats.
std::vector<Entry> AsWritten(std::vector<Entry> entries) {
    auto stored = [](int32_t v) { return plat::TruncToInt(TSCTextToNumber(TSCNumberToText(static_cast<float>(v)))); };
    for (Entry& e : entries) e = {stored(e.first), stored(e.second)};
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    THiscores table;
    table.maxPerType = 3;  // small, so the trimming is reached often
    try {
        table.LoadFromText(input);
    } catch (const TSCError&) {
        return 0;
    }
    std::map<int32_t, int> perType;
    for (size_t i = 0; i < table.scores.size(); ++i) {
        if (++perType[table.scores[i]->typeID] > table.maxPerType) __builtin_trap();
        if (i > 0 && TScore::CompareScores(*table.scores[i - 1], *table.scores[i]) > 0) __builtin_trap();
    }
    const std::vector<Entry> want = Best(EntriesOfText(input), table.maxPerType);
    if (EntriesOf(table) != want) __builtin_trap();  // an entry of the input lost or changed at load
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
    if (EntriesOf(again) != AsWritten(want)) __builtin_trap();  // lost or changed by the save
    return 0;
}

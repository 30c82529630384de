// libFuzzer target: the .tsc loader and writer.
//
// Any input either raises a TSCError or loads; what loads must write a text
// that loads again to the same keys and writes the very same bytes (but for
// a configuration of defines alone, written as an empty file), and each
// value's number must survive the number-to-text round trip.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "config/tsc_file.h"
#include "platform/stream.h"
#include "platform/testing.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz_tsc: %s: %s\n", what, detail.c_str());
    std::abort();
}

std::vector<std::tuple<std::string, std::string, std::vector<std::string>>> Contents(const TTSCFile& f) {
    std::vector<std::tuple<std::string, std::string, std::vector<std::string>>> out;
    for (const TTSCKeyPtr& k : *f.keys) {
        std::vector<std::string> values;
        for (int i = 0; i < k->valueCount; ++i) values.push_back(k->Value(i));
        std::string path = k->path;
        for (char& c : path)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        out.emplace_back(path, k->name, values);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::testing::UseHeadless();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TTSCFilePtr f = CreateTSCFile();
    try {
        LoadTSCFile(f, plat::CreateMemoryStream(text));
    } catch (const TSCError& e) {
        if (e.Text().rfind("ERROR: ", 0) != 0) Fail("error text without its prefix", e.Text());
        if (!f->keys->IsEmpty() || !f->groups->IsEmpty()) Fail("failed load kept records", e.Text());
        return 0;
    }

    // Lookups answer from indexes; each must find what a walk in order finds.
    {
        TTSCFilePtr h = CreateTSCFile();
        LoadTSCFile(h, plat::CreateMemoryStream(text));
        auto fold = [](std::string s) {
            for (char& c : s)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            return s;
        };
        const auto keys = f->keys->ToArray();
        for (size_t i = 0; i < keys.size() && i < 64; ++i) {
            const TTSCKeyPtr* first = nullptr;
            int inPath = 0;
            for (const TTSCKeyPtr& k : keys) {
                if (fold(k->path) != fold(keys[i]->path)) continue;
                ++inPath;
                if (!first && fold(k->name) == fold(keys[i]->name)) first = &k;
            }
            if (h->GetStringKey(keys[i]->path, keys[i]->name, 0) != (*first)->Value(0))
                Fail("lookup found another key than the first", keys[i]->path + "::" + keys[i]->name);
            if (GetTSCKeyList(h, keys[i]->path)->Count() != inPath) Fail("key list of a path differs", keys[i]->path);
        }
        const auto groups = f->groups->ToArray();
        for (size_t i = 0; i < groups.size() && i < 64; ++i) {
            int under = 0;
            for (const TTSCGroupPtr& g : groups) under += fold(g->parentPath) == fold(groups[i]->parentPath);
            if (GetTSCGroupList(h, groups[i]->parentPath)->Count() != under)
                Fail("group list of a parent differs", groups[i]->parentPath);
        }
    }

    const std::string first = f->SaveToString();
    // A configuration without keys and groups (defines only) is written as an
    // empty file, and a text without tokens is a syntax error: both as
    // designed, so the one text that cannot come back is the empty one.
    if (first.empty()) {
        if (!f->keys->IsEmpty()) Fail("keys written as nothing", text);
        return 0;
    }
    TTSCFilePtr g = CreateTSCFile();
    try {
        LoadTSCFile(g, plat::CreateMemoryStream(first));
    } catch (const TSCError& e) {
        Fail("written text does not load", e.Text() + "\n" + first);
    }
    if (g->SaveToString() != first) Fail("second save differs", first);
    if (Contents(*f) != Contents(*g)) Fail("keys changed through a save", first);

    for (const TTSCKeyPtr& k : *f->keys) {
        for (int i = 0; i < k->valueCount; ++i) {
            const float v = TSCTextToNumber(k->Value(i));
            if (!std::isfinite(v)) continue;
            const std::string t = TSCNumberToText(v);
            if (IsStringNumber(t) != 1 || TSCTextToNumber(t) != v) Fail("number text does not read back", t);
        }
        if (f->ResolveKey(k->path, k->name) == nullptr) Fail("key not found by its own path", k->name);
    }
    return 0;
}

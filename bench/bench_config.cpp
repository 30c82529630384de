// Configuration files and archives: how fast a large configuration is
// unpacked and parsed through LoadTSCFileBB (MB/s of text), the parts of that
// alone, how long a large quest map and level list take to load, and how
// well our packer compresses the game's data texts.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/bca.h"
#include "config/bca_writer.h"
#include "config/tsc_file.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "map/map_core.h"
#include "platform/testing.h"
#include "screens/board_selector.h"

namespace {

// Text shaped like the game's data, about the given size: groups of runes
// and level rows with numbers, strings, define names and comments.
std::string LargeConfig(size_t bytes) {
    std::string t = "// generated for the benchmark\n#define RED 1\n#define BLUE 2\n";
    unsigned seed = 12345;
    auto next = [&seed] { return std::to_string((seed = seed * 1103515245u + 12345u) >> 16); };
    auto put = [&t](std::initializer_list<std::string_view> parts) {
        for (std::string_view p : parts) t.append(p);
    };
    for (int g = 0; t.size() < bytes; ++g) {
        const std::string n = std::to_string(g);
        put({"Level", n, "{\n\tName=\"level_", n, ".tsc\"\n\tType=", next().substr(0, 1), "\n\t/* board rows */\n"});
        for (int r = 0; r < 8; ++r) {
            put({"\tRow", std::to_string(r), "="});
            for (int c = 0; c < 15; ++c) put({c ? "," : "", next().substr(0, 1)});
            put({"\n"});
        }
        put({"\tSpeed=0.", next(), "\n\tColor=", g % 2 ? "RED" : "BLUE", "\n\tRune{ Image='gfx/runes/rune",
             std::to_string(g % 40), ".png' X=", next(), " Y=", next(), " }\n}\n"});
    }
    return t;
}

// Members of 1, 2 and 4 MiB (just under: a member may unpack to no more
// than bca::kMaxDecodedLength), packed as the benchmark always has: blocks
// of 512 bytes, up to four passes.
constexpr int kMemberSizes[] = {1, 2, 4};

std::string MemberText(int mib) { return LargeConfig((size_t(mib) << 20) - (mib == 4 ? 4096 : 0)); }
std::string MemberName(int mib) { return "large" + std::to_string(mib) + ".tsc"; }

struct Fixture {
    std::vector<std::string> texts;  // by MiB
    std::string archivePath;
    Fixture() {
        plat::testing::UseHeadless();
        texts.resize(5);
        std::vector<std::pair<std::string, std::string>> members;
        for (int mib : kMemberSizes) {
            texts[static_cast<size_t>(mib)] = MemberText(mib);
            members.emplace_back(MemberName(mib), texts[static_cast<size_t>(mib)]);
        }
        bca::PackOptions o;
        o.blockSize = 512;
        o.maxPasses = 4;
        const std::string archive = bca::PackArchive(members, o);
        archivePath = "/tmp/quill_bench_config_" + std::to_string(getpid()) + ".bca";
        plat::SaveText(archivePath, archive);
    }
    ~Fixture() { plat::DeleteFile(archivePath); }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

// Unpack and parse together, from the archive file, as the game reads its
// data: MB/s of text.
void BM_LoadTSCFileBB(benchmark::State& state) {
    Fixture& d = Data();
    const int mib = static_cast<int>(state.range(0));
    const std::string name = MemberName(mib);
    for (auto _ : state) {
        TTSCFilePtr f = CreateTSCFile();
        if (LoadTSCFileBB(f, d.archivePath, name) != 1) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(d.texts[static_cast<size_t>(mib)].size()));
}
BENCHMARK(BM_LoadTSCFileBB)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_UnpackOnly(benchmark::State& state) {
    Fixture& d = Data();
    const std::string& text = d.texts[4];
    const std::string packed = bca::PackMember(text, {512, 4});
    for (auto _ : state) {
        std::string out;
        bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UnpackOnly)->Unit(benchmark::kMillisecond);

// Parsing alone at 1, 8 and 32 MB of text: the rate should hold as the
// text grows. The text goes in through a memory stream, as profiles do.
void BM_ParseOnly(benchmark::State& state) {
    const std::string text = LargeConfig(static_cast<size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        TTSCFilePtr f = CreateTSCFile();
        LoadTSCFile(f, plat::CreateMemoryStream(text));
        benchmark::DoNotOptimize(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseOnly)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

// The parser alone on text in memory, without the stream's own copy of it
// (fresh memory each time, which at 32 MB costs as much as the parse).
void BM_ParseInPlace(benchmark::State& state) {
    const std::string text = LargeConfig(static_cast<size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        TTSCFilePtr f = CreateTSCFile();
        LoadTSCText(f, text);
        benchmark::DoNotOptimize(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseInPlace)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

// ---- large map and level list -------------------------------------------------------------
//
// The quest map with n markers (five number keys each) and the time-attack
// list with n entries, read as the game reads them: from settings.bca in a
// folder of their own, through the map's loader and the selector's list.

struct GameFolder {
    std::string dir, oldDir;
    explicit GameFolder(int n) {
        plat::testing::UseHeadless();
        std::string mapText = "Levels{\n";
        for (int i = 1; i <= n; ++i) {
            const std::string k = std::to_string(i);
            mapText += "\tLevel" + k + "{\n\t\tNumber=" + k + "\n\t\tStage=" + std::to_string(1 + i / 50) +
                       "\n\t\tKind=" + std::to_string(1 + i % 5) + "\n\t\tX=" + std::to_string(i % 800) +
                       "\n\t\tY=" + std::to_string(i % 600) + "\n\t}\n";
        }
        mapText += "}\nStages{\n\tStage1{\n\t\tNumber=1\n\t\tImage=\"gfx/mapa/s1.png\"\n\t\tX=0\n\t\tY=0\n\t}\n}\n";
        std::string listText;
        for (int i = 1; i <= n; ++i)
            listText += "Level" + std::to_string(i) + "{\n\tFileName=\"timed_" + std::to_string(i) + ".tsc\"\n}\n";
        dir = "/tmp/quill_bench_lists_" + std::to_string(getpid()) + "_" + std::to_string(n);
        plat::CreateDir(dir);
        plat::CreateDir(dir + "/data");
        plat::SaveText(dir + "/data/settings.bca",
                       bca::PackArchive({{TMapCore::kMember, mapText}, {"timedLevels.tsc", listText}}));
        oldDir = plat::CurrentDir();
        plat::ChangeDir(dir);
    }
    ~GameFolder() {
        plat::ChangeDir(oldDir);
        plat::DeleteDir(dir, true);
    }
};

void BM_MapLayoutLoad(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    GameFolder folder(n);
    for (auto _ : state) {
        TMapCore core;
        const TTSCFilePtr file = CreateTSCFile();
        LoadTSCFileBB(file, TMapCore::kArchive, TMapCore::kMember);
        std::string missing;
        core.ReadLayout(file, missing);
        if (!missing.empty() || core.levels->Count() != n) state.SkipWithError("map not read whole");
    }
    state.counters["markers"] = n;
}
BENCHMARK(BM_MapLayoutLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TimeAttackListLoad(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    GameFolder folder(n);
    for (auto _ : state) {
        TBoardSelector selector;
        selector.LoadList(1);
        if (static_cast<int>(selector.levelNames.size()) != n) state.SkipWithError("list not read whole");
    }
    state.counters["entries"] = n;
}
BENCHMARK(BM_TimeAttackListLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The ratio of packed to plain bytes over every .tsc text under assets/
// (each text a member, as the asset builder packs them); a generated text of
// about 100 kB while there are none.
void BM_PackerRatio(benchmark::State& state) {
    std::vector<std::pair<std::string, std::string>> members;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(QUILL_ASSETS_DIR, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->path().extension() != ".tsc") continue;
        std::string text;
        if (plat::LoadText(it->path().string(), text))
            members.emplace_back(std::to_string(members.size()) + "_" + it->path().filename().string(), text);
    }
    const bool real = !members.empty();
    if (!real) members.emplace_back("generated.tsc", Data().texts[1].substr(0, 100000));
    double plain = 0, packed = 0;
    for (auto _ : state) {
        plain = packed = 0;
        for (const auto& [name, text] : members) {
            plain += static_cast<double>(text.size());
            packed += static_cast<double>(bca::PackMember(text).size());
        }
    }
    state.counters["texts"] = static_cast<double>(members.size());
    state.counters["plain_kB"] = plain / 1024;
    state.counters["packed_kB"] = packed / 1024;
    state.counters["ratio"] = plain > 0 ? packed / plain : 0;
    state.SetLabel(real ? "assets/*.tsc" : "generated text (no assets yet)");
}
BENCHMARK(BM_PackerRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

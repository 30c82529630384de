// Configuration files and archives: how fast a large configuration is
// unpacked and parsed through LoadTSCFileBB (MB/s of text), the parts of that
// alone, and how well our packer compresses the game's data texts.
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
#include "platform/testing.h"

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

// The archive benchmarks read a 3 MB member: a member may unpack to no more
// than bca::kMaxDecodedLength (4 MiB).
struct Fixture {
    std::string text, archivePath;
    Fixture() {
        plat::testing::UseHeadless();
        text = LargeConfig(size_t{3} << 20);
        bca::PackOptions o;
        o.blockSize = 512;
        o.maxPasses = 4;
        const std::string archive = bca::PackArchive({{"large.tsc", text}}, o);
        archivePath = "/tmp/quill_bench_config_" + std::to_string(getpid()) + ".bca";
        plat::SaveText(archivePath, archive);
    }
    ~Fixture() { plat::DeleteFile(archivePath); }
};

Fixture& Data() {
    static Fixture f;
    return f;
}

void BM_LoadTSCFileBB(benchmark::State& state) {
    Fixture& d = Data();
    for (auto _ : state) {
        TTSCFilePtr f = CreateTSCFile();
        if (LoadTSCFileBB(f, d.archivePath, "large.tsc") != 1) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.text.size()));
}
BENCHMARK(BM_LoadTSCFileBB)->Unit(benchmark::kMillisecond);

void BM_UnpackOnly(benchmark::State& state) {
    Fixture& d = Data();
    const std::string packed = bca::PackMember(d.text, {512, 4});
    for (auto _ : state) {
        std::string out;
        bca::UnpackMember(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(d.text.size()));
}
BENCHMARK(BM_UnpackOnly)->Unit(benchmark::kMillisecond);

// Parsing alone at 1, 8 and 32 MB of text: the rate should hold as the
// text grows.
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
    if (!real) members.emplace_back("generated.tsc", Data().text.substr(0, 100000));
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

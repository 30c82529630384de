// The whole game as a player meets it, each figure from a fresh process of
// quill_bench_run (quest_run.cpp) with an empty home folder:
//   BM_StartUpBeyondFades  start-up to the first title frame on the real
//                          backend, less the designed fades (the same run
//                          headless: its fake clock at the title is the
//                          fades' and holds' own length); median of 3, and
//                          the start-up frames' interval p99 (median) and
//                          longest (of all three)
//   BM_IdleTitle           the title left idle for QUILL_BENCH_IDLE_S
//                          seconds (30): frames per second, frame-interval
//                          median/p95/p99, and the main thread's share of a
//                          core
//   BM_QuestMemory         every story part with its voice and every song in
//                          one run: peak resident memory, real and headless
// The real runs need a display (run under xvfb-run) and are skipped without
// one. For the figures under load, run the same under bench/under-load.sh.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>


namespace {

using Figures = std::map<std::string, double>;

const char* GameDir() {
    const char* dir = std::getenv("QUILL_GAME_DIR");
    return dir && *dir ? dir : QUILL_BENCH_GAME_DIR;
}

// QUILL_BENCH_RUN and QUILL_GAME_DIR pick another build's runner and game
// folder: the figures before and after a change, from one harness.
const char* Runner() {
    const char* run = std::getenv("QUILL_BENCH_RUN");
    return run && *run ? run : QUILL_BENCH_RUN;
}

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// Runs quill_bench_run with args in an empty home folder of its own; its
// "name value" lines.
Figures Run(const std::vector<std::string>& args) {
    static int runs = 0;
    const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                       ("quill-bench-run-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    const std::filesystem::path out = home / "figures.txt";
    std::string cmd = "HOME='" + home.string() + "' '" + Runner() + "' '" + GameDir() + "'";
    for (const std::string& a : args) cmd += " " + a;
    cmd += " >'" + out.string() + "' 2>/dev/null";
    Figures f;
    if (std::system(cmd.c_str()) == 0) {
        std::FILE* in = std::fopen(out.c_str(), "r");
        char name[64];
        double value = 0;
        while (in && std::fscanf(in, "%63s %lf", name, &value) == 2) f[name] = value;
        if (in) std::fclose(in);
    }
    std::filesystem::remove_all(home);
    return f;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void BM_StartUpBeyondFades(benchmark::State& state) {
    if (!HaveDisplay()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    Figures designed;
    std::vector<double> startup, frameP99, frameMax;
    for (auto _ : state) {
        designed = Run({"startup", "0", "headless"});
        for (int i = 0; i < 3; ++i) {
            Figures f = Run({"startup", "0"});
            if (f["titleReached"] != 1) continue;
            startup.push_back(f["startupMs"]);
            frameP99.push_back(f["startupFrameP99Ms"]);
            frameMax.push_back(f["startupFrameMaxMs"]);
        }
    }
    if (designed["titleReached"] != 1 || startup.empty()) {
        state.SkipWithError("the title was not reached");
        return;
    }
    const double d = designed["clockAtTitleMs"];
    state.counters["designedFadesMs"] = d;
    state.counters["startupMs"] = Median(startup);
    state.counters["beyondFadesMs"] = Median(startup) - d;
    state.counters["beyondFadesWorstMs"] = *std::max_element(startup.begin(), startup.end()) - d;
    state.counters["fadeFrameP99Ms"] = Median(frameP99);
    state.counters["fadeFrameMaxMs"] = *std::max_element(frameMax.begin(), frameMax.end());
}
BENCHMARK(BM_StartUpBeyondFades)->Unit(benchmark::kSecond)->Iterations(1);

void BM_IdleTitle(benchmark::State& state) {
    if (!HaveDisplay()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    const char* env = std::getenv("QUILL_BENCH_IDLE_S");
    const std::string seconds = env && *env ? env : "30";
    Figures f;
    for (auto _ : state) f = Run({"startup", seconds});
    if (f.count("idleMainCpuPct") == 0) {
        state.SkipWithError("the idle title was not measured");
        return;
    }
    for (const char* k : {"idleSeconds", "idleFps", "idleMainCpuPct", "frameMedianMs", "frameP95Ms", "frameP99Ms",
                          "frameMaxMs"})
        state.counters[k] = f[k];
}
BENCHMARK(BM_IdleTitle)->Unit(benchmark::kSecond)->Iterations(1);

void BM_QuestMemory(benchmark::State& state) {
    const bool headless = state.range(0) == 0;
    if (!headless && !HaveDisplay()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    Figures f;
    for (auto _ : state) f = Run(headless ? std::vector<std::string>{"memory", "headless"} : std::vector<std::string>{"memory"});
    if (f.count("peakRssMiB") == 0) {
        state.SkipWithError("the run did not finish");
        return;
    }
    state.SetLabel(headless ? "headless" : "real");
    for (const char* k : {"peakRssMiB", "voicesPlayed", "songsPlayed", "songsCached"}) state.counters[k] = f[k];
}
BENCHMARK(BM_QuestMemory)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

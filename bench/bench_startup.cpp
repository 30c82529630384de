// The game's start-up from the first global to the title screen's start, on the headless backend from the built game folder with an empty
// home folder (a first start: the preferences folder, hiscores and options
// are written). It reads every archive, decodes every picture, font, sound
// and song the loading screen loads, so it is the CPU side of the wait a
// player sees before the title; the display's own work is not in it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "main/startup.h"
#include "platform/plat.h"
#include "platform/testing.h"

namespace {


void BM_StartUpToTitle(benchmark::State& state) {
    plat::testing::UseHeadless();
    const std::string oldDir = plat::CurrentDir();
    // QUILL_GAME_DIR picks another build's game folder.
    const char* gameDir = std::getenv("QUILL_GAME_DIR");
    if (!plat::ChangeDir(gameDir && *gameDir ? gameDir : QUILL_BENCH_GAME_DIR)) {
        state.SkipWithError("no built game folder: build the assets first");
        return;
    }
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("quill-bench-home-" + std::to_string(::getpid()));
    const char* oldHome = std::getenv("HOME");
    const std::string keptHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    int flips = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(home);
        std::filesystem::create_directories(home);
        plat::testing::Reset();
        bool title = false;
        state.ResumeTiming();
        plat::RunGame(0, nullptr, [&] {
            CreateGlobals();
            StartUp();
            mainLoopScreens.title = [&] {
                title = true;
                flips = plat::testing::FlipCount();
                plat::End();
                return 0;
            };
            MainLoopPass();
        });
        if (!title) state.SkipWithError("the title was not reached");
    }
    state.counters["framesBeforeTitle"] = flips;
    plat::testing::Reset();
    std::filesystem::remove_all(home);
    setenv("HOME", keptHome.c_str(), 1);
    plat::ChangeDir(oldDir);
}
BENCHMARK(BM_StartUpToTitle)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

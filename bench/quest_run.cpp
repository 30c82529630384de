// quill_bench_run: the game itself, from a built game folder, run one way
// and measured, for the whole-program benchmarks (bench_real.cpp starts it
// in a process of its own, so every figure is one fresh run's).
//
//   quill_bench_run <game folder> startup <idle s> [headless]
//       start-up to the first title frame, then the title left idle for
//       <idle s> seconds (ended by a termination signal, as a player's
//       window manager would); prints the frames' clocks
//   quill_bench_run <game folder> memory [headless]
//       start-up, then every story part with its voice and every song of
//       sfx/, one after the other; prints the peak resident memory
//
// Without "headless" it is the real backend: SDL window, OpenGL, the system
// audio device (a virtual display and SDL's dummy audio driver on a
// machine without them). HOME is the caller's: give it an empty folder for
// a first start.
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/music.h"
#include "bench/peak_rss.h"
#include "main/startup.h"
#include "platform/plat.h"
#include "platform/testing.h"
#include "story/story_player.h"
#include "title/title_screen.h"

namespace {

namespace pt = plat::testing;

std::vector<pt::FlipTime> g_flips;
int64_t g_startWallNs = 0;
size_t g_titleFlip = 0;  // index of the first title frame in g_flips

int64_t WallNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

void Figure(const char* name, double value) { std::printf("%s %.3f\n", name, value); }

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

// Start-up figures; then, when the title ran idle, its pacing and the main
// thread's share of a core, from its second second on (the fade-in left out).
void PrintStartUpFigures() {
    if (g_titleFlip >= g_flips.size()) {
        Figure("titleReached", 0);
        return;
    }
    const pt::FlipTime& first = g_flips[g_titleFlip];
    Figure("titleReached", 1);
    Figure("framesBeforeTitle", static_cast<double>(g_titleFlip));
    Figure("startupMs", static_cast<double>(first.wallNs - g_startWallNs) / 1e6);
    Figure("clockAtTitleMs", static_cast<double>(first.clockMs));
    // The loading screen's and the start-up pictures' frames: a fade that
    // stutters shows as a long one.
    std::vector<double> fades;
    for (size_t i = 1; i <= g_titleFlip; ++i)
        fades.push_back(static_cast<double>(g_flips[i].wallNs - g_flips[i - 1].wallNs) / 1e6);
    Figure("startupFrameP99Ms", Percentile(fades, 0.99));
    Figure("startupFrameMaxMs", Percentile(fades, 1.0));
    const size_t from = g_titleFlip + 60;
    if (g_flips.size() < from + 60) return;
    std::vector<double> intervals;
    for (size_t i = from + 1; i < g_flips.size(); ++i)
        intervals.push_back(static_cast<double>(g_flips[i].wallNs - g_flips[i - 1].wallNs) / 1e6);
    const pt::FlipTime& a = g_flips[from];
    const pt::FlipTime& b = g_flips.back();
    const double wall = static_cast<double>(b.wallNs - a.wallNs);
    Figure("idleSeconds", wall / 1e9);
    Figure("idleFps", static_cast<double>(intervals.size()) / (wall / 1e9));
    Figure("idleMainCpuPct", 100.0 * static_cast<double>(b.cpuNs - a.cpuNs) / wall);
    Figure("frameMedianMs", Percentile(intervals, 0.5));
    Figure("frameP95Ms", Percentile(intervals, 0.95));
    Figure("frameP99Ms", Percentile(intervals, 0.99));
    Figure("frameMaxMs", Percentile(intervals, 1.0));
}

// Every story part as the quest shows it, its first second of pages, then
// every song; the caches keep what the game keeps.
void PlayAllVoicesAndSongs() {
    int voices = 0;
    for (int part = 1; part <= 16; ++part) {
        TStoryPlayer p;
        p.FirstFrame();
        p.Load(part);
        p.StartMusic();
        p.OpeningFade();
        p.StartVoice();
        voices += p.voiceStream && p.voiceStream->musicFile && p.voiceStream->musicFile->sound ? 1 : 0;
        p.BeginPages();
        for (int i = 0; i < 60 && p.leaveCode == TStoryPlayer::kGoOn; ++i) p.PageFrame();
        if (p.voiceStream) p.voiceStream->stop();
        if (p.music) p.music->stop();
        p.Release();
    }
    std::vector<std::string> songs;
    for (const auto& e : std::filesystem::directory_iterator("sfx"))
        if (e.is_regular_file() && e.path().extension() == ".ogg") songs.push_back("sfx/" + e.path().filename().string());
    std::sort(songs.begin(), songs.end());
    int played = 0;
    for (const std::string& song : songs) {
        TAudioStreamPtr s = playMusicStream(song, 1, 1.0f);
        played += s->musicFile && s->musicFile->sound ? 1 : 0;
        for (int i = 0; i < 30; ++i) plat::Flip(-1);
        s->stop();
    }
    Figure("voicesPlayed", voices);
    Figure("songsPlayed", played);
    Figure("songsCached", songManager ? songManager->songs->Count() : 0);
    Figure("peakRssMiB", PeakRssMiB());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <game folder> startup <idle s> | memory [headless]\n", argv[0]);
        return 2;
    }
    const std::string gameDir = argv[1], mode = argv[2];
    const int idleSeconds = mode == "startup" && argc > 3 ? std::atoi(argv[3]) : 0;
    const bool headless = std::string(argv[argc - 1]) == "headless";
    if (headless) pt::UseHeadless();
    // The draw recorder is the tests' and the game keeps no such record: a
    // headless memory figure with it would count up to 2000 frames of draws.
    if (headless && mode == "memory") pt::RecordDraws(false);
    g_startWallNs = WallNs();
    pt::RecordFlipTimes(&g_flips);
    return plat::RunGame(argc, argv, [&] {
        if (!plat::ChangeDir(gameDir)) {
            std::fprintf(stderr, "no game folder at %s\n", gameDir.c_str());
            plat::End();
        }
        CreateGlobals();
        StartUp();
        std::fflush(stdout);
        mainLoopScreens.title = [&] {
            g_titleFlip = g_flips.size();
            if (mode == "memory") {
                PlayAllVoicesAndSongs();
            } else if (idleSeconds > 0 && !headless) {
                plat::OnEnd([](bool) { PrintStartUpFigures(); });
                std::thread([idleSeconds] {
                    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds) + std::chrono::seconds(1));
                    kill(getpid(), SIGTERM);
                }).detach();
                titleScreen->Prepare();
                titleScreen->show();
            } else {
                // The title's first frame, then the end.
                titleScreen->Prepare();
                plat::Flip(-1);
                PrintStartUpFigures();
            }
            std::fflush(stdout);
            plat::End();
            return 0;
        };
        MainLoopPass();
    });
}

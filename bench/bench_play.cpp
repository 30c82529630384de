// Play, measured three ways:
//   BM_PlayFrame      the whole game headless from the built game folder (a
//                     first start: a name, the quest, its story and help pages
//                     passed), then 1,000 frames of the first level (its 8 x 8
//                     board) with the board full of runes and all six spells
//                     set off again and again: the CPU time of each frame
//                     (this thread's), its median and worst; inPlay and
//                     spellsLive count the frames that really were play with
//                     a spell at work
//   BM_LevelFrameGL   one frame of a board level drawn by the real OpenGL
//                     device (SDL's offscreen driver), waited for
//   BM_PeakMemory     the same headless run for longer; the process's peak
//                     resident memory (VmHWM) afterwards. Peak is per process:
//                     run it alone (--benchmark_filter=PeakMemory) for the
//                     game's own figure.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "bench/peak_rss.h"
#include "main/startup.h"
#include "modes/popup_manager.h"
#include "modes/scene.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/gfx_internal.h"
#include "platform/plat.h"
#include "platform/testing.h"
#include "profiles/profile_screen.h"
#include "screens/options_window.h"
#include "spells/spells.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "tests/support/play_world.h"

namespace {

namespace pt = plat::testing;

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

const char* GameDir() {
    const char* dir = std::getenv("QUILL_GAME_DIR");
    return dir && *dir ? dir : QUILL_BENCH_GAME_DIR;
}

// Every board cell but a 4 x 4 corner holds a rune (three colours, no run of
// three anywhere, so nothing clears by itself) and the six kinds of spell lie
// on six of them, set off at once: the board as busy as play makes it. The
// corner stays free because a board the held block fits nowhere ends the level,
// and the spheres are kept empty because full ones win it: either would measure
// the tally instead of play.
void ArmBusyBoard() {
    TBoardManager& b = *board;
    const int now = plat::MilliSecs();
    std::vector<std::pair<int, int>> cells;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            if (b.shapeLayer[x][y] == 0 || (x < 4 && y < 4)) continue;
            b.runeLayer[x][y] = b.colorLayer[x][y] = 1 + (x + 2 * y) % 3;
            b.placeTimeLayer[x][y] = now;
            cells.emplace_back(x, y);
        }
    if (magicSphere) magicSphere->sphereFill.fill(0.0f);
    if (!bonusManagerAlt || cells.size() < kSpellKinds) return;
    for (int kind = 1; kind <= kSpellKinds; ++kind) {
        // Spread over the board, so their effects do not fall on each other.
        const auto [x, y] = cells[(cells.size() * static_cast<size_t>(kind)) / (kSpellKinds + 1)];
        bonusManagerAlt->AddBonusExt(kind, x, y, b.colorLayer[x][y]);
        bonusManagerAlt->Clear(x, y);
    }
}

// The menu window keeps its page number after the pause menu closes; its
// resume button is there only while it is open.
bool Paused() { return optionsWindow && optionsWindow->state == kMenuInGame && data && data->GetButton(20); }
// The button takes the popup's alpha while one shows and keeps its last, faded value after.
bool HintShown() {
    return popupManager && popupManager->okButton && popupManager->okButton->area && popupManager->okButton->alpha > 0.5f;
}

// A first-time player's way into the first level, then `frames` frames of
// busy play; `onPlayFrame` sees each of those frames' CPU milliseconds.
struct PlayRun {
    int frames = 1000;
    std::function<void(double ms)> onPlayFrame;
    bool reachedPlay = false;
    int played = 0;
    int spellFrames = 0;  // frames with a spell set off and not yet done
    int playFrames = 0;   // frames of the level itself: no pause menu, no end

    void Run() {
        pt::Reset();
        int flip = 0;
        int nextAct = 0;
        double frameStart = 0.0;
        bool typed = false, quest = false;
        int calm = 0;
        int clickFrame = -1;
        auto click = [&](int x, int y) {
            pt::SetMouse(x, y);
            clickFrame = flip;
        };
        pt::OnFlip([&](int n) {
            flip = n;
            // The recorder keeps every draw call: grown over the whole run,
            // its reallocations would be timed as frames of play and its
            // size counted as the game's memory.
            pt::ClearDrawCalls();
            if (reachedPlay) {
                const double ms = ThreadCpuMs() - frameStart;
                if (onPlayFrame) onPlayFrame(ms);
                if (bonusManagerAlt && (bonusManagerAlt->BonusActive() != 0 || bonusManagerAlt->teleportProgress < 1.0f))
                    ++spellFrames;
                if (QuestPlayStateLive() && board->gameOverFlag == 0 && level->summaryStage == 0 && !Paused() && !HintShown())
                    ++playFrames;
                if (++played >= frames) plat::End();
                // Set off again while the last spells still work, so some
                // are always live; not part of the frame measured.
                if (played % 90 == 0) ArmBusyBoard();
                if (magicSphere) magicSphere->sphereFill.fill(0.0f);
                frameStart = ThreadCpuMs();
                return;
            }
            if (n > 40000) plat::End();  // stuck: the run reports it
            // A click as a hand makes it: over the button first, then
            // pressed, then let go.
            if (clickFrame >= 0) {
                if (n == clickFrame + 2) pt::PressMouse(plat::MOUSE_LEFT);
                if (n == clickFrame + 4) {
                    pt::ReleaseMouse(plat::MOUSE_LEFT);
                    clickFrame = -1;
                }
            }
            if (n < nextAct) return;
            if (!typed && profileLoader && profileLoader->state == 5) {
                for (char c : std::string("bench")) pt::TypeChar(c);
                pt::TapKey(plat::KEY_RETURN);
                typed = true;
                nextAct = n + 10;
            } else if (!quest && typed && optionsWindow && optionsWindow->state == kMenuMain && data) {
                const TButtonPtr b = data->GetButton(61);
                if (b && b->area && b->visible != 0 && b->active != 0) {
                    const int x = static_cast<int>((b->area->Left() + b->area->Right()) / 2);
                    const int y = static_cast<int>((b->area->Top() + b->area->Bottom()) / 2);
                    click(x, y);
                    quest = true;
                    nextAct = n + 3;
                }
            } else if (quest && QuestPlayStateLive()) {
                // The level's first hint is answered and a stray Escape's
                // pause menu closed; play is measured once neither has shown
                // for a second.
                if (Paused() || HintShown()) {
                    calm = 0;
                    if (Paused()) {
                        pt::TapKey(plat::KEY_ESCAPE);
                    } else {
                        const TDimPtr& a = popupManager->okButton->area;
                        click(static_cast<int>((a->Left() + a->Right()) / 2),
                              static_cast<int>((a->Top() + a->Bottom()) / 2));
                    }
                    nextAct = n + 20;
                } else if (++calm >= 60) {
                    ArmBusyBoard();
                    reachedPlay = true;
                    frameStart = ThreadCpuMs();
                }
            } else if (quest && n % 30 == 0) {
                pt::TapKey(plat::KEY_ESCAPE);  // past the story and help pages
            }
        });
        plat::RunGame(0, nullptr, [] { GameMain(); });
        pt::OnFlip(nullptr);
        pt::Reset();
    }
};

// The run in the built game folder with an empty home folder of its own.
template <class F>
bool InGameFolder(benchmark::State& state, F body) {
    pt::UseHeadless();
    plat::detail::SelectGfxDevice(true);
    const std::string oldDir = plat::CurrentDir();
    if (!plat::ChangeDir(GameDir())) {
        state.SkipWithError("no built game folder: build the assets first");
        return false;
    }
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("quill-bench-play-" + std::to_string(::getpid()));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    const char* oldHome = std::getenv("HOME");
    const std::string keptHome = oldHome ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    body();
    std::filesystem::remove_all(home);
    setenv("HOME", keptHome.c_str(), 1);
    plat::ChangeDir(oldDir);
    return true;
}

void BM_PlayFrame(benchmark::State& state) {
    std::vector<double> ms;
    bool reached = true;
    int spellFrames = 0, playFrames = 0;
    for (auto _ : state) {
        InGameFolder(state, [&] {
            PlayRun run;
            run.frames = 1000;
            run.onPlayFrame = [&](double f) { ms.push_back(f); };
            run.Run();
            reached = reached && run.reachedPlay;
            spellFrames = run.spellFrames;
            playFrames = run.playFrames;
        });
    }
    if (!reached || ms.empty()) {
        state.SkipWithError("the first level was not reached");
        return;
    }
    // Which frame of the run was the worst (spells are set off again every 90).
    state.counters["worstFrameAt"] = static_cast<double>(std::max_element(ms.begin(), ms.end()) - ms.begin());
    std::sort(ms.begin(), ms.end());
    state.counters["frames"] = static_cast<double>(ms.size());
    state.counters["inPlay"] = playFrames;
    state.counters["spellsLive"] = spellFrames;
    state.counters["medianFrameMs"] = ms[ms.size() / 2];
    state.counters["worstFrameMs"] = ms.back();
}
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PeakMemory(benchmark::State& state) {
    bool reached = true;
    for (auto _ : state) {
        InGameFolder(state, [&] {
            PlayRun run;
            run.frames = 5000;
            run.Run();
            reached = reached && run.reachedPlay;
        });
    }
    if (!reached) {
        state.SkipWithError("the first level was not reached");
        return;
    }
    state.counters["peakRssMiB"] = PeakRssMiB();
}
BENCHMARK(BM_PeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// A board level as the play loop draws it, on the real device: the quest's
// level 7 (a boss level) with a full board and its panels.
void BM_LevelFrameGL(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    plat::detail::SelectGfxDevice(false);
    const std::string oldDir = plat::CurrentDir();
    if (!plat::ChangeDir(GameDir())) {
        state.SkipWithError("no built game folder: build the assets first");
        return;
    }
    if (!plat::Graphics(800, 600)) {
        plat::ChangeDir(oldDir);
        state.SkipWithError("no offscreen OpenGL display");
        return;
    }
    quill_test::MakePlayWorld();
    delta = 1.0;
    razod->loadRazodGfx();
    blocks->loadBlocksDef();
    board->loadBoardGfx();
    for (int i = 0; i < 4; ++i)
        loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
    magicSphere->LoadResources();
    timeManager->LoadResources();
    points->loadGfx();
    TCaptions::loadGfx();
    bossManager->LoadResources();
    gameState = 1;
    level->Set("level_07.tsc");
    if (level->TryLoad(0) != 1) {
        state.SkipWithError("level_07.tsc does not load");
    } else {
        level->loadGfx();
        board->createBoardImage(1);
        timeManager->Set(180000);
        timeManager->Reset(0);
        const int now = plat::MilliSecs();
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y) {
                if (board->shapeLayer[x][y] == 0) continue;
                board->runeLayer[x][y] = board->colorLayer[x][y] = 1 + (x + 2 * y) % 3;
                board->placeTimeLayer[x][y] = now;
            }
        blocks->heldBlock = blocks->_buildNextBlock();
        auto frame = [] {
            plat::Cls();
            modes::PlayScene();
            plat::detail::Gfx().Finish();
            plat::Flip(0);
        };
        for (int i = 0; i < 5; ++i) frame();  // textures made outside the timing
        for (auto _ : state) frame();
    }
    quill_test::DropPlayWorld();
    plat::EndGraphics();
    plat::ChangeDir(oldDir);
}
BENCHMARK(BM_LevelFrameGL)->Unit(benchmark::kMillisecond);

}  // namespace

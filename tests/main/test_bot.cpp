// The bot at the controls of the real game, headless: its move choice on
// small boards, then a sample of the quest's board levels, endless and
// time-attack boards played through the game's own loops from the real
// start-up, with the profile on disk read back after each game.
//
// QUILL_BOT_ALL=1 adds a sweep over every board level of the quest (the
// bot-quest script runs it; QUILL_BOT_LEVELS="7 16" narrows it);
// QUILL_BOT_WHOLE=1 the whole quest played in one run from a new profile
// (scripts/bot-quest --whole);
// QUILL_BOT_SEEDS ("1 2 3") and QUILL_BOT_FRAMES change the seeds and the
// frame bound of the quest levels.
//
// Index: move choice · one game from the real start-up · quest sample ·
//        endless and time attack · the whole quest · the whole quest in one run
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bot_player.h"
#include "bot_puzzle.h"
#include "bot_ring.h"
#include "button_aim.h"
#include "core/globals.h"
#include "core/prefs.h"
#include "level/bosses.h"
#include "level/spheres.h"
#include "level/level.h"
#include "level/sequencer.h"
#include "main/startup.h"
#include "map/map_core.h"
#include "puzzle/puzzle_manager.h"
#include "modes/board_modes.h"
#include "modes/quest_loop.h"
#include "platform/rng.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "profiles/quest_save.h"
#include "screens/options_window.h"
#include "title/title_screen.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/dim.h"
#include "game_test_util.h"

namespace {

namespace pt = plat::testing;
using quill_bot::BotPlayer;
using quill_bot::Goal;
using quill_bot::Move;

// ---- move choice ------------------------------------------------------------------------

// A board from rows of text: '.' no cell, '_' an empty cell, a digit a rune
// of that colour (rune id = colour).
struct SmallBoard {
    TBoardLayer shape{}, runes{}, colours{};
    explicit SmallBoard(const std::vector<std::string>& rows) {
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < rows[y].size(); ++x) {
                const char c = rows[y][x];
                if (c == '.') continue;
                shape[x][y] = 1;
                if (c >= '1' && c <= '9') runes[x][y] = colours[x][y] = c - '0';
            }
    }
    quill_bot::FitTest Fits() const {
        return [this](int x, int y, int dx, int dy, int, int) {
            const int tx = x + dx, ty = y + dy;
            return tx >= 0 && ty >= 0 && tx < kBoardCells && ty < kBoardCells && shape[tx][ty] != 0 &&
                   runes[tx][ty] == 0;
        };
    }
};

// A dealt block: its cells along a row (rotation 0), colour per cell.
TBlock Bar(const std::vector<int>& colours) {
    TBlock b;
    for (size_t i = 0; i < colours.size(); ++i) b.cells[i][0] = b.colors[i][0] = colours[i];
    return b;
}

// The cells the move covers.
std::vector<std::pair<int, int>> Covered(const TBlock& b, const Move& m) {
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (b.cells[i][j] > 0) {
                int dx, dy;
                RotationOffset(m.rotation, i, j, dx, dy);
                cells.emplace_back(m.x + dx, m.y + dy);
            }
    return cells;
}

struct ChoiceCase {
    const char* name;
    std::vector<std::string> rows;
    std::vector<int> block;
    std::vector<int> wanted;                  // sphere colours still wanted
    std::vector<quill_bot::BossView> bosses;
    std::vector<std::pair<int, int>> expect;  // the cells the drop must cover (any order)
    int cleared;
};
void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class BotChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(BotChoice, PicksTheDropAPlayerWould) {
    const ChoiceCase& c = GetParam();
    SmallBoard b(c.rows);
    const TBlock block = Bar(c.block);
    Goal goal{c.wanted, c.bosses};
    Move m;
    ASSERT_TRUE(quill_bot::ChooseMove(b.shape, b.runes, b.colours, block, goal, b.Fits(), m));
    auto got = Covered(block, m);
    auto want = c.expect;
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << "rotation " << m.rotation << " at " << m.x << "," << m.y;
    EXPECT_EQ(m.cleared, c.cleared);
}

INSTANTIATE_TEST_SUITE_P(
    bot, BotChoice,
    ::testing::Values(
        // The one cell that completes a run, not the many that do not.
        ChoiceCase{"completes_a_run", {"_____", "_____", "11___", "_____"}, {1}, {}, {}, {{2, 2}}, 3},
        // A bar that only fits upright: turned a quarter (either way).
        ChoiceCase{"turns_to_fit", {"_....", "_....", "_...."}, {2, 3, 2}, {}, {}, {{0, 0}, {0, 1}, {0, 2}}, 0},
        // Two runs to finish, one of each of the bar's colours: the colour
        // whose sphere still wants runes.
        ChoiceCase{"wanted_colour_first", {"22_._11", "_______"}, {1, 2}, {2}, {}, {{2, 0}, {2, 1}}, 3},
        // Nothing clears: beside its own colour, not beside another.
        ChoiceCase{"keeps_colours_together", {"1___2"}, {2}, {}, {}, {{3, 0}}, 0},
        // A boss with one arm cell missing beats any run.
        ChoiceCase{"beats_the_boss",
                   {"..11..", "..11..", "11__11", "11__11", "..1_..", "..11..", "____11"},
                   {1}, {}, {{2, 2, 1}}, {{3, 4}}, 0},
        // The only cell left, which also clears.
        ChoiceCase{"only_cell_left", {"11_21", "22122"}, {1}, {}, {}, {{2, 0}}, 3}),
    [](const ::testing::TestParamInfo<ChoiceCase>& i) { return std::string(i.param.name); });

TEST(BotChoiceEdge, ABlockThatFitsNowhereGivesNoMove) {
    SmallBoard b({"1_1", "212"});
    Move m;
    EXPECT_FALSE(quill_bot::ChooseMove(b.shape, b.runes, b.colours, Bar({3, 3}), Goal{}, b.Fits(), m));
}

TEST(BotChoiceEdge, ThePointerReachesOnlyCellsAClickCanDropOn) {
    TBoardManager b;
    b.originX = 240;
    b.originY = 60;
    b.cellSize = 40;
    int px, py;
    ASSERT_TRUE(quill_bot::PointerForCell(b, 3, 2, px, py));
    EXPECT_EQ((px - 240) / 40, 3);
    EXPECT_EQ((py - 60) / 40, 2);
    // Above the board: one row up is still on the screen.
    ASSERT_TRUE(quill_bot::PointerForCell(b, 0, -1, px, py));
    EXPECT_EQ((py - 60) / 40, -1);
    // Left of the origin a click opens nothing and drops nothing.
    EXPECT_FALSE(quill_bot::PointerForCell(b, -1, 0, px, py));
    EXPECT_FALSE(quill_bot::PointerForCell(b, 0, -2, px, py));
}

// ---- one game from the real start-up --------------------------------------------------------

struct GameResult {
    bool won = false;       // the quest went on to the map
    int loopResult = -1;    // what the play loop returned
    BotPlayer::Stats stats;
    int status = -1;
    std::vector<std::string> messages;
    // The profile as read back from disk.
    bool profileReads = false;
    int savedLevel = -100, savedState = -100;
    float endlessResume = -1, timeResume = -1;
};

int EnvInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

std::vector<unsigned> Seeds() {
    std::vector<unsigned> seeds;
    const char* v = std::getenv("QUILL_BOT_SEEDS");
    std::istringstream in(v && *v ? v : "1 2 3");
    unsigned s;
    while (in >> s) seeds.push_back(s);
    return seeds;
}

class BotGame : public GameTest {
protected:
    void TearDown() override {
        BotPlayer::Uninstall();
        mainLoopScreens = TMainLoopScreens{};
        gameState = quit = menuQuit = readFromProfile = saveToProfile = 0;
        GameTest::TearDown();
    }

    // The real start-up, a new profile "bot", then `play`; the program ends
    // through End() (from the game or from here).
    GameResult Run(BotPlayer& bot, const std::function<void(GameResult&)>& play) {
        pt::Reset();
        pt::ClearNotifications();
        // Each game starts from an empty home folder: no profile yet.
        std::filesystem::remove_all(home_);
        std::filesystem::create_directories(home_);
        GameResult r;
        bot.Install();
        r.status = plat::RunGame(0, nullptr, [&] {
            CreateGlobals();
            StartUp();
            if (CreateNewProfile("bot") != 1) {
                ADD_FAILURE() << "no profile";
                plat::End();
            }
            play(r);
            plat::End();
        });
        BotPlayer::Uninstall();
        r.stats = bot.stats;
        r.messages = pt::Notifications();
        ReadBack(r);
        return r;
    }

    static void ReadBack(GameResult& r) {
        if (!profile) return;
        auto store = TProfileManager::CreateWithPortal(myDocsFolder + "/profiles", "dat", profile->portalName);
        if (store->SelectProfile("bot") != 1) return;
        r.profileReads = true;
        r.savedLevel = static_cast<int>(store->GetNumber("level"));
        r.savedState = static_cast<int>(store->GetNumber("gameState"));
        r.endlessResume = store->GetNumber("endlessResume");
        r.timeResume = store->GetNumber("timeResume");
    }

    // One quest board level from its start: the main loop's own way in
    // (Continue on the title, the level set up and played), the bot at the
    // controls; a won level reaches the map, where this run ends.
    GameResult PlayQuestLevel(int levelNumber, unsigned seed, int frameLimit) {
        BotPlayer bot;
        bot.frameLimit = frameLimit;
        bot.hardCap = frameLimit + 3000;
        return Run(bot, [&](GameResult& r) {
            profile->SetNumber("level", static_cast<float>(levelNumber), 0);
            profile->SetNumber("gameState", 1, 0);
            profile->SaveProfile();
            LoadProfile();
            static int titles;
            titles = 0;
            mainLoopScreens.title = [] {
                if (titles++ > 0) plat::End();
                return static_cast<int>(TTitleScreen::kContinueQuest);
            };
            mainLoopScreens.story = [](int, int) {};
            mainLoopScreens.tutorial = [] { return 0; };
            mainLoopScreens.bossTutorial = [] {};
            // Continue would resume a saved board; the level starts afresh
            // here, dealt from the fixed seed.
            mainLoopScreens.boardLevel = [&r, seed](int) {
                plat::SeedRnd(static_cast<int>(seed));
                r.loopResult = goVelmora(0);
                level->stopAndFreeMusic();
                return r.loopResult;
            };
            mainLoopScreens.map = [&r](int) {
                r.won = true;
                return 1;
            };
            for (;;) MainLoopPass();
        });
    }

    static std::string Describe(const GameResult& r) {
        std::ostringstream s;
        s << "frames " << r.stats.frames << ", drops " << r.stats.drops << ", turns " << r.stats.turns
          << ", popups " << r.stats.popupsClosed << ", game overs " << r.stats.gameOvers << ", refused "
          << r.stats.failedDrops << ", loop " << r.loopResult;
        return s.str();
    }

    static void ExpectSound(const GameResult& r) {
        EXPECT_FALSE(r.stats.stuck) << "the game did not end on the close request";
        EXPECT_EQ(r.status, 0);
        for (const std::string& m : r.messages) ADD_FAILURE() << "message: " << m;
        EXPECT_TRUE(r.profileReads) << "the profile no longer reads";
    }
};

// ---- quest sample -------------------------------------------------------------------------------

// The first levels, the first boss, the first clear-the-board level and
// the first timed one.
class BotQuest : public BotGame, public ::testing::WithParamInterface<int> {};

TEST_P(BotQuest, WinsTheLevelOnOneOfTheSeeds) {
    const int n = GetParam();
    const int frames = EnvInt("QUILL_BOT_FRAMES", 12000);
    std::string log;
    bool won = false;
    for (unsigned seed : Seeds()) {
        const GameResult r = PlayQuestLevel(n, seed, frames);
        ExpectSound(r);
        EXPECT_EQ(r.savedLevel, n) << "the quest stays at the played level";
        log += "seed " + std::to_string(seed) + ": " + (r.won ? "won" : "lost") + " (" + Describe(r) + "); ";
        if (r.won) {
            EXPECT_EQ(r.savedState, 2) << "a won level is saved as won";
            won = true;
            break;
        }
    }
    EXPECT_TRUE(won) << "level " << n << ": " << log;
}

INSTANTIATE_TEST_SUITE_P(bot, BotQuest, ::testing::Values(0, 1, 2, 3, 7, 11, 13),
                         [](const ::testing::TestParamInfo<int>& i) { return "level_" + std::to_string(i.param); });

// ---- endless and time attack ----------------------------------------------------------------------

struct ModeCase {
    const char* file;
    bool timeAttack;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.file; }

class BotModes : public BotGame, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(BotModes, PlaysUntilTheGameEndsOrItLeavesAndTheGameIsKept) {
    const ModeCase c = GetParam();
    BotPlayer bot;
    bot.questGoal = false;
    // Endless runs until the bot leaves through the pause menu; time
    // attack ends itself after its minute and its tally.
    bot.leaveAtFrame = c.timeAttack ? -1 : 2400;
    bot.frameLimit = 8000;
    bot.hardCap = 11000;
    const GameResult r = Run(bot, [&](GameResult& res) {
        plat::SeedRnd(7);
        res.loopResult = c.timeAttack ? goTimeAtack(c.file) : goEndless(c.file);
    });
    ExpectSound(r);
    EXPECT_FALSE(r.stats.limitReached) << Describe(r);
    EXPECT_GT(r.stats.drops, 10) << Describe(r);
    if (c.timeAttack) {
        EXPECT_EQ(r.loopResult, 1) << "the minute ends in the tally";
        EXPECT_EQ(r.timeResume, 0.0f) << "an ended game is not resumed";
    } else if (r.stats.gameOvers == 0) {
        EXPECT_EQ(r.loopResult, 0) << "left for the menu";
        EXPECT_EQ(r.endlessResume, 1.0f) << "the left game is kept for Continue";
    }
}

INSTANTIATE_TEST_SUITE_P(bot, BotModes,
                         ::testing::Values(ModeCase{"endless_01.tsc", false}, ModeCase{"endless_05.tsc", false},
                                           ModeCase{"timed_01.tsc", true}, ModeCase{"timed_06.tsc", true}),
                         [](const ::testing::TestParamInfo<ModeCase>& i) {
                             std::string s = i.param.file;
                             return s.substr(0, s.find('.'));
                         });

// ---- the whole quest --------------------------------------------------------------------------------

class BotWholeQuest : public BotGame {
protected:
    // The board as the game ended: colour per cell ('.' no cell, '_' empty,
    // '#' a boss cell), for looking into a level the bot did not win.
    static void DumpBoard() {
        if (!board) return;
        for (int y = 0; y < kBoardCells; ++y) {
            std::string line;
            for (int x = 0; x < kBoardCells; ++x) {
                char c = board->shapeLayer[x][y] == 0 ? '.' : '_';
                if (bossManager && bossManager->CheckMove(x, y) != 0) c = '#';
                if (board->runeLayer[x][y] > 0) c = static_cast<char>('0' + board->colorLayer[x][y] % 10);
                if (board->runeLayer[x][y] > 20) c = static_cast<char>('a' + board->colorLayer[x][y] % 26);
                line += c;
            }
            std::printf("    %s\n", line.c_str());
        }
        if (magicSphere)
            for (size_t s = 0; s < magicSphere->sphereColor.size(); ++s)
                if (magicSphere->sphereColor[s] != 0)
                    std::printf("    sphere %d: %.0f of %.0f\n", magicSphere->sphereColor[s], magicSphere->sphereFill[s],
                                magicSphere->sphereCapacity[s]);
    }
};

// Every board level of the sequence on the fixed seeds, one line each; the
// summary names the levels not won. Only on demand: it takes long.
TEST_F(BotWholeQuest, EveryBoardLevel) {
    if (EnvInt("QUILL_BOT_ALL", 0) == 0) GTEST_SKIP() << "set QUILL_BOT_ALL=1 (scripts/bot-quest)";
    const int frames = EnvInt("QUILL_BOT_FRAMES", 12000);
    std::vector<int> only;
    {
        const char* v = std::getenv("QUILL_BOT_LEVELS");
        std::istringstream in(v ? v : "");
        int n;
        while (in >> n) only.push_back(n);
    }
    std::vector<int> levels;
    {
        ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR));
        TLevelSequencer seq;
        seq.Start(0);
        ASSERT_GT(seq.lastLevel, seq.firstLevel) << "the quest sequence";
        for (int n = seq.firstLevel; n <= seq.lastLevel; ++n) {
            seq.currentLevel = n;
            if (seq.Get() == 1 && seq.levelType == 1 && (only.empty() || std::find(only.begin(), only.end(), n) != only.end())) levels.push_back(n);
        }
    }
    std::vector<int> notWon;
    for (int n : levels) {
        bool won = false;
        for (unsigned seed : Seeds()) {
            const GameResult r = PlayQuestLevel(n, seed, frames);
            ExpectSound(r);
            if (!r.won && EnvInt("QUILL_BOT_DUMP", 0) != 0) DumpBoard();
            std::printf("level %3d  seed %u  %-4s  frames %6d  drops %4d  turns %4d  game overs %d\n", n, seed,
                        r.won ? "won" : "lost", r.stats.frames, r.stats.drops, r.stats.turns, r.stats.gameOvers);
            std::fflush(stdout);
            if (r.won) {
                won = true;
                break;
            }
        }
        if (!won) notWon.push_back(n);
    }
    std::string list;
    for (int n : notWon) list += " " + std::to_string(n);
    std::printf("not won (%zu of %zu):%s\n", notWon.size(), levels.size(), list.empty() ? " none" : list.c_str());
    EXPECT_TRUE(notWon.empty()) << "not won:" << list;
}

// ---- the whole quest in one run -------------------------------------------------------------------

// A player through the whole quest, at the mouse and keyboard only: makes
// the profile at the first start, starts the quest from the title (Continue
// on later starts), skips each story and help page with Escape, lets the
// bot play board levels and its hands solve puzzles and ring games, plays
// on from each map, and leaves for the title and quits at the map when
// asked to. Which screen is up it learns from the main loop's own calls.
class QuestPlayer {
public:
    enum class Screen { None, Title, Story, Help, Board, Puzzle, Ring, Map };

    struct Story {
        int page, level, gameState;
    };
    std::vector<Story> stories;
    std::vector<int> maps;        // the level of each map shown
    std::vector<int> played;      // the level of each runner started
    int boardRestarts = 0;        // levels started again through the pause menu
    int gameOvers = 0;
    int lastMap = -1;             // the level whose map leads to the title; -1 none
    int finalLevel = -1;          // the quest's last level: its map plays on to the end
    int frames = 0;
    bool capped = false;
    // Frames one board level may take before the bot starts it over.
    int levelFrames = 40000;
    // Frames a whole run (start to quit) may take.
    int runCap = 2000000;

    // The real start-up, the screens wrapped to see which is up, then the
    // main loop until the player quits at the title.
    int Run() {
        pt::Reset();
        hand_ = quill_bot::Hand{};
        quitting_ = questOver_ = false;
        runStart_ = -1;
        pt::OnFlip([this](int n) { OnFlip(n); });
        const int status = plat::RunGame(0, nullptr, [this] {
            CreateGlobals();
            StartUp();
            Wrap();
            for (;;) MainLoopPass();
        });
        pt::OnFlip(nullptr);
        if (bot_) {
            gameOvers += bot_->stats.gameOvers;
            bot_.reset();
        }
        return status;
    }

private:
    template <class F>
    static auto During(Screen& slot, Screen s, F&& f) {
        const Screen before = slot;
        slot = s;
        struct Back {
            Screen& slot;
            Screen before;
            ~Back() { slot = before; }
        } back{slot, before};
        return f();
    }

    // One line a level, so a long run shows where it stands.
    void Started(const char* kind) {
        played.push_back(sequencer->currentLevel);
        std::printf("  level %3d  %-6s from frame %d\n", sequencer->currentLevel, kind, frames);
        std::fflush(stdout);
    }

    void Wrap() {
        TMainLoopScreens real = mainLoopScreens;
        mainLoopScreens.title = [this, real] { return During(screen_, Screen::Title, real.title); };
        mainLoopScreens.story = [this, real](int page, int fadeIn) {
            stories.push_back({page, sequencer->currentLevel, gameState});
            During(screen_, Screen::Story, [&] { real.story(page, fadeIn); });
        };
        mainLoopScreens.tutorial = [this, real] { return During(screen_, Screen::Help, real.tutorial); };
        mainLoopScreens.bossTutorial = [this, real] { During(screen_, Screen::Help, real.bossTutorial); };
        mainLoopScreens.boardLevel = [this, real](int resume) {
            Started("board");
            if (bot_) gameOvers += bot_->stats.gameOvers;
            bot_ = std::make_unique<BotPlayer>();
            bot_->retryOnGameOver = true;
            bot_->frameLimit = 0;
            bot_->hardCap = 1 << 30;
            levelStart_ = frames;
            return During(screen_, Screen::Board, [&] { return real.boardLevel(resume); });
        };
        mainLoopScreens.puzzleLevel = [this, real](int resume) {
            Started("puzzle");
            puzzle_ = quill_bot::PuzzleSolver{};
            return During(screen_, Screen::Puzzle, [&] { return real.puzzleLevel(resume); });
        };
        mainLoopScreens.ringLevel = [this, real](int resume) {
            Started("ring");
            ring_ = quill_bot::RingSolver{};
            return During(screen_, Screen::Ring, [&] { return real.ringLevel(resume); });
        };
        mainLoopScreens.map = [this, real](int levelIndex) {
            maps.push_back(levelIndex);
            return During(screen_, Screen::Map, [&] { return real.map(levelIndex); });
        };
    }

    static bool MenuPage(int page) { return optionsWindow && optionsWindow->state == page; }
    bool ClickMenu(int code) {
        int x, y;
        if (!quill_test::ButtonAt(code, x, y)) return false;
        hand_.Click(x, y);
        hand_.Later(20);  // the page answers and fades
        return true;
    }

    void OnFlip(int n) {
        if (runStart_ < 0) runStart_ = n;
        ++frames;
        if (n - runStart_ > runCap && !capped) {
            capped = true;
            pt::RequestTerminate();
        }
        switch (screen_) {
            case Screen::Board:
                bot_->OnFlip(n);
                if (frames - levelStart_ > levelFrames && !bot_->wantRestart) {
                    bot_->wantRestart = true;
                    levelStart_ = frames;
                    ++boardRestarts;
                }
                break;
            case Screen::Puzzle:
                puzzle_.OnFlip(n);
                if (std::getenv("QUILL_BOT_TRACE") && n % 3000 == 0 && ::puzzle && ::puzzle->grid) {
                    int home = 0, flying = 0, sel = 0;
                    for (const auto& p : ::puzzle->grid->pieces) {
                        home += p->IsInPlace();
                        flying += p->IsFlying();
                        sel += p->selected != 0;
                    }
                    std::printf("    puzzle: %zu pieces, %d home, %d flying, %d selected, %zu popups, tally %d\n",
                                ::puzzle->grid->pieces.size(), home, flying, sel, ::puzzle->introPopups.size(),
                                ::puzzle->tally.phase);
                    std::fflush(stdout);
                }
                break;
            case Screen::Ring: ring_.OnFlip(n); break;
            default: Navigate(n); break;
        }
        // The draw record would grow with every frame of the run.
        pt::ClearDrawCalls();
    }

    void Navigate(int n) {
        hand_.OnFlip(n);
        if (hand_.Busy()) return;
        switch (screen_) {
            case Screen::Title:
                // Played on from the last level's map, the quest is over:
                // the title comes straight back, and the player quits (on
                // Continue the game would show the ending once more).
                if (questOver_) quitting_ = true;
                if (profileLoader && profileLoader->state == 5) {
                    for (char c : std::string("bot")) pt::TypeChar(c);
                    hand_.Later(3, [] { pt::TapKey(plat::KEY_RETURN); });
                    hand_.Later(20);
                } else if (MenuPage(kMenuQuit)) {
                    ClickMenu(90);
                } else if (MenuPage(kMenuResume)) {
                    ClickMenu(1);
                } else if (MenuPage(kMenuMain) && titleScreen && titleScreen->result == 0 && profile &&
                           profile->Count() == 1) {
                    ClickMenu(quitting_ ? 11 : 61);
                } else {
                    hand_.Later(10);
                }
                return;
            case Screen::Story:
            case Screen::Help:
                pt::TapKey(plat::KEY_ESCAPE);
                hand_.Later(30);
                return;
            case Screen::Map: {
                if (::map && maps.back() == lastMap) quitting_ = true;
                if (::map && maps.back() == finalLevel) questOver_ = true;
                const TButtonPtr b = ::map ? ::map->menu->GetItem(quitting_ ? TMapCore::kMenuButton : TMapCore::kPlayButton)
                                           : nullptr;
                int x, y;
                if (b && ::map->fadeState == 0 && quill_test::CentreOf(b.get(), x, y)) hand_.Click(x, y);
                hand_.Later(20);
                return;
            }
            default: return;  // between screens
        }
    }

    Screen screen_ = Screen::None;
    quill_bot::Hand hand_;
    std::unique_ptr<BotPlayer> bot_;
    quill_bot::PuzzleSolver puzzle_;
    quill_bot::RingSolver ring_;
    bool quitting_ = false;
    bool questOver_ = false;
    int runStart_ = -1;
    int levelStart_ = 0;
};

// From a new profile, every level of the quest in order through the real
// start-up, main loop and input, the game quit at the map and started again
// every ten levels. At the end the saved profile has the quest finished,
// each story page was shown once, before its level, and no message came.
// Only on demand: it plays for a long while (scripts/bot-quest --whole).
TEST_F(BotWholeQuest, TheWholeQuestInOneRun) {
    if (EnvInt("QUILL_BOT_WHOLE", 0) == 0) GTEST_SKIP() << "set QUILL_BOT_WHOLE=1 (scripts/bot-quest --whole)";
    TLevelSequencer seq;
    seq.Start(0);
    const int first = seq.firstLevel, last = seq.lastLevel;
    ASSERT_EQ(last - first + 1, 107) << "the quest's levels";

    QuestPlayer player;
    player.finalLevel = last;
    int starts = 0;
    const auto begun = std::chrono::steady_clock::now();
    for (int stop = first + 9;; stop += 10) {
        player.lastMap = stop < last ? stop : -1;
        ++starts;
        const int status = player.Run();
        ASSERT_EQ(status, 0) << "start " << starts;
        ASSERT_FALSE(player.capped) << "stuck in start " << starts << " at level "
                                    << (sequencer ? sequencer->currentLevel : -1);
        for (const std::string& m : pt::Notifications()) ADD_FAILURE() << "message: " << m;
        pt::ClearNotifications();
        std::printf("start %2d ended after level %3d: %d frames so far, %d restarts, %d game overs\n", starts,
                    player.maps.empty() ? -1 : player.maps.back(), player.frames, player.boardRestarts,
                    player.gameOvers);
        std::fflush(stdout);
        if (player.lastMap < 0) break;
        ASSERT_LT(starts, 20) << "the quest never ended";
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    std::printf("the whole quest: %d starts, %d frames, %.1f s\n", starts, player.frames, seconds);

    // Every level played in order, its map after it; a restart shows the
    // map it left again.
    std::vector<int> levels;
    for (int n : player.played)
        if (levels.empty() || levels.back() != n) levels.push_back(n);
    std::vector<int> want;
    for (int n = first; n <= last; ++n) want.push_back(n);
    EXPECT_EQ(levels, want);
    std::vector<int> mapLevels;
    for (int n : player.maps)
        if (mapLevels.empty() || mapLevels.back() != n) mapLevels.push_back(n);
    EXPECT_EQ(mapLevels, want);

    // Each story page once: 1 and 2 around the first level, the others
    // before their levels.
    const std::map<int, int> pageAt = {{1, 0},   {2, 0},   {3, 9},   {4, 17},  {5, 25},  {6, 33},
                                       {7, 41},  {8, 49},  {9, 57},  {10, 65}, {11, 73}, {12, 81},
                                       {13, 89}, {14, 96}, {15, 105}, {16, 106}};
    std::map<int, int> shown;
    for (const auto& s : player.stories) {
        ++shown[s.page];
        auto it = pageAt.find(s.page);
        EXPECT_TRUE(it != pageAt.end() && it->second == s.level) << "page " << s.page << " at level " << s.level;
    }
    for (const auto& [page, at] : pageAt) EXPECT_EQ(shown[page], 1) << "page " << page << " (level " << at << ")";

    // The saved profile: past the last level, the quest finished.
    auto store = TProfileManager::CreateWithPortal(myDocsFolder + "/profiles", "dat", profile->portalName);
    ASSERT_EQ(store->SelectProfile("bot"), 1);
    EXPECT_EQ(static_cast<int>(store->GetNumber("level")), last + 1) << "the quest is finished";
    EXPECT_GT(store->GetNumber("pointsTotal"), 0.0f);
}

}  // namespace

// The bot at the controls of the real game, headless: its move choice on
// small boards, then a sample of the quest's board levels, endless and
// time-attack boards played through the game's own loops from the real
// start-up, with the profile on disk read back after each game.
//
// QUILL_BOT_ALL=1 adds a sweep over every board level of the quest (the
// bot-quest script runs it; QUILL_BOT_LEVELS="7 16" narrows it);
// QUILL_BOT_SEEDS ("1 2 3") and QUILL_BOT_FRAMES change the seeds and the
// frame bound of the quest levels.
//
// Index: move choice · one game from the real start-up · quest sample ·
//        endless and time attack · the whole quest
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "bot_player.h"
#include "core/globals.h"
#include "core/prefs.h"
#include "level/bosses.h"
#include "level/spheres.h"
#include "level/level.h"
#include "level/sequencer.h"
#include "main/startup.h"
#include "modes/board_modes.h"
#include "modes/quest_loop.h"
#include "platform/rng.h"
#include "profiles/profile_manager.h"
#include "profiles/quest_save.h"
#include "title/title_screen.h"
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

}  // namespace

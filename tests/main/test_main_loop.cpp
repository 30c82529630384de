// The main loop's decisions with stand-in screens: the real globals, the
// real quest sequence and a real profile on disk; the title, story, help,
// level runners and map replaced by scripted ones that record their calls.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "board/board.h"
#include "core/globals.h"
#include "core/options.h"
#include "level/sequencer.h"
#include "main/startup.h"
#include "profiles/profile_manager.h"
#include "profiles/quest_save.h"
#include "title/title_screen.h"
#include "game_test_util.h"

namespace {

namespace pt = plat::testing;

struct Calls {
    std::deque<int> titleResults;  // the title's results in turn; then the player quits
    std::vector<std::string> log;  // "story 1", "board 0", "map 3", ...
    // Each runner and the map get what the loop passed them (the resume
    // flag, the level) and return what the level's screen would.
    std::function<int(int)> board = [](int) { return 1; };
    std::function<int(int)> puzzle = [](int) { return 1; };
    std::function<int(int)> ring = [](int) { return 1; };
    std::function<int(int)> map = [](int) { return 1; };
    int tutorialResult = 0;
};
Calls* g_calls = nullptr;

class MainLoop : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ASSERT_TRUE(plat::Graphics(800, 600));
        CreateGlobals();
        blocks->loadBlocksDef();
        GetDataFolders();
        profile = TProfileManager::Create(myDocsFolder + "/profiles", "dat");
        options->Load();
        ASSERT_EQ(CreateNewProfile("ada"), 1);
        quit = menuQuit = readFromProfile = saveToProfile = 0;
        g_calls = &calls;
        mainLoopScreens.title = [] {
            if (g_calls->titleResults.empty()) plat::End();
            const int r = g_calls->titleResults.front();
            g_calls->titleResults.pop_front();
            g_calls->log.push_back("title " + std::to_string(r));
            return r;
        };
        mainLoopScreens.story = [](int page, int) { g_calls->log.push_back("story " + std::to_string(page)); };
        mainLoopScreens.tutorial = [] {
            g_calls->log.push_back("tutorial");
            return g_calls->tutorialResult;
        };
        mainLoopScreens.bossTutorial = [] { g_calls->log.push_back("boss help"); };
        mainLoopScreens.boardLevel = [](int resume) {
            g_calls->log.push_back("board " + std::to_string(sequencer->currentLevel) + " resume " +
                                   std::to_string(resume));
            return g_calls->board(resume);
        };
        mainLoopScreens.puzzleLevel = [](int resume) {
            g_calls->log.push_back("puzzle " + std::to_string(sequencer->currentLevel) + " resume " +
                                   std::to_string(resume));
            return g_calls->puzzle(resume);
        };
        mainLoopScreens.ringLevel = [](int resume) {
            g_calls->log.push_back("ring " + std::to_string(sequencer->currentLevel) + " resume " +
                                   std::to_string(resume));
            return g_calls->ring(resume);
        };
        mainLoopScreens.map = [](int level) {
            g_calls->log.push_back("map " + std::to_string(level));
            return g_calls->map(level);
        };
    }
    void TearDown() override {
        g_calls = nullptr;
        mainLoopScreens = TMainLoopScreens{};
        gameState = quit = menuQuit = readFromProfile = saveToProfile = 0;
        GameTest::TearDown();
    }

    // The quest as saved: level and game state, plus a mark in the saved
    // board that only a save of the play state replaces.
    void Saved(int levelNumber, int state) {
        profile->SetNumber("level", levelNumber, 0);
        profile->SetNumber("gameState", state, 0);
        profile->SetList("razod1", {"mark"}, 0);
        profile->SaveProfile();
        LoadProfile();
    }
    // The first quest level of a type after the first, without a story or
    // help page before it.
    static int LevelOfType(int type) {
        TLevelSequencer seq;
        seq.Start(0);
        for (int n = seq.firstLevel + 1; n <= seq.lastLevel; ++n) {
            seq.currentLevel = n;
            if (n != 7 && n % 8 != 1 && seq.Get() == 1 && seq.levelType == type) return n;
        }
        ADD_FAILURE() << "no quest level of type " << type;
        return seq.firstLevel;
    }
    // Runs the main loop from the title until the script ends the program.
    int Run() {
        plat::OnEnd(saveOnEnd);
        return plat::RunGame(0, nullptr, [] {
            for (;;) MainLoopPass();
        });
    }
    std::string Log() const {
        std::string s;
        for (const auto& l : calls.log) s += l + "; ";
        return s;
    }
    // The profile as it is on disk now.
    TProfilePtr OnDisk() {
        auto store = TProfileManager::CreateWithPortal(myDocsFolder + "/profiles", "dat", profile->portalName);
        store->SelectProfile("ada");
        disk_ = store;
        return store->current;
    }
    int DiskNumber(const std::string& key) { return OnDisk() ? disk_->GetNumber(key) : -100; }
    std::vector<std::string> DiskList(const std::string& key) {
        OnDisk();
        return disk_->GetList(key);
    }

    Calls calls;

private:
    std::shared_ptr<TProfileManager> disk_;
};

TEST_F(MainLoop, AStaleGameOverFlagNeverThrowsAwayAWonPuzzle) {
    const std::string n = std::to_string(LevelOfType(2));
    Saved(LevelOfType(2), 1);
    board->gameOverFlag = 1;  // left over from an endless game
    calls.titleResults = {TTitleScreen::kContinueQuest};
    calls.puzzle = [](int) { return 0; };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Log(), "title 1; puzzle " + n + " resume 1; map " + n + "; ");
    EXPECT_EQ(DiskNumber("gameState"), 2) << "the won puzzle is saved, the map comes next";
}

TEST_F(MainLoop, AGameOverOnABoardLevelGoesBackToTheTitleWithoutTheMap) {
    const int n = LevelOfType(1);
    Saved(n, 1);
    calls.titleResults = {TTitleScreen::kContinueQuest};
    calls.board = [](int) {
        board->gameOverFlag = 1;
        return 0;
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Log(), "title 1; board " + std::to_string(n) + " resume 1; ");
    EXPECT_EQ(saveToProfile, 0);
    EXPECT_EQ(DiskNumber("gameState"), 1);
}

TEST_F(MainLoop, TitleResultsDecideWhetherTheQuestRuns) {
    const int n = LevelOfType(1);
    struct Case {
        const char* what;
        int result;
        std::string log;
    } cases[] = {
        {"left without a choice: never the quest", TTitleScreen::kNone, "title 0; "},
        {"continue: resumes the saved level", TTitleScreen::kContinueQuest,
         "title 1; board " + std::to_string(n) + " resume 1; "},
        {"new quest: story, help, the first level afresh", TTitleScreen::kNewQuest,
         "title 3; story 1; tutorial; board 0 resume 0; "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Saved(n, 1);
        calls.log.clear();
        calls.titleResults = {c.result};
        pt::Reset();
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(Log(), c.log);
    }
}

TEST_F(MainLoop, AnUnknownStoredStateStopsContinueButANewQuestRepairsIt) {
    for (int bad : {-1, -2}) {
        Saved(1, bad);
        calls.log.clear();
        calls.titleResults = {TTitleScreen::kContinueQuest};
        pt::Reset();
        EXPECT_EQ(Run(), -1) << bad;
        EXPECT_EQ(Log(), "title 1; ");
        EXPECT_EQ(DiskNumber("gameState"), bad) << "an error end writes no quest";

        calls.log.clear();
        calls.titleResults = {TTitleScreen::kNewQuest};
        pt::Reset();
        EXPECT_EQ(Run(), 0) << bad;
        EXPECT_EQ(Log(), "title 3; story 1; tutorial; board 0 resume 0; ");
    }
}

TEST_F(MainLoop, ALevelBelowTheFirstIsPlayedAsTheFirst) {
    Saved(-7, 1);
    calls.titleResults = {TTitleScreen::kContinueQuest};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Log(), "title 1; board 0 resume 1; ");
}

TEST_F(MainLoop, ACloseRequestOnTheNewQuestsHelpPageEndsTheProgram) {
    Saved(2, 1);
    calls.titleResults = {TTitleScreen::kNewQuest, TTitleScreen::kNewQuest};
    calls.tutorialResult = 1;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Log(), "title 3; story 1; tutorial; ");
    EXPECT_EQ(DiskNumber("gameState"), -3) << "the new quest, not yet played";
}

TEST_F(MainLoop, TheSavedPlayStateIsWrittenOnlyOnceItsLevelIsInPlay) {
    struct Case {
        const char* what;
        int state;
        bool playerQuitsInLevel;
        bool boardSaved;
    } cases[] = {
        {"quit at a map reached by Continue", 2, false, false},
        {"quit during a resumed level", 1, true, true},
    };
    const int n = LevelOfType(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Saved(n, c.state);
        calls.log.clear();
        calls.titleResults = {TTitleScreen::kContinueQuest};
        calls.board = [](int) -> int { plat::End(); };
        calls.map = [](int) -> int { plat::End(); };
        pt::Reset();
        EXPECT_EQ(Run(), 0);
        const std::vector<std::string> razod1 = DiskList("razod1");
        EXPECT_EQ(razod1 != std::vector<std::string>{"mark"}, c.boardSaved) << Log();
        EXPECT_EQ(DiskNumber("level"), n) << "the progress is written either way";
    }
}

TEST_F(MainLoop, AQuestPlayedPastItsLastLevelShowsItsLastPageAndSavesNoMore) {
    sequencer->Start(0);
    const int last = sequencer->lastLevel;
    ASSERT_GT(last, 0);
    Saved(last, 2);  // saved at the map after the last level
    calls.titleResults = {TTitleScreen::kContinueQuest, TTitleScreen::kNone};
    calls.map = [](int) { return 0; };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Log(), "title 1; map " + std::to_string(last) + "; title 0; story 16; ");
    EXPECT_EQ(saveToProfile, 0);
    EXPECT_EQ(sequencer->currentLevel, last + 1);
}

TEST_F(MainLoop, AnUncaughtErrorEndsWithItsMessageAndSavesTheOptionsOnly) {
    const int n = LevelOfType(1);
    Saved(n, 1);
    calls.titleResults = {TTitleScreen::kContinueQuest};
    calls.board = [](int) -> int {
        sequencer->currentLevel += 5;  // a half-built state
        gameState = 2;
        plat::RuntimeError("boom");
    };
    const std::string optionsPath = TOptions::Path();
    std::filesystem::remove(optionsPath);
    EXPECT_EQ(Run(), -1);
    EXPECT_TRUE(std::filesystem::exists(optionsPath)) << "the options are written";
    EXPECT_EQ(DiskNumber("level"), n);
    EXPECT_EQ(DiskNumber("gameState"), 1);
    EXPECT_EQ(DiskList("razod1"), std::vector<std::string>{"mark"});
}

TEST_F(MainLoop, AQuestLevelThatCannotBeReadGoesBackToTheTitleAndSavesNothing) {
    // The game folder again, but with the board levels' archive damaged.
    namespace fs = std::filesystem;
    const fs::path game = fs::current_path();
    const fs::path mirror = quill_test::ScratchDir() + "damaged-levels";
    fs::remove_all(mirror);
    fs::create_directories(mirror / "data");
    for (const auto& entry : fs::directory_iterator(game))
        if (entry.path().filename() != "data") fs::create_directory_symlink(entry.path(), mirror / entry.path().filename());
    for (const auto& entry : fs::directory_iterator(game / "data"))
        if (entry.path().filename() != "razod_levels.bca")
            fs::create_symlink(entry.path(), mirror / "data" / entry.path().filename());
    std::ofstream(mirror / "data" / "razod_levels.bca", std::ios::binary) << "not an archive";
    ASSERT_TRUE(plat::ChangeDir(mirror.string()));

    const int n = LevelOfType(1);
    Saved(n, 1);
    pt::ClearNotifications();
    calls.titleResults = {TTitleScreen::kContinueQuest};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Log(), "title 1; ") << "nothing is played";
    EXPECT_FALSE(pt::Notifications().empty()) << "the player is told";
    EXPECT_EQ(saveToProfile, 0);
    EXPECT_EQ(DiskNumber("level"), n);
    EXPECT_EQ(DiskNumber("gameState"), 1);
    EXPECT_EQ(DiskList("razod1"), std::vector<std::string>{"mark"}) << "the saved game is kept";
    fs::remove_all(mirror);
}

// A new quest played through with every level won: each story page comes
// once, before its level (after the first level for page 2), the boss help
// before level 7, and the map after every level.
TEST_F(MainLoop, ANewQuestShowsEachStoryAndHelpPageOnceAtItsLevel) {
    const std::map<int, int> pageBefore = {{9, 3},   {17, 4},  {25, 5},  {33, 6},  {41, 7},
                                           {49, 8},  {57, 9},  {65, 10}, {73, 11}, {81, 12},
                                           {89, 13}, {96, 14}, {105, 15}, {106, 16}};
    sequencer->Start(0);
    const int first = sequencer->firstLevel, last = sequencer->lastLevel;
    ASSERT_EQ(first, 0);
    ASSERT_EQ(last, 106) << "the quest's 107 levels";
    std::string want = "story 1; tutorial; ";
    for (int n = first; n <= last; ++n) {
        if (pageBefore.count(n) != 0) want += "story " + std::to_string(pageBefore.at(n)) + "; ";
        if (n == 7) want += "boss help; ";
        want += "play " + std::to_string(n) + "; ";
        if (n == 0) want += "story 2; ";
        want += "map " + std::to_string(n) + "; ";
    }

    calls.titleResults = {TTitleScreen::kNewQuest};
    calls.board = calls.puzzle = calls.ring = [](int resume) {
        EXPECT_EQ(resume, 0) << sequencer->currentLevel;
        return 0;
    };
    calls.map = [](int) { return 0; };
    EXPECT_EQ(Run(), 0);
    // Which runner plays a level is not the question here.
    std::string got;
    for (const std::string& l : calls.log) {
        if (l.rfind("title", 0) == 0) continue;
        if (l.rfind("board ", 0) == 0 || l.rfind("puzzle ", 0) == 0 || l.rfind("ring ", 0) == 0) {
            got += "play " + l.substr(l.find(' ') + 1, l.find(" resume") - l.find(' ') - 1) + "; ";
        } else {
            got += l + "; ";
        }
    }
    EXPECT_EQ(got, want);
}

}  // namespace

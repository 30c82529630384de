// The level selector: its three lists, stepping through them, the quest
// list in the profile, and the miniature's load, placing and cross-fade.
#include <gtest/gtest.h>

#include "gallery_test_util.h"
#include "platform/graphics.h"

namespace {

namespace pt = plat::testing;
using Selector = GalleryWorld;

// ---- lists ------------------------------------------------------------------------------------

struct ListCase {
    const char* what;
    int mode;
    const char* timed;    // timedLevels.tsc; nullptr: not in the archive
    const char* endless;  // endlessLevels.tsc; nullptr: not in the archive
    bool player;
    std::vector<std::string> questList;
    std::vector<std::string> want;
    bool reported;        // the reader put up a message
};

const ListCase kLists[] = {
    {"time attack, in file order", 1, "B{ FileName='level_02.tsc' } A{ FileName='level_01.tsc' }",
     "E{ FileName='level_09.tsc' }", false, {}, {"level_02.tsc", "level_01.tsc"}, false},
    {"endless reads its own file", 2, "B{ FileName='level_02.tsc' }", "E{ FileName='level_09.tsc' }", false, {},
     {"level_09.tsc"}, false},
    {"a group without FileName gives an empty entry", 1, "A{ FileName='x.tsc' } B{ Other=1 } C{ FileName='y.tsc' }",
     "", false, {}, {"x.tsc", "", "y.tsc"}, false},
    {"nested groups are not read", 1, "A{ FileName='x.tsc' Inner{ FileName='z.tsc' } }", "", false, {}, {"x.tsc"},
     false},
    {"a file with no group", 2, "", "Version=1\n", false, {}, {}, false},
    {"a list file missing from the archive", 2, "A{ FileName='x.tsc' }", nullptr, false, {}, {}, true},
    {"the quest levels reached, from the profile", 0, "A{ FileName='x.tsc' }", "", true,
     {"level_03.tsc", "level_01.tsc"}, {"level_03.tsc", "level_01.tsc"}, false},
    {"no player: an empty quest list", 0, "A{ FileName='x.tsc' }", "", false, {}, {}, false},
};

TEST_F(Selector, EachListLoadsItsEntriesAndSelectsTheFirst) {
    for (const ListCase& c : kLists) {
        SCOPED_TRACE(c.what);
        pt::ClearNotifications();
        std::vector<std::pair<std::string, std::string>> members;
        if (c.timed) members.push_back({"timedLevels.tsc", c.timed});
        if (c.endless) members.push_back({"endlessLevels.tsc", c.endless});
        WriteSettings(members);
        profile->UpdateList();
        profile->current = nullptr;
        if (c.player) {
            MakePlayer(std::string("p") + std::to_string(&c - kLists));
            profile->SetList("revealedLevels", c.questList, 1);
        }
        boardSelector->levelNames = {"stale"};
        boardSelector->selectedIndex = 3;
        boardSelector->selectionChanged = 1;
        boardSelector->boardAlpha = 0.5f;

        boardSelector->LoadList(c.mode);
        EXPECT_EQ(boardSelector->levelNames, c.want);
        EXPECT_EQ(boardSelector->listMode, c.mode);
        EXPECT_EQ(boardSelector->selectedIndex, 0);
        EXPECT_EQ(boardSelector->selectionChanged, 1) << "a pending fade is left as it is";
        EXPECT_EQ(boardSelector->boardAlpha, 0.5f);
        EXPECT_EQ(!pt::Notifications().empty(), c.reported);
    }
}

// ---- stepping -----------------------------------------------------------------------------------

enum class Op { Next, Prev, Next5, Prev5 };

struct StepCase {
    int count;
    int from;
    Op op;
    int to;
    int changed;
};

const StepCase kSteps[] = {
    {3, 1, Op::Next, 2, 1},  {3, 2, Op::Next, 0, 1},  {3, 1, Op::Prev, 0, 1},  {3, 0, Op::Prev, 2, 1},
    {1, 0, Op::Next, 0, 1},  {1, 0, Op::Prev, 0, 1},  {0, 0, Op::Next, 0, 0},  {0, 0, Op::Prev, 0, 0},
    {5, 1, Op::Next5, 1, 0}, {5, 1, Op::Prev5, 1, 0}, {6, 3, Op::Next5, 2, 1}, {6, 2, Op::Prev5, 3, 1},
    {8, 1, Op::Next5, 6, 1}, {8, 6, Op::Prev5, 1, 1}, {0, 0, Op::Next5, 0, 0},
};

TEST_F(Selector, StepsWrapAroundAndMarkTheMiniatureForAFade) {
    for (const StepCase& c : kSteps) {
        SCOPED_TRACE("count " + std::to_string(c.count) + " from " + std::to_string(c.from) + " op " +
                     std::to_string(static_cast<int>(c.op)));
        TBoardSelector s;
        for (int i = 0; i < c.count; ++i) s.levelNames.push_back("l" + std::to_string(i));
        s.selectedIndex = c.from;
        switch (c.op) {
            case Op::Next: s.nextLevel(); break;
            case Op::Prev: s.PrevLevel(); break;
            case Op::Next5: s.NextLevel5(); break;
            case Op::Prev5: s.PrevLevel5(); break;
        }
        EXPECT_EQ(s.selectedIndex, c.to);
        EXPECT_EQ(s.selectionChanged, c.changed);
        EXPECT_EQ(s.SelectedLevelName(), c.count == 0 ? "" : "l" + std::to_string(c.to));
    }
}

// ---- the quest list in the profile --------------------------------------------------------------

TEST_F(Selector, AQuestLevelJoinsTheProfilesListOnceAndIsWrittenAtOnce) {
    EXPECT_EQ(TBoardSelector::AddLevel("level_02.tsc"), 0) << "no player: nothing to add to";

    MakePlayer();
    profile->SetList("revealedLevels", {"level_01.tsc"}, 1);
    EXPECT_EQ(TBoardSelector::AddLevel("level_02.tsc"), 1);
    EXPECT_EQ(StoredList("revealedLevels"), (std::vector<std::string>{"level_01.tsc", "level_02.tsc"}));

    // A name already there writes nothing: an unsaved change stays unsaved.
    profile->SetNumber("level", 7, 0);
    EXPECT_EQ(TBoardSelector::AddLevel("level_01.tsc"), 0);
    profile->UpdateList();
    profile->SelectProfile("ayla");
    EXPECT_NE(profile->GetNumber("level"), 7);

    EXPECT_EQ(TBoardSelector::AddLevel("LEVEL_01.tsc"), 1) << "letter case counts";
    EXPECT_EQ(StoredList("revealedLevels"),
              (std::vector<std::string>{"level_01.tsc", "level_02.tsc", "LEVEL_01.tsc"}));
}

// A full list (a key keeps 100 values) takes no more names: the answer says
// so, and the stored list is the one it was. One place short, a name still
// goes in as the hundredth.
TEST_F(Selector, AQuestLevelPastAFullListIsNotAddedAndSaysSo) {
    MakePlayer();
    std::vector<std::string> names;
    for (int i = 0; i < 99; ++i) names.push_back("level_" + std::to_string(i) + ".tsc");
    profile->SetList("revealedLevels", names, 1);
    EXPECT_EQ(TBoardSelector::AddLevel("hundredth.tsc"), 1);
    names.push_back("hundredth.tsc");
    EXPECT_EQ(StoredList("revealedLevels"), names);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(TBoardSelector::AddLevel("one_too_many.tsc"), -1);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("one_too_many.tsc was not added"), std::string::npos);
    EXPECT_EQ(StoredList("revealedLevels"), names);
    EXPECT_EQ(TBoardSelector::AddLevel("level_5.tsc"), 0) << "already there, full or not";
}

// ---- the miniature ----------------------------------------------------------------------------------

class Miniature : public GalleryWorld {
protected:
    void SetUp() override {
        GalleryWorld::SetUp();
        // The board picture of level number 0.
        WriteJpeg("gfx/bg/deski/deska-1.jpg", 480, 480, 90, 60, 30);
        WriteLevels({
            {"wide.tsc", LevelText({}, {"1 1 1 1", "1 1 1 1", "1 1 1 1"}, {"1 2 0 0"})},
            {"small.tsc", LevelText({}, {"1 1", "1 1"})},
            {"offset.tsc", LevelText({}, {"", "0 0 1 1 1", "0 0 1 1 1"})},
            {"full.tsc", LevelText({}, std::vector<std::string>(15, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"))},
        });
        pt::ClearNotifications();
    }
    // Which board the miniature holds, by its used width.
    static int Width() { return board->getWidth(); }
};

struct PlaceCase {
    const char* level;
    int originX, originY;
};
// Centre of the used area at the 13-pixel cell, worked by hand:
// wide: columns 0-3, rows 0-2: (2 x 13, 1.5 x 13 = 19.5 -> 19)
// offset: columns 2-4, rows 1-2: (3.5 x 13 = 45.5 -> 45, 2 x 13)
// full: 7.5 x 13 = 97.5 -> 97 both ways
const PlaceCase kPlaces[] = {
    {"wide.tsc", 490 - 26, 370 - 19},
    {"offset.tsc", 490 - 45, 370 - 26},
    {"full.tsc", 393, 273},
};

TEST_F(Miniature, TheSelectedBoardLoadsScaledAndCentredOnItsPlace) {
    for (const PlaceCase& c : kPlaces) {
        SCOPED_TRACE(c.level);
        boardSelector->levelNames = {c.level};
        boardSelector->boardAlpha = 0.7f;
        boardSelector->LoadMiniBoard();
        EXPECT_EQ(board->cellSize, 13);
        EXPECT_EQ(board->scale, 0.40625f);
        EXPECT_EQ(board->alpha, 1.0f);
        EXPECT_EQ(boardSelector->boardAlpha, 0.0f) << "the fade-in starts again";
        EXPECT_EQ(board->originX, c.originX);
        EXPECT_EQ(board->originY, c.originY);
        EXPECT_TRUE(board->boardImage);
        EXPECT_FALSE(board->frameElements.empty());
    }
    EXPECT_TRUE(pt::Notifications().empty());
}

TEST_F(Miniature, RunesOfTheLevelFileAreShown) {
    boardSelector->levelNames = {"wide.tsc"};
    boardSelector->LoadMiniBoard();
    EXPECT_EQ(board->runeLayer[0][0], 1);
    EXPECT_EQ(board->runeLayer[1][0], 2);
    EXPECT_EQ(board->runeLayer[2][0], 0);
}

TEST_F(Miniature, AnEmptyListLeavesTheBoardAlone) {
    boardSelector->levelNames = {"wide.tsc"};
    boardSelector->LoadMiniBoard();
    boardSelector->levelNames.clear();
    board->originX = 5;
    boardSelector->LoadMiniBoard();
    EXPECT_EQ(board->originX, 5);
    EXPECT_EQ(Width(), 4);
}

// The quest list comes from the player's profile file: a name the levels
// archive does not hold must show nothing, not the board shown before and
// not a board of every cell.
TEST_F(Miniature, ALevelThatCannotBeReadShowsAnEmptyMiniature) {
    for (const std::string bad : {"gone.tsc", ""}) {
        SCOPED_TRACE("'" + bad + "'");
        pt::ClearNotifications();
        boardSelector->levelNames = {"wide.tsc", bad};
        boardSelector->selectedIndex = 0;
        boardSelector->LoadMiniBoard();
        ASSERT_TRUE(board->HasCells());

        boardSelector->nextLevel();
        boardSelector->boardAlpha = 0.05f;
        boardSelector->DrawMiniBoard();  // fades out past 0: loads the bad entry
        EXPECT_EQ(boardSelector->selectionChanged, 0);
        EXPECT_FALSE(board->HasCells());
        EXPECT_TRUE(board->frameElements.empty());
        EXPECT_FALSE(board->boardImage);
        for (const auto& column : board->runeLayer)
            for (int rune : column) EXPECT_EQ(rune, 0);
        EXPECT_FALSE(pt::Notifications().empty()) << "the archive reader says which member is missing";

        pt::ClearDrawCalls();
        for (int f = 0; f < 12; ++f) boardSelector->DrawMiniBoard();
        EXPECT_TRUE(pt::DrawCalls().empty()) << "nothing at all is drawn";
    }
}

TEST_F(Miniature, TheMiniatureFadesInOverTenFramesAndOutBeforeTheNextBoardLoads) {
    boardSelector->levelNames = {"wide.tsc", "small.tsc", "offset.tsc"};
    boardSelector->LoadMiniBoard();
    // Drawn at 0, 0.1, ... 0.9; then the alpha stands just above 1.
    for (int f = 0; f < 10; ++f) {
        boardSelector->DrawMiniBoard();
        EXPECT_NEAR(board->alpha, 0.1f * f, 1e-5f) << "frame " << f;
    }
    EXPECT_GT(boardSelector->boardAlpha, 1.0f);
    const float full = boardSelector->boardAlpha;
    boardSelector->DrawMiniBoard();
    EXPECT_EQ(boardSelector->boardAlpha, full) << "no step: it stays";

    // Two steps in one fade-out: the board loads once, with the entry
    // selected when the alpha falls below 0, on the eleventh draw.
    boardSelector->nextLevel();
    for (int f = 1; f <= 10; ++f) {
        boardSelector->DrawMiniBoard();
        EXPECT_EQ(Width(), 4) << "still the old board after draw " << f;
        EXPECT_NEAR(board->alpha, full - 0.1f * (f - 1), 1e-5f);
        if (f == 3) boardSelector->nextLevel();
    }
    EXPECT_EQ(boardSelector->SelectedLevelName(), "offset.tsc") << "play now starts the newly selected board";
    boardSelector->DrawMiniBoard();
    EXPECT_EQ(Width(), 3) << "offset.tsc, not small.tsc";
    EXPECT_EQ(boardSelector->selectionChanged, 0);
    EXPECT_EQ(boardSelector->boardAlpha, 0.0f);
    boardSelector->DrawMiniBoard();
    EXPECT_EQ(board->alpha, 0.0f) << "and fades in from nothing";
}

TEST_F(Miniature, ALoadOfTheListDuringAFadeOutReloadsOnTheNextDraw) {
    WriteSettings({{"timedLevels.tsc", "A{ FileName='small.tsc' } B{ FileName='wide.tsc' }"}});
    boardSelector->levelNames = {"wide.tsc", "offset.tsc"};
    boardSelector->LoadMiniBoard();
    for (int f = 0; f < 10; ++f) boardSelector->DrawMiniBoard();
    boardSelector->nextLevel();
    boardSelector->DrawMiniBoard();
    ASSERT_EQ(Width(), 4) << "fading out";
    boardSelector->LoadList(1);
    boardSelector->LoadMiniBoard();
    EXPECT_EQ(Width(), 2);
    EXPECT_EQ(boardSelector->selectionChanged, 1);
    board->runeLayer[0][0] = 9;  // a mark the reload wipes
    boardSelector->DrawMiniBoard();
    EXPECT_EQ(boardSelector->selectionChanged, 0);
    EXPECT_EQ(board->runeLayer[0][0], 0) << "small.tsc loaded once more";
}

}  // namespace

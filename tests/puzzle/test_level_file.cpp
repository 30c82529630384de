// The puzzle level file, its intro popups, and the grid's fill from a picture.
#include <gtest/gtest.h>

#include "modes/popup_manager.h"
#include "puzzle_test_util.h"

namespace {

namespace pt = plat::testing;

class LevelFile : public PuzzleTest {
protected:
    void SetUp() override {
        PuzzleTest::SetUp();
        WritePicture("gfx/info/panel.png", 240, 200);
    }
    static std::string Popup(const std::string& name, const std::string& level) {
        return name + "{ " + (level.empty() ? "" : "Level=" + level) +
               " Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='hello' Condition=0"
               " Spell=0 ButtonY=-1 TextY=-1 }\n";
    }
    static void WritePopups(const std::string& text) {
        ASSERT_TRUE(plat::SaveText(TPopup::kArchive, bca::PackArchive({{TPuzzleManager::kPopupMember, text}})));
    }
};

TEST_F(LevelFile, ReadsItsSettingsAndTruncatesNumbers) {
    WritePuzzleLevels({{"a.tsc", PuzzleLevel("gfx/slides/x.jpg", "6.9", "4", "2.5", "7")}});
    puzzle->Load("a.tsc");
    EXPECT_EQ(puzzle->image, "gfx/slides/x.jpg");
    EXPECT_EQ(puzzle->music, "sfx/puzzle-song.ogg");
    EXPECT_EQ(puzzle->width, 6);
    EXPECT_EQ(puzzle->height, 4);
    EXPECT_EQ(puzzle->hintA, 2);
    EXPECT_EQ(puzzle->hintB, 7);
    EXPECT_TRUE(pt::Notifications().empty());
}

struct BadSize {
    std::string width, height;
    int columns, rows;
};

class SizeLimits : public LevelFile, public ::testing::WithParamInterface<BadSize> {};

TEST_P(SizeLimits, AreBroughtWithinOneToTenWithTwoPiecesAtLeast) {
    const BadSize c = GetParam();
    WritePuzzleLevels({{"a.tsc", PuzzleLevel("", c.width, c.height, "0", "1")}});
    puzzle->Load("a.tsc");
    EXPECT_EQ(puzzle->width, c.columns);
    EXPECT_EQ(puzzle->height, c.rows);
    // Create brings a size set from outside (the gallery) within the limits too.
    puzzle->Create("", std::stoi(c.width), std::stoi(c.height));
    EXPECT_EQ(Grid().columns, c.columns);
    EXPECT_EQ(Grid().rows, c.rows);
    EXPECT_EQ(static_cast<int>(Grid().pieces.size()), c.columns * c.rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, SizeLimits,
                         ::testing::Values(BadSize{"1", "1", 1, 2}, BadSize{"0", "0", 1, 2}, BadSize{"-3", "5", 1, 5},
                                           BadSize{"11", "12", 10, 10}, BadSize{"10", "10", 10, 10},
                                           BadSize{"2", "1", 2, 1}));

TEST_F(LevelFile, AMissingNumberIsReportedAndASafeValueUsed) {
    WritePuzzleLevels({{"a.tsc", PuzzleLevel("", "-", "3", "-", "2")}});
    puzzle->Load("a.tsc");
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_NE(pt::Notifications()[0].find("width"), std::string::npos);
    EXPECT_NE(pt::Notifications()[0].find("hintA"), std::string::npos);
    EXPECT_EQ(puzzle->width, 6);
    EXPECT_EQ(puzzle->height, 3);
    EXPECT_EQ(puzzle->hintA, 0);
    EXPECT_EQ(puzzle->hintB, 2);
    EXPECT_EQ(puzzle->image, "");
}

TEST_F(LevelFile, AFileTheArchiveLacksGivesOneMessageAndAPlayablePuzzle) {
    puzzle->Load("missing.tsc");
    EXPECT_EQ(pt::Notifications().size(), 1u) << "the archive reader's own message, no second one";
    EXPECT_EQ(puzzle->width * puzzle->height >= 2, true);
}

TEST_F(LevelFile, OnlyTheFirstLevelReadsItsIntroPopupsAndEachLoadStartsWithNone) {
    WritePopups(Popup("One", "1") + Popup("Two", "2") + Popup("Nameless", "") + Popup("Three", "1") +
                Popup("Half", "1.5"));
    WritePuzzleLevels({{"puzzle-01.tsc", PuzzleLevel("", "3", "2", "0", "1")},
                       {"puzzle-02.tsc", PuzzleLevel("", "3", "2", "0", "1")}});
    puzzle->Load("puzzle-01.tsc");
    // A group without its level number is skipped, and those after it still read.
    EXPECT_EQ(puzzle->introPopups.size(), 2u);
    puzzle->Load("puzzle-01.tsc");
    EXPECT_EQ(puzzle->introPopups.size(), 2u) << "not piled on the last load's";
    puzzle->Load("Puzzle-01.tsc");
    EXPECT_TRUE(puzzle->introPopups.empty()) << "the name is compared with its case";
    puzzle->Load("puzzle-01.tsc");
    puzzle->Load("puzzle-02.tsc");
    EXPECT_TRUE(puzzle->introPopups.empty());
}

TEST_F(LevelFile, CreateCutsThePictureRowByRow) {
    puzzle->Create("gfx/slides/small.jpg", 8, 6);  // stretched to 670 x 494 first
    EXPECT_EQ(Grid().pieceWidth, 83);
    EXPECT_EQ(Grid().pieceHeight, 82);
    ASSERT_EQ(Grid().pieces.size(), 48u);
    ASSERT_TRUE(Grid().picture);
    EXPECT_EQ(plat::ImageFrames(Grid().picture), 48);
    EXPECT_EQ(plat::ImageWidth(Grid().picture), 83);
    for (int k = 0; k < 48; ++k) {
        EXPECT_EQ(Piece(k).id, k);
        EXPECT_EQ(Piece(k).frame, k);
        EXPECT_EQ(Piece(k).slot, k);
        EXPECT_EQ(Piece(k).active, 1);
    }
    EXPECT_EQ(Piece(9).column, 1);
    EXPECT_EQ(Piece(9).row, 1);
    EXPECT_EQ(Piece(9).area->x, 65 + 83);
    EXPECT_EQ(Piece(9).area->y, 53 + 82);
}

TEST_F(LevelFile, APictureThatDoesNotLoadGivesAPlainOneToCut) {
    puzzle->Create("gfx/slides/nowhere.jpg", 4, 3);
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_NE(pt::Notifications()[0].find("gfx/slides/nowhere.jpg"), std::string::npos);
    ASSERT_TRUE(Grid().picture);
    EXPECT_EQ(plat::ImageFrames(Grid().picture), 12);
    EXPECT_EQ(Grid().pieces.size(), 12u);
    // The empty path is the default picture, which loads.
    pt::ClearNotifications();
    puzzle->Create("", 4, 3);
    EXPECT_TRUE(pt::Notifications().empty());
}

}  // namespace

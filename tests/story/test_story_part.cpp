// Story part files: the keys, the "<<" rule, the limits, and what a file
// that lacks a key gets.
#include <gtest/gtest.h>

#include <string>

#include "story/story_part.h"
#include "story_test_util.h"

namespace {

using StoryPart = StoryTest;

TEST_F(StoryPart, ReadsHeaderPagesAndLinesAsWritten) {
    WritePicture("gfx/story/a.png", 16, 8);
    WritePicture("gfx/story/b.png", 16, 8);
    // Keys and groups in another case are found all the same.
    const std::string text = PartText(
        4, " Music='x.ogg' pages=3 Voice='sfx/v.ogg' voiceStopAfter=5000.9",
        {"Picture='gfx/story/a.png' PosY=20.7 Lines=2 Line1='first' Line2='second' Line3='not read' Time=-0.5",
         "Picture='<<' PosY=-12 Lines=0 Time=-1", "picture='gfx/story/b.png' posy=3 lines=1 line1='last' time=1500"});
    TStoryPart part;
    part.Read(TscFromText(text), 4);
    EXPECT_TRUE(part.missing.empty());
    EXPECT_EQ(part.pageCount, 3);
    EXPECT_EQ(part.voice, "sfx/v.ogg");
    EXPECT_EQ(part.voiceStopAfter, 5000);
    ASSERT_EQ(part.pages.size(), 3u);
    EXPECT_EQ(part.pages[0].posY, 20);
    EXPECT_EQ(part.pages[0].time, 0) << "-0.5 truncates toward zero";
    EXPECT_EQ(part.pages[0].lineCount, 2);
    EXPECT_EQ(part.pages[0].lines[0], "first");
    EXPECT_EQ(part.pages[0].lines[2], "") << "lines past the count are not read";
    EXPECT_EQ(part.pages[1].posY, -12);
    EXPECT_EQ(part.pages[1].time, -1);
    EXPECT_EQ(part.pages[2].lines[0], "last");

    part.LoadPictures();
    ASSERT_NE(part.pictures[0], nullptr);
    EXPECT_EQ(part.pictures[1], part.pictures[0]) << "a '<<' page shares the picture before";
    ASSERT_NE(part.pictures[2], nullptr);
    EXPECT_NE(part.pictures[2], part.pictures[0]);
}

TEST_F(StoryPart, ARunOfRepeatsSharesTheLastNamedPictureAndTheSameFileLoadsAgain) {
    WritePicture("gfx/story/a.png", 16, 8);
    const std::string text = PartText(1, " Pages=4",
                                      {"Picture='gfx/story/a.png' PosY=0 Lines=0 Time=-1",
                                       "Picture='<<' PosY=0 Lines=0 Time=-1", "Picture='<<' PosY=0 Lines=0 Time=-1",
                                       "Picture='gfx/story/a.png' PosY=0 Lines=0 Time=-1"});
    TStoryPart part;
    part.Read(TscFromText(text), 1);
    part.LoadPictures();
    EXPECT_EQ(part.pictures[1], part.pictures[0]);
    EXPECT_EQ(part.pictures[2], part.pictures[0]);
    ASSERT_NE(part.pictures[3], nullptr);
    EXPECT_NE(part.pictures[3], part.pictures[0]) << "a file named again is a picture of its own";
}

TEST_F(StoryPart, CountsAreBroughtWithinTheBlockAndTheSlots) {
    struct Case {
        std::string pages, lines;
        int pageCount, lineCount;
    };
    const Case cases[] = {{"26", "6", 26, 6}, {"40", "9", 26, 6}, {"0", "-2", 1, 0}, {"-5", "0", 1, 0},
                          {"1.9", "6.9", 1, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE("Pages=" + c.pages + " Lines=" + c.lines);
        std::vector<std::string> pages;
        for (int i = 0; i < 30; ++i)
            pages.push_back("Picture='<<' PosY=0 Lines=" + c.lines +
                            " Line1='a' Line2='b' Line3='c' Line4='d' Line5='e' Line6='f' Line7='g' Time=-1");
        TStoryPart part;
        part.Read(TscFromText(PartText(2, " Pages=" + c.pages, pages)), 2);
        EXPECT_EQ(part.pageCount, c.pageCount);
        ASSERT_EQ(static_cast<int>(part.pages.size()), c.pageCount);
        EXPECT_EQ(part.pages.back().lineCount, c.lineCount);
        EXPECT_TRUE(part.missing.empty());
    }
}

TEST_F(StoryPart, AMissingNumberKeyIsReportedAndASafeValueUsed) {
    struct Case {
        std::string header, page;
        std::string missingKey;
        int pageCount, posY, lineCount, time;
        bool voice;
    };
    const std::string page = "Picture='p.png' PosY=5 Lines=1 Line1='x' Time=900";
    const Case cases[] = {
        {" Voice='v.ogg'", page, "Story3::Pages", 1, 5, 1, 900, false},
        {" Pages=1 Voice='v.ogg'", page, "Story3::voiceStopAfter", 1, 5, 1, 900, false},
        {" Pages=1", "Picture='p.png' Lines=1 Line1='x' Time=900", "Story3::Page1::PosY", 1, 0, 1, 900, false},
        {" Pages=1", "Picture='p.png' PosY=5 Line1='x' Time=900", "Story3::Page1::Lines", 1, 5, 0, 900, false},
        // A page without a time waits for the player.
        {" Pages=1", "Picture='p.png' PosY=5 Lines=1 Line1='x'", "Story3::Page1::Time", 1, 5, 1, -1, false},
        {" Pages=1 Voice='v.ogg' voiceStopAfter=10", page, "", 1, 5, 1, 900, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missingKey);
        WriteStory({{"part-3.tsc", PartText(3, c.header, {c.page})}});
        plat::testing::ClearNotifications();
        TStoryPart part;
        EXPECT_EQ(part.Load(3), 1);
        EXPECT_EQ(part.pageCount, c.pageCount);
        EXPECT_EQ(part.pages[0].posY, c.posY);
        EXPECT_EQ(part.pages[0].lineCount, c.lineCount);
        EXPECT_EQ(part.pages[0].time, c.time);
        EXPECT_EQ(!part.voice.empty(), c.voice) << "a voice with no time to stop it is left out";
        if (c.missingKey.empty()) {
            EXPECT_TRUE(plat::testing::Notifications().empty());
            continue;
        }
        ASSERT_EQ(plat::testing::Notifications().size(), 1u) << "one report for the whole file";
        EXPECT_NE(plat::testing::Notifications()[0].find(c.missingKey), std::string::npos)
            << plat::testing::Notifications()[0];
    }
}

TEST_F(StoryPart, AMissingMemberGivesOneEmptyPageAndItsOwnMessageOnly) {
    WriteStory({{"part-1.tsc", PartText(1, " Pages=1", {"Picture='p.png' PosY=0 Lines=0 Time=-1"})}});
    TStoryPart part;
    EXPECT_EQ(part.Load(7), 0);
    EXPECT_EQ(part.pageCount, 1);
    ASSERT_EQ(part.pages.size(), 1u);
    EXPECT_EQ(part.pages[0].lineCount, 0);
    EXPECT_EQ(part.pages[0].time, -1);
    // The archive reader's box names the member; no second box follows.
    ASSERT_EQ(plat::testing::Notifications().size(), 1u);
    EXPECT_NE(plat::testing::Notifications()[0].find("part-7.tsc"), std::string::npos);
    part.LoadPictures();
    EXPECT_EQ(part.pictures[0], nullptr);
}

}  // namespace

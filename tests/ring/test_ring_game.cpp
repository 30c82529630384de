// The ring level file, its intro popups, the rune sequences, a game's
// starting values and the intro's frames.
#include <gtest/gtest.h>

#include "platform/rng.h"
#include "ring_test_util.h"

namespace {

namespace pt = plat::testing;

const char* kRingPopups = R"(
First{ Level=1 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='one' Condition=0 Spell=0 ButtonY=-1 TextY=-1 }
Other{ Level=2 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='two' Condition=0 Spell=0 ButtonY=-1 TextY=-1 }
NoLevel{ Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='lost' Condition=0 Spell=0 ButtonY=-1 TextY=-1 }
Second{ Level=1.0 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='three' Condition=0 Spell=0 ButtonY=-1 TextY=-1 }
)";

using RingLevel = RingTest;

TEST_F(RingLevel, LoadReadsTheSettingsAndTheLevelsOwnPopupsInFileOrder) {
    WriteRingPopups(kRingPopups);
    WriteRing({{"ring-01.tsc", RingLevelText("75000", "6", "'1 3 4'", "4500", "1")}});
    ringGame->Load("ring-01.tsc");
    EXPECT_EQ(ringGame->musicName, "sfx/ring-test.ogg");
    EXPECT_EQ(ringGame->Time, 75000.0f);
    EXPECT_EQ(ringGame->levelSequenceLast, 5);
    EXPECT_EQ(ringGame->AvailableSpells, (std::vector<std::string>{"1", "3", "4"}));
    EXPECT_EQ(ringGame->RuneTime, 4500);
    ASSERT_EQ(ringGame->popups.size(), 2u) << "Level 1 and 1.0; not level 2, not the group without a level";
    EXPECT_EQ(ringGame->popups[0]->lines[0], "one");
    EXPECT_EQ(ringGame->popups[1]->lines[0], "three");
    EXPECT_TRUE(pt::Notifications().empty());
}

TEST_F(RingLevel, EachLoadStartsItsOwnPopupList) {
    WriteRingPopups(kRingPopups);
    WriteRing({{"ring-01.tsc", RingLevelText()}, {"ring-02.tsc", RingLevelText("60000", "4", "''", "5000", "2")}});
    ringGame->Load("ring-01.tsc");
    ringGame->Load("ring-01.tsc");
    EXPECT_EQ(ringGame->popups.size(), 2u) << "loaded twice, shown once";
    ringGame->Load("ring-02.tsc");
    ASSERT_EQ(ringGame->popups.size(), 1u) << "no popup of the earlier level leaks into the next";
    EXPECT_EQ(ringGame->popups[0]->lines[0], "two");
}

TEST_F(RingLevel, TheSequenceLengthIsKeptWithinTheTwentySlots) {
    const struct {
        const char* length;
        int last;
    } cases[] = {{"1", 0}, {"4", 3}, {"20", 19}, {"21", 19}, {"500", 19}, {"0", 0}, {"-3", 0}, {"2.9", 1}};
    for (const auto& c : cases) {
        WriteRing({{"ring-01.tsc", RingLevelText("60000", c.length)}});
        ringGame->Load("ring-01.tsc");
        EXPECT_EQ(ringGame->levelSequenceLast, c.last) << c.length;
        ringGame->createSequence(ringGame->levelSequenceLast);
        EXPECT_GE(ringGame->sequence[static_cast<size_t>(ringGame->position)], 0) << c.length;
    }
}

// No time for the runes after the first would let no sequence longer than one be finished, while
// every first rune still scored; a huge one would overflow the rune clock.
TEST_F(RingLevel, TheRuneTimeIsKeptWithinItsRange) {
    const struct {
        const char* runeTime;
        int played;
    } cases[] = {{"4500", 4500},
                 {"0", TRingGame::kMinRuneTime},
                 {"-250", TRingGame::kMinRuneTime},
                 {"-2147483648", TRingGame::kMinRuneTime},
                 {"2147483647", TRingGame::kMaxRuneTime}};
    for (const auto& c : cases) {
        WriteRing({{"ring-01.tsc", RingLevelText("60000", "4", "'4 1'", c.runeTime)}});
        ringGame->Load("ring-01.tsc");
        EXPECT_EQ(ringGame->RuneTime, c.played) << c.runeTime;
    }
}

TEST_F(RingLevel, AMissingNumberIsReportedAndADefaultPlayed) {
    WriteRing({{"ring-01.tsc", RingLevelText("-", "-", "'2'", "-", "-")}});
    ringGame->Time = 1;
    ASSERT_NO_THROW(ringGame->Load("ring-01.tsc"));
    EXPECT_EQ(ringGame->Time, 60000.0f);
    EXPECT_EQ(ringGame->levelSequenceLast, 3);
    EXPECT_EQ(ringGame->RuneTime, 6000);
    EXPECT_EQ(ringGame->AvailableSpells, std::vector<std::string>{"2"}) << "the keys after a missing one are read";
    EXPECT_TRUE(Notified({"ring-01.tsc", "Time", "SequenceLength", "RuneTime", "LevelNumber"}));

    // A member the archive lacks: its own message, defaults, no popups.
    pt::ClearNotifications();
    ASSERT_NO_THROW(ringGame->Load("ring-99.tsc"));
    EXPECT_EQ(ringGame->Time, 60000.0f);
    EXPECT_EQ(pt::Notifications().size(), 1u);
}

TEST_F(RingLevel, AvailableSpellsAreCutAtEverySpace) {
    const struct {
        const char* value;
        std::vector<std::string> list;
    } cases[] = {{"''", {}}, {"'3 3 5'", {"3", "3", "5"}}, {"'3  5'", {"3", "", "5"}}, {"'3 '", {"3", ""}}};
    for (const auto& c : cases) {
        WriteRing({{"ring-01.tsc", RingLevelText("60000", "4", c.value)}});
        ringGame->AvailableSpells = {"stale"};
        ringGame->Load("ring-01.tsc");
        EXPECT_EQ(ringGame->AvailableSpells, c.list) << c.value;
    }
}

TEST_F(RingLevel, SequencesNeverRepeatARuneAndNeverStartWithRuneZero) {
    for (int seed = 1; seed < 300; ++seed) {
        plat::SeedRnd(seed);
        ringGame->position = 7;
        ringGame->createSequence(19);
        ASSERT_EQ(ringGame->position, 0);
        ASSERT_EQ(ringGame->sequenceLast, 19);
        ASSERT_NE(ringGame->sequence[0], 0) << seed;
        for (int i = 0; i < 20; ++i) {
            ASSERT_GE(ringGame->sequence[static_cast<size_t>(i)], 0);
            ASSERT_LE(ringGame->sequence[static_cast<size_t>(i)], 19);
            if (i > 0) {
                ASSERT_NE(ringGame->sequence[static_cast<size_t>(i)], ringGame->sequence[static_cast<size_t>(i - 1)]);
            }
        }
    }
    ringGame->createSequence(0);
    EXPECT_GE(ringGame->sequence[0], 1);
    for (int i = 1; i < 20; ++i) EXPECT_EQ(ringGame->sequence[static_cast<size_t>(i)], -1) << i;
}

TEST_F(RingLevel, ResetParamsSetsTheSlipsOutsideTheScreen) {
    pt::AdvanceTime(1234);
    ringGame->hoverRune = 5;
    ringGame->completedAt = 99;
    ringGame->received = 4;
    ringGame->resetParams();
    EXPECT_EQ(ringGame->ringState, TRingGame::kRingIn);
    EXPECT_EQ(ringGame->ringScale, 5.5f);
    EXPECT_EQ(ringGame->ringAngle, 90.0f);
    EXPECT_EQ(ringGame->hoverRune, -1);
    EXPECT_EQ(ringGame->completedAt, -1);
    EXPECT_EQ(ringGame->received, 0);
    EXPECT_EQ(ringGame->startTime, plat::MilliSecs());
    const struct {
        int tile;
        float x;
        int y;
        float speed;
        int delay;
    } cases[] = {{0, -100, 95, 8, 30},   {4, -292, 495, 8, 54},  {5, -200, 95, 8, 30},  {9, -392, 495, 8, 54},
                 {10, 900, 95, -8, 30},  {12, 996, 295, -8, 42}, {15, 1000, 95, -8, 30}, {19, 1192, 495, -8, 54}};
    for (const auto& c : cases) {
        const TPapier& t = ringGame->tiles[static_cast<size_t>(c.tile)];
        EXPECT_EQ(t.x, c.x) << c.tile;
        EXPECT_EQ(t.y, c.y) << c.tile;
        EXPECT_EQ(t.speed, c.speed) << c.tile;
        EXPECT_EQ(t.delay, c.delay) << c.tile;
    }
}

TEST_F(RingLevel, TheIntroRunsItsStagesOnTheirFrames) {
    ringGame->resetParams();
    std::map<int, int> firstFrameOf;  // state -> frame
    int pendulumDown = 0;
    std::array<int, 20> stopped{};
    for (int frame = 1; frame <= 200 && ringGame->ringState < TRingGame::kPlay; ++frame) {
        ringGame->Update();
        firstFrameOf.emplace(ringGame->ringState, frame);
        if (pendulumDown == 0 && ringGame->pendulumY == 260.0f) pendulumDown = frame;
        for (size_t i = 0; i < 20; ++i)
            if (stopped[i] == 0 && ringGame->tiles[i].speed == 0.0f) stopped[i] = frame;
    }
    const struct {
        int state, frame;
    } stages[] = {{2, 46}, {3, 55}, {4, 80}, {6, 145}};
    for (const auto& s : stages) EXPECT_EQ(firstFrameOf[s.state], s.frame) << "stage " << s.state;
    EXPECT_EQ(pendulumDown, 119);
    const float restX[4] = {210, 110, 589, 689};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(stopped[static_cast<size_t>(i)], 121 + 6 * (i % 5)) << "slip " << i;
        EXPECT_EQ(ringGame->tiles[static_cast<size_t>(i)].x, restX[i / 5]) << "slip " << i;
    }
    EXPECT_EQ(ringGame->ringAngle, 0.0f);
    EXPECT_EQ(ringGame->ringScale, 1.0f);
}

}  // namespace

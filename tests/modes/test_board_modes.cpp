// The endless and time-attack games played frame by frame: a game left for
// the menu is saved and resumed, a time-attack game ends when its minute is
// over with its tally and hiscore entry, and the ways a game can end.
#include "tests/modes/modes_test_util.h"
#include "modes/scene.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

using plat::testing::OnFlip;
using Mode = TBoardModePlay::Mode;

class BoardModesTest : public ModesTest {
protected:
    // The open board: 6 x 6 cells, single runes dealt.
    static constexpr const char* kOpen = "open.tsc";

    int Number(const std::string& key) { return plat::ToInt(profileValues[key]); }
    // The index of the last write of a key (-1 when never written).
    int LastWrite(const std::string& key) {
        for (int i = static_cast<int>(profileWrites.size()) - 1; i >= 0; --i)
            if (profileWrites[static_cast<size_t>(i)].first == key) return i;
        return -1;
    }
};

TEST_F(BoardModesTest, EveryRightPressTurnsTheBlockOneQuarterTappedOrHeld) {
    for (Mode mode : {TBoardModePlay::kEndless, TBoardModePlay::kTimeAttack}) {
        SCOPED_TRACE(mode);
        TBoardModePlay play(mode);
        ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
        UntilShown(play);
        ExpectOneQuarterPerPress(play);
        EXPECT_EQ(play.endReason, 0);
    }
}

TEST_F(BoardModesTest, AMenuTapMadeAsThePointerArrivesPauses) {
    for (Mode mode : {TBoardModePlay::kEndless, TBoardModePlay::kTimeAttack}) {
        SCOPED_TRACE(mode);
        menu = FakeMenuWindow{};
        MenuAnswers(TInGameMenu::kResume, 0);
        TBoardModePlay play(mode);
        ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
        UntilShown(play);
        TapMenuAsThePointerArrives(play);
        EXPECT_FALSE(menu.pages.empty()) << "the pause menu opened";
        EXPECT_EQ(play.menuRequested, 0) << "and was answered";
        EXPECT_EQ(play.endReason, 0);
    }
}

TEST_F(BoardModesTest, AResumeRequestWithNothingSavedReturnsAtOnce) {
    for (Mode mode : {TBoardModePlay::kEndless, TBoardModePlay::kTimeAttack}) {
        level->Set("untouched");
        points->pointsActual = 5;
        board->originX = 7;
        TBoardModePlay play(mode);
        EXPECT_EQ(play.Start(""), 0);
        EXPECT_EQ(level->fileName, "untouched");
        EXPECT_EQ(points->pointsActual, 0);
        EXPECT_EQ(board->originX, 240);
    }
    EXPECT_EQ(goEndless(""), 0);
    EXPECT_EQ(goTimeAtack(""), 0);
}

TEST_F(BoardModesTest, AnEndlessGameLeftForTheMenuIsSavedAndResumedWhereItStood) {
    saveToProfile = 1;
    TBoardModePlay play(TBoardModePlay::kEndless);
    ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
    EXPECT_EQ(saveToProfile, 0) << "the quest is no longer saved from this board";
    EXPECT_EQ(level->goalType, 1);
    EXPECT_EQ(timeManager->limit, 0) << "the endless clock only counts";
    UntilShown(play);
    EXPECT_EQ(play.usedBlocks, 0) << "the two blocks of the start are not counted";
    // Three single runes in a row: one clear.
    for (int x = 0; x < 3; ++x) {
        Deal({2});
        ClickCell(x, 0);
        play.Frame();
    }
    play.Frame();
    EXPECT_EQ(points->pointsActual, ClearPoints(3, 1));
    EXPECT_EQ(play.usedBlocks, 3);
    for (int i = 0; i < 120; ++i) play.Frame();  // two seconds of play

    MenuAnswers(TInGameMenu::kMainMenu, 1);
    plat::testing::TapKey(plat::KEY_ESCAPE);
    play.Frame();
    ASSERT_EQ(play.endReason, 2);
    const int elapsed = timeManager->elapsed;
    EXPECT_GE(elapsed, 2000);
    EXPECT_EQ(play.Finish(), 0);
    EXPECT_EQ(blocks->heldBlock, nullptr);
    EXPECT_EQ(gameSaves, std::vector<std::string>{"endless"});
    EXPECT_EQ(profileValues["endlessLevel"], kOpen);
    EXPECT_EQ(Number("endlessPoints"), ClearPoints(3, 1));
    EXPECT_EQ(Number("endlessTime"), elapsed);
    EXPECT_EQ(Number("endlessBlocks"), 3);
    EXPECT_EQ(Number("endlessResume"), 1);
    // The resume flag is written last, with the one write of the profile.
    ASSERT_FALSE(profileWrites.empty());
    EXPECT_EQ(profileWrites.back(), (std::pair<std::string, int>("endlessResume", 1)));
    for (size_t i = 0; i + 1 < profileWrites.size(); ++i) EXPECT_EQ(profileWrites[i].second, 0) << profileWrites[i].first;

    // Resumed from the title screen: the same level, score, clock and count.
    level->Set("other");
    points->pointsActual = 0;
    TBoardModePlay again(TBoardModePlay::kEndless);
    ASSERT_EQ(again.Start(""), TBoardModePlay::kGoOn);
    EXPECT_EQ(level->fileName, kOpen);
    EXPECT_EQ(gameLoads, std::vector<std::string>{"endless"});
    EXPECT_EQ(points->pointsActual, ClearPoints(3, 1));
    EXPECT_EQ(again.usedBlocks, 3);
    EXPECT_EQ(timeManager->elapsed, elapsed);
    EXPECT_EQ(timeManager->refilling, 0) << "no refill on resume";
}

TEST_F(BoardModesTest, ATimeAttackGameEndsWhenItsMinuteIsOverWithItsTallyAndHiscore) {
    hiscores.push_back({"Ada", 123, 0, 3, kOpen});
    hiscores.push_back({"Ada", 999, 0, 3, "other.tsc"});
    hiscores.push_back({"Ada", 999, 0, 2, kOpen});
    profileValues["timeResume"] = "1";
    int tallySeconds = -1, tallyBest = -1;
    OnFlip([&](int) {
        if (level->summaryStage >= 7) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        if (level->summaryStage > 0) {
            tallySeconds = timeManager->SaveToProfile() / 1000;
        }
    });
    const int start = plat::testing::FlipCount();
    TBoardModePlay play(TBoardModePlay::kTimeAttack);
    ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
    EXPECT_EQ(timeManager->limit, 60000) << "the level's own 30 s are replaced";
    while (play.endReason == 0 && plat::testing::FlipCount() - start < 5000) play.Frame();
    ASSERT_EQ(play.endReason, 1);
    EXPECT_EQ(timeManager->TimeOver(), 1);
    const int playFrames = plat::testing::FlipCount() - start;
    EXPECT_GE(playFrames * 1000 / 60, 59000);
    EXPECT_LE(playFrames * 1000 / 60, 61500);
    EXPECT_EQ(play.Finish(), 1);
    tallyBest = play.bestResult;
    EXPECT_EQ(tallySeconds, 60);
    EXPECT_EQ(tallyBest, 123) << "the best earlier time-attack score on this level";
    ASSERT_EQ(hiscores.size(), 4u);
    EXPECT_EQ(hiscores.back().typeId, 3);
    EXPECT_EQ(hiscores.back().helpVar, kOpen);
    EXPECT_EQ(hiscores.back().score, 36 * 25) << "the tally's bonus for the empty board";
    EXPECT_EQ(points->pointsActual, 36 * 25);
    EXPECT_EQ(Number("timeResume"), 0) << "a finished game is no longer offered";
}

TEST_F(BoardModesTest, ASavedGameWhoseLevelIsGoneIsDroppedNotRetried) {
    profileValues["timeResume"] = "1";
    profileValues["timeLevel"] = "gone.tsc";
    EXPECT_EQ(goTimeAtack(""), 0);
    EXPECT_EQ(Number("timeResume"), 0);
    EXPECT_TRUE(Notified({"gone.tsc"}));
    EXPECT_TRUE(gameLoads.empty());
}

TEST_F(BoardModesTest, ARestartKeepsTheModeAndForgetsTheGameOverOfItsFrame) {
    for (Mode mode : {TBoardModePlay::kEndless, TBoardModePlay::kTimeAttack}) {
        TBoardModePlay play(mode);
        ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
        UntilShown(play);
        points->pointsActual = 300;
        play.usedBlocks = 9;
        // The game ends in the same frame as the menu asks for a restart.
        // No block held and none coming: nothing tests the board again.
        blocks->heldBlock = nullptr;
        blocks->Freze(100000);
        board->gameOverFlag = 1;
        play.menuRequested = 1;
        MenuAnswers(TInGameMenu::kRestart, 0);
        play.Frame();
        EXPECT_EQ(play.endReason, 0) << mode;
        EXPECT_EQ(board->gameOverFlag, 0);
        EXPECT_EQ(points->pointsActual, 0);
        EXPECT_EQ(play.usedBlocks, 0);
        EXPECT_EQ(timeManager->limit, mode == TBoardModePlay::kEndless ? 0 : 60000);
        EXPECT_EQ(level->goalType, 1);
        blocks->freezeLength = -1;
    }
}

TEST_F(BoardModesTest, QuittingSavesTheGameBeforeTheProgramEnds) {
    TBoardModePlay play(TBoardModePlay::kTimeAttack);
    ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
    play.Frame();
    plat::testing::RequestTerminate();
    play.Frame();
    ASSERT_EQ(play.endReason, 3);
    EXPECT_THROW(play.Finish(), plat::EndRequested);
    EXPECT_EQ(Number("timeResume"), 1);
    EXPECT_EQ(gameSaves, std::vector<std::string>{"time"});
    EXPECT_EQ(level->music, nullptr);
}

TEST_F(BoardModesTest, AClosedTallyStillRecordsTheScoreWithItsBonus) {
    profileValues["endlessResume"] = "1";
    TBoardModePlay play(TBoardModePlay::kEndless);
    ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
    play.endReason = 1;
    OnFlip([](int n) {
        if (n == 5) plat::testing::RequestTerminate();
    });
    EXPECT_THROW(play.Finish(), plat::EndRequested);
    ASSERT_EQ(hiscores.size(), 1u);
    EXPECT_EQ(hiscores[0].typeId, 2);
    EXPECT_EQ(hiscores[0].score, 36 * 25);
    EXPECT_EQ(Number("endlessResume"), 0);
}

// A saved game is the player's file, and the profile hands its numbers over as 32-bit floats:
// whatever it holds, a resumed game starts with each number in its range, and plays on under the
// sanitizers without an overflow.
TEST_F(BoardModesTest, EveryResumedNumberIsClampedToItsRange) {
    constexpr int kCount = TBoardModePlay::kMaxResumedCount, kPoints = TBoardModePlay::kMaxResumedPoints;
    struct Key {
        const char* name;
        int endlessMost, timeMost;
        std::function<int(const TBoardModePlay&)> read;
    } keys[] = {
        {"Points", kPoints, kPoints, [](const TBoardModePlay&) { return points->pointsActual; }},
        {"Time", INT32_MAX, 60000, [](const TBoardModePlay&) { return timeManager->elapsed; }},
        {"RecivedSpells", kCount, kCount, [](const TBoardModePlay&) { return level->spellsReceived; }},
        {"DroppedSpells", kCount, kCount, [](const TBoardModePlay&) { return level->spellsCast; }},
        {"Blocks", kCount, kCount, [](const TBoardModePlay& p) { return p.usedBlocks; }},
    };
    const char* const huge[] = {"2147483648", "2147483647", "1e30"};
    const char* const negative[] = {"-2147483648", "-2147483647", "-2147483649", "-3600000", "-1"};
    for (Mode mode : {TBoardModePlay::kEndless, TBoardModePlay::kTimeAttack}) {
        for (const Key& key : keys) {
            std::vector<std::pair<std::string, int>> values = {{"1234", 1234}};
            for (const char* v : huge) values.emplace_back(v, mode == TBoardModePlay::kEndless ? key.endlessMost : key.timeMost);
            for (const char* v : negative) values.emplace_back(v, 0);
            for (const auto& [text, want] : values) {
                const std::string prefix = mode == TBoardModePlay::kEndless ? "endless" : "time";
                SCOPED_TRACE(prefix + key.name + "=" + text);
                profileValues.clear();
                profileValues[prefix + "Resume"] = "1";
                profileValues[prefix + "Level"] = kOpen;
                profileValues[prefix + key.name] = text;
                TBoardModePlay play(mode);
                ASSERT_EQ(play.Start(""), TBoardModePlay::kGoOn);
                EXPECT_EQ(key.read(play), want);
                for (int i = 0; i < 3 && play.endReason == 0; ++i) play.Frame();
                EXPECT_GE(key.read(play), std::min(want, 1234)) << "never wrapped by play";
                modes::ClearEffectLists();
            }
        }
    }
}

// The clock itself, resumed at its extremes: the endless one runs past the point where a signed
// count would overflow and stays at its top; a negative time-attack clock runs from 0 and is saved
// as the time played.
TEST_F(BoardModesTest, AResumedClockRunsSafelyFromAnyValue) {
    profileValues["endlessResume"] = "1";
    profileValues["endlessLevel"] = kOpen;
    profileValues["endlessTime"] = "2147480000";
    TBoardModePlay endless(TBoardModePlay::kEndless);
    ASSERT_EQ(endless.Start(""), TBoardModePlay::kGoOn);
    for (int i = 0; i < 300 && endless.endReason == 0; ++i) endless.Frame();  // five seconds
    EXPECT_EQ(timeManager->elapsed, INT32_MAX);
    modes::ClearEffectLists();

    // Saved back through the float store, a clamped number stays what it was.
    modeLinks.setNumber = [this](const std::string& k, float v, int) {
        profileValues[k] = std::to_string(plat::TruncToInt(v));
    };
    profileValues["timeResume"] = "1";
    profileValues["timeLevel"] = kOpen;
    profileValues["timeTime"] = "-3600000";
    TBoardModePlay timed(TBoardModePlay::kTimeAttack);
    ASSERT_EQ(timed.Start(""), TBoardModePlay::kGoOn);
    EXPECT_EQ(timeManager->elapsed, 0);
    UntilShown(timed);
    for (int i = 0; i < 120; ++i) timed.Frame();
    ASSERT_EQ(timed.endReason, 0);
    EXPECT_GE(timeManager->elapsed, 2000) << "the clock runs";
    MenuAnswers(TInGameMenu::kMainMenu, 1);
    plat::testing::TapKey(plat::KEY_ESCAPE);
    timed.Frame();
    ASSERT_EQ(timed.endReason, 2);
    timed.Finish();
    EXPECT_GE(Number("timeTime"), 2000);
}

// The spells won and set off in a left game come back with it, in both
// modes: the tally pays for them.
TEST_F(BoardModesTest, AResumedGameGetsBackItsSpellCounts) {
    for (Mode mode : {TBoardModePlay::kEndless, TBoardModePlay::kTimeAttack}) {
        SCOPED_TRACE(mode);
        TBoardModePlay play(mode);
        ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
        UntilShown(play);
        level->spellsReceived = 5;
        level->spellsCast = 4;
        MenuAnswers(TInGameMenu::kMainMenu, 1);
        plat::testing::TapKey(plat::KEY_ESCAPE);
        play.Frame();
        ASSERT_EQ(play.endReason, 2);
        play.Finish();
        ASSERT_EQ(Number(mode == TBoardModePlay::kEndless ? "endlessResume" : "timeResume"), 1) << "kept";

        level->spellsReceived = 0;
        level->spellsCast = 0;
        TBoardModePlay again(mode);
        ASSERT_EQ(again.Start(""), TBoardModePlay::kGoOn);
        EXPECT_EQ(level->spellsReceived, 5);
        EXPECT_EQ(level->spellsCast, 4);
    }
}

// A click on the board side with no block in hand (the supply frozen by a
// spell) still runs the match scan in time attack; endless acts on such a
// click only with a block held.
TEST_F(BoardModesTest, AnEmptyHandedBoardClickScansForRunsOnlyInTimeAttack) {
    const struct {
        Mode mode;
        bool clears;
    } cases[] = {{TBoardModePlay::kTimeAttack, true}, {TBoardModePlay::kEndless, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        TBoardModePlay play(c.mode);
        ASSERT_EQ(play.Start(kOpen), TBoardModePlay::kGoOn);
        UntilShown(play);
        points->pointsActual = 0;
        blocks->heldBlock = nullptr;
        blocks->Freze(100000);
        for (int x = 0; x < 3; ++x) {
            board->runeLayer[static_cast<size_t>(x)][0] = 2;
            board->colorLayer[static_cast<size_t>(x)][0] = razod->getRuneColor("2");
        }
        ClickCell(4, 3);
        play.Frame();
        EXPECT_EQ(board->runeLayer[0][0] == 0, c.clears);
        EXPECT_EQ(points->pointsActual, c.clears ? ClearPoints(3, 1) : 0);
        blocks->freezeLength = -1;
    }
}

}  // namespace

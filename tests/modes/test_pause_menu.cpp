// The pause menu: its answers, the paused clock and petrification, the
// options and help pages, and the frame delta after it closes.
#include "tests/modes/modes_test_util.h"

#include <gtest/gtest.h>

#include "core/mouse.h"

namespace {

using plat::testing::OnFlip;

class PauseMenuTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        SetUpLevel(0);
        timeManager->Set(90000);
        timeManager->Reset(0);
        plat::testing::AdvanceTime(3000);
        timeManager->Update();
        board->lastPetrifyTime = plat::MilliSecs() - 2000;
        deltaTime->Update();
    }
};

TEST_F(PauseMenuTest, AnswersWithTheClockAndPetrificationStopped) {
    enum Input { kAction, kEscape, kTerminate, kEscapeAndTerminate, kActionAndTerminate };
    struct Case {
        Input input;
        int action;
        int want;
    };
    const std::vector<Case> cases = {
        {kAction, TInGameMenu::kResume, 0},   {kAction, TInGameMenu::kRestart, 2},
        {kAction, TInGameMenu::kMainMenu, 3}, {kAction, TInGameMenu::kQuitGame, 4},
        {kEscape, 0, 0},                      {kTerminate, 0, 4},
        // A close request of Escape's frame wins: read once, it would be lost.
        {kEscapeAndTerminate, 0, 4},
        // So it does over a menu answer of its frame.
        {kActionAndTerminate, TInGameMenu::kResume, 4},
    };
    for (const Case& c : cases) {
        menu = FakeMenuWindow{};
        const int clock = timeManager->elapsed;
        const int sincePetrify = plat::MilliSecs() - board->lastPetrifyTime;
        const bool answers = c.input == kAction || c.input == kActionAndTerminate;
        if (answers) MenuAnswers(c.action, c.input == kAction ? 5 : 4);
        const int start = plat::testing::FlipCount();
        OnFlip([&c, start](int n) {
            // Every menu frame lasts a second: the pause is long.
            plat::testing::AdvanceTime(1000);
            if (n - start != 5) return;
            if (c.input == kEscape || c.input == kEscapeAndTerminate) plat::testing::TapKey(plat::KEY_ESCAPE);
            if (c.input == kTerminate || c.input == kEscapeAndTerminate || c.input == kActionAndTerminate)
                plat::testing::RequestTerminate();
        });
        EXPECT_EQ(showInGameMenu(), c.want) << c.input << " " << c.action;
        EXPECT_EQ(plat::testing::FlipCount() - start, c.input == kAction ? 6 : 5) << c.input;
        EXPECT_EQ(timeManager->elapsed, clock) << "the level clock stood still";
        timeManager->Update();
        EXPECT_EQ(timeManager->elapsed, clock) << "and goes on from where it stood";
        EXPECT_EQ(plat::MilliSecs() - board->lastPetrifyTime, sincePetrify);
        ASSERT_FALSE(menu.pages.empty());
        EXPECT_EQ(menu.pages.front(), std::tuple(2, 1)) << "the in-game page, faded in";
        EXPECT_EQ(menu.frees, 1);
        EXPECT_EQ(menu.music, nullptr) << "the window lets go of the level's song";
        EXPECT_EQ(menu.returnState, 2);
        EXPECT_EQ(menu.draws, menu.updates);
    }
}

TEST_F(PauseMenuTest, OptionsHelpAndTheMainPageKeepTheMenuOpen) {
    int tutorials = 0, bossTutorials = 0, tutorialAnswer = 0;
    modeLinks.showTutorial = [&](int fromMenu) {
        EXPECT_EQ(fromMenu, 1);
        ++tutorials;
        return tutorialAnswer;
    };
    modeLinks.showBossTutorial = [&](int fromMenu) {
        EXPECT_EQ(fromMenu, 1);
        ++bossTutorials;
        return 0;
    };
    TInGameMenu m;
    m.Open();
    EXPECT_EQ(menu.music, level->music);
    m.React(TInGameMenu::kOptions);
    EXPECT_EQ(menu.pages.back(), std::tuple(7, 0)) << "the options page, without a new fade";
    m.React(TInGameMenu::kHelp);
    EXPECT_EQ(std::tie(tutorials, bossTutorials, m.result), std::tuple(1, 0, 0));
    level->goalType = 3;
    m.React(TInGameMenu::kHelp);
    EXPECT_EQ(std::tie(tutorials, bossTutorials, m.result), std::tuple(1, 1, 0));
    menu.page = 0;  // the window went to its main page
    m.React(0);
    EXPECT_EQ(menu.pages.back(), std::tuple(2, 0));
    level->goalType = 1;
    tutorialAnswer = 1;  // the program was asked to close inside the help page
    m.React(TInGameMenu::kHelp);
    EXPECT_EQ(m.result, 4);
    EXPECT_EQ(m.Close(), 4);
}

// A press on the pause page takes the player to another page (or back to
// the board): the second click of a double-click is dropped there, while
// the options page's own buttons take quick repeats.
TEST_F(PauseMenuTest, ADoubleClicksSecondPressNeverReachesThePageAButtonOpened) {
    const struct {
        int action;
        bool leaves;
    } cases[] = {{TInGameMenu::kResume, true}, {TInGameMenu::kOptions, true}, {TInGameMenu::kMainMenu, true},
                 {TInGameMenu::kHelp, true},   {40, false} /* a volume button */,  {0, false}};
    for (const auto& c : cases) {
        plat::testing::AdvanceTime(kPageLeaveMs + 1);
        ASSERT_FALSE(mouse->leaving());
        TInGameMenu m;
        m.Open();
        m.React(c.action);
        EXPECT_EQ(mouse->leaving(), c.leaves) << "action " << c.action;
    }
}

TEST_F(PauseMenuTest, WithoutAWindowOnlyEscapeAnswersAndTheNextFrameIsShort) {
    modeLinks = TModeLinks{};
    const int start = plat::testing::FlipCount();
    OnFlip([start](int n) {
        plat::testing::AdvanceTime(500);
        if (n - start == 20) plat::testing::TapKey(plat::KEY_ESCAPE);
    });
    EXPECT_EQ(showInGameMenu(), 0);
    EXPECT_EQ(plat::testing::FlipCount() - start, 20);
    plat::testing::AdvanceTime(17);
    deltaTime->Update();
    EXPECT_LT(deltaTime->CurrDelta(), 1.5f) << "ten seconds of pause are not one long frame";
}

}  // namespace

// The quest's board level played frame by frame under scripted input and
// the fake clock: won to its tally, lost to the game-over panel and its
// answers, paused and answered, popups raised by play, and the ways the
// program ends from the loop.
#include "tests/modes/modes_test_util.h"

#include <gtest/gtest.h>

namespace {

using plat::testing::OnFlip;

class QuestLoopTest : public ModesTest {
protected:
    // Starts level n afresh, and plays until its board has faded in.
    void Begin(int n, int resume = 0) {
        SetUpLevel(n);
        play.Start(resume);
        UntilShown(play);
    }
    // Drops a bar of three runes of colour 1 on row y from column 0.
    void DropBar(int y, int rune = 1) {
        Deal({rune, rune, rune});
        ClickCell(0, y);
        EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    }
    bool Posted(const std::string& name) { return popupManager->events->Contains(name); }

    TQuestPlay play;
};

TEST_F(QuestLoopTest, ALevelIsWonThroughItsTallyAndTheLevelPointsAreBanked) {
    points->pointsTotal = 1000;
    Begin(0);
    EXPECT_EQ(selectorLevels, std::vector<std::string>{"win.tsc"});
    EXPECT_TRUE(Posted("BEGIN_LEVEL"));
    EXPECT_NE(blocks->heldBlock, nullptr);

    DropBar(1);
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 3.0f);
    EXPECT_TRUE(Posted("MAKE_MATCH"));
    EXPECT_TRUE(Posted("RIGHT_UNUSED")) << "no block was turned yet";
    EXPECT_NE(blocks->heldBlock, nullptr) << "the next block comes with the next frame";
    EXPECT_EQ(play.Running(), 1);

    DropBar(1);
    const int score = 2 * ClearPoints(3, 1);
    EXPECT_EQ(points->pointsActual, score);
    ASSERT_EQ(play.Running(), 0) << "the sphere is full: the goal is met";

    ClickThroughTallies();
    EXPECT_EQ(play.Finish(), 0);
    EXPECT_EQ(level->summaryDone, 1);
    EXPECT_EQ(points->pointsTotal, 1000 + score + 15 * 25) << "the free cells' bonus, banked";
    EXPECT_EQ(points->pointsActual, 0);
    EXPECT_TRUE(popupManager->events->IsEmpty());
    EXPECT_TRUE(hiscores.empty()) << "only the quest's last level records its total";
    EXPECT_EQ(quit, 0);
}

TEST_F(QuestLoopTest, WinningTheLastLevelRecordsTheQuestsTotal) {
    points->pointsTotal = 500;
    ClickThroughTallies();
    SetUpLevel(0);
    sequencer->lastLevel = 0;
    // The whole loop, with the goal met before the first frame: no frame is
    // played, the tally runs at once.
    magicSphere->sphereFill[0] = 6.0f;
    EXPECT_EQ(goVelmora(0), 0);
    ASSERT_EQ(hiscores.size(), 1u);
    EXPECT_EQ(hiscores[0].typeId, 1);
    EXPECT_EQ(hiscores[0].helpVar, "null");
    EXPECT_EQ(hiscores[0].name, "Ada");
    EXPECT_EQ(hiscores[0].score, points->pointsTotal);
    EXPECT_EQ(points->pointsTotal, 500 + 15 * 25);
}

TEST_F(QuestLoopTest, AResumedLevelLoadsTheSavedGameAndShowsNoPopups) {
    WritePopups(PopupGroup("Begin", 0, "BEGIN_LEVEL"));
    SetUpLevel(0);
    ASSERT_EQ(popupManager->popups->Count(), 1);
    int stats = 0;
    modeLinks.loadQuestStats = [&] { ++stats; };
    play.Start(1);
    EXPECT_EQ(gameLoads, std::vector<std::string>{"razod"});
    EXPECT_EQ(stats, 1);
    EXPECT_TRUE(popupManager->popups->IsEmpty());
    EXPECT_FALSE(Posted("BEGIN_LEVEL"));
    EXPECT_TRUE(selectorLevels.empty());
    EXPECT_NE(blocks->heldBlock, nullptr) << "a saved game without a held block gets one";
}

TEST_F(QuestLoopTest, GameOverRecordsTheScoreAndThePanelsAnswersRetryLeaveOrQuit) {
    enum Answer { kRetry, kMenu, kClose };
    for (Answer answer : {kRetry, kMenu, kClose}) {
        hiscores.clear();
        testOptions->saves = testOptions->gameSaves = 0;
        saveToProfile = 1;
        quit = 0;
        points->pointsTotal = 700;
        // The stuck level: a bar of three fits nowhere from the start.
        SetUpLevel(1);
        play = TQuestPlay{};
        play.Start(0);
        Deal({1, 2, 1});
        board->checkGameOver();
        ASSERT_EQ(board->gameOverFlag, 1);
        points->pointsActual = 40;
        // The panel's buttons: try again at (318, 302), main menu at (318, 357).
        OnFlip([answer](int) {
            if (answer == kClose) {
                if (popupManager->gameOverPanel && board->alpha == 1.0f) plat::testing::RequestTerminate();
                return;
            }
            plat::testing::SetMouse(330, answer == kRetry ? 310 : 365);
            plat::testing::ClickMouse(plat::MOUSE_LEFT);
        });
        int result = TQuestPlay::kGoOn, frames = 0;
        while (hiscores.empty() && frames++ < 100) result = play.Frame();
        OnFlip(nullptr);
        ASSERT_EQ(hiscores.size(), 1u) << answer;
        EXPECT_EQ(hiscores[0].score, 740) << "banked and level points";
        EXPECT_EQ(hiscores[0].typeId, 1);
        EXPECT_EQ(points->pointsTotal, 0) << "the quest's banked score is lost with the game";
        EXPECT_EQ(points->pointsActual, 0);
        if (answer == kRetry) {
            EXPECT_EQ(result, TQuestPlay::kGoOn);
            EXPECT_LT(board->alpha, 1.0f) << "the board fades in again";
            EXPECT_EQ(board->runeLayer[0][0], 1) << "the level's runes are back";
            EXPECT_EQ(testOptions->saves, 0);
            EXPECT_EQ(play.Running(), 1);
        } else if (answer == kMenu) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(testOptions->gameSaves, 1) << "the game is saved on the way to the menu";
        } else {
            EXPECT_EQ(result, TQuestPlay::kGoOn);
            EXPECT_EQ(quit, 1);
            EXPECT_EQ(play.Running(), 0);
            EXPECT_THROW(play.Finish(), plat::EndRequested);
            EXPECT_EQ(level->music, nullptr) << "the song is stopped and dropped before the end";
            EXPECT_EQ(gameState, 1) << "a lost level is not won";
        }
    }
}

TEST_F(QuestLoopTest, ThePauseMenuOpensOnTheNextFrameAndItsAnswersAreActedOn) {
    enum Opener { kEscape, kP, kSuspend, kMenuButton };
    struct Case {
        Opener opener;
        int action;
    };
    const std::vector<Case> cases = {{kEscape, TInGameMenu::kResume}, {kP, TInGameMenu::kRestart},
                                     {kSuspend, TInGameMenu::kMainMenu}, {kMenuButton, TInGameMenu::kQuitGame}};
    for (const Case& c : cases) {
        testOptions->saves = testOptions->gameSaves = 0;
        saveToProfile = 1;
        menu = FakeMenuWindow{};
        MenuAnswers(c.action, 1);
        play = TQuestPlay{};
        Begin(0);
        DropBar(1);
        ASSERT_GT(points->pointsActual, 0);
        switch (c.opener) {
            case kEscape: plat::testing::TapKey(plat::KEY_ESCAPE); break;
            case kP: plat::testing::TapKey(plat::KEY_P); break;
            case kSuspend: plat::testing::SetSuspended(true); break;
            case kMenuButton:
                // The panel's menu button: the panel sits at (31, 352).
                plat::testing::SetMouse(31 + 60, 352 + 200);
                ASSERT_EQ(play.Frame(), TQuestPlay::kGoOn);
                ASSERT_EQ(points->menuHover, 1);
                plat::testing::ClickMouse(plat::MOUSE_LEFT);
                break;
        }
        if (c.opener != kMenuButton) {
            ASSERT_EQ(play.Frame(), TQuestPlay::kGoOn);
            plat::testing::SetSuspended(false);
            ASSERT_EQ(play.menuRequested, 1) << "the key or suspension asks for the menu";
            EXPECT_TRUE(menu.pages.empty()) << "the menu opens on the next frame";
        }
        if (c.action == TInGameMenu::kQuitGame) {
            EXPECT_THROW(play.Frame(), plat::EndRequested);
            EXPECT_EQ(level->music, nullptr);
            EXPECT_EQ(testOptions->saves, 0) << "the end-of-program handler saves, not the loop";
            continue;
        }
        const int result = play.Frame();
        ASSERT_FALSE(menu.pages.empty()) << c.opener;
        EXPECT_EQ(menu.frees, 1);
        if (c.action == TInGameMenu::kResume) {
            EXPECT_EQ(result, TQuestPlay::kGoOn);
            EXPECT_EQ(play.menuRequested, 0);
            EXPECT_GT(points->pointsActual, 0);
        } else if (c.action == TInGameMenu::kRestart) {
            EXPECT_EQ(result, TQuestPlay::kGoOn);
            EXPECT_EQ(play.menuRequested, 0);
            EXPECT_EQ(points->pointsActual, 0) << "a restart clears the level points";
            EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 0.0f) << "the level is loaded afresh";
            EXPECT_EQ(gameState, 1) << "put back after the reload";
        } else {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(testOptions->gameSaves, 1);
            EXPECT_TRUE(SparkList->IsEmpty());
        }
    }
}

TEST_F(QuestLoopTest, EveryRightPressTurnsTheBlockOneQuarterTappedOrHeld) {
    Begin(0);
    ExpectOneQuarterPerPress(play);
    EXPECT_EQ(play.rotatedThisLevel, 1);
}

TEST_F(QuestLoopTest, AMenuTapMadeAsThePointerArrivesPauses) {
    Begin(0);
    MenuAnswers(TInGameMenu::kResume, 0);
    TapMenuAsThePointerArrives(play);
    EXPECT_FALSE(menu.pages.empty()) << "the pause menu opened";
    EXPECT_EQ(play.menuRequested, 0) << "and was answered";
}

// A pause key pressed while a hint stands over the board is the hint's to
// take or drop: it must not open the menu by itself once the hint is gone.
TEST_F(QuestLoopTest, EscapeDuringAPopupNeverPausesLater) {
    WritePopups(PopupGroup("Match", 0, "MAKE_MATCH", 1));
    Begin(0);
    // Were the menu to open, it answers at once, so the fault shows as a
    // failure rather than a loop that never ends.
    MenuAnswers(TInGameMenu::kResume, 0);
    int popupFlips = 0;
    OnFlip([&](int) {
        // The posted events stand while the popups are shown, and only then
        // at a flip.
        if (popupManager->events->IsEmpty()) return;
        ++popupFlips;
        if (popupFlips == 2) {
            plat::testing::TapKey(plat::KEY_ESCAPE);
            plat::testing::TapKey(plat::KEY_P);
        }
        plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        if (popupFlips > 60) {
            plat::testing::SetMouse(popupManager->okButton->area->x + 5, popupManager->okButton->area->y + 5);
            plat::testing::PressMouse(plat::MOUSE_LEFT);
        }
    });
    DropBar(1);
    ASSERT_GT(popupFlips, 60) << "the popup was shown";
    ASSERT_TRUE(popupManager->popups->IsEmpty()) << "and closed";
    OnFlip(nullptr);
    plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    EXPECT_TRUE(menu.pages.empty()) << "the pause menu never opened";
    // A pause key after the popup still pauses.
    plat::testing::TapKey(plat::KEY_ESCAPE);
    play.Frame();
    EXPECT_EQ(play.menuRequested, 1);
}

TEST_F(QuestLoopTest, ATerminateRequestSetsQuitAndEndsTheProgram) {
    Begin(0);
    // The request is seen after the frame's flip.
    plat::testing::RequestTerminate();
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(play.Running(), 0);
    EXPECT_THROW(play.Finish(), plat::EndRequested);
    EXPECT_EQ(gameState, 1);
}

TEST_F(QuestLoopTest, QuittingInTheFrameTheGoalIsMetBanksTheLevelAsWon) {
    Begin(0);
    DropBar(1);
    Deal({1, 1, 1});
    ClickCell(0, 1);
    OnFlip([](int) { plat::testing::RequestTerminate(); });
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    ASSERT_EQ(quit, 1);
    ASSERT_EQ(level->isGoalAchieved(), 1);
    EXPECT_THROW(play.Finish(), plat::EndRequested);
    EXPECT_EQ(gameState, 2) << "won and banked: Continue goes to the map, the bonus is not paid twice";
    EXPECT_EQ(points->pointsTotal, 2 * ClearPoints(3, 1) + 15 * 25);
    EXPECT_EQ(points->pointsActual, 0);
}

TEST_F(QuestLoopTest, PlayRaisesThePopupEventsAndShowsTheirPopups) {
    WritePopups(PopupGroup("Begin", 0, "BEGIN_LEVEL") + PopupGroup("Match", 0, "MAKE_MATCH", 1) +
                PopupGroup("Turn", 0, "RIGHT_UNUSED", 1) + PopupGroup("Second", 0, "MAKE_MATCH", 2));
    SetUpLevel(0);
    std::map<const plat::Image*, std::string> panels;
    for (const TPopupPtr& p : *popupManager->popups) panels[p->image.get()] = p->event + std::to_string(p->condition);
    ASSERT_EQ(panels.size(), 4u);
    // Shows which popup the last frame drew and presses its OK button once it is fully shown.
    std::vector<std::string> seen;
    OnFlip([&](int n) {
        plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        for (const auto& d : plat::testing::DrawCalls()) {
            if (d.flip != n - 1 || d.kind != plat::testing::DrawCall::IMAGE) continue;
            auto it = panels.find(d.image);
            if (it == panels.end()) continue;
            if (seen.empty() || seen.back() != it->second) seen.push_back(it->second);
            if (d.alpha >= 1.0f) {
                plat::testing::SetMouse(popupManager->okButton->area->x + 5, popupManager->okButton->area->y + 5);
                plat::testing::PressMouse(plat::MOUSE_LEFT);
            }
        }
        plat::testing::ClearDrawCalls();
    });
    play.Start(0);
    UntilShown(play);
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    EXPECT_EQ(seen, std::vector<std::string>{"BEGIN_LEVEL0"}) << "shown once the board is fully in";

    // The player's next press on the board comes a while after the OK,
    // not as the second half of a double-click on it.
    plat::testing::AdvanceTime(kPageLeaveMs);
    DropBar(1);
    EXPECT_EQ(seen, (std::vector<std::string>{"BEGIN_LEVEL0", "MAKE_MATCH1", "RIGHT_UNUSED1"}));
    // After a turn a clear raises only the match event.
    plat::testing::AdvanceTime(kPageLeaveMs);
    plat::testing::PressMouse(plat::MOUSE_RIGHT);
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    plat::testing::ReleaseMouse(plat::MOUSE_RIGHT);
    EXPECT_EQ(play.rotatedThisLevel, 1);
    for (int i = 0; i < 30; ++i) play.Frame();  // the turn ends
    DropBar(2);
    EXPECT_EQ(level->matches, 2);
    EXPECT_EQ(seen.back(), "MAKE_MATCH2");
    EXPECT_TRUE(popupManager->events->IsEmpty());
}

TEST_F(QuestLoopTest, ACloseRequestTakenByAPopupSkipsTheMenuOfThatFrame) {
    WritePopups(PopupGroup("Match", 0, "MAKE_MATCH", 1));
    Begin(0);
    plat::testing::TapKey(plat::KEY_ESCAPE);
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    ASSERT_EQ(play.menuRequested, 1);
    MenuAnswers(TInGameMenu::kMainMenu, 0);
    Deal({1, 1, 1});
    ClickCell(0, 1);
    int flips = 0;
    OnFlip([&](int) {
        if (++flips == 3) plat::testing::RequestTerminate();
    });
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn) << "no return to the menu";
    EXPECT_EQ(quit, 1);
    EXPECT_TRUE(menu.pages.empty()) << "the pause menu did not open";
    EXPECT_THROW(play.Finish(), plat::EndRequested);
}

TEST_F(QuestLoopTest, ADropDuringATurnLandsAsTheTurnEnds) {
    Begin(0);
    // Turning from rotation 3 back to 0, a third of the way: rotation 3
    // would stand the bar up from the clicked cell.
    Deal({1, 2, 1});
    blocks->curRotation = 3;
    blocks->targetRotation = 0;
    blocks->turnProgress = 30;
    blocks->turnAngle = 300;
    ClickCell(0, 2);
    EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
    EXPECT_EQ(board->runeLayer[0][2], 1);
    EXPECT_EQ(board->runeLayer[1][2], 2);
    EXPECT_EQ(board->runeLayer[2][2], 1);
    EXPECT_EQ(board->runeLayer[0][1], 0);
    EXPECT_EQ(blocks->turnProgress, 0);
}

TEST_F(QuestLoopTest, NoBlockComesWhileASpellSetOffByAClearWaitsOrTheBlocksAreFrozen) {
    InstallSpellLinks();
    Begin(0);
    // A bomb lying under the middle of the next bar.
    bonusManagerAlt->AddBonusExt(kBomb, 1, 1, 0);
    DropBar(1);
    ASSERT_EQ(bonusManagerAlt->activeSpells.Count(), 1) << "the clear set the spell off";
    EXPECT_EQ(blocks->heldBlock, nullptr);
    int frames = 0;
    while (!blocks->heldBlock && frames < 300) {
        const bool waiting = !bonusManagerAlt->activeSpells.IsEmpty();
        const bool frozen = blocks->IsFreze() != 0;
        EXPECT_EQ(play.Frame(), TQuestPlay::kGoOn);
        ++frames;
        if (waiting || frozen) { EXPECT_EQ(blocks->heldBlock, nullptr) << frames; }
    }
    ASSERT_NE(blocks->heldBlock, nullptr);
    // Delay 600 ms, then the bomb's hold of 1000 ms.
    EXPECT_GE(frames * 1000 / 60, 1600);
    EXPECT_LE(frames * 1000 / 60, 1700);
    EXPECT_EQ(level->spellsCast, 1);
}

TEST_F(QuestLoopTest, ARestartClearsAGameOverItCannotTestAgain) {
    Begin(0);
    blocks->heldBlock = nullptr;
    board->gameOverFlag = 1;
    ASSERT_TRUE(play.Restart(1));
    EXPECT_EQ(board->gameOverFlag, 0);
}

// A quest board level started afresh joins the endless and time-attack
// selector, except a clear-the-board level: those modes play every level
// for its spheres, and an empty start board would leave nothing to fill.
TEST_F(QuestLoopTest, AFreshLevelJoinsTheSelectorUnlessItsGoalIsAClearedBoard) {
    const struct {
        int goalType;
        bool joins;
    } cases[] = {{1, true}, {2, false}, {3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.goalType);
        const std::string goal = std::to_string(c.goalType);
        WriteLevels({{"win.tsc", LevelText({{"Number", "0"}, {"GoalType", goal}, {"CopySpellsFromRMG", "0"},
                                             {"PetrifyTime", "60000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                             {"AvailableBlocks", "'3'"}, {"SpheresColors", "'1 0 0 0 0'"},
                                             {"SpheresCapacities", "'6 0 0 0 0'"}},
                                            {"1 1 1 1 1", "1 1 1 1 1", "1 1 1 1 1"})}});
        selectorLevels.clear();
        SetUpLevel(0);
        ASSERT_EQ(level->goalType, c.goalType);
        play.Start(0);
        EXPECT_EQ(selectorLevels, c.joins ? std::vector<std::string>{"win.tsc"} : std::vector<std::string>{});
        // Resumed, the level was added when it first started.
        selectorLevels.clear();
        play.Start(1);
        EXPECT_TRUE(selectorLevels.empty());
    }
}

}  // namespace

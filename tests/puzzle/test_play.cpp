// Whole puzzles through the play loop, driven frame by frame by scripted
// clicks: solved to the tally and the completion picture, left for the menu
// and resumed, a bad saved order, the ways out through the pause menu, a
// close request during the tally or the completion picture, the debug skip
// and the free puzzle of the gallery.
#include <gtest/gtest.h>

#include <stdexcept>

#include "level/level_links.h"
#include "tests/main/bot_puzzle.h"
#include "modes/popup_manager.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "profiles/profile_manager.h"
#include "profiles/saved_game.h"
#include "puzzle_test_util.h"

namespace {

namespace pt = plat::testing;

class PlayPuzzle : public PuzzleTest {
protected:
    void SetUp() override {
        PuzzleTest::SetUp();
        const std::string folder = dir_ + "/profiles";
        ASSERT_TRUE(plat::CreateDir(folder, true));
        profile = TProfileManager::CreateWithPortal(folder, "dat", "Velmora");
        ASSERT_EQ(profile->NewProfile("Ada"), 1);
        points->pointsTotal = 1000;
        levelLinks.loadPuzzle("pz.tsc");  // 3 x 2, start hint on pieces 0 and 5
        puzzle->tally = {};
    }
    void TearDown() override {
        profile.reset();
        PuzzleTest::TearDown();
    }

    // Plays like a person (the bot's puzzle hand): clicks pieces home, then
    // on through the tally and the completion picture. `extra` runs first
    // on every frame.
    void Solve(std::function<void()> extra = nullptr) {
        solver = quill_bot::PuzzleSolver{};
        pt::OnFlip([this, extra](int flip) {
            if (++flips > 20000) pt::RequestTerminate();  // a loop that never ends fails, not hangs
            if (extra) extra();
            solver.OnFlip(flip);
        });
    }
    // The menu window answers `action` on its update number `onUpdate`.
    void MenuAnswers(int action, int onUpdate = 2) {
        menuWindow->updates = 0;
        menuWindow->script = [action, onUpdate](int n) { return n == onUpdate ? action : 0; };
    }
    // The first puzzle, whose two intro popups lie at one place.
    void LoadFirstPuzzleWithTwoIntroPopups() {
        WritePicture("gfx/info/ok.png", 112, 30);
        WritePicture("gfx/info/panel.png", 240, 200);
        const std::string popup = " Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='hi'"
                                  " Condition=0 Spell=0 ButtonY=-1 TextY=-1 }\n";
        ASSERT_TRUE(plat::SaveText(TPopup::kArchive,
                                   bca::PackArchive({{"infoPZ.tsc", "A{ Level=1" + popup + "B{ Level=1" + popup}})));
        WritePuzzleLevels({{"puzzle-01.tsc", PuzzleLevel("", "3", "2", "0", "5")}});
        popupManager = std::make_shared<TPopupManager>();
        popupManager->Load();
        ASSERT_TRUE(popupManager->okButton && popupManager->okButton->image);
        levelLinks.loadPuzzle("puzzle-01.tsc");
    }
    int flips = 0;
    quill_bot::PuzzleSolver solver;
};

TEST_F(PlayPuzzle, AQuestPuzzleSolvedByClicksBanksItsPointsOnceAndSavesNothing) {
    int firstPlayFrame = -1;
    Solve([&] {
        if (firstPlayFrame < 0 && Grid().IsScrambled() && puzzle->grid->pieces.size() == 6) firstPlayFrame = flips;
    });
    EXPECT_EQ(puzzle->show(0, "", 0), 0);
    EXPECT_GT(firstPlayFrame, 0);
    EXPECT_EQ(points->pointsTotal, 1000 + 6 * 50);
    EXPECT_EQ(puzzle->tally.phase, 10) << "the tally ran to its end";
    EXPECT_EQ(puzzle->tally.shownPoints, 1300);
    EXPECT_GT(puzzle->clicks, 0);
    EXPECT_EQ(puzzle->hintsUsed, 0);
    EXPECT_TRUE(Grid().pieces.empty()) << "the grid is emptied when the puzzle ends";
    EXPECT_TRUE(profile->GetList("puzzles").empty()) << "a won puzzle is not saved";
    EXPECT_EQ(gameState, 1) << "the quest driver records the win";
}

TEST_F(PlayPuzzle, LeftForTheMenuItIsSavedAndResumedOnItsSlotsWithNoHintsCounted) {
    std::vector<int> slotsAtMenu;
    bool pressed = false;
    Solve([&] {
        // Two swaps in, Escape opens the pause menu, whose main-menu button answers.
        if (!pressed && puzzle->clicks >= 4 && !Grid().pieces.empty()) {
            for (const auto& p : Grid().pieces)
                if (p->IsFlying()) return;
            pt::TapKey(plat::KEY_ESCAPE);
            pressed = true;
        }
    });
    menuWindow->script = [&](int n) {
        if (n == 0) slotsAtMenu = Slots();
        return n == 2 ? int(TPuzzleManager::kMainMenu) : 0;
    };
    puzzle->hintsUsed = 0;
    EXPECT_EQ(puzzle->show(0, "", 0), 1);
    ASSERT_EQ(menuWindow->pages.size(), 1u);
    EXPECT_EQ(menuWindow->pages[0], (std::pair<int, int>{8, 1}));
    EXPECT_EQ(menuWindow->returnState, 8);
    ASSERT_EQ(slotsAtMenu.size(), 6u);
    EXPECT_EQ(profile->GetList("puzzles").size(), 6u);
    EXPECT_EQ(points->pointsTotal, 1000);
    const int savedClicks = profile->GetNumber("puzzlesClicks");
    EXPECT_GE(savedClicks, 4);
    const int savedElapsed = profile->GetNumber("puzzlesTime");

    // Continue: the same slots, the clock set back by the time played.
    pt::OnFlip(nullptr);
    pt::AdvanceTime(5000);
    mouse->Clear();  // the click that chose Continue is long gone
    readFromProfile = 1;
    puzzle->hintsUsed = 7;
    TPuzzleManager::Play play;
    puzzle->StartPlay(play, "");
    EXPECT_EQ(Slots(), slotsAtMenu);
    EXPECT_EQ(puzzle->clicks, savedClicks);
    EXPECT_NEAR(plat::MilliSecs() - puzzle->startTime, savedElapsed + 300, 300) << "plus the short fade-in";
    EXPECT_EQ(puzzle->hintsUsed, 0);
    EXPECT_EQ(play.hints.showing, 0) << "no start hint on a resumed puzzle";
    for (const auto& p : Grid().pieces) {
        if (p->IsInPlace()) { EXPECT_EQ(p->active, 0) << "pieces at home are locked before play"; }
    }
}

class BadSavedOrder : public PlayPuzzle, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(BadSavedOrder, StartsThePuzzleAfresh) {
    profile->SetList("puzzles", GetParam(), 0);
    profile->SetNumber("puzzlesClicks", 9, 0);
    profile->SetNumber("puzzlesTime", 60000, 0);
    readFromProfile = 1;
    puzzle->hintsUsed = 3;
    TPuzzleManager::Play play;
    puzzle->StartPlay(play, "");
    EXPECT_TRUE(Grid().IsScrambled()) << "no piece restored to its home";
    EXPECT_EQ(play.hints.showing, 1) << "the start hint of a fresh puzzle";
    EXPECT_TRUE(IsPermutation(Slots()));
    EXPECT_EQ(puzzle->clicks, 0);
    EXPECT_EQ(puzzle->hintsUsed, 0);
    EXPECT_LT(plat::MilliSecs() - puzzle->startTime, 1000);
}

INSTANTIATE_TEST_SUITE_P(Orders, BadSavedOrder,
                         ::testing::Values(std::vector<std::string>{},                           // none saved
                                           std::vector<std::string>{"1", "0", "3", "2", "5"},  // too few
                                           std::vector<std::string>{"1", "0", "3", "2", "5", "4", "6"},
                                           std::vector<std::string>{"1", "1", "3", "2", "5", "4"},  // twice
                                           std::vector<std::string>{"1", "0", "3", "2", "5", "9"},  // off the grid
                                           std::vector<std::string>{"1", "0", "x", "2", "5", "4"}));

TEST_F(PlayPuzzle, SolvedInTheFrameThePlayerLeavesItIsAWonLevelNotASave) {
    TPuzzleManager::Play play;
    puzzle->StartPlay(play, "");
    for (int k = 0; k < 6; ++k) puzzle->RestorePiece(k, k);
    play.exitCode = TPuzzleManager::kToMenu;
    Solve();
    EXPECT_EQ(puzzle->EndPlay(play), 0);
    EXPECT_EQ(points->pointsTotal, 1300);
    EXPECT_TRUE(profile->GetList("puzzles").empty());
}

struct CloseCase {
    const char* name;
    int freePlay;
    bool duringTally;  // else during the completion picture
    int gameStateAfter;
};

class CloseAtTheEnd : public PlayPuzzle, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseAtTheEnd, EndsTheProgramWithAQuestWinKept) {
    const CloseCase c = GetParam();
    TPuzzleManager::Play play;
    play.freePlay = c.freePlay;
    puzzle->StartPlay(play, "");
    for (int k = 0; k < 6; ++k) puzzle->RestorePiece(k, k);
    pt::OnFlip([&](int) {
        const auto& t = puzzle->tally;
        if (c.duringTally && t.phase == 3) pt::RequestTerminate();
        if (!c.duringTally) {
            if (t.phase == 6) pt::ClickMouse(plat::MOUSE_LEFT);
            if (t.phase == 10) pt::RequestTerminate();
        }
    });
    EXPECT_THROW(puzzle->EndPlay(play), plat::EndRequested);
    EXPECT_EQ(gameState, c.gameStateAfter);
    EXPECT_EQ(points->pointsTotal, c.freePlay ? 1000 : 1300);
    EXPECT_EQ(puzzle->musicStream, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseAtTheEnd,
                         ::testing::Values(CloseCase{"quest tally", 0, true, 2},
                                           CloseCase{"quest completion picture", 0, false, 2},
                                           CloseCase{"free play tally", 1, true, 1}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == ' ') ch = '_';
                             return n;
                         });

TEST_F(PlayPuzzle, ThePauseMenuResumesOpensTheOptionsAndLetsACloseRequestEndTheGame) {
    // Escape, then the options page, then resume: play goes on.
    bool escaped = false;
    Solve([&] {
        if (!escaped && !Grid().pieces.empty() && Grid().IsScrambled()) {
            pt::TapKey(plat::KEY_ESCAPE);
            escaped = true;
        }
    });
    menuWindow->script = [](int n) {
        return n == 1 ? int(TPuzzleManager::kOptions) : n == 3 ? int(TPuzzleManager::kResume) : 0;
    };
    EXPECT_EQ(puzzle->show(0, "", 0), 0) << "solved after the menu";
    ASSERT_GE(menuWindow->pages.size(), 2u);
    EXPECT_EQ(menuWindow->pages[1], (std::pair<int, int>{7, 0}));

    // A close request inside the menu ends the program; the quest stays where it was.
    puzzle->tally = {};
    escaped = false;
    menuWindow->pages.clear();
    menuWindow->updates = 0;
    menuWindow->script = [](int n) {
        if (n == 1) pt::RequestTerminate();
        return 0;
    };
    EXPECT_THROW(puzzle->show(0, "", 0), plat::EndRequested);
    EXPECT_EQ(gameState, 1);
    EXPECT_EQ(points->pointsTotal, 1300);
}

// The board comes back under the pointer when the pause menu resumes: the
// second press of a double-click on Resume never picks up the piece drawn
// there; a press the player makes later does.
class ResumeFromThePauseMenu : public PlayPuzzle {
protected:
    // The clicks on pieces counted after a press on a piece made gapFrames
    // after the frame whose press resumed the game.
    int PieceClicksAfter(int gapFrames) {
        int frame = 0, resumedAt = -1, clicksAtResume = -1;
        bool escaped = false;
        pt::OnFlip([&](int) {
            if (++frame > 2000) pt::RequestTerminate();
            if (Grid().pieces.empty() || !Grid().IsScrambled()) return;
            if (!escaped) {
                pt::TapKey(plat::KEY_ESCAPE);
                escaped = true;
            }
            if (resumedAt < 0 && menuWindow->updates == 3) {  // the flip of the update that resumed
                resumedAt = frame;
                clicksAtResume = puzzle->clicks;
            }
            if (resumedAt > 0 && frame == resumedAt + gapFrames) {
                for (const auto& p : Grid().pieces) {
                    if (p->active == 0) continue;
                    ClickPiece(*p);
                    break;
                }
            }
            if (resumedAt > 0 && frame == resumedAt + 40) pt::RequestTerminate();
        });
        MenuAnswers(TPuzzleManager::kResume);
        EXPECT_THROW(puzzle->show(0, "", 0), plat::EndRequested);
        pt::OnFlip(nullptr);
        EXPECT_GT(resumedAt, 0);
        return puzzle->clicks - clicksAtResume;
    }
};

TEST_F(ResumeFromThePauseMenu, ADoubleClicksSecondPressNeverReachesTheBoard) {
    EXPECT_EQ(PieceClicksAfter(7), 0) << "about 120 ms after the press on Resume";
}

TEST_F(ResumeFromThePauseMenu, ALaterPressPicksUpAPiece) { EXPECT_EQ(PieceClicksAfter(30), 1); }

TEST_F(PlayPuzzle, TheQuitButtonEndsTheProgram) {
    bool escaped = false;
    Solve([&] {
        if (!escaped && !Grid().pieces.empty() && Grid().IsScrambled()) {
            pt::TapKey(plat::KEY_P);
            escaped = true;
        }
    });
    MenuAnswers(TPuzzleManager::kQuitGame);
    EXPECT_THROW(puzzle->show(0, "", 0), plat::EndRequested);
}

TEST_F(PlayPuzzle, TheDebugKeySkipsAQuestPuzzleWithoutPointsOnlyWithTheMarkerFile) {
    ASSERT_TRUE(plat::SaveText("cheats.txt", ""));
    bool pressed = false;
    pt::OnFlip([&](int) {
        if (++flips > 5000) pt::RequestTerminate();
        if (!Grid().pieces.empty() && Grid().IsScrambled() && !pressed) {
            pt::TapKey(plat::KEY_G);
            pressed = true;
        } else if (pressed) {
            pt::ClickMouse(plat::MOUSE_LEFT);  // the completion picture waits for a click
        }
    });
    EXPECT_EQ(puzzle->show(0, "", 0), 0);
    EXPECT_EQ(points->pointsTotal, 1000);
    EXPECT_EQ(puzzle->tally.phase, 0) << "no tally";
}

TEST_F(PlayPuzzle, TheGalleryPuzzleLeavesAtOnceFromTheMenuAreaAndSavesNothing) {
    int menuFrames = 0;
    pt::OnFlip([&](int) {
        if (++flips > 5000) pt::RequestTerminate();
        if (!Grid().pieces.empty() && Grid().IsScrambled()) {
            pt::SetMouse(300, 580);
            pt::ClickMouse(plat::MOUSE_LEFT);
            ++menuFrames;
        }
    });
    EXPECT_EQ(screensLinks.playFreePuzzle(4, 4, "sfx/velmora-puzzle.ogg", "gfx/slides/small.jpg"), 1);
    EXPECT_GT(menuFrames, 0);
    EXPECT_EQ(puzzle->width, 4);
    EXPECT_EQ(puzzle->music, "sfx/velmora-puzzle.ogg");
    EXPECT_EQ(puzzle->hintA, 0);
    EXPECT_EQ(puzzle->hintB, 1);
    EXPECT_TRUE(menuWindow->pages.empty()) << "no pause menu in free play";
    EXPECT_TRUE(profile->GetList("puzzles").empty());
    EXPECT_EQ(points->pointsTotal, 1000);
}

TEST_F(PlayPuzzle, TheHintAreaCountsEveryClickButKeepsTheHintShown) {
    TPuzzleManager::Play play;
    puzzle->StartPlay(play, "");
    play.hints.Hide();
    for (int f = 0; f < 3; ++f) {
        pt::SetMouse(450, 580);
        pt::ClickMouse(plat::MOUSE_LEFT);
        puzzle->PlayFrame(play);
        ASSERT_EQ(play.hints.showing, 1);
        if (f == 0) { EXPECT_EQ(play.hintOver, 1); }
    }
    const THints first = play.hints;
    EXPECT_EQ(puzzle->hintsUsed, 3) << "every click counts, also while a hint shows";
    // The edge of the area is outside it.
    pt::SetMouse(417, 580);
    pt::ClickMouse(plat::MOUSE_LEFT);
    puzzle->PlayFrame(play);
    EXPECT_EQ(puzzle->hintsUsed, 3);
    EXPECT_EQ(play.hintOver, 0);
    EXPECT_EQ(play.hints.firstX, first.firstX);
    EXPECT_EQ(play.exitCode, TPuzzleManager::kPlaying);
}

// The short fade from black acts on no press, but loses none: a tap or a
// press held from the fade is taken once, by the first play frame.
TEST_F(PlayPuzzle, APressMadeDuringTheFadeInIsTakenOnceByTheFirstPlayFrame) {
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "a held press" : "a tap");
        bool pressed = false;
        pt::OnFlip([&](int) {
            if (pressed) return;
            pressed = true;
            pt::SetMouse(450, 580);  // the hint area, which counts every click
            pt::PressMouse(plat::MOUSE_LEFT);
            if (!held) pt::ReleaseMouse(plat::MOUSE_LEFT);
        });
        TPuzzleManager::Play play;
        puzzle->StartPlay(play, "");
        pt::OnFlip(nullptr);
        ASSERT_TRUE(pressed) << "the fade drew no frame";
        EXPECT_EQ(puzzle->hintsUsed, 0);
        for (int f = 0; f < 3; ++f) puzzle->PlayFrame(play);
        EXPECT_EQ(puzzle->hintsUsed, 1);
        pt::ReleaseMouse(plat::MOUSE_LEFT);
        puzzle->PlayFrame(play);
    }
}

TEST_F(PlayPuzzle, TheFirstPuzzleShowsItsIntroPopupsBeforePlayAndOkClosesEach) {
    LoadFirstPuzzleWithTwoIntroPopups();
    ASSERT_EQ(puzzle->introPopups.size(), 2u);

    int popupFrames = 0, closed = 0;
    size_t shown = 2;
    std::vector<int> slotsUnderPopups;
    int playFrames = 0;
    pt::OnFlip([&](int) {
        if (Grid().pieces.empty() || !Grid().IsScrambled()) return;
        if (puzzle->introPopups.empty()) {
            // Play has begun: the close request is read again.
            pt::ReleaseMouse(plat::MOUSE_LEFT);
            if (++playFrames == 3) pt::RequestTerminate();
            return;
        }
        if (++flips > 2000) throw std::runtime_error("the popups never closed");
        ++popupFrames;
        if (slotsUnderPopups.empty()) slotsUnderPopups = Slots();
        EXPECT_EQ(Slots(), slotsUnderPopups) << "nothing of the puzzle moves under a popup";
        if (puzzle->introPopups.size() < shown) {
            ++closed;
            shown = puzzle->introPopups.size();
        }
        // Press OK once the popup has faded in a little.
        const auto& ok = popupManager->okButton;
        if (popupFrames % 5 == 0) {
            pt::SetMouse(static_cast<int>(ok->area->Left() + 10), static_cast<int>(ok->area->Top() + 10));
            pt::PressMouse(plat::MOUSE_LEFT);
        }
    });
    EXPECT_THROW(puzzle->show(0, "", 0), plat::EndRequested);
    EXPECT_GE(popupFrames, 2);
    EXPECT_EQ(closed, 1) << "the first closed while the second stayed up";
    EXPECT_TRUE(puzzle->introPopups.empty());
    EXPECT_EQ(playFrames, 3);
    popupManager.reset();
}

// The intro popups' OK buttons lie at one place, and a closed popup goes at
// once: a double-click (two taps seven frames, about 120 ms, apart) on the
// first one's OK must not close the second one unread.
TEST_F(PlayPuzzle, ADoubleClickOnAnIntroPopupsOkLeavesTheNextOneUp) {
    LoadFirstPuzzleWithTwoIntroPopups();
    ASSERT_EQ(puzzle->introPopups.size(), 2u);

    int popupFrames = 0, secondUp = -1, secondClosed = -1;
    const auto tapOk = [] {
        const auto& ok = popupManager->okButton;
        pt::SetMouse(static_cast<int>(ok->area->Left() + 10), static_cast<int>(ok->area->Top() + 10));
        pt::ClickMouse(plat::MOUSE_LEFT);
    };
    pt::OnFlip([&](int) {
        if (Grid().pieces.empty() || !Grid().IsScrambled()) return;
        if (++popupFrames > 400) throw std::runtime_error("the popups never closed");
        if (secondUp < 0 && puzzle->introPopups.size() == 1) secondUp = popupFrames;
        if (secondUp > 0 && secondClosed < 0 && puzzle->introPopups.empty()) {
            secondClosed = popupFrames;
            pt::RequestTerminate();
        }
        if (popupFrames == 12 || popupFrames == 19) tapOk();
        if (secondUp > 0 && popupFrames == secondUp + 40) tapOk();
    });
    EXPECT_THROW(puzzle->show(0, "", 0), plat::EndRequested);
    ASSERT_GT(secondUp, 0);
    EXPECT_GT(secondClosed, secondUp + 40) << "the second popup stayed up until its own OK";
    popupManager.reset();
}

}  // namespace

namespace {

namespace pt = plat::testing;

// The presses around the pages a solved puzzle leads through: the tally's
// "Click to continue", the completion picture, and the Menu area that opens
// the pause menu under the pointer. The second press of a double-click never
// acts on the page the first one brought; a press the player makes later
// does.
class PressesAcrossThePages : public PlayPuzzle {
protected:
    void TearDown() override {
        menuWindow->script = nullptr;
        plat::EndGraphics();
        PlayPuzzle::TearDown();
    }
};

TEST_F(PressesAcrossThePages, ADoubleClickOnContinueNeverSkipsTheCompletionPicture) {
    // A fast display: the scroll rolls up and fades within a double-click's gap.
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 360, 0));
    puzzle->Create("", 6, 1);
    int64_t clickAt = -1, secondAt = -1;
    pt::OnFlip([&](int) {
        if (++flips > 20000) pt::RequestTerminate();
        const int phase = puzzle->tally.phase;
        if (clickAt < 0 && phase == 6) {
            pt::ClickMouse(plat::MOUSE_LEFT);
            clickAt = pt::Now();
        } else if (clickAt >= 0 && secondAt < 0 && phase == 10) {
            pt::ClickMouse(plat::MOUSE_LEFT);  // as the scroll has gone
            secondAt = pt::Now();
        }
    });
    ASSERT_EQ(puzzle->summary(nullptr, nullptr, nullptr, 0), 0);
    ASSERT_GT(secondAt, 0);
    ASSERT_LT(secondAt - clickAt, kPageLeaveMs) << "the two presses are one double-click";
    int64_t laterAt = -1;
    pt::OnFlip([&](int) {
        if (++flips > 20000) pt::RequestTerminate();
        if (laterAt < 0 && pt::Now() - clickAt >= 1000) {
            pt::ClickMouse(plat::MOUSE_LEFT);
            laterAt = pt::Now();
        }
    });
    ASSERT_EQ(puzzle->Finish(nullptr), 0);
    EXPECT_GT(laterAt, 0) << "the completion picture stayed for a later press";
}

TEST_F(PressesAcrossThePages, ADoubleClickOnTheCompletionPictureNeverReachesTheNextScreen) {
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    puzzle->Create("", 6, 1);
    int64_t clickAt = -1;
    pt::OnFlip([&](int) {
        if (++flips > 20000) pt::RequestTerminate();
        if (flips == 20) {
            pt::ClickMouse(plat::MOUSE_LEFT);
            clickAt = pt::Now();
        }
    });
    ASSERT_EQ(puzzle->Finish(nullptr), 0);
    ASSERT_GT(clickAt, 0);
    ASSERT_LT(pt::Now() - clickAt, kPageLeaveMs) << "the picture went within a double-click's gap";
    pt::ClickMouse(plat::MOUSE_LEFT);  // the second press, as the picture has gone
    mouse->fetchState();               // the next screen's first frame
    EXPECT_EQ(mouse->leftHit, 0) << "the second press never reaches the next screen";
    pt::AdvanceTime(kPageLeaveMs);
    pt::ClickMouse(plat::MOUSE_LEFT);
    mouse->fetchState();
    EXPECT_EQ(mouse->leftHit, 1) << "a later press does";
}

TEST_F(PressesAcrossThePages, ADoubleClickOnTheMenuAreaNeverActsOnThePauseMenu) {
    // The pause menu's Resume comes up under the pointer: any press resumes.
    int scrambledAt = -1, menuAt = -1, resumedAt = -1;
    menuWindow->script = [&](int) {
        if (mouse->leftHit == 0 || resumedAt >= 0) return 0;
        resumedAt = flips;
        return static_cast<int>(TPuzzleManager::kResume);
    };
    pt::OnFlip([&](int) {
        if (++flips > 3000) pt::RequestTerminate();
        if (scrambledAt < 0 && !Grid().pieces.empty() && Grid().IsScrambled()) scrambledAt = flips;
        if (scrambledAt < 0) return;
        menuAt = scrambledAt + 60;  // the puzzle long there
        if (flips == menuAt || flips == menuAt + 7) {  // 120 ms apart
            pt::SetMouse(300, 580);
            pt::ClickMouse(plat::MOUSE_LEFT);
        }
        if (flips == menuAt + 40) pt::ClickMouse(plat::MOUSE_LEFT);
        if (flips == menuAt + 80) pt::RequestTerminate();
    });
    EXPECT_THROW(puzzle->show(0, "", 0), plat::EndRequested);
    pt::OnFlip(nullptr);
    ASSERT_FALSE(menuWindow->pages.empty()) << "the Menu area opened the pause menu";
    EXPECT_GE(resumedAt, menuAt + 40) << "the pause menu waited for the later press";
}

}  // namespace

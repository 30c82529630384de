// The help pages: the close area, the lengths of the demonstrations'
// cycles, where the circling runes and the boss page's cells are drawn, and
// the board's cell size given back on every way out of either page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "board/board.h"
#include "core/mouse.h"
#include "modes/pause_menu.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "platform/testing.h"
#include "story/story_hookup.h"
#include "story/tutorial.h"
#include "story_test_util.h"

namespace {

using plat::testing::DrawCall;

class Tutorial : public StoryTest {
protected:
    // The draws of a rune's 40-pixel picture, as (x, y).
    static std::vector<std::pair<float, float>> RuneDraws(int id, const std::function<bool(float, float)>& where) {
        const plat::Image* image = razod->_findRuneByID(std::to_string(id))->image40.get();
        std::vector<std::pair<float, float>> out;
        for (const DrawCall& c : plat::testing::DrawCalls())
            if (c.kind == DrawCall::IMAGE && c.image == image && where(c.x, c.y)) out.emplace_back(c.x, c.y);
        return out;
    }
};

TEST_F(Tutorial, TheCloseAreaHoldsItsXEdgesAndNotItsYEdges) {
    struct Case {
        int x, y, over;
    };
    const Case cases[] = {{370, 571, 1}, {433, 571, 1}, {370, 593, 1}, {433, 593, 1},
                          {369, 580, 0}, {434, 580, 0}, {400, 570, 0}, {400, 594, 0}};
    for (const Case& c : cases) {
        PointAt(c.x, c.y);
        tutorial->ResetMain();
        tutorial->Update();
        EXPECT_EQ(tutorial->overPlay, c.over) << "main page at " << c.x << ", " << c.y;
        tutorial->ResetBoss();
        tutorial->update2();
        EXPECT_EQ(tutorial->overPlay, c.over) << "boss page at " << c.x << ", " << c.y;
    }
}

// What one frame of a page did, as a number (0: nothing worth noting).
using Probe = std::function<int(const TTutorial& before, const TTutorial& after, int comets, int sparks, int rings)>;

struct CycleCase {
    std::string name;
    bool boss;
    int frames;
    Probe probe;
    std::vector<std::pair<int, int>> expected;  // (frame, value) of every frame with a value
};

TEST_F(Tutorial, CycleLengthsAtSixtyFramesASecond) {
    std::vector<std::pair<int, int>> sparkFrames;
    for (int f = 307; f <= 373; ++f) sparkFrames.emplace_back(f, 24);
    for (int f = 847; f <= 913; ++f) sparkFrames.emplace_back(f, 24);
    const CycleCase cases[] = {
        {"the upper demonstration restarts with the other variant every 290 frames", false, 600,
         [](const TTutorial& b, const TTutorial& a, int, int, int) { return a.demoState != b.demoState ? a.demoState : 0; },
         {{290, 2}, {580, 1}}},
        {"bursts: the upper row's and the lower ones on frame 189, the column's and the lower ones 290 later", false,
         600, [](const TTutorial&, const TTutorial&, int comets, int, int) { return comets; },
         {{189, 14}, {479, 15}}},
        {"the circling runes turn once in 236 frames", false, 600,
         [](const TTutorial& b, const TTutorial& a, int, int, int) {
             return a.orbitAngle == 2 && b.orbitAngle != 2 ? 1 : 0;
         },
         {{1, 1}, {237, 1}, {473, 1}}},
        {"the sample spheres ring when full, once in 321 frames", false, 700,
         [](const TTutorial&, const TTutorial&, int, int, int rings) { return rings; }, {{201, 2}, {522, 2}}},
        {"the sample spheres start again after 321 frames", false, 700,
         [](const TTutorial& b, const TTutorial& a, int, int, int) {
             return a.sphereFill[0] == 0.0f && b.sphereFill[0] > 0.0f ? 1 : 0;
         },
         {{321, 1}, {642, 1}}},
        {"the boss page sparkles from frame 307 to 373", true, 1100,
         [](const TTutorial&, const TTutorial&, int, int sparks, int) { return sparks; }, sparkFrames},
        {"the boss page's volley leaves on frame 374", true, 1100,
         [](const TTutorial&, const TTutorial&, int comets, int, int) { return comets; }, {{374, 14}, {914, 14}}},
        {"the boss page starts again every 540 frames", true, 1100,
         [](const TTutorial& b, const TTutorial& a, int, int, int) {
             return a.cellFade[15] == 0.0f && b.cellFade[15] > 0.0f ? 1 : 0;
         },
         {{540, 1}, {1080, 1}}},
    };
    for (const CycleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTutorial page;
        page.slideAngle = 0;
        if (c.boss) page.ResetBoss();
        else page.ResetMain();
        delta = 1.0;
        std::vector<std::pair<int, int>> seen;
        for (int frame = 1; frame <= c.frames; ++frame) {
            const TTutorial before = page;
            ClearLists();
            if (c.boss) {
                page.update2();
            } else {
                page.Update();
                page.Draw();
            }
            // The demonstration runes' sparks of the main page are not counted.
            const int value = c.probe(before, page, cometList->Count(), SparkList->Count(), ringEmiterList->Count());
            if (value != 0) seen.emplace_back(frame, value);
        }
        EXPECT_EQ(seen, c.expected);
    }
}

TEST_F(Tutorial, TheGaugeStepsOnlyAfterItsPeriodHasPassed) {
    tutorial->ResetMain();
    EXPECT_EQ(tutorial->gaugeFrame, 29);
    plat::testing::AdvanceTime(20);
    tutorial->Update();
    EXPECT_EQ(tutorial->gaugeFrame, 29) << "exactly 20 ms is not past the period";
    plat::testing::AdvanceTime(1);
    tutorial->Update();
    EXPECT_EQ(tutorial->gaugeFrame, 28);
    for (int i = 0; i < 29; ++i) {
        plat::testing::AdvanceTime(21);
        tutorial->Update();
    }
    EXPECT_EQ(tutorial->gaugeFrame, 0);
    EXPECT_EQ(tutorial->gaugeRising, 1) << "the clamped step turns the gauge";
    plat::testing::AdvanceTime(500);
    tutorial->Update();
    EXPECT_EQ(tutorial->gaugeFrame, 0);
    plat::testing::AdvanceTime(1);
    tutorial->Update();
    EXPECT_EQ(tutorial->gaugeFrame, 1);
}

TEST_F(Tutorial, TheCirclingRunesTurnAboutTheirFirstCell) {
    struct Case {
        int angle;
        std::vector<std::pair<float, float>> places;
    };
    // A y a hair below a whole number truncates: 99 and 59, not 100 and 60.
    const Case cases[] = {{0, {{120, 60}, {160, 60}, {160, 99}}},
                          {90, {{120, 60}, {120, 100}, {80, 99}}},
                          {180, {{120, 60}, {80, 60}, {80, 20}}},
                          {270, {{120, 60}, {120, 20}, {160, 20}}},
                          {360, {{120, 60}, {160, 59}, {160, 99}}}};
    board->cellSize = 40;
    for (const Case& c : cases) {
        tutorial->orbitAngle = c.angle;
        tutorial->lowerTicks = 150;
        tutorial->slideTicks = 150;
        plat::testing::ClearDrawCalls();
        tutorial->Draw();
        const auto near = [](float x, float y) { return x <= 170 && y <= 110; };
        std::vector<std::pair<float, float>> drawn = RuneDraws(1, near);
        for (const auto& p : RuneDraws(2, near)) drawn.push_back(p);
        EXPECT_EQ(drawn, c.places) << "angle " << c.angle;
    }
}

TEST_F(Tutorial, TheBossPageFadesItsCellsByTheLastOne) {
    struct Case {
        std::string name;
        float all, first, last;
        float bossAlpha, firstAlpha, lastAlpha;
    };
    const Case cases[] = {
        {"all 0: the boss only", 0, 0, 0, 1, 0, 0},
        {"filling: each cell at its own value", 1.7f, 0.1f, 2.0f, 1, 0.1f, 1},
        {"fading: boss and cells at 3 less their value", 2.5f, 2.2f, 2.5f, 0.5f, 0.8f, 0.5f},
        {"faded out", 3.8f, 3.8f, 3.8f, 0, 0, 0},
    };
    board->cellSize = 40;
    tutorial->sampleImage = plat::CreateImage(80, 80);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tutorial->cellFade.fill(c.all);
        tutorial->cellFade[0] = c.first;
        tutorial->cellFade[15] = c.last;
        plat::testing::ClearDrawCalls();
        tutorial->draw2();
        float boss = -1;
        for (const DrawCall& d : plat::testing::DrawCalls())
            if (d.image == tutorial->sampleImage.get()) boss = d.alpha;
        EXPECT_NEAR(boss, c.bossAlpha, 1.0 / 255);
        const auto at = [](float x, float y) { return [x, y](float cx, float cy) { return cx == x && cy == y; }; };
        const plat::Image* rune = razod->_findRuneByID("5")->image40.get();
        float first = -1, last = -1;
        for (const DrawCall& d : plat::testing::DrawCalls()) {
            if (d.image != rune) continue;
            if (at(280, 215)(d.x, d.y)) first = d.alpha;
            if (at(400, 335)(d.x, d.y)) last = d.alpha;
        }
        EXPECT_NEAR(first, c.firstAlpha, 1.0 / 255);
        EXPECT_NEAR(last, c.lastAlpha, 1.0 / 255);
    }
}

// The key and mouse hints pulse on the dark page but never fade so far that
// they cannot be read: over two whole pulses each is drawn at 0.7 or more,
// and still visibly breathes.
TEST_F(Tutorial, TheKeyAndMouseHintsPulseWithoutFadingOut) {
    tutorial->mouseHintImage = plat::CreateImage(70, 96);
    tutorial->hintImages[0] = plat::CreateImage(124, 84);
    tutorial->hintImages[1] = plat::CreateImage(70, 96);
    tutorial->ResetMain();
    delta = 1.0;
    const plat::Image* hints[3] = {tutorial->mouseHintImage.get(), tutorial->hintImages[0].get(),
                                   tutorial->hintImages[1].get()};
    for (const plat::Image* hint : hints) {
        float faintest = 2, brightest = -1;
        for (int frame = 0; frame < 200; ++frame) {
            plat::testing::ClearDrawCalls();
            tutorial->Update();
            tutorial->Draw();
            int drawn = 0;
            for (const DrawCall& d : plat::testing::DrawCalls()) {
                if (d.image != hint) continue;
                ++drawn;
                faintest = std::min(faintest, d.alpha);
                brightest = std::max(brightest, d.alpha);
            }
            ASSERT_EQ(drawn, 1) << "frame " << frame;
        }
        EXPECT_GE(faintest, 0.7f);
        EXPECT_GE(brightest, 0.95f);
        EXPECT_GE(brightest - faintest, 0.15f) << "it still pulses";
    }
}

// ---- the page loops ----------------------------------------------------------------------------------

enum class Exit { Escape, ClickClose, HoldClose, CloseRequest };

struct ExitCase {
    std::string name;
    bool boss;
    int fromMenu;
    Exit exit;
    int result;   // -1: the program ends
};

TEST_F(Tutorial, TheCellSizeComesBackOnEveryWayOut) {
    const ExitCase cases[] = {
        {"main page, Escape", false, 0, Exit::Escape, 0},
        {"main page, close area", false, 0, Exit::ClickClose, 0},
        {"main page, close area held", false, 0, Exit::HoldClose, 0},
        {"main page, close request", false, 0, Exit::CloseRequest, 1},
        {"main page from the menu, Escape", false, 1, Exit::Escape, 0},
        {"main page from the menu, close request", false, 1, Exit::CloseRequest, 1},
        {"boss page, Escape", true, 0, Exit::Escape, 0},
        {"boss page, close area", true, 0, Exit::ClickClose, 0},
        {"boss page, close area held", true, 0, Exit::HoldClose, 0},
        {"boss page, close request", true, 0, Exit::CloseRequest, -1},
        {"boss page from the menu, close request", true, 1, Exit::CloseRequest, -1},
    };
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(c.name);
        board->cellSize = 32;
        int flips = 0, sizeWhileUp = 0;
        plat::testing::OnFlip([&](int) {
            ++flips;
            sizeWhileUp = board->cellSize;
            if (flips != 30) return;
            switch (c.exit) {
                case Exit::Escape: plat::testing::TapKey(plat::KEY_ESCAPE); break;
                case Exit::ClickClose:
                    plat::testing::SetMouse(433, 593);
                    plat::testing::ClickMouse(plat::MOUSE_LEFT);
                    break;
                case Exit::HoldClose:  // pressed as the pointer arrives, not let go while the page is up
                    plat::testing::SetMouse(433, 593);
                    plat::testing::PressMouse(plat::MOUSE_LEFT);
                    break;
                case Exit::CloseRequest: plat::testing::RequestTerminate(); break;
            }
        });
        int result = -2;
        bool ended = false;
        try {
            result = c.boss ? tutorial->show2(c.fromMenu) : tutorial->show(c.fromMenu);
        } catch (const plat::EndRequested&) {
            ended = true;
        }
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(sizeWhileUp, 40);
        EXPECT_EQ(board->cellSize, 32);
        if (c.result == -1) {
            EXPECT_TRUE(ended);
        } else {
            EXPECT_FALSE(ended) << "the main page leaves ending the program to its caller";
            EXPECT_EQ(result, c.result);
        }
        EXPECT_LT(flips, 30 + 40) << "closed soon after";
        plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        plat::testing::SetMouse(0, 0);
        plat::AppTerminate();
        ClearLists();
    }
}

// A tap on the close area made while a page fades in from black closes
// the page once it is there, in the page loop's first frame.
TEST_F(Tutorial, ATapInTheFadeInClosesThePageOnceItIsThere) {
    for (bool boss : {false, true}) {
        SCOPED_TRACE(boss ? "boss page" : "main page");
        board->cellSize = 32;
        int flips = 0;
        plat::testing::OnFlip([&](int) {
            ++flips;
            if (flips == 3) {
                plat::testing::SetMouse(400, 580);
                plat::testing::ClickMouse(plat::MOUSE_LEFT);
            }
            if (flips == 200) plat::testing::TapKey(plat::KEY_ESCAPE);  // a lost tap leaves the page up
        });
        const int result = boss ? tutorial->show2(0) : tutorial->show(0);
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(result, 0);
        // 250 ms of fade in (about 15 frames), the first page frame, 250 ms of fade out.
        EXPECT_LT(flips, 40) << "the tap closed the page";
        plat::testing::SetMouse(0, 0);
        ClearLists();
    }
}

// The second press of a double-click on the close area never reaches the
// screen the page goes back to; a later press does.
TEST_F(Tutorial, ADoubleClickOnTheCloseAreaNeverReachesTheScreenUnder) {
    struct Case {
        std::string name;
        bool boss;
        int fromMenu;
        int gapMs;
        int hits;  // the presses the screen under takes
    };
    const Case cases[] = {
        {"main page from the menu", false, 1, 120, 0},
        {"boss page from the menu", true, 1, 120, 0},
        {"main page, the second press just after its fade to black", false, 0, 120, 0},
        {"main page from the menu, a second press 400 ms on", false, 1, 400, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        board->cellSize = 32;
        int flips = 0;
        int64_t clickedAt = -1;
        plat::testing::OnFlip([&](int) {
            if (++flips != 30) return;
            plat::testing::SetMouse(400, 580);
            plat::testing::ClickMouse(plat::MOUSE_LEFT);
            clickedAt = plat::testing::Now();
        });
        const int result = c.boss ? tutorial->show2(c.fromMenu) : tutorial->show(c.fromMenu);
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(result, 0);
        ASSERT_GT(clickedAt, 0);
        // The second press, made where the first was, on the screen under.
        if (plat::testing::Now() < clickedAt + c.gapMs)
            plat::testing::AdvanceTime(clickedAt + c.gapMs - plat::testing::Now());
        plat::testing::ClickMouse(plat::MOUSE_LEFT);
        mouse->fetchState();
        EXPECT_EQ(mouse->leftHit, c.hits);
        plat::testing::AdvanceTime(kPageLeaveMs);
        plat::testing::SetMouse(0, 0);
        ClearLists();
    }
}

TEST_F(Tutorial, TheMainPageStaysShutWhenTheProfileSaysSo) {
    profile["showTutorial"] = 0;
    board->cellSize = 32;
    EXPECT_EQ(tutorial->show(0), 0);
    EXPECT_EQ(plat::testing::FlipCount(), 0);
    EXPECT_EQ(tutorial->pageImage, nullptr);
    modeLinks.getNumber = nullptr;  // no profile at all
    EXPECT_EQ(tutorial->show(1), 0);
    EXPECT_EQ(plat::testing::FlipCount(), 0);
}

TEST_F(Tutorial, TheMainPageTidiesUpAfterANormalCloseAndLeavesTheRestOnAClose) {
    for (bool terminate : {false, true}) {
        SCOPED_TRACE(terminate ? "close request" : "Escape");
        TSpark::Create(nullptr, 1, 1, 1, 100, 0, 0, 0, 1, 0);
        WritePicture("gfx/gui/tut-play2.png", 64, 24);
        int flips = 0;
        plat::testing::OnFlip([&](int) {
            if (++flips == 20) {
                if (terminate) plat::testing::RequestTerminate();
                else plat::testing::TapKey(plat::KEY_ESCAPE);
            }
        });
        tutorial->show(1);
        plat::testing::OnFlip(nullptr);
        EXPECT_EQ(tutorial->playImage != nullptr, terminate) << "pictures freed only after a normal close";
        EXPECT_EQ(SparkList->IsEmpty(), !terminate);
        ClearLists();
    }
}

TEST_F(Tutorial, ThePauseMenuTurnsACloseRequestOnTheHelpPageIntoEndingTheProgram) {
    InstallStoryLinks();
    board->cellSize = 32;
    int flips = 0;
    plat::testing::OnFlip([&](int) {
        if (++flips == 10) plat::testing::RequestTerminate();
    });
    TInGameMenu menu;
    menu.result = 0;
    menu.React(TInGameMenu::kHelp);
    EXPECT_EQ(menu.result, 4);
    EXPECT_EQ(board->cellSize, 32);
}

}  // namespace

// The tally: its arithmetic on every path (counted out, cut short during the
// pieces or the hints, quest or free play), its phases, and a close request.
#include <gtest/gtest.h>

#include <set>

#include "puzzle_test_util.h"

namespace {

namespace pt = plat::testing;

struct TallyCase {
    int pieces;       // columns x 1
    int hints;
    int freePlay;
    int clickPhase;   // besides phase 6: clicked on every frame of this phase (0 none)
    int shownAtEnd;   // the "Points:" row when the scroll closes
    int bankAtEnd;    // the banked total, which starts at 1000
    bool hintsCounted;  // phase 5 counted hints one by one
};

class TallyPaths : public PuzzleTest, public ::testing::WithParamInterface<TallyCase> {};

TEST_P(TallyPaths, EndWithFiftyAPieceLessFiftyAHint) {
    const TallyCase c = GetParam();
    points->pointsTotal = 1000;
    puzzle->Create("", c.pieces, 1);
    puzzle->hintsUsed = c.hints;
    std::set<int> phases;
    int lowestHints = c.hints;
    int flips = 0;
    pt::OnFlip([&](int) {
        const auto& t = puzzle->tally;
        phases.insert(t.phase);
        if (t.phase == 5 && t.hintsLeft < lowestHints && t.hintsLeft > 0) lowestHints = t.hintsLeft;
        if (t.phase == 6 || (c.clickPhase != 0 && t.phase == c.clickPhase)) pt::ClickMouse(plat::MOUSE_LEFT);
        if (++flips > 5000) pt::RequestTerminate();  // a tally that never ends fails, not hangs
    });
    ASSERT_EQ(puzzle->summary(nullptr, nullptr, nullptr, c.freePlay), 0);
    const auto& t = puzzle->tally;
    EXPECT_EQ(t.phase, 10);
    EXPECT_EQ(t.piecesLeft, 0);
    EXPECT_EQ(t.hintsLeft, 0);
    EXPECT_EQ(t.shownPoints, c.shownAtEnd);
    EXPECT_EQ(points->pointsTotal, c.bankAtEnd);
    EXPECT_EQ(t.opening, 0);
    EXPECT_EQ(t.rollerAlpha, 0.0f);
    EXPECT_EQ(phases.count(4) != 0, c.clickPhase != 3) << "a click while the pieces count skips the pause";
    EXPECT_EQ(lowestHints < c.hints, c.hintsCounted);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TallyPaths,
    ::testing::Values(
        // Counted out, then the click on "Click to continue".
        TallyCase{6, 0, 0, 0, 1000 + 300, 1300, false},
        TallyCase{6, 2, 0, 0, 1000 + 200, 1200, true},
        // Cut short by a click while the pieces count: both rows go to 0 at once.
        TallyCase{8, 3, 0, 3, 1000 + 250, 1250, false},
        // Cut short while the hints count (the first hint goes in the frame
        // the count begins, before any click can be seen).
        TallyCase{4, 3, 0, 5, 1000 + 50, 1050, true},
        // More hints than pieces: the count ends below where it began.
        TallyCase{2, 5, 0, 0, 1000 - 150, 850, true},
        // Free play counts from 0 and banks nothing; a negative count shows as such.
        TallyCase{6, 1, 1, 0, 250, 1000, false},
        TallyCase{2, 5, 1, 3, -150, 1000, false}));

TEST_F(PuzzleTest, TheRowsAppearAsTheScrollOpens) {
    puzzle->Create("", 3, 1);
    data->Add(plat::LoadImage("gfx/slides/small.jpg", -1), 2002);
    plat::MidHandleImage(data->GetImage(2002));
    int flips = 0;
    bool hintsRowBeforeOpening = false, puzzlesRowBeforeOpening = false;
    pt::OnFlip([&](int) {
        const auto& t = puzzle->tally;
        if (t.opening == 0 && t.phase == 0) {
            for (const auto& call : pt::DrawCalls()) {
                if (call.kind != pt::DrawCall::TEXT) continue;
                hintsRowBeforeOpening |= call.text == "Hints:";
                puzzlesRowBeforeOpening |= call.text == "Puzzles:";
            }
        }
        pt::ClearDrawCalls();
        if (t.phase == 6) pt::ClickMouse(plat::MOUSE_LEFT);
        if (++flips > 5000) pt::RequestTerminate();
    });
    pt::ClearDrawCalls();
    ASSERT_EQ(puzzle->summary(nullptr, nullptr, nullptr, 1), 0);
    EXPECT_TRUE(hintsRowBeforeOpening) << "y 275 lies inside the closed band's margin";
    EXPECT_FALSE(puzzlesRowBeforeOpening);
}

TEST_F(PuzzleTest, ACloseRequestStopsTheTallyWithThePointsBankedOnce) {
    points->pointsTotal = 100;
    puzzle->Create("", 4, 1);
    pt::OnFlip([&](int) {
        if (puzzle->tally.phase == 3) pt::RequestTerminate();
    });
    EXPECT_EQ(puzzle->summary(nullptr, nullptr, nullptr, 0), 1);
    EXPECT_EQ(points->pointsTotal, 300);
}

}  // namespace

// Pieces: the flight curve and its landing, the click rules, the lock at
// home and the landing burst.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "puzzle_test_util.h"

namespace {

class PieceTest : public PuzzleTest {
protected:
    // A 4 x 4 puzzle: pieces of 167 x 123 at (65, 53).
    void SetUp() override {
        PuzzleTest::SetUp();
        puzzle->Create("gfx/slides/1-2a.jpg", 4, 4);
    }
};

// The cubic curve through the four points, as a flight should follow it.
float Bezier(double t, float a, float b, float c, float d) {
    const double u = 1 - t;
    return static_cast<float>(u * u * u * a + 3 * b * u * u * t + 3 * c * u * t * t + d * t * t * t);
}

struct FlightCase {
    int from, to, side;
    // The widest bow of the path, half the gap between the flights to this
    // side and to the other, along x (dx) and y (dy); positive is right or down.
    float dx, dy;
};

class FlightCurve : public PieceTest, public ::testing::WithParamInterface<FlightCase> {
protected:
    // The 24 points in the air of a flight from `from` to `to`, then the landing.
    std::vector<std::pair<float, float>> Fly(int from, int to, int side) {
        TPuzzleButton& p = Piece(from);
        p.slot = p.targetSlot = from;
        p.SetPosition();
        p.targetSlot = to;
        p.Prepare(side);
        std::vector<std::pair<float, float>> path;
        float t = 0;
        for (int step = 1; step <= 24; ++step) {
            p.Move();
            t += 0.04f;
            EXPECT_EQ(p.IsFlying(), 1) << "step " << step;
            path.emplace_back(p.area->x, p.area->y);
        }
        // Step 24 shows the curve at t = 0.96.
        EXPECT_FLOAT_EQ(p.area->x, Bezier(t, p.p0x, p.p1x, p.p2x, p.p3x));
        EXPECT_FLOAT_EQ(p.area->y, Bezier(t, p.p0y, p.p1y, p.p2y, p.p3y));
        p.Move();
        EXPECT_EQ(p.IsFlying(), 0);
        EXPECT_EQ(p.slot, to);
        EXPECT_EQ(p.column, to % 4);
        EXPECT_EQ(p.row, to / 4);
        EXPECT_EQ(p.area->x, Grid().SlotLeft(to));
        EXPECT_EQ(p.area->y, Grid().SlotTop(to));
        return path;
    }
};

TEST_P(FlightCurve, BowsToItsSideAndLandsOnTheTwentyFifthStep) {
    const FlightCase c = GetParam();
    const auto mine = Fly(c.from, c.to, c.side);
    const auto other = Fly(c.from, c.to, -c.side);
    float widestX = 0, widestY = 0;
    for (size_t i = 0; i < mine.size(); ++i) {
        const float bx = (mine[i].first - other[i].first) / 2, by = (mine[i].second - other[i].second) / 2;
        if (std::fabs(bx) > std::fabs(widestX)) widestX = bx;
        if (std::fabs(by) > std::fabs(widestY)) widestY = by;
    }
    EXPECT_NEAR(widestX, c.dx, 0.5f);
    EXPECT_NEAR(widestY, c.dy, 0.5f);
}

// Same row: 30 px above for +1, below for -1; same column: 30 px left for
// +1, right for -1; elsewhere 112.5 px right for +1, left for -1 (the last
// steps before and after mid-flight come within half a pixel of it).
INSTANTIATE_TEST_SUITE_P(Sides, FlightCurve,
                         ::testing::Values(FlightCase{0, 3, 1, 0, -30}, FlightCase{0, 3, -1, 0, 30},
                                           FlightCase{3, 0, 1, 0, -30}, FlightCase{1, 13, 1, -30, 0},
                                           FlightCase{13, 1, -1, 30, 0}, FlightCase{0, 15, 1, 112.5f, 0},
                                           FlightCase{15, 0, -1, -112.5f, 0}));

TEST_F(PieceTest, PrepareClearsTheSelectionAndLeavesTheSlots) {
    TPuzzleButton& p = Piece(5);
    p.selected = 1;
    p.targetSlot = 6;
    p.Prepare(1);
    EXPECT_EQ(p.selected, 0);
    EXPECT_EQ(p.slot, 5);
    EXPECT_EQ(p.targetSlot, 6);
    EXPECT_EQ(p.flightStep, 0);
}

TEST_F(PieceTest, AClickTogglesTheSelectionAndALockedPieceIgnoresIt) {
    TPuzzleButton& p = Piece(0);  // the top-left piece: its id reads like no click
    p.slot = p.targetSlot = 1;
    p.SetPosition();
    ClickPiece(p);
    mouse->fetchState();
    EXPECT_EQ(p.State(), 0);
    EXPECT_EQ(p.isClicked(), 1) << "the latch tells the click on piece 0";
    EXPECT_EQ(p.selected, 1);
    ClickPiece(p);
    mouse->fetchState();
    p.State();
    EXPECT_EQ(p.selected, 0) << "a second click clears the mark";

    // On its home slot the piece locks on its first State without a click,
    // and then ignores clicks.
    TPuzzleButton& home = Piece(7);
    plat::testing::SetMouse(0, 0);
    mouse->fetchState();
    home.State();
    EXPECT_EQ(home.active, 0);
    ClickPiece(home);
    mouse->fetchState();
    EXPECT_EQ(home.State(), 0);
    EXPECT_EQ(home.isClicked(), 0);
    EXPECT_EQ(home.selected, 0);
}

// The toolkit's click rule on a piece: a press counts once however long it
// lasts, and whether or not the pointer came in the same frame.
TEST_F(PieceTest, EveryPressSelectsOnceBeItATapArrivingOrHeld) {
    enum Input { kAway, kRest, kTap, kArriveAndPress, kPress, kHold, kRelease };
    const struct {
        const char* what;
        std::vector<Input> frames;
    } cases[] = {
        {"a press and release inside one frame", {kAway, kRest, kTap, kRest, kRest}},
        {"a tap as the pointer arrives", {kAway, kTap, kRest}},
        {"a press as the pointer arrives, then held", {kAway, kArriveAndPress, kHold, kHold, kRelease, kRest}},
        {"a held press", {kRest, kPress, kHold, kHold, kHold, kRelease}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TPuzzleButton& p = Piece(5);
        p.slot = p.targetSlot = 6;  // away from home: it stays active
        p.SetPosition();
        p.selected = 0;
        const int cx = static_cast<int>(p.area->Left() + p.area->width / 2);
        const int cy = static_cast<int>(p.area->Top() + p.area->height / 2);
        int clicks = 0;
        for (Input in : c.frames) {
            if (in == kAway) plat::testing::SetMouse(5, 5);
            else plat::testing::SetMouse(cx, cy);
            if (in == kTap) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (in == kArriveAndPress || in == kPress) plat::testing::PressMouse(plat::MOUSE_LEFT);
            if (in == kRelease) plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
            mouse->fetchState();
            if (p.State() != 0) ++clicks;
        }
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(p.isClicked(), 1);
        EXPECT_EQ(p.selected, 1);
    }
}

TEST_F(PieceTest, APointerOnTheLineBetweenTwoPiecesHitsNeither) {
    TPuzzleButton& a = Piece(4);
    TPuzzleButton& b = Piece(5);
    a.slot = a.targetSlot = 5;  // neither at home
    b.slot = b.targetSlot = 4;
    a.SetPosition();
    b.SetPosition();
    plat::testing::SetMouse(65 + 167, 53 + 123 + 50);  // the edge between slots 4 and 5
    plat::testing::ClickMouse(plat::MOUSE_LEFT);
    mouse->fetchState();
    a.State();
    b.State();
    EXPECT_EQ(a.selected + b.selected, 0);
}

TEST_F(PieceTest, TheLandingBurstPutsOneHundredAndOneSparksAtTheCentre) {
    WritePicture("gfx/gwiazdki/2.png", 20, 10);
    sparkImages[2] = plat::LoadImage("gfx/gwiazdki/2.png", 6);
    TSpark::destroyAll();
    SparksOnPlace(Piece(5));  // slot 5 of a 4-wide grid: (232, 176), 167 x 123
    ASSERT_EQ(SparkList->Count(), 101);
    for (const TSparkPtr& s : *SparkList) {
        EXPECT_EQ(s->x, 232 + 83 - 10);
        EXPECT_EQ(s->y, 176 + 61 - 5);
        EXPECT_EQ(s->image, sparkImages[2]);
        EXPECT_GE(s->blue, 100);
        EXPECT_LE(s->red, 150);
    }
}

}  // namespace

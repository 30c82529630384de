// Screen rectangles: edges for every anchor mode and scale, strict hit tests,
// and packed colours.
#include <gtest/gtest.h>

#include "ui/dim.h"

namespace {

struct EdgeCase {
    const char* name;
    float x, y, w, h, sx, sy;
    int anchor;
    float ox, oy;
    float left, top, right, bottom;
};

TEST(Dim, EdgesForEveryAnchorModeScaleAndOffset) {
    const EdgeCase cases[] = {
        {"top-left, scale 1", 100, 50, 40, 20, 1, 1, 0, 0, 0, 100, 50, 140, 70},
        {"top-left, scale 1.15 grows about the centre", 100, 50, 40, 20, 1.15f, 1.15f, 0, 0, 0, 97, 48.5f, 143, 71.5f},
        {"top-left, scale 0.5 shrinks about the centre", 100, 50, 40, 20, 0.5f, 0.5f, 0, 0, 0, 110, 55, 130, 65},
        {"top-left, offsets move the whole rectangle", 100, 50, 40, 20, 1, 1, 0, 10, -5, 110, 45, 150, 65},
        {"centre, scale 1", 400, 300, 100, 40, 1, 1, 1, 0, 0, 350, 280, 450, 320},
        {"centre, scale 0.5", 400, 300, 100, 40, 0.5f, 0.5f, 1, 0, 0, 375, 290, 425, 310},
        {"centre, offsets", 400, 300, 100, 40, 1, 1, 1, 3, 4, 353, 284, 453, 324},
        {"other mode pins the corner and ignores offsets", 400, 300, 100, 40, 2, 1, 2, 10, 10, 0, 0, 200, 40},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TDimPtr d = CreateDim(c.x, c.y, c.w, c.h, 0, c.sx, c.sy, c.anchor);
        d->offsetX = c.ox;
        d->offsetY = c.oy;
        EXPECT_NEAR(d->Left(), c.left, 1e-4);
        EXPECT_NEAR(d->Top(), c.top, 1e-4);
        EXPECT_NEAR(d->Right(), c.right, 1e-4);
        EXPECT_NEAR(d->Bottom(), c.bottom, 1e-4);
    }
}

TEST(Dim, CreateDimKeepsTheArgumentOrderWithTheAnchorModeLast) {
    TDimPtr d = CreateDim(1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(d->x, 1);
    EXPECT_EQ(d->y, 2);
    EXPECT_EQ(d->width, 3);
    EXPECT_EQ(d->height, 4);
    EXPECT_EQ(d->border, 5);
    EXPECT_EQ(d->scaleX, 6);
    EXPECT_EQ(d->scaleY, 7);
    EXPECT_EQ(d->anchorMode, 8);
    EXPECT_EQ(d->offsetX, 0);
    EXPECT_EQ(d->offsetY, 0);
}

TEST(Dim, HitTestsAreStrictOnEveryEdge) {
    TDimPtr d = CreateDim(100, 50, 40, 20, 0, 1, 1, 0);
    struct { float px, py; int in; } cases[] = {
        {100, 60, 0}, {140, 60, 0}, {100.5f, 60, 1}, {139.9f, 60, 1},
        {120, 50, 0}, {120, 70, 0}, {120, 50.5f, 1}, {99, 60, 0}, {120, 71, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.px << "," << c.py);
        EXPECT_EQ(d->InXY(c.px, c.py), c.in);
    }
    EXPECT_EQ(d->InX(100), 0);
    EXPECT_EQ(d->InX(120), 1);
    EXPECT_EQ(d->InY(70), 0);
    EXPECT_EQ(d->InY(69), 1);

    // The hit area follows a scale written into the rectangle at once.
    d->scaleX = d->scaleY = 1.15f;
    EXPECT_EQ(d->InXY(98, 60), 1);
}

TEST(Dim, BareRectangleHasNoAreaAndNothingIsInside) {
    TDim d;
    d.x = 10;
    d.y = 10;
    d.width = 50;
    d.height = 50;
    EXPECT_EQ(d.Right(), d.Left());
    EXPECT_EQ(d.InXY(20, 20), 0);
    EXPECT_EQ(d.InX(20), 0);
    EXPECT_EQ(d.InY(20), 0);
}

TEST(Dim, InReadsTheOtherRectanglesStoredPositionOnly) {
    TDimPtr box = CreateDim(100, 100, 100, 100, 0, 1, 1, 0);
    // The other's stored x is inside though its scaled left edge is outside.
    TDimPtr other = CreateDim(110, 150, 200, 10, 0, 2, 1, 0);
    ASSERT_LT(other->Left(), 100);
    EXPECT_EQ(box->In(*other), 1);
    other->anchorMode = 1;  // its anchor mode changes nothing either
    EXPECT_EQ(box->In(*other), 1);
    other->x = 100;  // on the edge
    EXPECT_EQ(box->In(*other), 0);
}

TEST(Color, UnpacksTheTopBitWithoutGoingNegative) {
    const int32_t packed = static_cast<int32_t>(0x80FF4020u);
    TColorPtr c = CreateColor(packed);
    EXPECT_EQ(c->red, 255);
    EXPECT_EQ(c->green, 64);
    EXPECT_EQ(c->blue, 32);
    EXPECT_EQ(c->alpha, 128);
    EXPECT_EQ(c->argb, packed);
    // The unpackers read their argument, not the fields.
    EXPECT_EQ(c->Red(0x00123456), 0x12);
    EXPECT_EQ(c->red, 255);

    TColorPtr white = CreateColor(0xFFFFFF);
    EXPECT_EQ(white->red, 255);
    EXPECT_EQ(white->green, 255);
    EXPECT_EQ(white->blue, 255);
    EXPECT_EQ(white->alpha, 0);
}

}  // namespace

// Cropped, clipped and textured-polygon drawing: vertices and texture
// coordinates in the power-of-two layout, viewport clipping, the transform.
#include <climits>

#include "ui/poly_draw.h"
#include "ui_fixture.h"

namespace {

class Polys : public UiTest {
protected:
    static Call OnePoly() {
        const auto polys = Calls(Call::POLY);
        EXPECT_EQ(polys.size(), 1u);
        return polys.empty() ? Call{} : polys[0];
    }
    static void ExpectFloats(const std::vector<float>& got, const std::vector<float>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << "index " << i;
    }
    // The picture's rectangle as a polygon: top-left, top-right, bottom-right, bottom-left.
    static std::vector<float> Quad(float l, float t, float r, float b) { return {l, t, r, t, r, b, l, b}; }
};

TEST(NextPowerOf2, DoublesFromOneAndStopsAtTwoToThe30) {
    struct { int n, want; } cases[] = {
        {0, 1}, {1, 1}, {2, 2}, {3, 4}, {64, 64}, {65, 128}, {-7, 1}, {INT_MIN, 1},
        {1 << 30, 1 << 30}, {(1 << 30) + 1, 1 << 30}, {INT_MAX, 1 << 30},
    };
    for (const auto& c : cases) EXPECT_EQ(findNextPowerOf2(c.n), c.want) << c.n;
}

TEST_F(Polys, VialDrawsTheBandOfTheImageWhereItLies) {
    auto img = Image(20, 12);  // texture 32 x 16
    drawVial(img, 100, 200, 0.75f, 1.0f);
    Call p = OnePoly();
    EXPECT_EQ(p.image, img.get());
    ExpectFloats(p.xy, Quad(100, 209, 120, 212));
    ExpectFloats(p.uv, {0, 0.5625f, 0.625f, 0.5625f, 0.625f, 0.75f, 0, 0.75f});

    Clear();
    drawVial(img, 100, 200, 0.3f, 0.3f);  // no height
    p = OnePoly();
    EXPECT_FLOAT_EQ(p.xy[1], p.xy[5]);
}

TEST_F(Polys, WholeVialAndFullCropCoverWhatDrawImageCovers) {
    auto img = Image(20, 12);
    plat::DrawImage(img, 30, 40);
    const Call whole = Calls(Call::IMAGE)[0];
    Clear();
    drawVial(img, 30, 40, 0, 1);
    ExpectFloats(OnePoly().xy, whole.xy);
    ExpectFloats(OnePoly().uv, whole.uv);
    Clear();
    drawCroppedImage(img, 30, 40, 0, 0, 20, 12);
    ExpectFloats(OnePoly().xy, whole.xy);
    ExpectFloats(OnePoly().uv, whole.uv);
}

TEST_F(Polys, CropTakesItsEdgesOverTheTextureSize) {
    auto img = Image(40, 30);  // texture 64 x 32
    plat::SetColor(10, 20, 30);
    plat::SetAlpha(0.5f);
    drawCroppedImage(img, 100, 50, 8, 6, 24, 30);
    const Call p = OnePoly();
    ExpectFloats(p.xy, Quad(108, 56, 124, 80));
    ExpectFloats(p.uv, {8 / 64.f, 6 / 32.f, 24 / 64.f, 6 / 32.f, 24 / 64.f, 30 / 32.f, 8 / 64.f, 30 / 32.f});
    EXPECT_EQ(p.r, 10);  // the colour and alpha in force
    EXPECT_NEAR(p.alpha, 0.5f, 1e-6);
}

TEST_F(Polys, ViewportCutsTheImageAtItsEdgesOrRejectsIt) {
    auto img = Image(40, 30);  // texture 64 x 32
    plat::SetImageHandle(img, 10, 5);  // at (100, 100) it covers 90..130 x 95..125
    struct Case {
        const char* name;
        int vx, vy, vw, vh;
        bool drawn;
        float l, t, r, b;  // screen rectangle drawn
    };
    const Case cases[] = {
        {"wholly inside", 0, 0, 800, 600, true, 90, 95, 130, 125},
        {"past the right edge", 0, 0, 120, 600, true, 90, 95, 120, 125},
        {"past the bottom edge", 0, 0, 800, 110, true, 90, 95, 130, 110},
        {"left and top cut", 100, 100, 800, 600, true, 100, 100, 130, 125},
        {"touching on the left yields a strip of no width", 130, 0, 100, 600, true, 130, 95, 130, 125},
        {"a line of height 0 crossing it", 0, 110, 800, 0, true, 90, 110, 130, 110},
        {"wholly left of it", 131, 0, 100, 600, false, 0, 0, 0, 0},
        {"wholly right of it", 0, 0, 89, 600, false, 0, 0, 0, 0},
        {"wholly above it", 0, 0, 800, 94, false, 0, 0, 0, 0},
        {"wholly below it", 0, 126, 800, 100, false, 0, 0, 0, 0},
        {"a line of height 0 below it", 0, 130, 800, 0, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        drawInViewPort(img, 100, 100, c.vx, c.vy, c.vw, c.vh);
        const auto polys = Calls(Call::POLY);
        if (!c.drawn) {
            EXPECT_TRUE(polys.empty());
            continue;
        }
        ASSERT_EQ(polys.size(), 1u);
        ExpectFloats(polys[0].xy, Quad(c.l, c.t, c.r, c.b));
        // The texture follows the screen cut.
        const float u0 = (c.l - 90) / 64, u1 = (c.r - 90) / 64, v0 = (c.t - 95) / 32, v1 = (c.b - 95) / 32;
        ExpectFloats(polys[0].uv, {u0, v0, u1, v0, u1, v1, u0, v1});
    }
}

TEST(TextInViewport, ALineCountsFrom50AboveTo10BelowTheBand) {
    struct { int y, want; } cases[] = {{50, 0}, {51, 1}, {100, 1}, {309, 1}, {310, 0}, {-1000, 0}};
    for (const auto& c : cases) EXPECT_EQ(isTextInViewport(c.y, 100, 200), c.want) << c.y;
}

TEST_F(Polys, VertexCountLimitsThePolygonAndTheKeptImageFollowsEveryPolygon) {
    auto img = Image(16, 16);
    const TVertexArray v = {0, 0, 0, 0, 16, 0, 1, 0, 16, 16, 1, 1, 0, 16, 0, 1};
    struct { int count; size_t points; } cases[] = {{-1, 4}, {-9, 4}, {4, 4}, {3, 3}, {9, 4}, {2, 0}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Clear();
        DrawTexturedPoly(img, v, 0, c.count);
        const auto polys = Calls(Call::POLY);
        if (c.points == 0) {
            EXPECT_TRUE(polys.empty());  // fewer than three corners cover nothing
        } else {
            ASSERT_EQ(polys.size(), 1u);
            EXPECT_EQ(polys[0].xy.size(), 2 * c.points);
        }
        const auto images = Calls(Call::IMAGE);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_FLOAT_EQ(images[0].x, -100);
        EXPECT_FLOAT_EQ(images[0].y, -100);
        EXPECT_EQ(plat::testing::DrawCalls().back().kind, Call::IMAGE);
    }
}

TEST_F(Polys, ShortArraysNullImagesAndBadFramesDrawNothing) {
    auto img = Image(16, 16);
    DrawTexturedPoly(img, {1, 2, 3, 4, 5}, 0, -1);
    DrawTexturedPoly(nullptr, {0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1}, 0, -1);
    DrawTexturedPoly(img, {0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1}, 1, -1);
    drawVial(nullptr, 0, 0, 0, 1);
    drawCroppedImage(nullptr, 0, 0, 0, 0, 1, 1);
    drawInViewPort(nullptr, 0, 0, 0, 0, 800, 600);
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
    // A trailing partial vertex is left out.
    DrawTexturedPoly(img, {0, 0, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 7, 7}, 0, -1);
    EXPECT_EQ(OnePoly().xy.size(), 6u);
}

TEST_F(Polys, RotationScaleHandleAndOriginTransformEveryVertex) {
    auto img = Image(16, 16);
    plat::SetRotation(90);
    plat::SetScale(2, 2);
    plat::SetHandle(1, 2);
    plat::SetOrigin(5, 5);
    DrawTexturedPoly(img, {10, 0, 0.25f, 0.5f, 0, 0, 0, 0, 0, 10, 0, 1}, 0, -1);
    const Call p = OnePoly();
    // (x + 1, y + 2) turned a quarter clockwise on screen and doubled.
    ExpectFloats(p.xy, {5 - 4, 5 + 22, 5 - 4, 5 + 2, 5 - 24, 5 + 2});
    ExpectFloats(p.uv, {0.25f, 0.5f, 0, 0, 0, 1});
}

}  // namespace

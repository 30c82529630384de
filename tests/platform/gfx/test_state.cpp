// The global 2D state: defaults, clamps, persistence, and where the vertex
// formula puts the corners of images, rectangles and lines.
#include <cmath>

#include "gfx_fixture.h"
#include "platform/backend.h"

namespace {
using namespace plat;
namespace pt = plat::testing;
using gfxtest::Headless;
using Call = pt::DrawCall;

using State2D = Headless;

TEST_F(State2D, GraphicsSetsTheDefaults) {
    SetColor(1, 2, 3);
    SetAlpha(0.25f);
    SetBlend(ALPHABLEND);
    SetTransform(45, 2, 3);
    SetOrigin(5, 6);
    SetHandle(7, 8);
    ASSERT_TRUE(Graphics(800, 600));
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(GetAlpha(), 1.0f);
    EXPECT_EQ(GetBlend(), MASKBLEND);
    float sx, sy, x, y;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
    EXPECT_EQ(GetRotation(), 0.0f);
    GetOrigin(x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    GetHandle(x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
}

TEST_F(State2D, SetColorClampsEachChannel) {
    struct Case { int in[3]; int out[3]; };
    const Case cases[] = {
        {{0, 128, 255}, {0, 128, 255}},
        {{-1, 256, 383}, {0, 255, 255}},
        {{-1000, 0, 100000}, {0, 0, 255}},
    };
    for (const Case& c : cases) {
        SetColor(c.in[0], c.in[1], c.in[2]);
        int r, g, b;
        GetColor(r, g, b);
        EXPECT_EQ(r, c.out[0]);
        EXPECT_EQ(g, c.out[1]);
        EXPECT_EQ(b, c.out[2]);
    }
}

TEST_F(State2D, SetAlphaClampsAndKeepsATruncatedByte) {
    struct Case { float in; float got; int byte; };
    const Case cases[] = {
        {0.0f, 0.0f, 0},     {1.0f, 1.0f, 255},    {0.5f, 0.5f, 127},  {0.999f, 0.999f, 254},
        {0.003f, 0.003f, 0}, {0.004f, 0.004f, 1},  {-0.5f, 0.0f, 0},   {1.5f, 1.0f, 255},
        {NAN, 0.0f, 0},
    };
    for (const Case& c : cases) {
        SetAlpha(c.in);
        EXPECT_EQ(GetAlpha(), c.got) << c.in;
        EXPECT_EQ(detail::State().alphaByte, c.byte) << c.in;
    }
}

TEST_F(State2D, StatePersistsAcrossDrawsUntilChanged) {
    ASSERT_TRUE(Graphics(800, 600));
    SetColor(10, 20, 30);
    SetAlpha(0.5f);
    SetBlend(LIGHTBLEND);
    SetScale(2, 3);
    SetRotation(90);
    DrawRect(0, 0, 1, 1);
    DrawLine(0, 0, 1, 1);
    SetBlend(7);  // unknown modes are kept as given
    DrawRect(0, 0, 1, 1);
    const auto& calls = pt::DrawCalls();
    ASSERT_EQ(calls.size(), 3u);
    for (const Call& c : calls) {
        EXPECT_EQ(c.r, 10);
        EXPECT_EQ(c.g, 20);
        EXPECT_EQ(c.b, 30);
        EXPECT_EQ(c.alpha, 0.5f);
        EXPECT_EQ(c.sx, 2.0f);
        EXPECT_EQ(c.sy, 3.0f);
        EXPECT_EQ(c.rotation, 90.0f);
    }
    EXPECT_EQ(calls[0].blend, LIGHTBLEND);
    EXPECT_EQ(calls[1].blend, LIGHTBLEND);
    EXPECT_EQ(calls[2].blend, 7);
    EXPECT_EQ(GetBlend(), 7);
}

// The overview's formula, in double, for a point measured from the handle.
void Expect(float px, float py, float rot, float sx, float sy, float x, float y, float ox, float oy, float gotX,
            float gotY, const std::string& what) {
    const double r = rot * 3.14159265358979323846 / 180.0;
    const double ex = px * std::cos(r) * sx - py * std::sin(r) * sy + x + ox;
    const double ey = px * std::sin(r) * sx + py * std::cos(r) * sy + y + oy;
    EXPECT_NEAR(gotX, ex, 1e-3) << what;
    EXPECT_NEAR(gotY, ey, 1e-3) << what;
}

struct TransformCase {
    float rot, sx, sy, hx, hy, x, y, ox, oy;
};
const TransformCase kTransforms[] = {
    {0, 1, 1, 0, 0, 10, 20, 0, 0},     {0, 2, 3, 0, 0, 10, 20, 0, 0},   {90, 1, 1, 0, 0, 100, 100, 0, 0},
    {30, 1.5f, 0.5f, 10, 5, 400, 300, 0, 0}, {-45, 1, 1, 10, 5, 0, 0, 7, -3}, {180, -1, 2, 3, 4, 50, 60, 1, 2},
};

TEST_F(State2D, ImageCornersFollowTheVertexFormula) {
    ASSERT_TRUE(Graphics(800, 600));
    ImagePtr img = CreateImage(20, 10);
    for (const TransformCase& t : kTransforms) {
        pt::ClearDrawCalls();
        SetTransform(t.rot, t.sx, t.sy);
        SetOrigin(t.ox, t.oy);
        SetImageHandle(img, t.hx, t.hy);
        DrawImage(img, t.x, t.y);
        ASSERT_EQ(pt::DrawCalls().size(), 1u);
        const Call& c = pt::DrawCalls()[0];
        ASSERT_EQ(c.xy.size(), 8u);
        const float local[4][2] = {{0, 0}, {20, 0}, {20, 10}, {0, 10}};
        for (int i = 0; i < 4; ++i)
            Expect(local[i][0] - t.hx, local[i][1] - t.hy, t.rot, t.sx, t.sy, t.x, t.y, t.ox, t.oy, c.xy[2 * i],
                   c.xy[2 * i + 1], "rotation " + std::to_string(t.rot) + " corner " + std::to_string(i));
        EXPECT_EQ(c.handleX, 0.0f) << "the call records the global handle, not the image's";
    }
}

TEST_F(State2D, PositiveAnglesTurnClockwiseOnScreen) {
    ASSERT_TRUE(Graphics(800, 600));
    ImagePtr img = CreateImage(10, 1);
    SetRotation(90);
    DrawImage(img, 100, 100);
    const Call& c = pt::DrawCalls().at(0);
    // The top-right corner (10, 0) turns to below the position.
    EXPECT_NEAR(c.xy[2], 100, 1e-4);
    EXPECT_NEAR(c.xy[3], 110, 1e-4);
}

TEST_F(State2D, RectanglesAndLinesUseTheGlobalHandle) {
    ASSERT_TRUE(Graphics(800, 600));
    for (const TransformCase& t : kTransforms) {
        pt::ClearDrawCalls();
        SetTransform(t.rot, t.sx, t.sy);
        SetOrigin(t.ox, t.oy);
        SetHandle(t.hx, t.hy);
        DrawRect(t.x, t.y, 30, 12);
        DrawLine(t.x, t.y, t.x + 8, t.y - 4);
        const auto rects = Calls(Call::RECT);
        const auto lines = Calls(Call::LINE);
        ASSERT_EQ(rects.size(), 1u);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(rects[0].w, 30.0f);
        EXPECT_EQ(rects[0].h, 12.0f);
        EXPECT_EQ(rects[0].handleX, t.hx);
        const float local[4][2] = {{0, 0}, {30, 0}, {30, 12}, {0, 12}};
        for (int i = 0; i < 4; ++i)
            Expect(local[i][0] - t.hx, local[i][1] - t.hy, t.rot, t.sx, t.sy, t.x, t.y, t.ox, t.oy, rects[0].xy[2 * i],
                   rects[0].xy[2 * i + 1], "rect corner " + std::to_string(i));
        Expect(-t.hx, -t.hy, t.rot, t.sx, t.sy, t.x, t.y, t.ox, t.oy, lines[0].xy[0], lines[0].xy[1], "line start");
        Expect(8 - t.hx, -4 - t.hy, t.rot, t.sx, t.sy, t.x, t.y, t.ox, t.oy, lines[0].xy[2], lines[0].xy[3],
               "line end");
    }
}

TEST_F(State2D, TexturedPolygonsTakeColourAlphaBlendButNoTransform) {
    ASSERT_TRUE(Graphics(800, 600));
    ImagePtr img = CreateImage(16, 16);
    SetColor(200, 100, 50);
    SetAlpha(0.75f);
    SetBlend(ALPHABLEND);
    SetTransform(33, 2, 2);
    SetOrigin(100, 100);
    const float xy[] = {10, 10, 50, 12, 40, 60, 5, 30, 2, 2};
    const float uv[] = {0, 0, 1, 0, 1, 1, 0, 1, 0.5f, 0.5f};
    DrawTexturedPoly(img, 0, xy, uv, 5);
    const auto polys = Calls(Call::POLY);
    ASSERT_EQ(polys.size(), 1u);
    EXPECT_EQ(polys[0].xy, std::vector<float>(xy, xy + 10));
    EXPECT_EQ(polys[0].uv, std::vector<float>(uv, uv + 10));
    EXPECT_EQ(polys[0].image, img.get());
    EXPECT_EQ(polys[0].r, 200);
    EXPECT_EQ(polys[0].alpha, 0.75f);
    EXPECT_EQ(polys[0].blend, ALPHABLEND);
}

TEST_F(State2D, TextIsRecordedWithTheStateItWasDrawnUnder) {
    ASSERT_TRUE(Graphics(800, 600));
    SetColor(1, 2, 3);
    SetScale(2, 2);
    detail::RecordText("Hello", 12, 34);
    const auto texts = Calls(Call::TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hello");
    EXPECT_EQ(texts[0].x, 12.0f);
    EXPECT_EQ(texts[0].y, 34.0f);
    EXPECT_EQ(texts[0].b, 3);
    EXPECT_EQ(texts[0].sx, 2.0f);
}

}  // namespace

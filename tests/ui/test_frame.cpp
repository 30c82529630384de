// Frames: the bars of a colour frame and the nine pieces of an image frame,
// their positions and stretches, styles, fill, and the state left behind.
#include "ui/frame.h"
#include "ui_fixture.h"

namespace {

class Frames : public UiTest {
protected:
    struct Rect { float x, y, w, h; int r, g, b; };
    static void ExpectRects(const std::vector<Rect>& want) {
        const auto got = Calls(Call::RECT);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_FLOAT_EQ(got[i].x, want[i].x);
            EXPECT_FLOAT_EQ(got[i].y, want[i].y);
            EXPECT_FLOAT_EQ(got[i].w, want[i].w);
            EXPECT_FLOAT_EQ(got[i].h, want[i].h);
            EXPECT_EQ(got[i].r, want[i].r);
            EXPECT_EQ(got[i].g, want[i].g);
            EXPECT_EQ(got[i].b, want[i].b);
            EXPECT_NEAR(got[i].alpha, 0.6f, 1e-6);
        }
    }
    static void ExpectWhiteAndOpaque() {
        int r, g, b;
        plat::GetColor(r, g, b);
        EXPECT_EQ(r + g + b, 3 * 255);
        EXPECT_EQ(plat::GetAlpha(), 1.0f);
    }

    // Nine pieces, each of its own size so every draw can be told apart.
    std::vector<plat::ImagePtr> pieces;
    TImageFramePtr NineSliceFrame(const TDimPtr& dim, int fill, int style) {
        auto f = CreateImageFrame(dim, fill, 0.75f, style);
        pieces.clear();
        for (int p = 0; p < 9; ++p) {
            pieces.push_back(Image(10 + p, 4 + p));
            f->AddImage(pieces.back(), p);
        }
        return f;
    }
    struct Piece { int placement; float x, y, sx, sy; };
    void ExpectPieces(const std::vector<Piece>& want) {
        const auto got = Calls(Call::IMAGE);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(want[i].placement);
            EXPECT_EQ(got[i].image, pieces[static_cast<size_t>(want[i].placement)].get());
            EXPECT_FLOAT_EQ(got[i].x, want[i].x);
            EXPECT_FLOAT_EQ(got[i].y, want[i].y);
            EXPECT_FLOAT_EQ(got[i].sx, want[i].sx);
            EXPECT_FLOAT_EQ(got[i].sy, want[i].sy);
            EXPECT_NEAR(got[i].alpha, 0.75f, 1e-6);
        }
    }
};

TEST_F(Frames, ColourFrameDrawsFourBarsOutsideAndTheFill) {
    auto dim = CreateDim(100, 50, 200, 100, 5, 1, 1, 0);
    auto f = CreateColorFrame(dim, CreateColor(0x102030), 1, CreateColor(0x405060), 0.6f, 0);
    EXPECT_EQ(f->active, 1);
    EXPECT_EQ(f->visible, 1);
    f->Draw();
    ExpectRects({{95, 45, 210, 5, 0x10, 0x20, 0x30},
                 {95, 50, 5, 100, 0x10, 0x20, 0x30},
                 {300, 50, 5, 100, 0x10, 0x20, 0x30},
                 {95, 150, 210, 5, 0x10, 0x20, 0x30},
                 {100, 50, 200, 100, 0x40, 0x50, 0x60}});
    ExpectWhiteAndOpaque();
}

TEST_F(Frames, ColourFrameStylesFillAndRectangleModes) {
    auto dim = CreateDim(100, 50, 200, 100, 5, 1, 1, 0);
    auto f = CreateColorFrame(dim, CreateColor(0x102030), 2, CreateColor(0x405060), 0.6f, 1);
    f->Draw();  // style 1: no top bar; fill 2: no fill
    ExpectRects({{95, 50, 5, 100, 0x10, 0x20, 0x30},
                 {300, 50, 5, 100, 0x10, 0x20, 0x30},
                 {95, 150, 210, 5, 0x10, 0x20, 0x30}});

    // Anchor mode, scale and offsets of the rectangle have no effect.
    dim->anchorMode = 1;
    dim->scaleX = dim->scaleY = 3;
    dim->offsetX = 40;
    f->style = 7;
    f->fill = 0;
    Clear();
    f->Draw();
    EXPECT_EQ(Calls(Call::RECT).size(), 4u);
    EXPECT_FLOAT_EQ(Calls(Call::RECT)[0].x, 95);

    // Hidden: nothing drawn and the state left as it was.
    f->visible = 0;
    plat::SetColor(1, 2, 3);
    plat::SetAlpha(0.5f);
    Clear();
    f->Draw();
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
    int r, g, b;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.5f);
}

TEST_F(Frames, ImageFramePutsCornersOutsideAndStretchesEdgesAndCentre) {
    auto f = NineSliceFrame(CreateDim(100, 50, 200, 100, 9, 1, 1, 0), 1, 0);
    plat::SetColor(200, 100, 50);
    f->Draw();
    ExpectPieces({
        {0, 100 - 10, 50 - 4, 1, 1},
        {1, 100, 50 - 5, 200.0f / 11, 1},
        {2, 300, 50 - 6, 1, 1},
        {3, 100 - 13, 50, 1, 100.0f / 7},
        {4, 300, 50, 1, 100.0f / 8},
        {5, 100 - 15, 150, 1, 1},
        {6, 100, 150, 200.0f / 16, 1},
        {7, 300, 150, 1, 1},
        {8, 100, 50, 200.0f / 18, 100.0f / 12},
    });
    for (const auto& c : Calls(Call::IMAGE)) EXPECT_EQ(c.r, 200);  // tinted by the colour in force
    float sx, sy;
    plat::GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
    EXPECT_EQ(plat::GetAlpha(), 1.0f);
    int r, g, b;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 200);
}

TEST_F(Frames, ImageFrameStyleOneLeavesOutTheTopAndFillOtherThanOneTheCentre) {
    for (int fill : {0, 2}) {
        Clear();
        auto f = NineSliceFrame(CreateDim(100, 50, 200, 100, 0, 1, 1, 0), fill, 1);
        f->Draw();
        ExpectPieces({
            {3, 100 - 13, 50, 1, 100.0f / 7},
            {4, 300, 50, 1, 100.0f / 8},
            {5, 100 - 15, 150, 1, 1},
            {6, 100, 150, 200.0f / 16, 1},
            {7, 300, 150, 1, 1},
        });
    }
}

TEST_F(Frames, AZeroWidthRectanglePutsTheRightSideAgainstTheLeft) {
    auto dim = CreateDim(100, 50, 0, 100, 0, 2, 2, 1);  // anchor mode and scale ignored
    auto f = NineSliceFrame(dim, 0, 0);
    f->Draw();
    ExpectPieces({
        {0, 90, 46, 1, 1},
        {1, 100, 45, 0, 1},
        {2, 100, 44, 1, 1},
        {3, 87, 50, 1, 100.0f / 7},
        {4, 100, 50, 1, 100.0f / 8},
        {5, 85, 150, 1, 1},
        {6, 100, 150, 0, 1},
        {7, 100, 150, 1, 1},
    });
}

TEST_F(Frames, PiecesFirstAddedWinAndOddOrMissingPiecesDoNotFail) {
    auto f = CreateImageFrame(CreateDim(10, 10, 20, 20, 0, 1, 1, 0), 1, 1, 0);
    auto first = Image(4, 4), second = Image(5, 5);
    f->AddImage(first, 7);
    f->AddImage(second, 7);
    EXPECT_EQ(f->GetImage(7)->image, first);
    EXPECT_EQ(f->GetImage(3), nullptr);
    f->Draw();  // only piece 7 exists: the gaps are left out
    const auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].image, first.get());

    // A piece with a placement outside 0-8, drawn on its own.
    auto odd = CreateSliceImage(Image(6, 6), 12);
    Clear();
    odd->Draw(CreateDim(50, 60, 70, 80, 0, 1, 1, 0), 0.5f);
    ASSERT_EQ(Calls(Call::IMAGE).size(), 1u);
    EXPECT_EQ(Calls(Call::IMAGE)[0].x, 0.0f);
    EXPECT_EQ(Calls(Call::IMAGE)[0].sx, 1.0f);

    // A picture that cannot be loaded: the loader's message, the piece is
    // kept without a picture, and drawing it draws nothing.
    auto broken = CreateSliceImage(std::string("gfx/none-such.png"), 2);
    EXPECT_FALSE(broken->image);
    EXPECT_EQ(plat::testing::Notifications().size(), 1u);
    f->AddImage(std::string("gfx/none-such.png"), 8);
    EXPECT_EQ(f->pieces->Count(), 3);
    Clear();
    broken->Draw(CreateDim(0, 0, 10, 10, 0, 1, 1, 0), 1);
    f->Draw();
    EXPECT_EQ(Calls(Call::IMAGE).size(), 1u);

    // The base frame and a colour frame take no pieces.
    TFrame base;
    EXPECT_EQ(base.Draw(), 0);
    EXPECT_EQ(base.GetImage(0), nullptr);
    auto colour = CreateColorFrame(CreateDim(0, 0, 1, 1, 1, 1, 1, 0), CreateColor(0), 0, nullptr, 1, 0);
    colour->AddImage(Image(2, 2), 0);
    EXPECT_EQ(colour->GetImage(0), nullptr);
    EXPECT_EQ(colour->State(), 0);
}

}  // namespace

// The headless display: mode list, scripted failures, opening and closing,
// clearing, pixmaps, read-back, and the full reset.
#include "gfx_fixture.h"

namespace {
using namespace plat;
namespace pt = plat::testing;
using gfxtest::Headless;
using Call = pt::DrawCall;

using Display = Headless;

TEST_F(Display, ModesComeFromTheScript) {
    ASSERT_EQ(CountGraphicsModes(), 2);
    int w, h, d, hz;
    ASSERT_TRUE(GetGraphicsMode(0, w, h, d, hz));
    EXPECT_EQ((std::vector<int>{w, h, d, hz}), (std::vector<int>{800, 600, 32, 60}));
    pt::SetFullScreenModes({{640, 480, 16, 75}, {800, 600, 16, 60}, {800, 600, 32, 85}});
    ASSERT_EQ(CountGraphicsModes(), 3);
    ASSERT_TRUE(GetGraphicsMode(2, w, h, d, hz));
    EXPECT_EQ((std::vector<int>{w, h, d, hz}), (std::vector<int>{800, 600, 32, 85}));
    EXPECT_FALSE(GetGraphicsMode(3, w, h, d, hz));
    EXPECT_FALSE(GetGraphicsMode(-1, w, h, d, hz));
    pt::SetFullScreenModes({});
    EXPECT_EQ(CountGraphicsModes(), 0);
}

TEST_F(Display, FailuresAreScriptedPerKind) {
    struct Case { bool failWindow, failFull; bool windowOpens, fullOpens; };
    const Case cases[] = {{false, false, true, true}, {true, false, false, true},
                          {false, true, true, false}, {true, true, false, false}};
    for (const Case& c : cases) {
        pt::Reset();
        pt::FailGraphics(c.failWindow, c.failFull);
        EXPECT_EQ(Graphics(800, 600, 0), c.windowOpens);
        EXPECT_EQ(GraphicsOpen(), c.windowOpens);
        EXPECT_FALSE(pt::DisplayIsFullScreen());
        EXPECT_EQ(Graphics(800, 600, 32), c.fullOpens);
        EXPECT_EQ(GraphicsOpen(), c.fullOpens) << "the open window was closed first";
        EXPECT_EQ(pt::DisplayIsFullScreen(), c.fullOpens);
    }
}

TEST_F(Display, GraphicsOpensAndEndGraphicsCloses) {
    EXPECT_FALSE(GraphicsOpen());
    EXPECT_FALSE(Graphics(0, 600));
    ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
    EXPECT_EQ(GraphicsWidth(), 800);
    EXPECT_EQ(GraphicsHeight(), 600);
    EXPECT_TRUE(IsOpenGLDriver());
    ASSERT_TRUE(Graphics(1024, 768, 32));
    EXPECT_TRUE(pt::DisplayIsFullScreen());
    EXPECT_EQ(GraphicsWidth(), 1024);
    EndGraphics();
    EXPECT_FALSE(GraphicsOpen());
    EXPECT_FALSE(pt::DisplayIsFullScreen());
    EXPECT_EQ(GraphicsWidth(), 0);
    EndGraphics();  // twice is fine
}

TEST_F(Display, ClsPixmapsAndReadBackAreRecorded) {
    ASSERT_TRUE(Graphics(800, 600));
    Cls();
    PixmapPtr p = CreatePixmap(7, 5, PF_RGB, 4);
    DrawPixmap(p, 10, 20);
    ASSERT_EQ(pt::DrawCalls().size(), 2u);
    EXPECT_EQ(pt::DrawCalls()[0].kind, Call::CLS);
    EXPECT_EQ(pt::DrawCalls()[0].r, 0);
    const Call& pix = pt::DrawCalls()[1];
    EXPECT_EQ(pix.kind, Call::PIXMAP);
    EXPECT_EQ(pix.x, 10.0f);
    EXPECT_EQ(pix.w, 7.0f);
    EXPECT_EQ(pix.h, 5.0f);
    PixmapPtr grab = GrabPixmap(0, 0, 16, 8);
    ASSERT_TRUE(grab);
    EXPECT_EQ(grab->width, 16);
    EXPECT_EQ(ReadPixel(grab, 3, 3), 0xFF000000u);
    EXPECT_FALSE(GrabPixmap(0, 0, 0, 8));
}

TEST_F(Display, CursorVisibilityIsKept) {
    EXPECT_TRUE(detail::Headless2D().cursorShown);
    HideMouse();
    EXPECT_FALSE(detail::Headless2D().cursorShown);
    ShowMouse();
    EXPECT_TRUE(detail::Headless2D().cursorShown);
}

TEST_F(Display, ResetForgetsEverything) {
    ASSERT_TRUE(Graphics(800, 600, 32));
    pt::SetFullScreenModes({});
    pt::FailGraphics(true, true);
    SetColor(1, 1, 1);
    Flip(-1);
    DrawRect(0, 0, 1, 1);
    pt::PressKey(KEY_A);
    pt::RequestTerminate();
    pt::SetSuspended(true);
    int hooked = 0;
    pt::OnFlip([&](int) { ++hooked; });
    pt::Reset();
    EXPECT_FALSE(GraphicsOpen());
    EXPECT_EQ(CountGraphicsModes(), 2);
    EXPECT_TRUE(pt::DrawCalls().empty());
    EXPECT_EQ(pt::FlipCount(), 0);
    EXPECT_EQ(pt::Now(), 0);
    EXPECT_FALSE(KeyDown(KEY_A));
    EXPECT_FALSE(AppTerminate());
    EXPECT_FALSE(AppSuspended());
    int r, g, b;
    GetColor(r, g, b);
    EXPECT_EQ(r, 255);
    ASSERT_TRUE(Graphics(800, 600));
    Flip(-1);
    EXPECT_EQ(hooked, 0);
    EXPECT_EQ(pt::Now(), 16);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/display.h"
#include "core_fixture.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/testing.h"

namespace pt = plat::testing;
using Modes = std::vector<pt::Mode>;

class DisplayTest : public CoreTest {};

TEST_F(DisplayTest, FullScreenTakesTheDeepestListedDepthOfTheExactSize) {
    struct Case { const char* name; Modes modes; int want; };
    const Case cases[] = {
        {"32 bits", {{800, 600, 32, 60}}, 32},
        {"only 16 bits", {{1024, 768, 32, 60}, {800, 600, 16, 60}}, 16},
        {"32 and 16 bits", {{800, 600, 16, 60}, {800, 600, 32, 60}}, 32},
        {"24 before 16", {{800, 600, 8, 60}, {800, 600, 16, 75}, {800, 600, 24, 85}}, 24},
        {"any refresh rate", {{800, 600, 32, 75}, {800, 600, 32, 100}}, 32},
        {"only 8 bits", {{800, 600, 8, 60}}, 8},
        {"no exact size", {{800, 601, 32, 60}, {640, 480, 32, 60}}, 0},
        {"odd depths only", {{800, 600, 15, 60}, {800, 600, 30, 60}}, 0},
        {"no modes", {}, 0},
    };
    for (const Case& c : cases) {
        pt::SetFullScreenModes(c.modes);
        EXPECT_EQ(FindFullScreenDepth(800, 600), c.want) << c.name;
    }
}

TEST_F(DisplayTest, SetGraphicsModeFallsBackToAWindowAndRecordsIt) {
    struct Case {
        const char* name;
        int mode;
        Modes modes;
        bool failWindow, failFullScreen;
        bool wantFull;
        int wantScreenMode;
    };
    const Modes good = {{800, 600, 32, 60}};
    const Case cases[] = {
        {"window asked (0)", 0, good, false, false, false, 0},
        {"window asked (2)", 2, good, false, false, false, 2},
        {"any other mode is a window", 7, good, false, false, false, 7},
        {"full screen", 1, good, false, false, true, 1},
        {"full screen at 16 bits", 1, {{800, 600, 16, 60}}, false, false, true, 1},
        {"no 800 x 600 mode", 1, {{1024, 768, 32, 60}}, false, false, false, 2},
        {"full screen refused", 1, good, false, true, false, 2},
    };
    for (const Case& c : cases) {
        pt::Reset();
        gfxDriverSet = 0;
        options->screenMode = c.mode;
        pt::SetFullScreenModes(c.modes);
        pt::FailGraphics(c.failWindow, c.failFullScreen);
        EXPECT_EQ(SetGraphicsMode(options->screenMode, 800, 600, 32), 0);
        EXPECT_TRUE(plat::GraphicsOpen()) << c.name;
        EXPECT_EQ(plat::GraphicsWidth(), 800) << c.name;
        EXPECT_EQ(plat::GraphicsHeight(), 600) << c.name;
        EXPECT_EQ(pt::DisplayIsFullScreen(), c.wantFull) << c.name;
        EXPECT_EQ(options->screenMode, c.wantScreenMode) << c.name;
        EXPECT_EQ(gfxDriverSet, 1);
        EXPECT_TRUE(pt::Notifications().empty()) << c.name;
    }
}

TEST_F(DisplayTest, NoDisplayAtAllShowsTheMessageAndEnds) {
    struct Case { int mode; bool failFullScreen; };
    for (const Case& c : {Case{0, false}, Case{1, true}, Case{2, true}}) {
        pt::Reset();
        options->screenMode = c.mode;
        pt::FailGraphics(true, c.failFullScreen);
        EXPECT_THROW(SetGraphicsMode(c.mode, 800, 600, 32), plat::EndRequested) << c.mode;
        ASSERT_EQ(pt::Notifications().size(), 1u);
        EXPECT_EQ(pt::Notifications()[0], "Graphics initiation error! The game will close.");
        EXPECT_FALSE(plat::GraphicsOpen());
    }
}

TEST_F(DisplayTest, SwitchesReplaceTheDisplay) {
    // The depth passed has no effect: the search starts at 32 bits.
    pt::SetFullScreenModes({{800, 600, 16, 60}, {800, 600, 32, 60}});
    options->screenMode = 1;
    SetGraphicsMode(1, 800, 600, 16);
    ASSERT_TRUE(pt::DisplayIsFullScreen());
    EXPECT_EQ(FindFullScreenDepth(800, 600), 32);

    // Full screen again while in full screen: closed and opened again.
    SetGraphicsMode(1, 800, 600, 32);
    EXPECT_TRUE(pt::DisplayIsFullScreen());

    switchToWindowed();
    EXPECT_EQ(options->screenMode, 0);
    EXPECT_TRUE(plat::GraphicsOpen());
    EXPECT_FALSE(pt::DisplayIsFullScreen());

    // Already in a window: nothing happens.
    pt::FailGraphics(true, true);
    switchToWindowed();
    EXPECT_EQ(options->screenMode, 0);
    EXPECT_TRUE(plat::GraphicsOpen());
    EXPECT_TRUE(pt::Notifications().empty());
}

TEST_F(DisplayTest, FindGfxModeOpensNothingWithoutADriverOrAMode) {
    EXPECT_EQ(FindGfxMode(1, 0, 800, 600, 1), 0);
    EXPECT_EQ(FindGfxMode(0, 0, 800, 600, 1), 0);
    EXPECT_FALSE(plat::GraphicsOpen());

    ASSERT_EQ(FindGfxMode(0, 0, 800, 600, 0), 1);  // a window, driver already there
    ASSERT_TRUE(plat::GraphicsOpen());
    // No full-screen mode of that size: the open window stays as it was.
    pt::SetFullScreenModes({});
    EXPECT_EQ(FindGfxMode(1, 0, 800, 600, 0), 0);
    EXPECT_TRUE(plat::GraphicsOpen());
    EXPECT_FALSE(pt::DisplayIsFullScreen());
    // Full screen refused twice: the window was closed by the attempts.
    pt::SetFullScreenModes({{800, 600, 32, 60}});
    pt::FailGraphics(false, true);
    EXPECT_EQ(FindGfxMode(1, plat::GL_2D_DRIVER, 800, 600, 1), 0);
    EXPECT_FALSE(plat::GraphicsOpen());
}

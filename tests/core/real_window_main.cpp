// The real backend once: the game's display set-up opens its 800 x 600
// window under SDL's offscreen driver, draws a frame and closes it. Not the
// shared headless main: this one must reach SDL and OpenGL.
#include <gtest/gtest.h>

#include "core/display.h"
#include "core/mouse.h"
#include "core/options.h"
#include "platform/graphics.h"
#include "platform/input.h"

TEST(RealWindow, OpensAndClosesOnce) {
    options = std::make_shared<TOptions>();
    options->screenMode = 0;
    ASSERT_EQ(SetGraphicsMode(options->screenMode, 800, 600, 32), 0);
    ASSERT_TRUE(plat::GraphicsOpen());
    EXPECT_EQ(plat::GraphicsWidth(), 800);
    EXPECT_EQ(plat::GraphicsHeight(), 600);
    EXPECT_EQ(options->screenMode, 0);
    EXPECT_EQ(gfxDriverSet, 1);

    TMouse m;
    for (int frame = 0; frame < 3; ++frame) {
        plat::Cls();
        m.fetchState();
        m.Draw();
        plat::Flip(-1);
    }
    plat::EndGraphics();
    EXPECT_FALSE(plat::GraphicsOpen());
    options.reset();
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

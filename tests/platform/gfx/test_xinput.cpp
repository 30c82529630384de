// Input injected into the real window through the X server (run under
// xvfb-run with xdotool): the pointer, clicks and key presses must arrive as
// MouseX/MouseY, MouseHit and KeyHit at the right coordinates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include "platform/plat.h"

namespace {
using namespace plat;

const char* const kTitle = "Quillimar xinput probe";

// Runs frames until the condition holds (or two seconds pass).
bool FramesUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 120; ++i) {
        Cls();
        Flip(-1);
        if (done()) return true;
    }
    return false;
}

int Xdotool(const std::string& args) { return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()); }

class XInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetAppTitle(kTitle);
        ASSERT_TRUE(Graphics(800, 600));
        FramesUntil([] { return false; });  // let the window map
        // Without a window manager the keyboard follows the pointer; giving
        // the window the focus as well makes that certain.
        Xdotool(std::string("search --sync --name '^") + kTitle + "$' windowfocus --sync");
    }
    static void TearDownTestSuite() { EndGraphics(); }

    static void MoveTo(int x, int y) {
        ASSERT_EQ(Xdotool(std::string("search --name '^") + kTitle + "$' mousemove --sync --window %1 " +
                          std::to_string(x) + " " + std::to_string(y)),
                  0);
        ASSERT_TRUE(FramesUntil([&] { return MouseX() == x && MouseY() == y; }))
            << "pointer at " << MouseX() << "," << MouseY() << " want " << x << "," << y;
    }
};

TEST_F(XInput, PointerPositionIsInClientPixels) {
    MoveTo(123, 234);
    MoveTo(700, 50);
}

TEST_F(XInput, ClicksArriveAsHitsWhereThePointerIs) {
    MoveTo(321, 210);
    FlushMouse();
    ASSERT_EQ(Xdotool("click 1"), 0);
    ASSERT_TRUE(FramesUntil([] { return MouseHit(MOUSE_LEFT) == 1; })) << "no left hit";
    EXPECT_EQ(MouseX(), 321);
    EXPECT_EQ(MouseY(), 210);
    EXPECT_FALSE(MouseDown(MOUSE_LEFT));
    ASSERT_EQ(Xdotool("click 3"), 0);
    ASSERT_TRUE(FramesUntil([] { return MouseHit(MOUSE_RIGHT) == 1; })) << "button 3 of X is our right button";
    ASSERT_EQ(Xdotool("mousedown 1"), 0);
    EXPECT_TRUE(FramesUntil([] { return MouseDown(MOUSE_LEFT); }));
    ASSERT_EQ(Xdotool("mouseup 1"), 0);
    EXPECT_TRUE(FramesUntil([] { return !MouseDown(MOUSE_LEFT); }));
}

TEST_F(XInput, KeyPressesArriveAsHitsAndCharacters) {
    MoveTo(400, 300);
    FlushKeys();
    ASSERT_EQ(Xdotool("key a"), 0);
    ASSERT_TRUE(FramesUntil([] { return KeyHit(KEY_A) == 1; })) << "no hit for A";
    EXPECT_TRUE(FramesUntil([] { return GetChar() == 'a'; })) << "typed text";
    ASSERT_EQ(Xdotool("key Escape"), 0);
    EXPECT_TRUE(FramesUntil([] { return KeyHit(KEY_ESCAPE) == 1; }));
    ASSERT_EQ(Xdotool("keydown shift"), 0);
    EXPECT_TRUE(FramesUntil([] { return KeyDown(KEY_LSHIFT); }));
    ASSERT_EQ(Xdotool("keyup shift"), 0);
    EXPECT_TRUE(FramesUntil([] { return !KeyDown(KEY_LSHIFT); }));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Polled input: hit counters, held state, the character queue, flushes,
// suspension, the quit request and the key-code table.
#include <SDL.h>

#include "gfx_fixture.h"

namespace {
using namespace plat;
namespace pt = plat::testing;
using gfxtest::Headless;
namespace d = plat::detail;

using Input = Headless;

TEST_F(Input, KeyHitCountsPressesSinceTheLastReadAndIgnoresRepeats) {
    struct Case {
        const char* name;
        std::vector<std::pair<bool, bool>> events;  // (down, repeat)
        int hits;
        bool down;
    };
    const std::vector<Case> cases = {
        {"one press", {{true, false}}, 1, true},
        {"press and release", {{true, false}, {false, false}}, 1, false},
        {"three presses", {{true, false}, {false, false}, {true, false}, {false, false}, {true, false}}, 3, true},
        {"held with repeats", {{true, false}, {true, true}, {true, true}, {true, true}}, 1, true},
        {"release only", {{false, false}}, 0, false},
    };
    for (const Case& c : cases) {
        pt::Reset();
        for (auto [down, repeat] : c.events) d::InputKey(KEY_A, down, repeat);
        EXPECT_EQ(KeyDown(KEY_A), c.down) << c.name;
        EXPECT_EQ(KeyHit(KEY_A), c.hits) << c.name;
        EXPECT_EQ(KeyHit(KEY_A), 0) << c.name << ": a read empties the counter";
        EXPECT_EQ(KeyHit(66), 0) << c.name;
    }
}

TEST_F(Input, KeysOutsideTheTableAreIgnored) {
    for (int key : {-1, 0, 256, 1000}) {
        pt::PressKey(key);
        EXPECT_EQ(KeyHit(key), 0) << key;
        EXPECT_FALSE(KeyDown(key)) << key;
    }
}

TEST_F(Input, ScriptedTapCountsAHitWithoutHoldingTheKey) {
    pt::TapKey(KEY_SPACE);
    pt::TapKey(KEY_SPACE);
    EXPECT_FALSE(KeyDown(KEY_SPACE));
    EXPECT_EQ(KeyHit(KEY_SPACE), 2);
}

TEST_F(Input, GetCharQueuesAtMost256AndDropsLaterOnes) {
    for (int i = 0; i < 300; ++i) pt::TypeChar(32 + i % 200);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(GetChar(), 32 + i % 200) << i;
    EXPECT_EQ(GetChar(), 0);
    pt::TypeChar('x');
    EXPECT_EQ(GetChar(), 'x') << "room again once read";
}

TEST_F(Input, EditingKeysArriveAsCharactersRepeatsIncluded) {
    d::InputKey(KEY_BACKSPACE, true, false);
    d::InputKey(KEY_BACKSPACE, true, true);
    d::InputKey(KEY_ENTER, true, false);
    d::InputKey(KEY_ESCAPE, true, false);
    d::InputKey(KEY_A, true, false);  // letters come as typed text instead
    EXPECT_EQ(GetChar(), 8);
    EXPECT_EQ(GetChar(), 8);
    EXPECT_EQ(GetChar(), 13);
    EXPECT_EQ(GetChar(), 27);
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(KeyHit(KEY_BACKSPACE), 1);
}

TEST_F(Input, FlushKeysForgetsHitsHeldKeysAndCharacters) {
    pt::PressKey(KEY_LEFT);
    pt::TypeChar('a');
    FlushKeys();
    EXPECT_EQ(KeyHit(KEY_LEFT), 0);
    EXPECT_FALSE(KeyDown(KEY_LEFT));
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(Input, MouseButtonsOneLeftTwoRightThreeMiddle) {
    d::InputMouseButton(0, true);
    d::InputMouseButton(4, true);
    pt::PressMouse(MOUSE_RIGHT);
    pt::ClickMouse(MOUSE_MIDDLE);
    pt::ClickMouse(MOUSE_MIDDLE);
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 0);
    EXPECT_EQ(MouseHit(MOUSE_RIGHT), 1);
    EXPECT_TRUE(MouseDown(MOUSE_RIGHT));
    EXPECT_EQ(MouseHit(MOUSE_MIDDLE), 2);
    EXPECT_FALSE(MouseDown(MOUSE_MIDDLE));
    EXPECT_EQ(MouseHit(0), 0);
    EXPECT_EQ(MouseHit(4), 0);
    EXPECT_FALSE(MouseDown(4));
    pt::ReleaseMouse(MOUSE_RIGHT);
    EXPECT_FALSE(MouseDown(MOUSE_RIGHT));
    EXPECT_EQ(MouseHit(MOUSE_RIGHT), 0);
}

TEST_F(Input, FlushMouseLeavesButtonsUpUntilANewPress) {
    pt::SetMouse(120, 45);
    pt::PressMouse(MOUSE_LEFT);
    FlushMouse();
    EXPECT_FALSE(MouseDown(MOUSE_LEFT));
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 0);
    EXPECT_EQ(MouseX(), 120) << "the pointer stays where it is";
    EXPECT_EQ(MouseY(), 45);
    pt::ReleaseMouse(MOUSE_LEFT);  // the old press ends
    EXPECT_FALSE(MouseDown(MOUSE_LEFT));
    pt::PressMouse(MOUSE_LEFT);
    EXPECT_TRUE(MouseDown(MOUSE_LEFT));
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 1);
}

TEST_F(Input, MoveMouseMovesThePointer) {
    MoveMouse(300, 200);
    EXPECT_EQ(MouseX(), 300);
    EXPECT_EQ(MouseY(), 200);
}

// A focus change forgets what is held (its release goes elsewhere) but never
// a counted press: the system reports the focus a while after the click into
// the window that caused it, and that click must still act.
TEST_F(Input, SuspensionForgetsHeldStatesButNeverACountedPress) {
    EXPECT_FALSE(AppSuspended());
    pt::PressKey(KEY_A);
    pt::PressMouse(MOUSE_LEFT);
    pt::TypeChar('q');
    pt::SetSuspended(true);
    EXPECT_TRUE(AppSuspended());
    EXPECT_FALSE(KeyDown(KEY_A));
    EXPECT_FALSE(MouseDown(MOUSE_LEFT));
    EXPECT_EQ(KeyHit(KEY_A), 1);
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 1);
    EXPECT_EQ(GetChar(), 'q');

    // The click that brings the focus back, its focus noted after it.
    pt::ClickMouse(MOUSE_LEFT);
    pt::PressKey(66);
    pt::SetSuspended(true);  // no transition: nothing cleared
    EXPECT_TRUE(KeyDown(66));
    pt::SetSuspended(false);
    EXPECT_FALSE(AppSuspended());
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 1);
    EXPECT_TRUE(KeyDown(66)) << "pressed here, so its release comes here";
    EXPECT_EQ(KeyHit(66), 1);
}

TEST_F(Input, TerminateIsTrueOnceThenFalse) {
    EXPECT_FALSE(AppTerminate());
    pt::RequestTerminate();
    pt::RequestTerminate();
    Flip(0);  // stays pending across frames until read
    EXPECT_TRUE(AppTerminate());
    EXPECT_FALSE(AppTerminate());
}

TEST_F(Input, SdlKeycodesMapToTheGamesTable) {
    const std::vector<std::pair<int, int>> table = {
        {SDLK_a, 65}, {SDLK_g, 71}, {SDLK_p, 80}, {SDLK_z, 90}, {SDLK_0, 48}, {SDLK_5, 53}, {SDLK_9, 57},
        {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_ESCAPE, 27},
        {SDLK_SPACE, 32}, {SDLK_PAGEUP, 33}, {SDLK_PAGEDOWN, 34}, {SDLK_END, 35}, {SDLK_HOME, 36},
        {SDLK_LEFT, 37}, {SDLK_UP, 38}, {SDLK_RIGHT, 39}, {SDLK_DOWN, 40}, {SDLK_INSERT, 45}, {SDLK_DELETE, 46},
        {SDLK_F1, 112}, {SDLK_F6, 117}, {SDLK_F12, 123}, {SDLK_LSHIFT, 160}, {SDLK_RSHIFT, 161},
        {SDLK_LCTRL, 162}, {SDLK_RCTRL, 163}, {SDLK_LALT, 164}, {SDLK_RALT, 165}, {SDLK_LGUI, 91},
        {SDLK_RGUI, 92},
        // Keys the game has no code for.
        {SDLK_F13, 0}, {SDLK_CAPSLOCK, 0}, {SDLK_KP_5, 0}, {SDLK_MINUS, 0}, {SDLK_UNKNOWN, 0},
    };
    for (auto [sdl, ours] : table) EXPECT_EQ(d::KeyFromSDL(sdl), ours) << SDL_GetKeyName(sdl);
}

TEST_F(Input, TypedTextBecomesLatin1AndOtherCharactersAreDropped) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"abc", "abc"},
        {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9"},       // é
        {"\xC2\xA0\xC3\xBF", "\xA0\xFF"},         // the two ends of the upper half
        {"\xE2\x82\xAC" "5", "5"},                // € has no Latin-1 code
        {"\xF0\x9F\x98\x80!", "!"},               // outside the basic plane
        {"\x80z\xC3", "z"},                       // broken sequences
    };
    for (const auto& [utf8, latin1] : table) EXPECT_EQ(d::Utf8ToLatin1(utf8), latin1) << utf8;
}

}  // namespace

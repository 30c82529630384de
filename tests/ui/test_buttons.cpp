// The button protocol (over/out edges, click rules, the latch) and the looks
// of the strip and image buttons, read back from the draw recorder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "button_fixture.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "ui/button_rect.h"
#include "ui/font.h"
#include "ui/text.h"

namespace pt = plat::testing;

namespace {

struct PollStep {
    Pointer at;
    int result;       // what State returns
    int hover;        // hover afterwards
    const char* log;  // hooks fired, in order
    int frame;        // the strip frame drawn afterwards
};

// A bitmap font of two letters, "a" and "b", each 3 pixels wide and 8 high.
TFontPtr TwoLetterFont() {
    plat::PixmapPtr sheet = plat::CreatePixmap(8, 8, plat::PF_RGBA, 4);
    for (int y = 0; y < 8; ++y)
        for (int x : {0, 1, 2, 4, 5, 6}) plat::WritePixel(sheet, x, y, 0xFFFFFFFFu);
    return CreateFont(sheet, "ab", 8.0f, 0);
}

}  // namespace

// ---- the protocol ----------------------------------------------------------------------

TEST_F(ButtonTest, StripButtonClicksOncePerPressMadeOverIt) {
    Logged<TAnimButton> b;
    b.area = CreateDim(100, 50, 40, 20, 0, 1, 1, 0);
    b.image = TwoFrames(40, 20);
    b.id = 7;
    b.hoverStyle = -1;
    const PollStep steps[] = {
        {{10, 10, false}, 0, 0, "", 0},
        {{120, 60, false}, 0, 1, "over", 1},
        {{120, 60, true}, 7, 1, "click", 1},
        {{121, 61, true}, 0, 1, "", 1},     // held on: taken once
        {{140, 60, true}, 0, 0, "out", 0},  // on the right edge: outside
        {{10, 10, true}, 0, 0, "", 0},
        {{130, 55, true}, 0, 1, "over", 1},  // a press dragged in is no click
        {{130, 55, false}, 0, 1, "", 1},
        {{125, 58, false, true}, 7, 1, "click", 1},  // a tap between two frames
        {{10, 10, false}, 0, 0, "out", 0},
        {{110, 65, false, true}, 7, 1, "over,click", 1},  // a tap as the pointer arrives
        {{100, 60, false}, 0, 0, "out", 0},               // on the left edge
        {{120, 50, false}, 0, 0, "", 0},     // on the top edge
        {{120, 70, false}, 0, 0, "", 0},     // on the bottom edge
    };
    int n = 0;
    for (const PollStep& s : steps) {
        Input(s.at);
        EXPECT_EQ(b.State(), s.result) << "step " << n;
        EXPECT_EQ(b.hover, s.hover) << "step " << n;
        EXPECT_EQ(b.Take(), s.log) << "step " << n;
        Clear();
        b.Draw();
        EXPECT_EQ(OnlyImageCall().frame, s.frame) << "step " << n;
        ++n;
    }
}

// Every family clicks by the one rule, as a player's input comes: a bare tap
// inside one frame acts once, so does a tap made in the frame the pointer
// arrives, and a held press acts in its first frame only.
TEST_F(ButtonTest, EveryFamilyTakesTapsArrivingPressesAndHeldPressesOnce) {
    struct Family {
        const char* name;
        std::shared_ptr<TClickable> button;  // a 40 x 20 button at (100, 50), id 3
    };
    const Family families[] = {
        {"strip", CreateAnimButton(Filled(80, 20, 0xFFFFFFFFu), CreateDim(100, 50, 0, 0, 0, 1, 1, 0), 3, 2, 1, 0, 1, 0)},
        {"text strip", CreateTextAnimButton(Filled(80, 20, 0xFFFFFFFFu), CreateDim(100, 50, 0, 0, 0, 1, 1, 0), 3,
                                            nullptr, 0, 0, 0)},
        {"image", CreateImageButton(Image(40, 20), CreateDim(100, 50, 0, 0, 0, 1, 1, 0), 3, 1, 0)},
        {"text image", CreateTextImageButton(Image(40, 20), CreateDim(100, 50, 0, 0, 0, 1, 1, 0), 3, nullptr, 0, 0, 0)},
        {"rectangle strip", CreateTextAnimButtonE(TwoFrames(40, 20), 100, 50, 3, "", nullptr, 0, 0, 0)},
        {"rectangle selectable", CreateTextImageButtonA(Image(40, 20), 100, 50, 3, "", nullptr, 0, 0, 0, 0)},
    };
    struct Step {
        const char* what;
        Pointer at;
        int result;
    };
    const Step steps[] = {
        {"away", {10, 10, false}, 0},
        {"a tap as the pointer arrives", {120, 60, false, true}, 3},
        {"resting on it", {121, 60, false}, 0},
        {"a bare tap", {121, 61, false, true}, 3},
        {"a press held: its first frame", {121, 61, true}, 3},
        {"held on", {122, 61, true}, 0},
        {"still held", {122, 62, true}, 0},
        {"released", {122, 62, false}, 0},
        {"a tap beside it", {99, 60, false, true}, 0},
    };
    for (const Family& f : families) {
        for (const Step& s : steps) {
            Input(s.at);
            EXPECT_EQ(f.button->State(), s.result) << f.name << ": " << s.what;
        }
        Input({10, 10, false});
    }
}

// A modified left press is the sample's right press, for strip buttons as
// for image buttons: it never clicks, and the next plain press does.
TEST_F(ButtonTest, StripButtonTakesAControlClickAsTheRightPressItIs) {
    auto b = CreateAnimButton(Filled(80, 20, 0xFFFFFFFFu), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 4, 2, 1, 0, 1, -1);
    pt::PressKey(plat::KEY_LCONTROL);
    Input({20, 10, true});
    EXPECT_EQ(mouse->leftDown, 0);  // the frame's sample calls it a right press
    EXPECT_EQ(mouse->rightDown, 1);
    EXPECT_EQ(b->State(), 0);
    pt::ReleaseKey(plat::KEY_LCONTROL);
    Input({20, 10, false});
    EXPECT_EQ(b->State(), 0);
    Input({20, 10, false, true});
    EXPECT_EQ(b->State(), 4);
}

TEST_F(ButtonTest, ImageButtonClicksOncePerPressTakenFromTheFrameSample) {
    Logged<TImageButton> b;
    b.area = CreateDim(0, 0, 50, 50, 0, 1, 1, 0);
    b.image = Image(50, 50);
    b.id = 3;
    const PollStep steps[] = {
        {{25, 25, true}, 3, 1, "over,click", 0},  // entering and pressing in one frame
        {{26, 25, true}, 0, 1, "", 0},            // holding does not repeat
        {{26, 25, false}, 0, 1, "", 0},
        {{26, 25, true}, 3, 1, "click", 0},
        {{100, 100, false}, 0, 0, "out", 0},
        {{100, 100, true}, 0, 0, "", 0},
        {{25, 25, true}, 0, 1, "over", 0},  // a press dragged in is no click
    };
    int n = 0;
    for (const PollStep& s : steps) {
        Input(s.at);
        EXPECT_EQ(b.State(), s.result) << "step " << n;
        EXPECT_EQ(b.hover, s.hover) << "step " << n;
        EXPECT_EQ(b.Take(), s.log) << "step " << n;
        ++n;
    }
}

TEST_F(ButtonTest, ImageButtonIgnoresPressesTheMouseSampleFoldsIntoTheRightButton) {
    struct Case {
        const char* name;
        int key;
        bool tap;
    };
    const Case cases[] = {
        {"left Control held", plat::KEY_LCONTROL, false},
        {"left Shift held", plat::KEY_LSHIFT, false},
        {"left Option held", plat::KEY_LALT, false},
        {"Space hit", plat::KEY_SPACE, true},
    };
    for (const Case& c : cases) {
        auto b = CreateImageButton(Image(50, 50), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 9, 1, 0);
        if (c.tap) pt::TapKey(c.key);
        else pt::PressKey(c.key);
        Input({25, 25, true});
        EXPECT_EQ(b->State(), 0) << c.name;
        EXPECT_EQ(b->isClicked(), 0) << c.name;
        if (!c.tap) pt::ReleaseKey(c.key);
        Input({200, 200, false});
    }
    // A press the frame's mouse sample has not taken yet is no press.
    auto b = CreateImageButton(Image(50, 50), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 9, 1, 0);
    pt::PressMouse(plat::MOUSE_LEFT);
    pt::SetMouse(25, 25);
    EXPECT_EQ(b->State(), 0);
    EXPECT_EQ(b->hover, 1);
}

TEST_F(ButtonTest, TheLatchHoldsOneClickUntilReadAndIsDroppedWhenThePointerLeaves) {
    auto b = CreateImageButton(Image(50, 50), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 0, 1, 0);
    // Id 0: State's result is the no-click result, the latch still reports.
    Input({25, 25, true});
    EXPECT_EQ(b->State(), 0);
    EXPECT_EQ(b->isClicked(), 1);
    EXPECT_EQ(b->isClicked(), 0);

    // Two clicks before a read leave one.
    Input({25, 25, false});
    Input({25, 25, true});
    b->State();
    Input({25, 25, false});
    Input({25, 25, true});
    b->State();
    EXPECT_EQ(b->isClicked(), 1);
    EXPECT_EQ(b->isClicked(), 0);

    // A click nobody read is gone once the pointer leaves.
    Input({25, 25, false});
    Input({25, 25, true});
    b->State();
    Input({90, 90, false});
    b->State();
    EXPECT_EQ(b->isClicked(), 0);
}

TEST_F(ButtonTest, AnOffOrHiddenButtonKeepsItsHoverAndLatch) {
    auto b = CreateAnimButton(Filled(80, 20, 0xFFFFFFFFu), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 5, 2, 1, 0, 1, 0);
    Input({20, 10, true});
    ASSERT_EQ(b->State(), 5);
    for (const auto& [active, visible] : {std::pair{0, 1}, std::pair{1, 0}}) {
        b->setState(active, visible);
        Input({300, 300, false});
        EXPECT_EQ(b->State(), 0);
        EXPECT_EQ(b->hover, 1);
        EXPECT_EQ(b->clicked, 1);
    }
    // Switched off while hovered, it keeps its hovered (glowing) look.
    b->setState(0, 1);
    Clear();
    b->Draw();
    const Call c = OnlyImageCall();
    EXPECT_EQ(c.frame, 1);
    EXPECT_EQ(c.g, 255);
    EXPECT_EQ(c.r, 100);
    // Hidden, it draws nothing.
    b->setState(1, 0);
    Clear();
    b->Draw();
    EXPECT_TRUE(Calls(Call::IMAGE).empty());
    // Back on, the next poll sees the pointer gone.
    b->setState(1, 1);
    EXPECT_EQ(b->State(), 0);
    EXPECT_EQ(b->hover, 0);
    EXPECT_EQ(b->clicked, 0);
}

// ---- strip buttons ----------------------------------------------------------------------

TEST_F(ButtonTest, StripButtonCutsEqualFramesAndSizesTheSharedArea) {
    const TDimPtr area = CreateDim(10, 20, 0, 0, 0, 1, 1, 0);
    auto b = CreateAnimButton(Filled(301, 24, 0xFFFFFFFFu), area, 1, 2, 1, 0, 1, -1);
    EXPECT_EQ(b->area, area);  // shared, not copied
    EXPECT_FLOAT_EQ(area->width, 150);
    EXPECT_FLOAT_EQ(area->height, 24);
    EXPECT_EQ(plat::ImageWidth(b->image), 150);
    EXPECT_EQ(plat::ImageFrames(b->image), 2);

    auto three = CreateAnimButton(Filled(90, 10, 0xFFFFFFFFu), CreateDim(0, 0, 0, 0, 0, 1, 1, 0), 1, 3, 2, 1, 1, -1);
    EXPECT_EQ(plat::ImageFrames(three->image), 3);
    EXPECT_FLOAT_EQ(three->area->width, 30);

    // Moving the rectangle moves the button.
    area->x = 500;
    Input({510, 30, false});
    EXPECT_EQ(b->State(), 0);
    EXPECT_EQ(b->hover, 1);
}

TEST_F(ButtonTest, StripButtonWithoutAPictureOrFramesNeitherDrawsNorReacts) {
    struct Case {
        const char* name;
        TPictureSource source;
        int frames;
        const char* message;
    };
    const Case cases[] = {
        {"missing file", std::string("gfx/none.png"), 2, "Nie mozna zaladowac obrazka: gfx/none.png"},
        {"no source", std::monostate{}, 2, "Probojesz zaladowac niewlasciwy typ obiektu jako TPixmap"},
        {"zero frames", Filled(80, 20, 0xFFFFFFFFu), 0, "A strip button needs at least one frame (asked for 0)"},
        {"negative frames", Filled(80, 20, 0xFFFFFFFFu), -2, "A strip button needs at least one frame (asked for -2)"},
        {"narrower than its frames", Filled(3, 20, 0xFFFFFFFFu), 4, nullptr},
    };
    for (const Case& c : cases) {
        pt::ClearNotifications();
        const TDimPtr area = CreateDim(0, 0, 0, 0, 0, 1, 1, 0);
        auto b = CreateAnimButton(c.source, area, 1, c.frames, 1, 0, 1, 1);
        if (c.message) {
            ASSERT_EQ(pt::Notifications().size(), 1u) << c.name;
            EXPECT_EQ(pt::Notifications()[0], c.message) << c.name;
        }
        EXPECT_FLOAT_EQ(area->width, 0) << c.name;
        Input({0, 0, true});
        EXPECT_EQ(b->State(), 0) << c.name;
        b->hover = 1;
        Clear();
        b->Draw();
        EXPECT_TRUE(pt::DrawCalls().empty()) << c.name;
        Input({0, 0, false});
    }
}

TEST_F(ButtonTest, StripButtonLooksByHoverStyle) {
    struct Case {
        int style;
        int r, g, b;
        float scale;
        float left, top;  // of the drawn frame
    };
    // A 40 x 20 frame at (100, 50); enlarged by 1.15 about its centre.
    const Case cases[] = {
        {0, 100, 255, 200, 1, 100, 50},
        {1, 255, 255, 255, 1.15f, 97, 48.5f},
        {2, 200, 200, 200, 1, 100, 50},
        {-1, 255, 255, 255, 1, 100, 50},
        {7, 255, 255, 255, 1, 100, 50},
    };
    for (const Case& c : cases) {
        const TDimPtr area = CreateDim(100, 50, 0, 0, 0, 1, 1, 0);
        auto b = CreateAnimButton(Filled(80, 20, 0xFFFFFFFFu), area, 1, 2, 1, 0, 0.3f, c.style);
        Input({120, 60, false});
        b->State();
        plat::SetColor(10, 20, 30);
        plat::SetAlpha(0.5f);
        Clear();
        b->Draw();
        const Call call = OnlyImageCall();
        EXPECT_EQ(call.frame, 1) << "style " << c.style;
        if (c.style == 0 || c.style == 2) {
            EXPECT_EQ(call.r, c.r) << "style " << c.style;
            EXPECT_EQ(call.g, c.g) << "style " << c.style;
            EXPECT_EQ(call.b, c.b) << "style " << c.style;
        } else {
            EXPECT_EQ(call.r, 10) << "style " << c.style;  // the colour in force
        }
        EXPECT_FLOAT_EQ(call.sx, c.scale) << "style " << c.style;
        EXPECT_FLOAT_EQ(call.sy, c.scale) << "style " << c.style;
        EXPECT_NEAR(call.x, c.left, 1e-4) << "style " << c.style;
        EXPECT_NEAR(call.y, c.top, 1e-4) << "style " << c.style;
        // Its own alpha is never applied: the alpha in force stays.
        EXPECT_FLOAT_EQ(call.alpha, 0.5f) << "style " << c.style;
        float sx = 0, sy = 0;
        plat::GetScale(sx, sy);
        EXPECT_EQ(sx, 1.0f);
        EXPECT_EQ(sy, 1.0f);
        EXPECT_EQ(area->scaleX, 1.0f);
        EXPECT_EQ(area->scaleY, 1.0f);
        plat::SetColor(255, 255, 255);
    }
    // Centred on its position with anchor mode 1, enlarged or not.
    const TDimPtr area = CreateDim(400, 300, 0, 0, 0, 1, 1, 0);
    auto b = CreateAnimButton(Filled(80, 20, 0xFFFFFFFFu), area, 1, 2, 1, 0, 1, 1);
    area->anchorMode = 1;
    Input({400, 300, false});
    b->State();
    Clear();
    b->Draw();
    EXPECT_NEAR(OnlyImageCall().x, 400 - 40 * 1.15f / 2, 1e-4);
    EXPECT_NEAR(OnlyImageCall().y, 300 - 20 * 1.15f / 2, 1e-4);
}

TEST_F(ButtonTest, TextStripButtonPlacesItsCaptionOnceAndDrawsItOverTheFrame) {
    const TFontPtr font = TwoLetterFont();
    const TTextPtr text = CreateText("ab", CreateDim(0, 0, 0, 0, 0, 1, 1, 0), TObjectRef{TObjectPtr(font)}, 1, 1, 0, 0);
    const TDimPtr area = CreateDim(100, 50, 0, 0, 0, 1, 1, 0);
    auto b = CreateTextAnimButton(Filled(120, 20, 0xFFFFFFFFu), area, 2, text, 1, 2, -3);
    EXPECT_EQ(b->frames, 2);
    EXPECT_FLOAT_EQ(area->width, 60);
    // Centred on the button, with the offsets: the text's box is 6 x 8.
    EXPECT_FLOAT_EQ(text->dim->x, 130);
    EXPECT_FLOAT_EQ(text->dim->y, 60);
    EXPECT_FLOAT_EQ(text->dim->width, 6);
    EXPECT_FLOAT_EQ(text->dim->height, 8);
    EXPECT_FLOAT_EQ(text->dim->Left(), 129);
    EXPECT_FLOAT_EQ(text->dim->Top(), 53);

    b->alpha = 0.75f;
    Clear();
    b->Draw();  // not hovered: frame 0, then the caption at the button's alpha
    auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].image, b->image.get());
    EXPECT_EQ(calls[0].frame, 0);
    EXPECT_FLOAT_EQ(calls[1].x, 129);
    EXPECT_FLOAT_EQ(calls[1].alpha, 0.75f);

    // Enlarged: the frame and the caption at 1.15, both scales back to 1.
    Input({130, 60, false});
    b->State();
    Clear();
    b->Draw();
    calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].frame, 1);
    EXPECT_FLOAT_EQ(calls[0].sx, 1.15f);
    EXPECT_FLOAT_EQ(calls[1].sx, 1.15f);
    EXPECT_EQ(text->dim->scaleX, 1.0f);
    EXPECT_EQ(area->scaleX, 1.0f);

    // Moving the button later leaves the caption where it was placed.
    area->x = 300;
    EXPECT_FLOAT_EQ(text->dim->x, 130);
}

// ---- image buttons ----------------------------------------------------------------------

TEST_F(ButtonTest, ImageButtonLooksByHoverStyleAndItsOwnAlpha) {
    struct Case {
        int style;
        float alpha;  // the button's own; -1 keeps the page's
        int draws;
        int r, g;
        float scale;
        float drawnAlpha, alphaAfter;
    };
    // The page alpha in force is 0.4.
    const Case cases[] = {
        {0, -1, 1, 100, 255, 1, 0.4f, 0.4f},
        {1, -1, 1, 255, 255, 1.14f, 0.4f, 0.4f},
        {2, 0.5f, 1, 200, 200, 1, 0.5f, 1.0f},
        {5, 0.5f, 0, 0, 0, 0, 0, 1.0f},  // an unknown style shows nothing while hovered
    };
    for (const Case& c : cases) {
        const TDimPtr area = CreateDim(100, 50, 0, 0, 0, 1, 1, 0);
        auto b = CreateImageButton(Image(40, 20), area, 1, c.alpha, c.style);
        EXPECT_FLOAT_EQ(area->width, 40);
        Input({120, 60, false});
        b->State();
        plat::SetAlpha(0.4f);
        Clear();
        b->Draw();
        const auto calls = Calls(Call::IMAGE);
        ASSERT_EQ(static_cast<int>(calls.size()), c.draws) << "style " << c.style;
        if (c.draws == 1) {
            EXPECT_EQ(calls[0].r, c.r) << "style " << c.style;
            EXPECT_EQ(calls[0].g, c.g) << "style " << c.style;
            EXPECT_FLOAT_EQ(calls[0].sx, c.scale) << "style " << c.style;
            EXPECT_FLOAT_EQ(calls[0].alpha, c.drawnAlpha) << "style " << c.style;
        }
        EXPECT_FLOAT_EQ(plat::GetAlpha(), c.alphaAfter) << "style " << c.style;
        int r = 0, g = 0, bl = 0;
        plat::GetColor(r, g, bl);
        EXPECT_EQ(r + g + bl, 3 * 255);
        EXPECT_EQ(area->scaleX, 1.0f);
        EXPECT_FLOAT_EQ(b->zoom, 1.0f);  // not animated: the zoom stays at rest
    }
}

TEST_F(ButtonTest, AnimatedImageButtonZoomsAStepAFrameWithAFadingReflection) {
    // Hovered from rest: +0.025 a frame up to 1.14; out: drawn at the current
    // zoom, then -0.02, never below 1. The reflection's alpha follows the zoom
    // before the frame's step.
    struct Frame {
        bool over;
        float zoom;  // the scale the picture is drawn at
    };
    const std::vector<Frame> sequences[] = {
        {{true, 1.025f}, {true, 1.05f}, {true, 1.075f}, {true, 1.1f}, {true, 1.125f}, {true, 1.14f}, {true, 1.14f},
         {false, 1.14f}, {false, 1.12f}, {false, 1.10f}, {false, 1.08f}, {false, 1.06f}, {false, 1.04f},
         {false, 1.02f}, {false, 1.0f}, {false, 1.0f}},
        // Leaving and re-entering mid-way goes on from the current zoom.
        {{true, 1.025f}, {true, 1.05f}, {true, 1.075f}, {false, 1.075f}, {false, 1.055f}, {true, 1.06f},
         {true, 1.085f}},
    };
    for (const auto& seq : sequences) {
        const TDimPtr area = CreateDim(400, 300, 0, 0, 0, 1, 1, 0);
        auto b = CreateImageButton(Image(100, 40), area, 1, -1, 1);
        const plat::ImagePtr mirror = Image(100, 20);
        b->setView(1, 1, mirror);
        float before = 1.0f;
        int n = 0;
        for (const Frame& f : seq) {
            Input(f.over ? Pointer{400, 300, false} : Pointer{10, 10, false});
            b->State();
            plat::SetAlpha(0.6f);  // a page fading in
            Clear();
            b->Draw();
            const auto pictures = CallsOf(b->image);
            ASSERT_EQ(pictures.size(), 1u) << "frame " << n;
            EXPECT_NEAR(pictures[0].sx, f.zoom, 1e-5) << "frame " << n;
            EXPECT_NEAR(pictures[0].sy, f.zoom, 1e-5) << "frame " << n;
            // Centred on the area's position whatever the zoom.
            EXPECT_NEAR(pictures[0].x, 400 - 50 * f.zoom, 1e-3) << "frame " << n;
            EXPECT_NEAR(pictures[0].y, 300 - 20 * f.zoom, 1e-3) << "frame " << n;
            EXPECT_FLOAT_EQ(pictures[0].alpha, 0.6f) << "frame " << n;
            const auto mirrors = CallsOf(mirror);
            if (f.over) {
                ASSERT_EQ(mirrors.size(), 1u) << "frame " << n;
                EXPECT_NEAR(mirrors[0].alpha, 0.25f * (before - 1) / 0.14f, 1e-5) << "frame " << n;
                EXPECT_FLOAT_EQ(mirrors[0].sx, 1.0f);
                EXPECT_FLOAT_EQ(mirrors[0].sy, 0.7f);
                EXPECT_FLOAT_EQ(mirrors[0].x, 400);  // the stored position, not Left
                EXPECT_FLOAT_EQ(mirrors[0].y, 300);
            } else {
                EXPECT_TRUE(mirrors.empty()) << "frame " << n;
            }
            EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.6f) << "frame " << n;
            float sx = 0, sy = 0;
            plat::GetScale(sx, sy);
            EXPECT_EQ(sx, 1.0f);
            EXPECT_EQ(area->scaleX, 1.0f);
            EXPECT_GE(b->zoom, 1.0f);
            before = f.over ? f.zoom : std::max(1.0f, f.zoom - 0.02f);
            ++n;
        }
    }
    // At full zoom the reflection reaches 0.25, then with the page fading it
    // stays at its own alpha.
    const TDimPtr area = CreateDim(0, 0, 0, 0, 0, 1, 1, 0);
    auto b = CreateImageButton(Image(10, 10), area, 1, -1, 1);
    const plat::ImagePtr mirror = Image(10, 5);
    b->setView(0, 1, mirror);
    b->zoom = 1.14f;
    Input({5, 5, false});
    b->State();
    plat::SetAlpha(0.1f);
    Clear();
    b->Draw();
    EXPECT_NEAR(CallsOf(mirror).at(0).alpha, 0.25f, 1e-6);
}

TEST_F(ButtonTest, ImageButtonHitTestIgnoresTheEnlargedRing) {
    const TDimPtr area = CreateDim(100, 100, 0, 0, 0, 1, 1, 0);
    auto b = CreateImageButton(Image(100, 100), area, 6, -1, 1);
    b->setView(0, 0, nullptr);
    Input({150, 150, true});
    EXPECT_EQ(b->State(), 6);
    b->Draw();  // enlarged to 1.14: drawn from 93 to 207
    Input({95, 150, false});
    Input({95, 150, true});
    EXPECT_EQ(b->State(), 0);
    EXPECT_EQ(b->hover, 0);
    // A reflection without animated zoom is drawn fully transparent.
    const plat::ImagePtr mirror = Image(100, 10);
    b->setView(0, 0, mirror);
    Input({150, 150, false});
    b->State();
    Clear();
    b->Draw();
    EXPECT_FLOAT_EQ(CallsOf(mirror).at(0).alpha, 0.0f);
    b->setView(0, 0, nullptr);
    EXPECT_EQ(b->reflection, nullptr);
}

TEST_F(ButtonTest, ImageButtonThatFailedToLoadNeverDrawsOrReacts) {
    pt::ClearNotifications();
    const TDimPtr area = CreateDim(0, 0, 0, 0, 0, 1, 1, 0);
    auto b = CreateImageButton(std::string("gfx/none.png"), area, 1, 1, 1);
    ASSERT_EQ(pt::Notifications().size(), 1u);
    EXPECT_FLOAT_EQ(area->width, 0);
    b->setView(1, 1, Image(4, 4));
    Input({0, 0, true});
    EXPECT_EQ(b->State(), 0);
    b->hover = 1;
    Clear();
    b->Draw();
    EXPECT_EQ(Calls(Call::IMAGE).size(), 1u);  // the reflection only
    // A button whose area went missing does nothing either.
    b->area = nullptr;
    EXPECT_EQ(b->State(), 0);
    b->Draw();
    b->setView(1, 1, nullptr);
}

TEST_F(ButtonTest, TextImageButtonEnlargesToOneFifteenWithItsCaptionAndNeverZoomsOut) {
    const TFontPtr font = TwoLetterFont();
    const TTextPtr text = CreateText("ab", CreateDim(0, 0, 0, 0, 0, 1, 1, 0), TObjectRef{TObjectPtr(font)}, 1, 1, 0, 0);
    const TDimPtr area = CreateDim(100, 50, 0, 0, 0, 1, 1, 0);
    auto b = CreateTextImageButton(Image(60, 20), area, 2, text, 1, 2, -3);
    EXPECT_FLOAT_EQ(b->alpha, 1.0f);
    EXPECT_FLOAT_EQ(text->dim->Left(), 129);
    EXPECT_FLOAT_EQ(text->dim->Top(), 53);
    b->setView(0, 1, Image(60, 10));
    b->zoom = 1.1f;

    Clear();
    b->Draw();  // out of hover: no zoom, the caption after the picture
    auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].image, b->image.get());
    EXPECT_FLOAT_EQ(calls[0].sx, 1.0f);
    EXPECT_FLOAT_EQ(calls[1].x, 129);
    EXPECT_FLOAT_EQ(b->zoom, 1.1f);

    Input({130, 60, false});
    b->State();
    Clear();
    b->Draw();  // no reflection, no zoom step
    calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].image, b->image.get());
    EXPECT_FLOAT_EQ(calls[0].sx, 1.15f);
    EXPECT_NEAR(calls[0].x, 100 - 60 * 0.15f / 2, 1e-4);
    EXPECT_FLOAT_EQ(calls[1].sx, 1.15f);
    EXPECT_FLOAT_EQ(b->zoom, 1.1f);
    EXPECT_EQ(text->dim->scaleX, 1.0f);
    EXPECT_EQ(area->scaleX, 1.0f);

    // Glowed: the tint covers the picture and the bitmap-font letters (which
    // take the colour in force), and the colour ends white.
    b->hoverStyle = 0;
    Clear();
    b->Draw();
    calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].r, 100);
    int r = 0, g = 0, bl = 0;
    plat::GetColor(r, g, bl);
    EXPECT_EQ(r, 255);

    // Changing the anchor later moves the picture, not the caption.
    b->setView(1, 0, nullptr);
    EXPECT_FLOAT_EQ(text->dim->x, 130);
}

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/mouse.h"
#include "core_fixture.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/testing.h"

namespace pt = plat::testing;

namespace {
struct Sample { int leftHit, rightHit, leftDown, rightDown; };
struct Step { std::function<void()> input; Sample want; };
struct FoldCase { const char* name; std::vector<Step> steps; };

void Nothing() {}
}  // namespace

class MouseTest : public CoreTest {};

TEST_F(MouseTest, FetchStateFoldsSpaceAndModifiedLeftClicksIntoTheRightButton) {
    const FoldCase cases[] = {
        {"plain left click", {{[] { pt::ClickMouse(1); }, {1, 0, 0, 0}}, {Nothing, {0, 0, 0, 0}}}},
        {"two left presses between samples", {{[] { pt::ClickMouse(1); pt::ClickMouse(1); }, {2, 0, 0, 0}}}},
        {"right press and hold", {{[] { pt::PressMouse(2); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 0, 1}}}},
        // A modified tap leaves nothing held by the next sample: only its
        // right press tells a reader of presses that it came.
        {"left click with left Control is one right press",
         {{[] { pt::PressKey(plat::KEY_LCONTROL); pt::ClickMouse(1); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 0, 0}}}},
        {"two modified presses between samples", {{[] { pt::PressKey(plat::KEY_LSHIFT); pt::ClickMouse(1); pt::ClickMouse(1); }, {0, 2, 0, 1}}}},
        {"left hold with left Control stays folded, pressed once",
         {{[] { pt::PressKey(plat::KEY_LCONTROL); pt::PressMouse(1); }, {0, 1, 0, 1}},
          {Nothing, {0, 0, 0, 1}},
          {[] { pt::ReleaseKey(plat::KEY_LCONTROL); }, {0, 0, 1, 0}}}},
        {"left hold with left Shift",
         {{[] { pt::PressKey(plat::KEY_LSHIFT); pt::PressMouse(1); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 0, 1}}}},
        {"left hold with left Option",
         {{[] { pt::PressKey(plat::KEY_LALT); pt::PressMouse(1); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 0, 1}}}},
        {"Control pressed while the left button is already held is no new press",
         {{[] { pt::PressMouse(1); }, {1, 0, 1, 0}}, {[] { pt::PressKey(plat::KEY_LCONTROL); }, {0, 0, 0, 1}}}},
        {"right-hand modifiers do not fold",
         {{[] { pt::PressKey(plat::KEY_RCONTROL); pt::PressKey(plat::KEY_RSHIFT); pt::PressMouse(1); }, {1, 0, 1, 0}}}},
        {"modifiers alone change nothing",
         {{[] { pt::PressKey(plat::KEY_LCONTROL); pt::PressKey(plat::KEY_LSHIFT); pt::PressKey(plat::KEY_LALT); },
           {0, 0, 0, 0}}}},
        {"a Space hit counts once",
         {{[] { pt::TapKey(plat::KEY_SPACE); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 0, 0}}}},
        {"Space held still counts only its press",
         {{[] { pt::PressKey(plat::KEY_SPACE); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 0, 0}}}},
        {"Space while the left button is held",
         {{[] { pt::PressMouse(1); pt::TapKey(plat::KEY_SPACE); }, {0, 1, 0, 1}}, {Nothing, {0, 0, 1, 0}}}},
        {"Space with a right press keeps both presses",
         {{[] { pt::ClickMouse(2); pt::TapKey(plat::KEY_SPACE); }, {0, 2, 0, 1}}}},
    };
    for (const FoldCase& c : cases) {
        pt::Reset();
        mouse = std::make_shared<TMouse>();
        int n = 0;
        for (const Step& s : c.steps) {
            s.input();
            mouse->fetchState();
            const Sample got{mouse->leftHit, mouse->rightHit, mouse->leftDown, mouse->rightDown};
            EXPECT_EQ(got.leftHit, s.want.leftHit) << c.name << ", sample " << n;
            EXPECT_EQ(got.rightHit, s.want.rightHit) << c.name << ", sample " << n;
            EXPECT_EQ(got.leftDown, s.want.leftDown) << c.name << ", sample " << n;
            EXPECT_EQ(got.rightDown, s.want.rightDown) << c.name << ", sample " << n;
            ++n;
        }
    }
}

TEST_F(MouseTest, SamplingTakesThePressesAndClearKeepsTheHeldButtons) {
    pt::SetMouse(123, 456);
    pt::PressMouse(1);
    pt::ClickMouse(2);
    pt::TapKey(plat::KEY_SPACE);
    mouse->fetchState();
    EXPECT_EQ(mouse->x, 123);
    EXPECT_EQ(mouse->y, 456);
    // The frame's readers share the one sample: asking the platform again
    // finds the presses already taken.
    EXPECT_EQ(plat::MouseHit(1), 0);
    EXPECT_EQ(plat::MouseHit(2), 0);
    EXPECT_EQ(plat::KeyHit(plat::KEY_SPACE), 0);

    mouse->fetchState();
    EXPECT_EQ(mouse->leftDown, 1);
    mouse->rightDown = 1;
    mouse->leftHit = 3;
    mouse->rightHit = 4;
    mouse->Clear();
    EXPECT_EQ(mouse->x, 0);
    EXPECT_EQ(mouse->y, 0);
    EXPECT_EQ(mouse->leftHit, 0);
    EXPECT_EQ(mouse->rightHit, 0);
    EXPECT_EQ(mouse->leftDown, 1);
    EXPECT_EQ(mouse->rightDown, 1);
}

// A fade samples the pointer alone: the presses made meanwhile all reach the
// next full sample, none is taken on the way.
TEST_F(MouseTest, APointerSampleLeavesThePressesForTheNextFullOne) {
    pt::SetMouse(10, 20);
    pt::ClickMouse(1);
    pt::PressMouse(2);
    mouse->leftHit = 5;  // an older sample's press is not this frame's
    mouse->fetchPointer();
    EXPECT_EQ(mouse->x, 10);
    EXPECT_EQ(mouse->y, 20);
    EXPECT_EQ(mouse->leftHit, 0);
    EXPECT_EQ(mouse->rightHit, 0);
    EXPECT_EQ(mouse->rightDown, 1);
    pt::ClickMouse(1);
    pt::SetMouse(30, 40);
    mouse->fetchPointer();
    EXPECT_EQ(mouse->x, 30);
    mouse->fetchState();
    EXPECT_EQ(mouse->leftHit, 2);
    EXPECT_EQ(mouse->rightHit, 1);
}

TEST_F(MouseTest, DrawPutsTheCursorHotSpotAtThePointerWithAPlainState) {
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    auto p = plat::CreatePixmap(32, 32, plat::PF_RGBA, 4);
    plat::ClearPixels(p, 0xFFFFFFFFu);
    const std::string path = home_ + "/kursor.png";
    ASSERT_TRUE(plat::SavePixmapPNG(p, path));

    // Without a cursor picture nothing is drawn, and nothing fails.
    mouse->Draw();
    mouse->loadCursor(home_ + "/missing.png", 14, 6);
    EXPECT_FALSE(mouse->cursorImage);
    mouse->Draw();
    for (const auto& c : pt::DrawCalls()) EXPECT_NE(c.kind, pt::DrawCall::IMAGE);

    mouse->loadCursor(path, 14, 6);
    ASSERT_TRUE(mouse->cursorImage);
    pt::SetMouse(400, 300);
    mouse->fetchState();
    plat::SetBlend(plat::LIGHTBLEND);
    plat::SetColor(1, 2, 3);
    plat::SetTransform(45, 2, 2);
    plat::SetAlpha(0.25f);
    pt::ClearDrawCalls();
    mouse->Draw();
    ASSERT_EQ(pt::DrawCalls().size(), 1u);
    const auto& d = pt::DrawCalls()[0];
    EXPECT_EQ(d.kind, pt::DrawCall::IMAGE);
    EXPECT_EQ(d.image, mouse->cursorImage.get());
    EXPECT_FLOAT_EQ(d.x, 400);
    EXPECT_FLOAT_EQ(d.y, 300);
    // The hot spot lands on the pointer: the picture's corner is 14, 6 up-left.
    ASSERT_EQ(d.xy.size(), 8u);
    EXPECT_FLOAT_EQ(d.xy[0], 400 - 14);
    EXPECT_FLOAT_EQ(d.xy[1], 300 - 6);
    EXPECT_EQ(d.blend, plat::ALPHABLEND);
    EXPECT_EQ(d.r + d.g + d.b, 3 * 255);
    EXPECT_FLOAT_EQ(d.alpha, 1.0f);
    EXPECT_FLOAT_EQ(d.sx, 1.0f);
    EXPECT_FLOAT_EQ(d.rotation, 0.0f);
    // The state stays as Draw left it.
    EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);
    EXPECT_FLOAT_EQ(plat::GetRotation(), 0.0f);
}

// A press acts on the page the player saw when making it: the phase of the
// page decides whether a frame takes, keeps or drops the presses since the
// last one, and a press that changed the page drops those that follow it
// for a moment, fade or no fade.
TEST_F(MouseTest, PagePhasesTakeKeepOrDropPresses) {
    // A tap while a page fades in is kept for its first shown frame, once.
    pt::ClickMouse(1);
    mouse->fetchFor(TMouse::Phase::kIn);
    EXPECT_EQ(mouse->leftHit, 0);
    mouse->fetchFor(TMouse::Phase::kShown);
    EXPECT_EQ(mouse->leftHit, 1);
    mouse->fetchFor(TMouse::Phase::kShown);
    EXPECT_EQ(mouse->leftHit, 0);

    // A tap of either button while a page fades out never reaches the next.
    pt::ClickMouse(1);
    pt::ClickMouse(2);
    mouse->fetchFor(TMouse::Phase::kOut);
    mouse->fetchFor(TMouse::Phase::kShown);
    EXPECT_EQ(mouse->leftHit, 0);
    EXPECT_EQ(mouse->rightHit, 0);
}

TEST_F(MouseTest, TheSecondClickOfADoubleClickNeverReachesTheNextPage) {
    pt::SetMouse(400, 300);
    pt::ClickMouse(1);
    mouse->fetchFor(TMouse::Phase::kShown);
    ASSERT_EQ(mouse->leftHit, 1);
    mouse->leavePage();  // that press opened the next page, drawn at once

    // The second click 120 ms later, on the new page, is dropped, whether the
    // new page is shown or still fading in.
    pt::AdvanceTime(120);
    pt::ClickMouse(1);
    mouse->fetchFor(TMouse::Phase::kIn);
    pt::AdvanceTime(kPageLeaveMs);
    mouse->fetchFor(TMouse::Phase::kShown);
    EXPECT_EQ(mouse->leftHit, 0);
    EXPECT_EQ(mouse->x, 400);

    // A deliberate press once the moment has passed acts.
    pt::ClickMouse(1);
    mouse->fetchFor(TMouse::Phase::kShown);
    EXPECT_EQ(mouse->leftHit, 1);
}

// Buttons and menus under the headless backend: the toolkit's world plus the
// frame's mouse sample, a pointer script and a button that logs its hooks.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mouse.h"
#include "platform/testing.h"
#include "ui/button_image.h"
#include "ui/button_strip.h"
#include "ui_fixture.h"

// One frame of pointer input: where it is, whether the left button is held,
// and whether a bare press and release (a tap) fell before the frame's sample.
struct Pointer {
    int x, y;
    bool held;
    bool tap = false;
};

class ButtonTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        mouse = std::make_shared<TMouse>();
    }
    void TearDown() override {
        mouse.reset();
        UiTest::TearDown();
    }

    // Moves the pointer, presses or releases the left button when its state
    // changes, and takes the frame's mouse sample, as a screen's loop does
    // before it polls its widgets.
    void Input(const Pointer& p) {
        plat::testing::SetMouse(p.x, p.y);
        if (p.held && !held_) plat::testing::PressMouse(plat::MOUSE_LEFT);
        if (!p.held && held_) plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        held_ = p.held;
        if (p.tap) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        mouse->fetchState();
    }

    // A two-cell strip image, as a strip button holds it.
    static plat::ImagePtr TwoFrames(int cellWidth, int cellHeight) {
        return plat::LoadAnimImage(Filled(cellWidth * 2, cellHeight, 0xFF808080u), cellWidth, cellHeight, 0, 2, -1);
    }

    // The single image draw since the last Clear (fails when there is not
    // exactly one).
    static Call OnlyImageCall() {
        const auto calls = Calls(Call::IMAGE);
        EXPECT_EQ(calls.size(), 1u);
        return calls.empty() ? Call{} : calls.front();
    }

    // Image draws up to the first text: the button's own pictures, not the
    // glyphs the text is drawn with.
    static std::vector<Call> ImagesBeforeText() {
        std::vector<Call> out;
        for (const auto& c : plat::testing::DrawCalls()) {
            if (c.kind == Call::TEXT) break;
            if (c.kind == Call::IMAGE) out.push_back(c);
        }
        return out;
    }

    bool held_ = false;
};

// Records the order of the hooks a poll fires.
template <class Base>
class Logged : public Base {
public:
    std::vector<std::string> log;
    int OnOver() override {
        log.push_back("over");
        return Base::OnOver();
    }
    int OnOut() override {
        log.push_back("out");
        return Base::OnOut();
    }
    int OnClick() override {
        log.push_back("click");
        return Base::OnClick();
    }
    std::string Take() {
        std::string s;
        for (const auto& e : log) s += (s.empty() ? "" : ",") + e;
        log.clear();
        return s;
    }
};

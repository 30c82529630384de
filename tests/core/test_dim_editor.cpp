#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "core/dim_editor.h"
#include "core_fixture.h"
#include "platform/input.h"
#include "platform/testing.h"

namespace pt = plat::testing;

namespace {
// The toolkit's rectangle begins with these four fields; the rest must stay.
struct Rect {
    float x = 100, y = 50, width = 40, height = 20;
    float border = 3;
    int anchorMode = 1;
};
}  // namespace

class DimEditorTest : public CoreTest {};

TEST_F(DimEditorTest, KeysMoveAndResizeByTheModeOfTheModifiers) {
    struct Case {
        const char* name;
        std::function<void()> modifiers;
        int key;
        int calls;           // editing steps while the key stays down
        float dx, dy, dw, dh;
    };
    const auto none = [] {};
    const auto ctrl = [] { pt::PressKey(plat::KEY_LCONTROL); };
    const auto shift = [] { pt::PressKey(plat::KEY_LSHIFT); };
    const auto both = [] { pt::PressKey(plat::KEY_LCONTROL); pt::PressKey(plat::KEY_LSHIFT); };
    const Case cases[] = {
        {"Right held, 10 steps of 0.1", none, plat::KEY_RIGHT, 10, 1.0f, 0, 0, 0},
        {"Left held", none, plat::KEY_LEFT, 3, -0.3f, 0, 0, 0},
        {"Up with Shift held, 1.0 a step", shift, plat::KEY_UP, 4, 0, -4.0f, 0, 0},
        {"Down with Control: once per press", ctrl, plat::KEY_DOWN, 5, 0, 0.1f, 0, 0},
        {"Up with Control and Shift: 1.0 once", both, plat::KEY_UP, 3, 0, -1.0f, 0, 0},
        {"A shrinks the height by 1", none, 'A', 2, 0, 0, 0, -2.0f},
        {"Q grows the height by 1 even with Control", ctrl, 'Q', 3, 0, 0, 0, 1.0f},
        {"S shrinks the width", shift, 'S', 1, 0, 0, -1.0f, 0},
        {"W grows the width without limit", none, 'W', 30, 0, 0, 30.0f, 0},
        {"A past zero goes negative", none, 'A', 25, 0, 0, 0, -25.0f},
        {"right Control is no modifier", [] { pt::PressKey(plat::KEY_RCONTROL); }, plat::KEY_RIGHT, 2, 0.2f, 0, 0, 0},
    };
    for (const Case& c : cases) {
        pt::Reset();
        Rect r;
        c.modifiers();
        pt::PressKey(c.key);
        for (int i = 0; i < c.calls; ++i) EXPECT_EQ(EditDim(r), 0);
        EXPECT_NEAR(r.x, 100 + c.dx, 1e-4) << c.name;
        EXPECT_NEAR(r.y, 50 + c.dy, 1e-4) << c.name;
        EXPECT_NEAR(r.width, 40 + c.dw, 1e-4) << c.name;
        EXPECT_NEAR(r.height, 20 + c.dh, 1e-4) << c.name;
        EXPECT_EQ(r.border, 3) << c.name;
        EXPECT_EQ(r.anchorMode, 1) << c.name;
    }
}

TEST_F(DimEditorTest, SeveralKeysActInOneStepInThirtyTwoBitSteps) {
    auto r = std::make_shared<Rect>();
    r->x = 0;
    pt::PressKey(plat::KEY_RIGHT);
    pt::PressKey(plat::KEY_DOWN);
    pt::PressKey('W');
    EditDim(r);
    EXPECT_EQ(r->x, 0.1f);  // the float nearest 0.1, exactly
    EXPECT_EQ(r->y, 50.1f);
    EXPECT_EQ(r->width, 41.0f);
    std::shared_ptr<Rect> none;
    EXPECT_EQ(EditDim(none), 0);
}

TEST_F(DimEditorTest, PPrintsTheRectangleOncePerPress) {
    Rect r;
    r.x = 12.5f;
    pt::PressKey(plat::KEY_LCONTROL);
    pt::TapKey(plat::KEY_P);
    ::testing::internal::CaptureStdout();
    EditDim(r);
    EditDim(r);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "X: 12.5000000\nY: 50.0000000\nW: 40.0000000\nH: 20.0000000\n");
}

TEST_F(DimEditorTest, PrintsInPercentHashDot9gWhateverTheLocale) {
    struct Case { float x, y, w, h; };
    const Case cases[] = {
        {12.5f, -0.000123f, 0.1f, 0},
        {1e9f, -3.5e-5f, 123456789.0f, 1e-4f},  // outside the plain range: the exponent form
        {-0.0f, 99999.9f, 7e20f, -1e-30f},
    };
    auto expected = [](const Case& c) {
        std::string out;
        const float v[] = {c.x, c.y, c.w, c.h};
        const char* const names[] = {"X: ", "Y: ", "W: ", "H: "};
        for (int i = 0; i < 4; ++i) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%#.9g", static_cast<double>(v[i]));  // the C locale
            out += std::string(names[i]) + buf + "\n";
        }
        return out;
    };
    // Under a locale with a decimal comma too, where the machine has one.
    for (const char* loc : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        for (const Case& c : cases) {
            const std::string want = expected(c);
            if (!std::setlocale(LC_ALL, loc)) continue;
            pt::Reset();
            Rect r{c.x, c.y, c.w, c.h};
            pt::TapKey(plat::KEY_P);
            ::testing::internal::CaptureStdout();
            EditDim(r);
            const std::string out = ::testing::internal::GetCapturedStdout();
            std::setlocale(LC_ALL, "C");
            EXPECT_EQ(out, want) << loc;
        }
    }
    std::setlocale(LC_ALL, "C");
}

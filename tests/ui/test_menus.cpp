// Menus over the button family: first click wins, one alpha for all, hidden
// and disabled menus, and the background of the advanced menu.
#include <gtest/gtest.h>

#include <vector>

#include "button_fixture.h"
#include "platform/graphics.h"
#include "ui/menu.h"

namespace pt = plat::testing;

class MenuTest : public ButtonTest {
protected:
    // A 40 x 20 strip button with its top-left corner at (x, y).
    static TAnimButtonPtr StripAt(float x, float y, int id) {
        return CreateAnimButton(Filled(80, 20, 0xFFFFFFFFu), CreateDim(x, y, 0, 0, 0, 1, 1, 0), id, 2, 1, 0, 1, -1);
    }
    static TImageButtonPtr ImageAt(float x, float y, int id, float alpha) {
        return CreateImageButton(Image(40, 20), CreateDim(x, y, 0, 0, 0, 1, 1, 0), id, alpha, 0);
    }
};

TEST_F(MenuTest, StateReportsTheFirstClickAndLeavesLaterButtonsUnpolled) {
    TMenu menu;
    auto a = StripAt(0, 0, 1);
    auto b = StripAt(100, 0, 2);
    auto c = StripAt(110, 0, 3);  // overlaps b
    for (const auto& btn : {a, b, c}) menu.AddItem(btn);
    ::testing::internal::CaptureStdout();
    menu.AddItem(nullptr);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("TMenu.AddItem: no button"), std::string::npos)
        << "a refused button is reported";

    Input({120, 10, true});
    EXPECT_EQ(menu.State(), 2);
    EXPECT_EQ(b->hover, 1);
    EXPECT_EQ(c->hover, 0);  // not polled this frame: its OnOver comes late
    Input({120, 10, false});
    EXPECT_EQ(menu.State(), 0);
    EXPECT_EQ(c->hover, 1);
    EXPECT_EQ(menu.items->Count(), 3);

    // The same id twice: GetItem finds the first; either reports the id.
    auto twin = StripAt(300, 0, 1);
    menu.AddItem(twin);
    EXPECT_EQ(menu.GetItem(1), a);
    EXPECT_EQ(menu.GetItem(3), c);
    EXPECT_EQ(menu.GetItem(9), nullptr);
    Input({310, 10, true});
    EXPECT_EQ(menu.State(), 1);
}

// Strip and image buttons in a menu alike: a held press is reported in its
// first frame only, and the tap after it is reported again.
TEST_F(MenuTest, StripAndImageButtonsReportAHeldPressOnce) {
    struct Case {
        const char* name;
        TButtonPtr button;
    };
    const Case cases[] = {
        {"strip", StripAt(0, 0, 2)},
        {"image", ImageAt(0, 0, 2, 1)},
    };
    for (const Case& c : cases) {
        TMenu menu;
        menu.AddItem(c.button);
        const int held[] = {2, 0, 0};  // three frames of one hold
        for (int i = 0; i < 3; ++i) {
            Input({20, 10, true});
            EXPECT_EQ(menu.State(), held[i]) << c.name << ", frame " << i;
        }
        Input({20, 10, false, true});
        EXPECT_EQ(menu.State(), 2) << c.name << ", the tap after the hold";
        Input({200, 200, false});
        menu.State();
    }
}

TEST_F(MenuTest, HiddenAndDisabledMenusPollNothing) {
    struct Case {
        const char* name;
        int enabled, visible;
        size_t draws;
        float alphaAfter;
    };
    const Case cases[] = {
        {"hidden", 1, 0, 0, 0.3f},
        {"disabled", 0, 1, 2, 1.0f},
        {"hidden and disabled", 0, 0, 0, 0.3f},
    };
    for (const Case& c : cases) {
        TMenu menu;
        auto a = StripAt(0, 0, 1);
        auto b = StripAt(100, 0, 2);
        menu.AddItem(a);
        menu.AddItem(b);
        Input({20, 10, false});
        menu.State();
        ASSERT_EQ(a->hover, 1);
        menu.enabled = c.enabled;
        menu.visible = c.visible;
        Input({120, 10, true});
        EXPECT_EQ(menu.State(), 0) << c.name;
        EXPECT_EQ(a->hover, 1) << c.name;  // its hovered look stays
        EXPECT_EQ(b->hover, 0) << c.name;
        plat::SetAlpha(0.3f);
        Clear();
        EXPECT_EQ(menu.Draw(0.8f), 0);
        EXPECT_EQ(Calls(Call::IMAGE).size(), c.draws) << c.name;
        EXPECT_FLOAT_EQ(plat::GetAlpha(), c.alphaAfter) << c.name;
        Input({0, 0, false});
    }
    // An empty menu reports nothing and still ends at alpha 1.
    TMenu empty;
    EXPECT_EQ(empty.State(), 0);
    plat::SetAlpha(0.3f);
    empty.Draw(0.5f);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);
}

TEST_F(MenuTest, DrawSetsTheAlphaOnceSoAButtonWithItsOwnAlphaLeavesOneBehind) {
    TMenu menu;
    auto first = StripAt(0, 0, 1);
    auto own = ImageAt(50, 0, 2, 0.5f);
    auto faded = ImageAt(100, 0, 3, -1);
    auto last = StripAt(150, 0, 4);
    for (const TButtonPtr& b : std::vector<TButtonPtr>{first, own, faded, last}) menu.AddItem(b);
    Clear();
    menu.Draw(0.8f);
    const auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 4u);
    const float want[] = {0.8f, 0.5f, 1.0f, 1.0f};
    for (size_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(calls[i].alpha, want[i]) << "button " << i;
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);
}

TEST_F(MenuTest, AdvancedMenuDrawsItsBackgroundFirstUnderTheAlphaInForce) {
    const plat::ImagePtr bg = Image(200, 100);
    const TDimPtr area = CreateDim(300, 200, 0, 0, 0, 1, 1, 1);
    area->width = 200;
    area->height = 100;
    auto menu = CreateAdvancedMenu(bg, area);
    EXPECT_EQ(menu->area, area);
    EXPECT_EQ(menu->State(), 0);
    menu->AddItem(StripAt(250, 180, 1));
    plat::SetAlpha(0.4f);
    Clear();
    menu->Draw(0.9f);
    auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].image, bg.get());
    EXPECT_FLOAT_EQ(calls[0].x, 200);  // centred on (300, 200)
    EXPECT_FLOAT_EQ(calls[0].y, 150);
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.4f);
    EXPECT_FLOAT_EQ(calls[1].alpha, 0.9f);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);

    menu->visible = 0;
    plat::SetAlpha(0.4f);
    Clear();
    menu->Draw(0.9f);
    EXPECT_TRUE(pt::DrawCalls().empty());
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.4f);

    // A background that did not load is reported and skipped.
    pt::ClearNotifications();
    auto broken = CreateAdvancedMenu(std::string("gfx/none.png"), area);
    EXPECT_EQ(pt::Notifications().size(), 1u);
    broken->AddItem(StripAt(0, 0, 1));
    Clear();
    broken->Draw(1);
    EXPECT_EQ(Calls(Call::IMAGE).size(), 1u);
}

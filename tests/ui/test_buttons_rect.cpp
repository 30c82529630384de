// The rectangle-hit button family: two-frame strip buttons with captions,
// selectable image buttons, and their plain and radio menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_fixture.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "ui/button_rect.h"
#include "ui/menu_rect.h"
#include "support/scratch.h"

namespace pt = plat::testing;

class RectButtonTest : public ButtonTest {
protected:
    // A 40 x 20 two-frame button with its top-left corner at (x, y).
    TTextAnimButtonEPtr StripAt(float x, float y, int id, const std::string& caption = "") {
        return CreateTextAnimButtonE(TwoFrames(40, 20), x, y, id, caption, nullptr, 0, 0, 0);
    }
    static TTextImageButtonAPtr SelectableAt(float x, float y, int id, int hoverStyle = 0) {
        return CreateTextImageButtonA(Image(50, 50), x, y, id, "", nullptr, hoverStyle, 0, 0, 0);
    }
    // Writes a strip picture where a path can reach it.
    static std::string SaveStrip(int width, int height) {
        const std::string path = quill_test::ScratchDir() + "rect_strip.png";
        EXPECT_TRUE(plat::SavePixmapPNG(Filled(width, height, 0xFF4080C0u), path));
        return path;
    }
};

TEST_F(RectButtonTest, StripButtonClicksOncePerPressInsideItsStrictRectangle) {
    auto b = StripAt(100, 50, 7);
    struct Step {
        Pointer at;
        int result, hover, frame;
    };
    const Step steps[] = {
        {{10, 10, false}, 0, 0, 0},
        {{120, 60, false}, 0, 1, 1},
        {{120, 60, true}, 7, 1, 1},
        {{121, 60, true}, 0, 1, 1},  // held on: taken once
        {{140, 60, true}, 0, 0, 0},  // the right edge is outside
        {{120, 50, true}, 0, 0, 0},  // so is the top edge
        {{120, 69, true}, 0, 1, 1},  // dragged in while held: no click
        {{120, 69, false}, 0, 1, 1},
        {{101, 51, false, true}, 7, 1, 1},  // a tap between two frames
        {{10, 10, false}, 0, 0, 0},
        {{139, 69, false, true}, 7, 1, 1},  // a tap as the pointer arrives
        {{140, 60, false, true}, 0, 0, 0},  // a tap on the right edge: outside
        {{120, 50, false, true}, 0, 0, 0},  // and on the top edge
        {{120, 69, false}, 0, 1, 1},
    };
    int n = 0;
    for (const Step& s : steps) {
        Input(s.at);
        EXPECT_EQ(b->State(), s.result) << "step " << n;
        EXPECT_EQ(b->hover, s.hover) << "step " << n;
        Clear();
        b->Draw();
        EXPECT_EQ(OnlyImageCall().frame, s.frame) << "step " << n;
        ++n;
    }
    // Off or hidden: no reaction, hover kept; hidden draws nothing at all.
    for (const auto& [active, visible] : {std::pair{0, 1}, std::pair{1, 0}}) {
        b->active = active;
        b->visible = visible;
        Input({300, 300, true});
        EXPECT_EQ(b->State(), 0);
        EXPECT_EQ(b->hover, 1);
    }
    Clear();
    b->Draw();
    EXPECT_TRUE(pt::DrawCalls().empty());
    // Of width 0 it is never inside.
    auto flat = StripAt(0, 0, 3);
    flat->width = 0;
    Input({0, 10, false, true});
    EXPECT_EQ(flat->State(), 0);
    Input({0, 0, false, true});
    EXPECT_EQ(flat->State(), 0);
}

TEST_F(RectButtonTest, FactoryTakesAPathOrAnImageAndPlacesByAnchor) {
    const std::string path = SaveStrip(201, 30);
    const plat::ImagePtr shared = TwoFrames(40, 20);
    struct Case {
        const char* name;
        TPictureSource source;
        int anchor;
        float x, y, width, height;
        bool hasImage;
        const char* message;
    };
    const Case cases[] = {
        {"odd strip from a path", path, 0, 100, 50, 100, 30, true, nullptr},
        {"centred", path, 1, 50, 35, 100, 30, true, nullptr},
        {"anchor 2 stays at the origin", path, 2, 0, 0, 100, 30, true, nullptr},
        {"an image is shared", shared, 0, 100, 50, 40, 20, true, nullptr},
        {"missing file", std::string("gfx/none.png"), 1, 100, 50, 0, 0, false, "Can't load image: gfx/none.png"},
        {"empty path", std::string(""), 0, 100, 50, 0, 0, false, "Invalid object type"},
        {"nothing", std::monostate{}, 0, 100, 50, 0, 0, false, "Invalid object type"},
        {"a pixmap", Filled(80, 20, 0xFFFFFFFFu), 0, 100, 50, 0, 0, false, "Invalid object type"},
    };
    for (const Case& c : cases) {
        pt::ClearNotifications();
        auto b = CreateTextAnimButtonE(c.source, 100, 50, 4, "ok", nullptr, c.anchor, -3, 5);
        EXPECT_EQ(b->id, 4);
        EXPECT_EQ(b->text, "ok");
        EXPECT_FLOAT_EQ(b->textOffsetX, -3) << c.name;  // x first, as for every caption button
        EXPECT_FLOAT_EQ(b->textOffsetY, 5) << c.name;
        EXPECT_FLOAT_EQ(b->x, c.x) << c.name;
        EXPECT_FLOAT_EQ(b->y, c.y) << c.name;
        EXPECT_FLOAT_EQ(b->width, c.width) << c.name;
        EXPECT_FLOAT_EQ(b->height, c.height) << c.name;
        EXPECT_EQ(b->image != nullptr, c.hasImage) << c.name;
        if (c.message) {
            ASSERT_EQ(pt::Notifications().size(), 1u) << c.name;
            EXPECT_EQ(pt::Notifications()[0], c.message) << c.name;
        } else {
            EXPECT_TRUE(pt::Notifications().empty()) << c.name;
        }
        // Without a picture it is never inside and draws only its caption.
        b->hover = 1;
        Clear();
        b->Draw();
        EXPECT_EQ(ImagesBeforeText().size(), c.hasImage ? 1u : 0u) << c.name;
        EXPECT_EQ(Calls(Call::TEXT).size(), 1u) << c.name;
    }
    auto b = CreateTextAnimButtonE(path, 0, 0, 1, "", nullptr, 0, 0, 0);
    EXPECT_EQ(plat::ImageFrames(b->image), 2);
    auto second = CreateTextAnimButtonE(b->image, 0, 40, 2, "", nullptr, 0, 0, 0);
    EXPECT_EQ(second->image, b->image);
}

TEST_F(RectButtonTest, CaptionIsCentredWithTruncatedHalvesOfTheText) {
    plat::SetImageFont(nullptr);
    for (const std::string caption : {"ok", "a caption far wider than the button"}) {
        auto b = CreateTextAnimButtonE(TwoFrames(41, 21), 100, 50, 1, caption, nullptr, 0, 0, 0);
        b->textOffsetX = 2;
        b->textOffsetY = -1;
        Clear();
        b->Draw();
        const auto texts = Calls(Call::TEXT);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, caption);
        const int w = plat::TextWidth(caption), h = plat::TextHeight(caption);
        ASSERT_GT(w, 0);
        EXPECT_FLOAT_EQ(texts[0].x, 100 + 20.5f - static_cast<float>(w / 2) + 2) << caption;
        EXPECT_FLOAT_EQ(texts[0].y, 50 + 10.5f - static_cast<float>(h / 2) - 1) << caption;
        // The frame comes first, the caption over it.
        EXPECT_EQ(pt::DrawCalls().front().kind, Call::IMAGE);
    }
}

TEST_F(RectButtonTest, PlainMenuReportsAHeldPressOnceAndDrawsUnderItsAlpha) {
    TMenuE menu;
    auto a = StripAt(0, 0, 1);
    auto b = StripAt(100, 0, 2);
    menu.AddItem(a);
    menu.AddItem(b);
    menu.AddItem(nullptr);
    EXPECT_EQ(menu.GetItem(2), b);
    EXPECT_EQ(menu.GetItem(5), nullptr);
    const int held[] = {2, 0, 0};  // three frames of one hold
    for (int frame = 0; frame < 3; ++frame) {
        Input({120, 10, true});
        EXPECT_EQ(menu.State(), held[frame]) << "frame " << frame;
    }
    Input({20, 10, false, true});
    EXPECT_EQ(menu.State(), 1) << "a tap on the other button";
    Clear();
    menu.Draw(0.6f);
    const auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.6f);
    EXPECT_FLOAT_EQ(calls[1].alpha, 0.6f);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);

    menu.visible = 0;
    plat::SetAlpha(0.2f);
    Clear();
    menu.Draw(0.6f);
    EXPECT_TRUE(pt::DrawCalls().empty());
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.2f);
    EXPECT_EQ(menu.State(), 0);
    menu.visible = 1;
    menu.enabled = 0;
    EXPECT_EQ(menu.State(), 0);
}

TEST_F(RectButtonTest, RadioMenuMovesTheSelectionToTheButtonAPressIsMadeOn) {
    TMenuA menu;
    auto one = SelectableAt(0, 0, 1);
    auto two = SelectableAt(60, 0, 2);
    auto twin = SelectableAt(120, 0, 1);  // shares id 1 with `one`
    auto plain = std::make_shared<TImageButtonA>();
    plain->id = 4;
    plain->x = 180;
    plain->width = plain->height = 50;
    for (const TButtonEPtr& b : std::vector<TButtonEPtr>{one, two, twin, plain}) menu.AddItem(b);

    const std::vector<TButtonEPtr> order{one, two, twin, plain};
    struct Step {
        const char* what;
        bool drag;  // still the previous press; otherwise a press of its own
        Pointer at;
        std::vector<int> selected;  // one, two, twin, plain
        int chosen;                 // index in `order` of GetSelectedItem, -1 for null
    };
    const Step steps[] = {
        {"nothing pressed yet", false, {300, 300, false}, {0, 0, 0, 0}, -1},
        {"hover alone selects nothing", false, {25, 25, false}, {0, 0, 0, 0}, -1},
        {"press on two", false, {80, 25, true}, {0, 1, 0, 0}, 1},
        {"release keeps it", false, {80, 25, false}, {0, 1, 0, 0}, 1},
        {"press on empty space keeps it", false, {300, 300, true}, {0, 1, 0, 0}, 1},
        {"press on one", false, {25, 25, true}, {1, 0, 0, 0}, 0},
        {"the held press dragged onto two", true, {80, 25, true}, {1, 0, 0, 0}, 0},
        {"and onto the twin", true, {140, 25, true}, {1, 0, 0, 0}, 0},
        {"pointer leaves, still held", true, {140, 300, true}, {1, 0, 0, 0}, 0},
        {"a tap on two as the pointer arrives", false, {80, 25, false, true}, {0, 1, 0, 0}, 1},
        {"a tap on the twin", false, {140, 25, false, true}, {0, 0, 1, 0}, 2},
        {"press on one keeps the twin of id 1", false, {25, 25, true}, {1, 0, 1, 0}, 0},
        {"a plain selected button is never returned", false, {200, 25, true}, {0, 0, 0, 1}, -1},
    };
    for (const Step& s : steps) {
        if (s.at.held && !s.drag) Input({s.at.x, s.at.y, false});
        Input(s.at);
        EXPECT_EQ(menu.State(), 0) << s.what;
        for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i]->hover, s.selected[i]) << s.what << ", button " << i;
        const TTextImageButtonAPtr chosen = menu.GetSelectedItem();
        EXPECT_EQ(chosen, s.chosen < 0 ? nullptr : order[static_cast<size_t>(s.chosen)]) << s.what;
    }

    // A hidden or disabled menu leaves the selection, which still reads.
    for (const auto& [enabled, visible] : {std::pair{0, 1}, std::pair{1, 0}}) {
        menu.enabled = enabled;
        menu.visible = visible;
        Input({25, 25, false});
        Input({25, 25, true});
        menu.State();
        EXPECT_EQ(one->hover, 0);
        EXPECT_EQ(plain->hover, 1);
    }
    // Polled on its own, a pressed button stays selected for good.
    Input({25, 25, false});
    Input({25, 25, true});
    EXPECT_EQ(one->State(), 1);
    Input({300, 300, false});
    Input({300, 300, true});
    EXPECT_EQ(one->State(), 0);
    EXPECT_EQ(one->hover, 1);
}

TEST_F(RectButtonTest, SelectedLooksByHoverStyle) {
    struct Case {
        int style;
        int images;
        int r;
        float scale, x, y;
    };
    // A 100 x 50 button at (10, 20); enlarged to 1.15 at whole pixels.
    const Case cases[] = {
        {0, 1, 100, 1, 10, 20},
        {1, 1, 1, 1.15f, 2, 16},  // not tinted: the colour in force
        {2, 1, 200, 1, 10, 20},
        {7, 0, 0, 0, 0, 0},  // nothing while selected; the caption still shows
    };
    for (const Case& c : cases) {
        auto b = CreateTextImageButtonA(Image(100, 50), 10, 20, 1, "hi", nullptr, c.style, 0, 0, 0);
        b->hover = 1;
        plat::SetColor(1, 2, 3);
        Clear();
        b->Draw();
        const auto images = ImagesBeforeText();
        ASSERT_EQ(static_cast<int>(images.size()), c.images) << "style " << c.style;
        EXPECT_EQ(Calls(Call::TEXT).size(), 1u) << "style " << c.style;
        if (c.images == 1) {
            EXPECT_EQ(images[0].r, c.r) << "style " << c.style;
            EXPECT_FLOAT_EQ(images[0].sx, c.scale) << "style " << c.style;
            EXPECT_FLOAT_EQ(images[0].x, c.x) << "style " << c.style;
            EXPECT_FLOAT_EQ(images[0].y, c.y) << "style " << c.style;
        }
        float sx = 0, sy = 0;
        plat::GetScale(sx, sy);
        EXPECT_EQ(sx, 1.0f);
        if (c.style == 0 || c.style == 2) {
            int r = 0, g = 0, bl = 0;
            plat::GetColor(r, g, bl);
            EXPECT_EQ(r + g + bl, 3 * 255) << "style " << c.style;
        }
        plat::SetColor(255, 255, 255);
    }
    // The factory: offsets x then y; anchor 1 centres; a bad source is
    // reported and leaves a 0 x 0 button that never selects.
    auto centred = CreateTextImageButtonA(Image(100, 50), 400, 300, 2, "t", nullptr, 0, 1, 4, 6);
    EXPECT_FLOAT_EQ(centred->x, 350);
    EXPECT_FLOAT_EQ(centred->y, 275);
    EXPECT_FLOAT_EQ(centred->textOffsetX, 4);
    EXPECT_FLOAT_EQ(centred->textOffsetY, 6);
    pt::ClearNotifications();
    auto missing = CreateTextImageButtonA(std::string("gfx/none.png"), 0, 0, 3, "", nullptr, 0, 0, 0, 0);
    auto invalid = CreateTextImageButtonA(std::monostate{}, 0, 0, 3, "", nullptr, 0, 0, 0, 0);
    ASSERT_EQ(pt::Notifications().size(), 2u);
    EXPECT_EQ(pt::Notifications()[0], "Can't load image: gfx/none.png");
    EXPECT_EQ(pt::Notifications()[1], "Invalid object type");
    Input({0, 0, true});
    EXPECT_EQ(missing->State(), 0);
    EXPECT_EQ(invalid->State(), 0);
    missing->hover = 1;
    Clear();
    missing->Draw();
    EXPECT_TRUE(ImagesBeforeText().empty());
}

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/helpers.h"
#include "core_fixture.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/testing.h"

using Pieces = std::vector<std::string>;

TEST(SplitString, CutsAtEveryOneCharacterSeparator) {
    struct Case { std::string text, sep; Pieces want; };
    const Case cases[] = {
        {"1 2 3", " ", {"1", "2", "3"}},
        {"1  2", " ", {"1", "", "2"}},
        {",a,", ",", {"", "a", ""}},
        {"", ",", {}},
        {"abc", ",", {"abc"}},
        {",", ",", {"", ""}},
        {"3:4:-1", ":", {"3", "4", "-1"}},
        {"a,b", ", ", {"a,b"}},  // a longer separator never matches
        {"a,b", "", {"a,b"}},
        {"A,a", "a", {"A,", ""}},  // case kept
    };
    for (const Case& c : cases) EXPECT_EQ(splitString(c.text, c.sep), c.want) << '"' << c.text << "\" by \"" << c.sep << '"';
}

TEST(Pos, TakesCharactersFromToBothIncluded) {
    struct Case { int from, to; std::string want; };
    const Case cases[] = {
        {1, 3, "hel"}, {2, 2, "e"}, {1, 5, "hello"}, {1, 6, ""}, {0, 2, ""}, {3, 2, ""}, {5, 5, "o"}, {-3, 1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Pos("hello", c.from, c.to), c.want) << c.from << ".." << c.to;
    EXPECT_EQ(Pos("", 1, 0), "");
}

TEST(SecToTime, MinutesBelowAnHourHoursFromThenOn) {
    struct Case { int seconds; const char* want; };
    const Case cases[] = {
        {0, "0:00"}, {5, "0:05"}, {65, "1:05"}, {600, "10:00"}, {3599, "59:59"},
        {3600, "1:00:00"}, {3661, "1:01:01"}, {36000, "10:00:00"}, {360000, "100:00:00"},
        // A timer read just before its start must not show "-1:-5".
        {-1, "0:00"}, {-65, "0:00"}, {INT32_MIN, "0:00"},
    };
    for (const Case& c : cases) EXPECT_EQ(SecToTime(c.seconds), c.want) << c.seconds;
}

class HelpersDrawTest : public CoreTest {};

TEST_F(HelpersDrawTest, ShadowedTextDrawsShadowHighlightAndTextAtTheAlignedPlace) {
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    const std::string text = "Shadowed words";
    const int width = plat::TextWidth(text);
    ASSERT_GT(width, 0);
    for (int align : {0, 1, 2, 7}) {
        plat::testing::ClearDrawCalls();
        plat::SetAlpha(0.5f);
        EXPECT_EQ(DrawShadowedText(text, 300, 200, nullptr, align, 10, 20, 30), 0);
        const int shift = align == 1 ? width / 2 : align == 2 ? width : 0;
        std::vector<plat::testing::DrawCall> texts;
        for (const auto& c : plat::testing::DrawCalls())
            if (c.kind == plat::testing::DrawCall::TEXT) texts.push_back(c);
        ASSERT_EQ(texts.size(), 3u) << "align " << align;
        struct Want { float x, y; int r, g, b; };
        const Want want[3] = {{float(300 - shift + 1), 201, 0, 0, 0},
                              {float(300 - shift - 1), 199, 100, 100, 100},
                              {float(300 - shift), 200, 10, 20, 30}};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(texts[i].text, text);
            EXPECT_FLOAT_EQ(texts[i].x, want[i].x) << "align " << align << " copy " << i;
            EXPECT_FLOAT_EQ(texts[i].y, want[i].y);
            EXPECT_EQ(texts[i].r, want[i].r);
            EXPECT_EQ(texts[i].g, want[i].g);
            EXPECT_EQ(texts[i].b, want[i].b);
            EXPECT_NEAR(texts[i].alpha, 0.5f, 0.01f);  // alpha is left as it was
        }
        int r, g, b;
        plat::GetColor(r, g, b);
        EXPECT_EQ(r + g + b, 3 * 255);
    }
}

namespace {
struct FakeDim { float x = 0, y = 0; };
struct FakeLabel {
    std::string text;
    std::shared_ptr<FakeDim> dim = std::make_shared<FakeDim>();
    int font = 0;
    float width = 41.9f;
    int draws = 0;
    float Width() const { return width; }
    int Draw() { ++draws; return 0; }
};
}  // namespace

TEST(DrawImageText, SetsTheLabelAndPlacesItsRectangle) {
    auto label = std::make_shared<FakeLabel>();
    DrawImageText("Score", label, 7, 100, 50, 1);
    EXPECT_EQ(label->text, "Score");
    EXPECT_EQ(label->font, 7);
    EXPECT_FLOAT_EQ(label->dim->x, 80.0f);  // 41.9 truncated to 41, halved to 20
    EXPECT_FLOAT_EQ(label->dim->y, 50.0f);
    EXPECT_EQ(label->draws, 1);
    DrawImageText("Left", label, 3, 100, 60, 0);
    EXPECT_FLOAT_EQ(label->dim->x, 100.0f);
    EXPECT_EQ(label->draws, 2);
}

TEST_F(HelpersDrawTest, Jpeg2000NamesLoadThePngOfTheSameName) {
    auto p = plat::CreatePixmap(3, 2, plat::PF_RGBA, 4);
    plat::WritePixel(p, 1, 1, 0xFF123456u);
    ASSERT_TRUE(plat::CreateDir(home_ + "/gfx/story", true));
    ASSERT_TRUE(plat::SavePixmapPNG(p, home_ + "/gfx/story/bottom.png"));
    for (const char* name : {"/gfx/story/bottom.jp2", "/gfx/story/bottom"}) {
        auto got = LoadJPEG2000(home_ + name);
        ASSERT_TRUE(got) << name;
        EXPECT_EQ(plat::PixmapWidth(got), 3);
        EXPECT_EQ(plat::ReadPixel(got, 1, 1), 0xFF123456u);
    }
    EXPECT_FALSE(LoadJPEG2000(home_ + "/gfx/story/missing.jp2"));
}

// Text labels and memos in bitmap and image fonts: measuring, placing each
// letter, wrapping, and the drawing state left behind.
#include "ui/text.h"
#include "ui_fixture.h"

namespace {

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class Texts : public UiTest {
protected:
    // A bitmap font of the given advances (pictures as wide), and the space.
    static TFontPtr MakeFont(float lineHeight, const std::vector<std::pair<std::string, float>>& advances) {
        auto f = std::make_shared<TFont>();
        f->lineHeight = lineHeight;
        for (const auto& [ch, w] : advances) {
            f->characters += ch;
            f->letters->AddLast(CreateLetter(Image(static_cast<int>(w) + 1, static_cast<int>(lineHeight)), ch,
                                             CreateDim(0, 0, w, lineHeight, 0, 1, 1, 0)));
        }
        f->letters->AddLast(CreateLetter(Image(static_cast<int>(lineHeight / 2), static_cast<int>(lineHeight)), " ",
                                         CreateDim(0, 0, lineHeight / 2, lineHeight, 0, 1, 1, 0)));
        return f;
    }
    struct At { std::string ch; float x, y; };
    // Every letter drawn, in order, by the picture it used.
    static std::vector<At> Drawn(const TFontPtr& f) {
        std::vector<At> out;
        for (const auto& c : Calls(Call::IMAGE))
            for (const auto& l : f->letters->ToArray())
                if (l->image.get() == c.image) out.push_back({l->character, c.x, c.y});
        return out;
    }
    static void ExpectAt(const std::vector<At>& got, const std::vector<At>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(got[i].ch, want[i].ch);
            EXPECT_FLOAT_EQ(got[i].x, want[i].x);
            EXPECT_FLOAT_EQ(got[i].y, want[i].y);
        }
    }
    static TDimPtr Dim(float x, float y, float w = 0, float h = 0) { return CreateDim(x, y, w, h, 0, 1, 1, 0); }
};

TEST_F(Texts, BitmapLabelMeasuresItsLettersAndTheSpaceForUnknownCharacters) {
    auto f = MakeFont(32, {{"a", 10}, {"b", 7}});
    struct { const char* text; float width; } cases[] = {
        {"a b", 33}, {"ab", 17}, {"", 0}, {"A", 16}, {"bb\n", 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto t = CreateText(c.text, Dim(0, 0), f, 1, 0, 0, 0);
        EXPECT_FLOAT_EQ(t->Width(), c.width);
        EXPECT_FLOAT_EQ(t->Height(), 32);
    }
}

TEST_F(Texts, BitmapLabelPlacesEachLetterAtItsTruncatedPen) {
    auto f = MakeFont(30, {{"a", 10}, {"b", 7.6f}});
    auto dim = Dim(100, 50);
    auto t = CreateText("abba", dim, f, 0.7f, 0, 5, 6);
    EXPECT_EQ(dim->anchorMode, 0);  // written into the creator's rectangle
    EXPECT_EQ(dim->offsetX, 5);
    EXPECT_EQ(dim->offsetY, 6);
    EXPECT_EQ(t->visible, 1);
    plat::SetColor(1, 2, 3);
    t->Draw();
    // Pens 0, 10, trunc(17.6) = 17, trunc(24.6) = 24.
    ExpectAt(Drawn(f), {{"a", 105, 56}, {"b", 115, 56}, {"b", 122, 56}, {"a", 129, 56}});
    for (const auto& c : Calls(Call::IMAGE)) {
        EXPECT_NEAR(c.alpha, 0.7f, 1e-6);
        EXPECT_EQ(c.r, 1);  // bitmap letters take the colour in force
    }
    EXPECT_EQ(plat::GetAlpha(), 1.0f);

    // Whole-number widths: the pen ends exactly at Width.
    auto whole = MakeFont(30, {{"a", 10}, {"b", 7}});
    Clear();
    auto w = CreateText("ab a", Dim(0, 0), whole, 1, 0, 0, 0);
    w->Draw();
    const auto at = Drawn(whole);
    ASSERT_EQ(at.size(), 4u);
    EXPECT_FLOAT_EQ(at.back().x + 10, w->Width());
}

TEST_F(Texts, ScaledBitmapLabelScalesEachLetterAboutItsOwnBox) {
    auto f = MakeFont(20, {{"a", 10}});
    auto dim = Dim(100, 50);
    auto t = CreateText("aa", dim, f, 1, 0, 0, 0);
    dim->scaleX = dim->scaleY = 2;  // an enlarged button writes this
    t->Draw();
    // The label's own box has no size, so its corner stays at (100, 50); each
    // letter grows about its 10 x 20 box while the pen steps 10.
    ExpectAt(Drawn(f), {{"a", 95, 40}, {"a", 105, 40}});
    for (const auto& c : Calls(Call::IMAGE)) EXPECT_FLOAT_EQ(c.sx, 2);
    float sx, sy;
    plat::GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
}

TEST_F(Texts, HiddenLabelsAndMemosLeaveEverythingAlone) {
    auto f = MakeFont(20, {{"a", 10}});
    auto tt = plat::LoadImageFont(kDejaVu, 12);
    auto t = CreateText("a", Dim(0, 0), tt, 0.5f, 0, 0, 0);
    auto bt = CreateText("a", Dim(0, 0), f, 0.5f, 0, 0, 0);
    auto m = CreateMemo(f, "aaa", Dim(0, 0, 100, 10), 1, 0.5f);
    t->visible = bt->visible = m->visible = 0;
    plat::SetColor(9, 8, 7);
    plat::SetAlpha(0.25f);
    plat::SetScale(3, 3);
    Clear();
    t->Draw();
    bt->Draw();
    m->Draw();
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
    int r, g, b;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 9);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 0.25f);
    float sx, sy;
    plat::GetScale(sx, sy);
    EXPECT_EQ(sx, 3.0f);
}

TEST_F(Texts, ImageFontLabelDrawsTheWholeStringAndRestoresTheState) {
    auto tt = plat::LoadImageFont(kDejaVu, 16);
    ASSERT_TRUE(tt);
    auto dim = Dim(40, 30);
    auto t = CreateText("Quill", dim, tt, 0.6f, 0, 2, 3);
    t->color->Color(0x00336699);
    dim->scaleX = 1.5f;
    t->Draw();
    const auto texts = Calls(Call::TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Quill");
    EXPECT_FLOAT_EQ(texts[0].x, 42);
    EXPECT_FLOAT_EQ(texts[0].y, 33);
    EXPECT_EQ(texts[0].r, 0x33);
    EXPECT_EQ(texts[0].g, 0x66);
    EXPECT_EQ(texts[0].b, 0x99);
    EXPECT_NEAR(texts[0].alpha, 0.6f, 1e-6);
    EXPECT_FLOAT_EQ(texts[0].sx, 1.5f);
    int r, g, b;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r + g + b, 3 * 255);
    EXPECT_EQ(plat::GetAlpha(), 1.0f);
    EXPECT_EQ(plat::GetImageFont(), tt);  // stays selected

    auto empty = CreateText("", Dim(0, 0), tt, 0.3f, 0, 0, 0);
    EXPECT_EQ(empty->Width(), 0.0f);
    plat::SetColor(1, 1, 1);
    empty->Draw();
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(plat::GetAlpha(), 1.0f);
}

TEST_F(Texts, ImageFontLabelIsMeasuredInTheImageFontInForce) {
    auto small = plat::LoadImageFont(kDejaVu, 10);
    auto big = plat::LoadImageFont(kDejaVu, 30);
    auto a = CreateText("measure me", Dim(0, 0), small, 1, 0, 0, 0);
    auto b = CreateText("x", Dim(0, 0), big, 1, 0, 0, 0);
    a->Draw();
    const float inSmall = a->Width();
    b->Draw();
    const float inBig = a->Width();
    EXPECT_GT(inBig, inSmall);
    EXPECT_EQ(inBig, static_cast<float>(plat::TextWidth("measure me")));
    EXPECT_EQ(a->Height(), static_cast<float>(plat::TextHeight()));
}

TEST_F(Texts, AnyOtherFontDrawsNothing) {
    for (const TObjectRef& font : {TObjectRef{}, TObjectRef{Image(2, 2)}, TObjectRef{plat::FontPtr{}},
                                   TObjectRef{TObjectPtr(std::make_shared<TDim>())}}) {
        Clear();
        auto t = CreateText("abc", Dim(0, 0), font, 1, 0, 0, 0);
        auto m = CreateMemo(font, "abc", Dim(0, 0, 50, 10), 1, 1);
        t->Draw();
        m->Draw();
        EXPECT_TRUE(plat::testing::DrawCalls().empty());
        EXPECT_EQ(t->Width(), 0.0f);
        EXPECT_EQ(t->Height(), 0.0f);
    }
}

TEST_F(Texts, BitmapMemoWrapsBeforeTheCharacterThatWouldPassTheRightEdge) {
    auto f = MakeFont(30, {{"a", 10}, {"b", 20}});
    struct Case {
        const char* name;
        std::string text;
        float width, scale;
        int wrap;
        std::vector<At> want;
    };
    const Case cases[] = {
        {"ending exactly on the edge stays", "aab", 40, 1, 1, {{"a", 100, 50}, {"a", 110, 50}, {"b", 120, 50}}},
        {"one past moves down a line", "aab", 39, 1, 1, {{"a", 100, 50}, {"a", 110, 50}, {"b", 100, 80}}},
        {"narrower than every letter: first line empty", "ab", 5, 1, 1, {{"a", 100, 80}, {"b", 100, 110}}},
        {"a space may begin a line", "b a", 25, 1, 1, {{"b", 100, 50}, {" ", 100, 80}, {"a", 115, 80}}},
        // Scale 2 about the centre: Left 85, Top 45, Right 145, so three
        // letters of 20 fit; each letter is drawn grown about its own box.
        {"the scale widens the edge, steps stay unscaled", "bbb", 30, 2, 1,
         {{"b", 75, 30}, {"b", 95, 30}, {"b", 115, 30}}},
        {"wrap 0 draws one line", "bbbb", 5, 1, 0, {{"b", 100, 50}, {"b", 120, 50}, {"b", 140, 50}, {"b", 160, 50}}},
        {"wrap 2 draws one line", "aa", 5, 1, 2, {{"a", 100, 50}, {"a", 110, 50}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        auto dim = CreateDim(100, 50, c.width, 10, 0, 1, 1, 0);
        auto m = CreateMemo(f, c.text, dim, c.wrap, 1);
        dim->scaleX = dim->scaleY = c.scale;
        m->Draw();
        ExpectAt(Drawn(f), c.want);
        EXPECT_EQ(dim->border, 0.0f);  // no running measure kept in the rectangle
    }
}

TEST_F(Texts, ImageFontMemoDrawsCharacterByCharacterAndStepsByTheFontHeight) {
    auto tt = plat::LoadImageFont(kDejaVu, 14);
    plat::SetImageFont(tt);
    const int wm = plat::TextWidth("m"), h = plat::TextHeight();
    auto dim = CreateDim(10, 20, static_cast<float>(2 * wm), 5, 0, 1, 1, 0);
    auto m = CreateMemo(tt, "mmm", dim, 1, 0.5f);
    plat::SetColor(5, 6, 7);
    m->Draw();
    const auto texts = Calls(Call::TEXT);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_FLOAT_EQ(texts[0].x, 10);
    EXPECT_FLOAT_EQ(texts[1].x, static_cast<float>(10 + wm));
    EXPECT_FLOAT_EQ(texts[1].y, 20);
    EXPECT_FLOAT_EQ(texts[2].x, 10);  // the third would end past the edge
    EXPECT_FLOAT_EQ(texts[2].y, static_cast<float>(20 + h));
    EXPECT_EQ(texts[0].r, 5);  // the memo sets no colour
    EXPECT_NEAR(texts[0].alpha, 0.5f, 1e-6);
    EXPECT_EQ(plat::GetAlpha(), 1.0f);
    EXPECT_EQ(m->State(), 0);
}

}  // namespace

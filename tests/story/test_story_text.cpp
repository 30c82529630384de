// The story text block: where its lines go, at what alpha, and how Copy,
// Clear and setLine share and keep lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/testing.h"
#include "story/story_text.h"

namespace {

using plat::testing::DrawCall;

std::vector<DrawCall> Texts() {
    std::vector<DrawCall> out;
    for (const DrawCall& c : plat::testing::DrawCalls())
        if (c.kind == DrawCall::TEXT) out.push_back(c);
    return out;
}

class StoryText : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }
    void TearDown() override { plat::testing::Reset(); }
};

TEST_F(StoryText, LinesStartLowerForFewLinesAndStepByTheFontHeight) {
    const int h = plat::TextHeight("");
    ASSERT_GT(h, 0);
    struct Case {
        int lineCount;
        int drawn;
        int firstY;
    };
    // Up to four lines start at 440, five and six at 425; a count past six
    // draws the six lines the block has.
    const Case cases[] = {{0, 0, 440}, {1, 1, 440}, {4, 4, 440}, {5, 5, 425}, {6, 6, 425}, {9, 6, 425}, {-3, 0, 440}};
    for (const Case& c : cases) {
        SCOPED_TRACE("lineCount " + std::to_string(c.lineCount));
        TDrawStoryText block;
        for (int i = 0; i < 6; ++i) block.setLine(i, "line " + std::to_string(i));
        block.lineCount = c.lineCount;
        plat::testing::ClearDrawCalls();
        block.Draw(1.0f);
        const std::vector<DrawCall> texts = Texts();
        ASSERT_EQ(static_cast<int>(texts.size()), c.drawn);
        for (int i = 0; i < c.drawn; ++i) {
            EXPECT_EQ(texts[static_cast<size_t>(i)].text, "line " + std::to_string(i));
            EXPECT_EQ(texts[static_cast<size_t>(i)].x, 105.0f);
            EXPECT_EQ(texts[static_cast<size_t>(i)].y, static_cast<float>(c.firstY + i * h));
        }
    }
}

TEST_F(StoryText, DrawsBlackAtEightTenthsOfTheFade) {
    struct Case {
        float fade;
        int alphaByte;
    };
    // SetAlpha keeps a truncated byte: 0.8 is 204 of 255.
    const Case cases[] = {{0.0f, 0}, {0.5f, 102}, {1.0f, 204}, {-1.0f, 0}};
    for (const Case& c : cases) {
        TDrawStoryText block;
        block.setLine(0, "word");
        block.lineCount = 1;
        plat::SetColor(255, 255, 255);
        plat::SetScale(2, 2);
        plat::testing::ClearDrawCalls();
        block.Draw(c.fade);
        const std::vector<DrawCall> texts = Texts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(static_cast<int>(texts[0].alpha * 255.0f + 0.5f), c.alphaByte) << c.fade;
        EXPECT_EQ(texts[0].r + texts[0].g + texts[0].b, 0);
        EXPECT_EQ(texts[0].sx, 1.0f);
        int r, g, b;
        plat::GetColor(r, g, b);
        EXPECT_EQ(r + g + b, 0) << "the colour stays black for the owner to reset";
    }
}

TEST_F(StoryText, CopyTakesTheCountAndItsLinesAndClearLeavesTheCopyAlone) {
    TDrawStoryText older, newer;
    for (int i = 0; i < 4; ++i) older.setLine(i, "old " + std::to_string(i));
    older.lineCount = 4;
    newer.setLine(0, "new 0");
    newer.setLine(1, "new 1");
    newer.lineCount = 2;

    older.Copy(newer);
    EXPECT_EQ(older.lineCount, 2);
    EXPECT_EQ(older.lines[0], "new 0");
    EXPECT_EQ(older.lines[1], "new 1");
    EXPECT_EQ(older.lines[2], "old 2") << "lines past the count keep what they held";

    newer.Clear();
    EXPECT_EQ(newer.lineCount, 0);
    EXPECT_EQ(newer.lines[0], "");
    EXPECT_EQ(older.lines[0], "new 0");

    plat::testing::ClearDrawCalls();
    older.Draw(1.0f);
    EXPECT_EQ(Texts().size(), 2u);
}

TEST_F(StoryText, SetLineKeepsTheCountAndIgnoresIndexesOutsideTheBlock) {
    TDrawStoryText block;
    block.setLine(3, "later");
    block.setLine(6, "outside");
    block.setLine(-1, "outside");
    EXPECT_EQ(block.lineCount, 0);
    plat::testing::ClearDrawCalls();
    block.Draw(1.0f);
    EXPECT_TRUE(Texts().empty());
    block.lineCount = 4;
    plat::testing::ClearDrawCalls();
    block.Draw(1.0f);
    ASSERT_EQ(Texts().size(), 4u);
    EXPECT_EQ(Texts()[3].text, "later");
}

}  // namespace

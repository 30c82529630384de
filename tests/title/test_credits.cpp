// Credit pages: layout, one text typing at a time, sparks per character,
// and the credits list itself.
#include "title/credits.h"
#include "title_test_util.h"

namespace {

using Credits = TitleTest;

TEST_F(Credits, PagesAreCentredBlocks) {
    struct Case {
        int lines;
        int titleY;
        std::vector<int> lineTops;
    } cases[] = {
        {0, 265, {}}, {1, 245, {315}}, {2, 225, {295, 335}}, {3, 205, {275, 315, 355}}, {4, 185, {255, 295, 335, 375}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        TCreditsPage page;
        page.AddTitle("role");
        for (int i = 0; i < c.lines; ++i) page.AddField("name");
        page.Prepare();
        EXPECT_EQ(page.lineCount, c.lines);
        EXPECT_EQ(page.title->label->dim->y, c.titleY);
        for (int i = 0; i < c.lines; ++i) EXPECT_EQ(page.lines[static_cast<size_t>(i)]->label->dim->y, c.lineTops[static_cast<size_t>(i)]);
    }
}

TEST_F(Credits, TheTitleTypesThenEachLineInTurnFromAFixedLeftEdge) {
    TCreditsPage page;
    page.AddTitle("ab");
    page.AddField("cde");
    page.AddField("");
    page.Prepare();
    // Each text is centred on x 400 by its whole width (8 pixels a letter).
    EXPECT_EQ(page.title->label->dim->x, 400 - 8);
    EXPECT_EQ(page.lines[0]->label->dim->x, 400 - 12);

    auto shown = [&] { return page.title->label->text + "|" + page.lines[0]->label->text; };
    struct Step {
        std::string shown;  // after the call
        int sparks;         // made by the call
    } steps[] = {
        {"a|", 7},   {"ab|", 7},   {"ab|", 0},                   // the title, then its idle step
        {"ab|", 0},                                              // reports done: the line waits a call
        {"ab|c", 7}, {"ab|cd", 7}, {"ab|cde", 7}, {"ab|cde", 0}, {"ab|cde", 0},
        {"ab|cde", 0}, {"ab|cde", 0},                            // the empty line: its step, then done
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        plat::testing::AdvanceTime(21);
        const int before = SparkList->Count();
        page.Update(1.0f);
        EXPECT_EQ(shown(), steps[i].shown);
        EXPECT_EQ(SparkList->Count() - before, steps[i].sparks);
        EXPECT_EQ(page.lines[0]->label->dim->x, 400 - 12);
    }
    EXPECT_EQ(page.typingIndex, 3) << "complete";
    // A call 20 ms or less after a step changes nothing.
    TCreditsPage quick;
    quick.AddTitle("xy");
    quick.Prepare();
    plat::testing::AdvanceTime(21);
    quick.Update(1.0f);
    plat::testing::AdvanceTime(20);
    quick.Update(1.0f);
    EXPECT_EQ(quick.title->label->text, "x");
}

TEST_F(Credits, APageDrawsAtTheAlphaItIsGiven) {
    TCreditsPage page;
    page.AddTitle("ab");
    page.AddField("c");
    page.Prepare();
    for (int i = 0; i < 10; ++i) {
        plat::testing::AdvanceTime(21);
        page.Update(1.0f);
    }
    plat::testing::ClearDrawCalls();
    page.Update(0.25f);
    int letters = 0;
    for (const auto& c : plat::testing::DrawCalls())
        if (c.kind == plat::testing::DrawCall::IMAGE) {
            ++letters;
            EXPECT_NEAR(c.alpha, 0.25f, 0.01f);
        }
    EXPECT_EQ(letters, 3);
}

TEST_F(Credits, SixteenPagesInTheLetteringsOwnCharacters) {
    const auto& list = CreditsList();
    ASSERT_EQ(list.size(), 16u);
    const size_t counts[16] = {1, 1, 3, 3, 2, 3, 1, 1, 1, 1, 3, 1, 1, 1, 3, 4};
    for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].lines.size(), counts[i]) << list[i].role;
    EXPECT_STREQ(list[0].role, "created by");
    EXPECT_STREQ(list[15].lines[3], "and beta testers");
    // The people who did more than one thing.
    EXPECT_STREQ(list[2].lines[0], list[1].lines[0]);
    EXPECT_STREQ(list[5].lines[0], list[1].lines[0]);
    EXPECT_STREQ(list[6].lines[0], list[5].lines[1]);
    EXPECT_STREQ(list[7].lines[0], list[5].lines[2]);
    // Anything the lettering lacks would show as a gap.
    const std::string drawable = "abcdefghijklmnopqrstuvwxyz0123456789 ";
    auto check = [&](const std::string& text) {
        EXPECT_EQ(text.find_first_not_of(drawable), std::string::npos) << text;
    };
    for (const auto& page : list) {
        check(page.role);
        for (const char* line : page.lines) check(line);
    }
}

}  // namespace

// Hiscore rows typing themselves out, and the screen cycling through the
// three tables.
#include "title/hiscore_rows.h"
#include "title/hiscores_screen.h"
#include "title_test_util.h"

namespace {

class HiscoreRows : public TitleTest {
protected:
    void SetUp() override {
        TitleTest::SetUp();
        offsetX1 = 100;
        offsetX2 = 250;
        offsetX3 = 600;
    }
    static std::string Shown(const THiscoresTextPtr& r) {
        return r->placeText->text + "|" + r->nameText->text + "|" + r->scoreText->text;
    }
};

TEST_F(HiscoreRows, OneCharacterAStepPlaceThenNameThenScore) {
    THiscoresTextPtr row = THiscoresText::Create(1, "abc", 500, fonts[1], fonts[1], 2);
    EXPECT_EQ(row->placeText->dim->y, 100 + 45 * 2);
    const float scoreLeft = row->scoreText->dim->x;
    EXPECT_EQ(scoreLeft, 600 - 3 * 8) << "the whole score ends at the column's edge";

    const std::vector<std::string> steps = {"1||",       "1|a|",      "1|ab|",      "1|abc|",
                                            "1|abc|5",   "1|abc|50",  "1|abc|500",  "1|abc|500"};
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        plat::testing::AdvanceTime(21);
        const int sparksBefore = SparkList->Count();
        EXPECT_EQ(row->Update(), 0);
        EXPECT_EQ(Shown(row), steps[i]);
        // Seven sparks per shown character, none for the idle step after them.
        EXPECT_EQ(SparkList->Count() - sparksBefore, i + 1 < steps.size() ? 7 : 0);
        EXPECT_EQ(row->scoreText->dim->x, scoreLeft);
    }
    plat::testing::AdvanceTime(21);
    EXPECT_EQ(row->Update(), 1);
    EXPECT_EQ(row->Update(), 1);
}

TEST_F(HiscoreRows, StepsNeedMoreThanTwentyMillisecondsAndNeverComeTwiceInACall) {
    THiscoresTextPtr row = THiscoresText::Create(3, "", 42, fonts[1], fonts[1], 0);
    plat::testing::AdvanceTime(20);
    row->Update();
    EXPECT_EQ(Shown(row), "||") << "20 ms is not enough";
    plat::testing::AdvanceTime(1);
    row->Update();
    EXPECT_EQ(Shown(row), "3||");
    plat::testing::AdvanceTime(500);  // a long gap still reveals one character
    row->Update();
    EXPECT_EQ(Shown(row), "3||4") << "an empty name goes straight to the score";
}

TEST_F(HiscoreRows, ANameTheLetteringCannotStartIsShownInLowerCase) {
    THiscoresTextPtr row = THiscoresText::Create(1, "Tolvenk", 10000, fonts[1], fonts[1], 0);
    EXPECT_EQ(row->nameString, "tolvenk");
    EXPECT_EQ(THiscoresText::Create(1, "ada", 1, fonts[1], fonts[1], 0)->nameString, "ada");
}

using HiscoreScreen = TitleTest;

TEST_F(HiscoreScreen, RowsOfEachTableInTurnAndOneSignalPerCycle) {
    hiscore = std::make_shared<THiscores>();
    hiscore->path = hiscorePath_;
    for (int i = 0; i < 12; ++i) hiscore->add("q" + std::string(1, static_cast<char>('a' + i)), 100 + i, 0, 1, "d", "null");
    hiscore->add("ea", 7, 0, 2, "d", "l");
    hiscore->add("eb", 7, 0, 2, "d", "l");  // a tie: consecutive places, earlier first

    THiscoresScreen screen;
    EXPECT_EQ(offsetX1, 102);
    EXPECT_EQ(offsetX2, 172);
    EXPECT_EQ(offsetX3, 672);
    EXPECT_EQ(screen.stage, 1);
    screen.Load(hiscore->GetScores(1, 10));
    ASSERT_EQ(screen.rows.size(), 10u);
    EXPECT_EQ(screen.rows[0]->nameString, "ql");
    EXPECT_EQ(screen.rows[9]->placeString, "10");
    EXPECT_EQ(screen.rows[9]->placeText->dim->y, 505);
    EXPECT_EQ(screen.rows[0]->placeText->dim->x, 102);
    EXPECT_EQ(screen.rows[0]->nameText->dim->x, 172);

    // The second row starts only after the first has reported itself done.
    for (int i = 0; i < 7; ++i) {
        plat::testing::AdvanceTime(21);
        EXPECT_EQ(screen.Update(), 0);
    }
    EXPECT_EQ(screen.revealedRows, 0);
    EXPECT_EQ(screen.rows[1]->revealedChars, 0);
    plat::testing::AdvanceTime(21);
    screen.Update();  // "1", "ql", "111": seven characters, a step, then done
    EXPECT_EQ(screen.revealedRows, 1);
    EXPECT_EQ(screen.rows[1]->revealedChars, 0);
    plat::testing::AdvanceTime(21);
    screen.Update();
    EXPECT_EQ(screen.rows[1]->revealedChars, 1);

    struct Step {
        int advance;
        int returns;
        int stage;
        size_t rows;
    } steps[] = {
        {6000 - 9 * 21, 0, 1, 10},  // exactly 6000 ms after the load: still the quest
        {1, 0, 2, 2},                // then the endless table
        {6001, 0, 3, 0},             // the time-attack table has no entries
        {6001, 1, 1, 10},            // back to the quest: the cycle is done
        {6001, 0, 2, 2},
    };
    for (const Step& s : steps) {
        plat::testing::AdvanceTime(s.advance);
        EXPECT_EQ(screen.Update(), s.returns);
        EXPECT_EQ(screen.stage, s.stage);
        EXPECT_EQ(screen.rows.size(), s.rows);
    }
    EXPECT_EQ(screen.rows[0]->nameString, "ea");
    EXPECT_EQ(screen.rows[1]->placeString, "2");
}

}  // namespace

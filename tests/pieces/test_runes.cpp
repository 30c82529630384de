// The rune catalogue: loading from the settings archive, lookups by id text,
// tints, drawing by cell size and rune sparks.
#include <set>

#include "board/play_test_util.h"
#include "platform/app.h"
#include "platform/rng.h"

namespace {

const char* kCatalogue = R"(
List{
  Quantity=7
  Rune1{ fileName='gfx/a.png' fileName2='gfx/a40.png' id='1' color='5' width=32 height=30 blocked=0
         title='Ember' description='Warm' blockedID='9' rgb='200,100:30,40:50,60' }
  Rune2{ fileName='gfx/missing.png' id='2' color='6' width=1 height=1 blocked=0 }
  Rune3{ fileName='gfx/a.png' id='1' color='7' width=1 height=1 blocked=0 }
  Rune4{ fileName='gfx/a.png' id='07' color='8' width=1 height=1 blocked=0 }
  Rune5{ fileName='gfx/a.png' id='9' color='5' width=1 height=1 blocked=1 unblocked='1' rgb='1,2:3,4:5,6' }
  Rune6{ fileName='gfx/a.png' width=1 height=1 blocked=0 }
  Rune7{ fileName='gfx/a.png' id='12' color='12' width=1 height=1 blocked=1 unblocked='3' }
}
)";

class RuneTest : public PlayTest {
protected:
    void LoadCatalogue() {
        WritePicture("gfx/a.png", 32, 32);
        WritePicture("gfx/a40.png", 40, 40);
        WriteSettings({{"razod.tsc", kCatalogue}});
        razod->loadRazodGfx();
    }
};

TEST_F(RuneTest, CatalogueLoadsInFileOrderAndDropsRunesWithoutPicture) {
    LoadCatalogue();
    ASSERT_EQ(razod->runeList.size(), 6u);  // Rune2's picture cannot be read
    const TRunePtr ember = razod->runeList[0];
    EXPECT_EQ(ember->id, "1");
    EXPECT_EQ(ember->title, "Ember");
    EXPECT_EQ(ember->description, "Warm");
    EXPECT_EQ(ember->blockedID, "9");
    EXPECT_EQ(ember->width, 32);
    EXPECT_EQ(ember->height, 30);
    EXPECT_EQ(ember->unblocked, "");  // read only for stones
    EXPECT_NE(ember->image, nullptr);
    EXPECT_EQ(plat::ImageWidth(ember->image40), 40);
    EXPECT_EQ(razod->runeList[1]->image40, nullptr);  // no fileName2: stays without
    EXPECT_EQ(razod->runeList[3]->unblocked, "1");
}

TEST_F(RuneTest, LookupsCompareTheIdTextExactlyAndTakeTheFirst) {
    LoadCatalogue();
    EXPECT_EQ(razod->getRuneColor("1"), 5);   // the earlier of the two "1"s
    EXPECT_EQ(razod->getRuneColor("07"), 8);
    EXPECT_EQ(razod->getRuneColor("7"), 0);   // "07" is not 7
    EXPECT_EQ(razod->getRuneColor("2"), 0);   // dropped
    EXPECT_EQ(razod->getRuneColor(" 1"), 0);
    EXPECT_EQ(razod->_findRuneByID(""), razod->runeList[4]);  // the rune without "id"
    EXPECT_EQ(razod->getRuneColor(""), 0);
    EXPECT_EQ(razod->isBlocked(9), 1);
    EXPECT_EQ(razod->isBlocked(1), 0);
    EXPECT_EQ(razod->isBlocked(42), 0);
    EXPECT_EQ(razod->unblocked(9), 1);
    EXPECT_EQ(razod->unblocked(12), 3);
    EXPECT_EQ(razod->unblocked(42), 0);  // not in the catalogue
    EXPECT_EQ(razod->unblocked(1), 0);   // no "unblocked" text
}

TEST_F(RuneTest, BrokenArchivesAndMissingNumbersStopTheLoad) {
    // No archive at all: the reader's fatal error.
    EXPECT_THROW(razod->loadRazodGfx(), plat::RuntimeErrorException);

    // A missing number names its key.
    auto missing = [](const std::string& text) {
        TRuneManager m;
        try {
            m.loadFrom(TscFromText(text));
        } catch (const TSCError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(missing("Other{ a=1 }"), "The key List::Quantity does not exist");
    WritePicture("gfx/a.png", 32, 32);
    EXPECT_EQ(missing("List{ Quantity=1 Rune1{ fileName='gfx/a.png' id=1 width=1 height=1 } }"),
              "The key List::Rune1::blocked does not exist");

    // Quantity 0 or less: an empty catalogue.
    TRuneManager none;
    none.loadFrom(TscFromText("List{ Quantity=-3 }"));
    EXPECT_TRUE(none.runeList.empty());
}

TEST_F(RuneTest, TintBoundsReadWhatTheRgbTextHolds) {
    WritePicture("gfx/a.png", 32, 32);
    struct Case {
        const char* rgb;
        std::array<int, 6> bounds;  // redLo, redHi, greenLo, greenHi, blueLo, blueHi
    } cases[] = {
        {"", {0, 0, 0, 0, 0, 0}},
        {"10,20:30,40:50,60", {10, 20, 30, 40, 50, 60}},
        {"1,2,9:3,4,9:5,6:7,8", {1, 2, 3, 4, 5, 6}},  // extra values and parts ignored
        {"10,20:30,40", {10, 20, 30, 40, 0, 0}},       // short texts leave the rest 0
        {"10,20", {10, 20, 0, 0, 0, 0}},
        {"10:30,40:50,60", {0, 0, 30, 40, 50, 60}},    // a part of one value sets nothing
        {":::", {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TRuneManager m;
        m.loadFrom(TscFromText(std::string("List{ Quantity=1 Rune1{ fileName='gfx/a.png' id=1 color=1 width=1 "
                                           "height=1 blocked=0 rgb='") + c.rgb + "' } }"));
        ASSERT_EQ(m.runeList.size(), 1u);
        const TRune& r = *m.runeList[0];
        EXPECT_EQ((std::array<int, 6>{r.redLo, r.redHi, r.greenLo, r.greenHi, r.blueLo, r.blueHi}), c.bounds)
            << "rgb '" << c.rgb << "'";
    }
}

TEST_F(RuneTest, TintComesFromTheFirstPlainRuneOfTheColour) {
    LoadCatalogue();
    std::set<int> reds;
    for (int n = 0; n < 3000; ++n) {
        const int red = razod->getRuneRGB(5, 1);
        ASSERT_GE(red, 100);  // written high before low
        ASSERT_LE(red, 200);
        reds.insert(red);
        const int green = razod->getRuneRGB(5, 2);
        ASSERT_GE(green, 30);
        ASSERT_LE(green, 40);
    }
    EXPECT_TRUE(reds.count(100) && reds.count(200));
    EXPECT_EQ(razod->getRuneRGB(12, 1), 0);  // only a stone has colour 12
    EXPECT_EQ(razod->getRuneRGB(5, 0), 0);
    EXPECT_EQ(razod->getRuneRGB(5, 4), 0);
    EXPECT_EQ(razod->getRuneRGB(99, 2), 0);
}

TEST_F(RuneTest, DrawPicksThePictureOfTheBoardsCellSize) {
    LoadCatalogue();
    const plat::Image* small = razod->runeList[0]->image.get();
    const plat::Image* large = razod->runeList[0]->image40.get();
    struct Case {
        int cellSize, runeId;
        const plat::Image* drawn;  // null: nothing drawn
    } cases[] = {
        {32, 1, small}, {40, 1, large}, {13, 1, small}, {32, 42, nullptr},
        {40, 7, nullptr},  // "07" is found by no number
        {40, 9, nullptr},  // a rune without a 40-pixel picture draws nothing there
        {32, 9, razod->runeList[3]->image.get()},
    };
    for (const Case& c : cases) {
        board->cellSize = c.cellSize;
        plat::testing::ClearDrawCalls();
        razod->Draw(c.runeId, 100.5f, 200);
        const auto& calls = plat::testing::DrawCalls();
        if (!c.drawn) {
            EXPECT_TRUE(calls.empty()) << "cell " << c.cellSize << " rune " << c.runeId;
            continue;
        }
        ASSERT_EQ(calls.size(), 1u) << "cell " << c.cellSize << " rune " << c.runeId;
        EXPECT_EQ(calls[0].image, c.drawn);
        EXPECT_FLOAT_EQ(calls[0].x, 100.5f);
        EXPECT_FLOAT_EQ(calls[0].y, 200.0f);
    }
}

TEST_F(RuneTest, RuneSparkTakesItsRandomDrawsInOrder) {
    LoadCatalogue();
    for (int i = 1; i <= 3; ++i) sparkImages[static_cast<size_t>(i)] = plat::CreateImage(4, 4);
    board->originX = 100;
    board->originY = 50;
    board->cellSize = 40;
    struct Case {
        int color, cellX, cellY, px, py;
        bool drifts;
    } cases[] = {
        {5, 2, 3, 0, 0, false},
        {5, 2, 3, 0, 300, false},   // py alone replaces y
        {5, 2, 3, 70, 0, false},
        {12, 1, 1, 0, 0, true},     // from class 10 on the velocity is kept
    };
    for (const Case& c : cases) {
        TSpark::destroyAll();
        plat::SeedRnd(777);
        // The same draws, replayed: tint, jitters, overrides, size, life, slot.
        int r = razod->getRuneRGB(c.color, 1), g = razod->getRuneRGB(c.color, 2), b = razod->getRuneRGB(c.color, 3);
        int x = 100 + c.cellX * 40 + plat::Rand(-7, 12);
        int y = 50 + c.cellY * 40 + plat::Rand(-7, 12);
        if (c.px != 0) x = c.px + plat::Rand(-7, 12);
        if (c.py != 0) y = c.py + plat::Rand(-7, 12);
        const float size = static_cast<float>(c.drifts ? plat::Rnd(0.5, 0.9) : plat::Rnd(0.6, 1.0));
        const int life = plat::Rand(10, 40);
        const int slot = plat::Rand(1, 3);

        plat::SeedRnd(777);
        razod->particleRune(c.color, c.cellX, c.cellY, 0.5f, -0.5f, c.px, c.py);
        ASSERT_EQ(SparkList->Count(), 1);
        const TSparkPtr s = SparkList->First();
        EXPECT_EQ(s->red, r);
        EXPECT_EQ(s->green, g);
        EXPECT_EQ(s->blue, b);
        EXPECT_FLOAT_EQ(s->x, static_cast<float>(x));
        EXPECT_FLOAT_EQ(s->y, static_cast<float>(y));
        EXPECT_FLOAT_EQ(s->size, size);
        EXPECT_FLOAT_EQ(s->life, static_cast<float>(life));
        EXPECT_EQ(s->image, sparkImages[static_cast<size_t>(slot)]);
        EXPECT_EQ(s->blend, 1);
        EXPECT_EQ(s->fadeMode, 0);
        EXPECT_FLOAT_EQ(s->velocityX, c.drifts ? 0.5f : 0.0f);
        EXPECT_FLOAT_EQ(s->velocityY, c.drifts ? -0.5f : 0.0f);
    }
}

}  // namespace

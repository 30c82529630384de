// The score and its panel.
#include <tuple>

#include "level/rules2_test_util.h"

namespace {

class PointsTest : public LevelRulesTest {
protected:
    void SetUp() override {
        LevelRulesTest::SetUp();
        points->cyfry1Font = Frames(16, 24, 10);
        points->levelFont = Frames(16, 21, 10);
        points->cyfry2Font = Frames(32, 32, 10);
        points->punktyImage = Frames(140, 180);
        points->dechaImage = Frames(130, 20);
        points->menuImage = Frames(62, 20);
        points->menuHoverImage = Frames(62, 20);
    }
    // (frame, x) of every digit drawn.
    static std::vector<std::pair<int, int>> Digits(const plat::ImagePtr& font) {
        std::vector<std::pair<int, int>> out;
        for (const auto& c : DrawsOf(font)) out.emplace_back(c.frame, static_cast<int>(c.x));
        return out;
    }
};

TEST_F(PointsTest, NumbersArePaddedCentredAndAdvancedByTheirFont) {
    using D = std::vector<std::pair<int, int>>;
    struct Case {
        const char* what;
        int value, digits, x, font, centred;
        D drawn;
        int result;
    } cases[] = {
        {"zero shows seven zeros", 0, 7, 59, 1, 0, {{0, 59}, {0, 71}, {0, 83}, {0, 95}, {0, 107}, {0, 119}, {0, 131}}, 84},
        {"1234 after three zeros", 1234, 7, 59, 1, 0,
         {{0, 59}, {0, 71}, {0, 83}, {1, 95}, {2, 107}, {3, 119}, {4, 131}}, 84},
        {"eight digits from the same edge", 12345678, 7, 59, 1, 0,
         {{1, 59}, {2, 71}, {3, 83}, {4, 95}, {5, 107}, {6, 119}, {7, 131}, {8, 143}}, 96},
        {"the minus sign stands as a zero", -5, 7, 59, 1, 0,
         {{0, 59}, {0, 71}, {0, 83}, {0, 95}, {0, 107}, {0, 119}, {5, 131}}, 84},
        {"one digit centred", 5, 1, 100, 1, 1, {{5, 94}}, 12},
        {"font 2: the one is narrow", 11, 1, 100, 2, 0, {{1, 100}, {1, 107}}, 14},
        {"font 2 centred", 11, 1, 100, 2, 1, {{1, 93}, {1, 100}}, 14},
        {"font 3 advances 21", 70, 3, 10, 3, 0, {{0, 10}, {7, 31}, {0, 52}}, 63},
        {"an unknown font draws nothing", 5, 1, 100, 4, 0, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::testing::ClearDrawCalls();
        EXPECT_EQ(points->_drawNumber(c.value, c.digits, c.x, 10, c.font, c.centred), c.result);
        const plat::ImagePtr font = c.font == 2 ? points->levelFont : c.font == 3 ? points->cyfry2Font : points->cyfry1Font;
        EXPECT_EQ(Digits(font), c.drawn);
        for (const auto& d : DrawsOf(font)) {
            EXPECT_EQ(d.y, 10.0f);
            EXPECT_EQ(std::tie(d.r, d.g, d.b), std::tuple(255, 255, 255));
            EXPECT_NEAR(d.alpha, 0.9f, 0.005f);
        }
    }
}

TEST_F(PointsTest, ThePanelShowsTheSumAndTheButtonUnderTheMouse) {
    points->pointsTotal = 1000;
    points->add(234);
    points->add(-4);
    EXPECT_EQ(points->pointsActual, 230);
    PointAt(0, 0);
    plat::testing::ClearDrawCalls();
    points->Draw();
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_EQ(calls.size(), 5u + 7u);
    struct Where {
        const plat::Image* image;
        float x, y;
    } expected[] = {{rope.get(), 67, 437},
                    {rope.get(), 123, 437},
                    {points->punktyImage.get(), 31, 352},
                    {points->dechaImage.get(), 35, 478},
                    {points->menuImage.get(), 71, 545}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(calls[i].image, expected[i].image) << i;
        EXPECT_EQ(calls[i].x, expected[i].x) << i;
        EXPECT_EQ(calls[i].y, expected[i].y) << i;
        EXPECT_EQ(calls[i].blend, plat::ALPHABLEND);
    }
    EXPECT_EQ(Digits(points->cyfry1Font),
              (std::vector<std::pair<int, int>>{{0, 59}, {0, 71}, {0, 83}, {1, 95}, {2, 107}, {3, 119}, {0, 131}}));
    EXPECT_EQ(DrawsOf(points->cyfry1Font)[0].y, 394.0f);

    // The button's rectangle, both edges included.
    struct Hover {
        int x, y, over;
    } hovers[] = {{71, 545, 1}, {133, 565, 1}, {100, 555, 1}, {70, 555, 0}, {134, 555, 0}, {100, 544, 0}, {100, 566, 0}};
    for (const Hover& h : hovers) {
        PointAt(h.x, h.y);
        plat::testing::ClearDrawCalls();
        points->Draw();
        EXPECT_EQ(points->menuHover, h.over) << h.x << "," << h.y;
        EXPECT_EQ(DrawsOf(points->menuHoverImage).size(), static_cast<size_t>(h.over));
        EXPECT_EQ(DrawsOf(points->menuImage).size(), static_cast<size_t>(1 - h.over));
    }
}

TEST_F(PointsTest, TheOtherModesDrawExactlyTheSamePanel) {
    PointAt(100, 555);
    points->pointsActual = 98765;
    auto record = [](auto draw) {
        plat::testing::ClearDrawCalls();
        draw();
        std::vector<std::tuple<const plat::Image*, int, float, float, float>> out;
        for (const auto& c : plat::testing::DrawCalls()) out.emplace_back(c.image, c.frame, c.x, c.y, c.alpha);
        return out;
    };
    const auto quest = record([] { points->Draw(); });
    EXPECT_EQ(record([] { points->DrawEndless(); }), quest);
    EXPECT_EQ(record([] { points->DrawTimeatack(); }), quest);
    EXPECT_EQ(points->menuHover, 1);
}

TEST_F(PointsTest, TheScoreStopsAtItsTopInsteadOfWrapping) {
    points->pointsActual = 2147483647;
    points->add(1);
    EXPECT_EQ(points->pointsActual, 2147483647);
    points->add(2147483647);
    EXPECT_EQ(points->pointsActual, 2147483647);
}

TEST_F(PointsTest, MissingPicturesDrawNothingAndDoNotCrash) {
    TPointsManager bare;
    EXPECT_EQ(bare.loadGfx(), 0);  // no files in the working folder
    EXPECT_EQ(bare.cyfry1Font, nullptr);
    plat::testing::ClearDrawCalls();
    bare.Draw();
    for (const auto& c : plat::testing::DrawCalls()) EXPECT_EQ(c.image, rope.get());
}

}  // namespace

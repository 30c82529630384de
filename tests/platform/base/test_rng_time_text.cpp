// The random generator's exact sequences, the clock and calendar, and the
// locale-free text conversions.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <ctime>
#include <limits>
#include <regex>

#include "platform/angles.h"
#include "platform/backend.h"
#include "platform/rng.h"
#include "platform/testing.h"
#include "platform/text.h"
#include "platform/time.h"

namespace {

class BaseState : public ::testing::Test {
protected:
    void SetUp() override { plat::detail::ResetBaseState(); }
};

}  // namespace

// ---- random generator ---------------------------------------------------------
// Golden values from an independent calculation of the generator's formula.
using Rng = BaseState;

TEST_F(Rng, InitialStateAndFractions) {
    EXPECT_EQ(plat::RndSeed(), 0x1234);
    const double expect[] = {0.4189887270692887, 0.21256311710331344, 0.694284713397524, 0.1493624812093064};
    for (double e : expect) EXPECT_DOUBLE_EQ(plat::RndFraction(), e);
    // Two steps per fraction: after two fractions the state is the 4th step.
    plat::SeedRnd(0);
    for (int i = 0; i < 2; ++i) plat::RndFraction();
    EXPECT_EQ(plat::RndSeed(), 1951098782);
}

TEST_F(Rng, Seeds) {
    struct Case { int seed; int state; };
    const Case cases[] = {
        {1, 1}, {12345, 12345}, {0, 0x1234}, {0x7FFFFFFF, 0x1234}, {-1, 0x1234},
        {INT_MIN, 0x1234}, {-2, 0x7FFFFFFE}, {0x40000000, 0x40000000},
    };
    for (const Case& c : cases) {
        plat::SeedRnd(c.seed);
        EXPECT_EQ(plat::RndSeed(), c.state) << "seed " << c.seed;
    }
    plat::SeedRnd(1);
    plat::RndFraction();
    EXPECT_EQ(plat::RndSeed(), 182605794);  // steps 48271, then 182605794
}

TEST_F(Rng, RandSequences) {
    struct Case { int seed, a, b; std::vector<int> values; };
    const Case cases[] = {
        {0, 6, 1, {3, 2, 5, 1, 4, 2, 5, 3, 3, 4}},  // Rand(6): 1..6 from the initial state
        {12345, 1, 100, {11, 80, 66, 51, 31, 87, 51, 95, 19, 34}},
        {-1, 0, 9, {4, 2, 6, 1, 5}},
        {987654, 10, -5, {7, -2, -1, 6, -1, 8, 10, 8}},
        {7, 5, 5, {5, 5, 5}},
        {42, INT_MIN, INT_MAX, {-2131264599, -2030498631, 500612507}},
    };
    for (const Case& c : cases) {
        plat::SeedRnd(c.seed);
        std::vector<int> got;
        for (size_t i = 0; i < c.values.size(); ++i) got.push_back(plat::Rand(c.a, c.b));
        EXPECT_EQ(got, c.values) << "seed " << c.seed << " Rand(" << c.a << ", " << c.b << ")";
    }
    plat::SeedRnd(0);
    EXPECT_EQ(plat::Rand(6), 3);  // the default second bound gives 1..n
    plat::SeedRnd(12345);
    for (int i = 0; i < 10; ++i) plat::Rand(1, 100);
    EXPECT_EQ(plat::RndSeed(), 1755086771);
}

TEST_F(Rng, RndOrdersItsBounds) {
    plat::SeedRnd(42);
    EXPECT_DOUBLE_EQ(plat::Rnd(2.5, -1.5), -1.4848948334022927);
    EXPECT_DOUBLE_EQ(plat::Rnd(-1.5, 2.5), -1.3910492124946554);
    EXPECT_DOUBLE_EQ(plat::Rnd(2.5, -1.5), 0.9662317296231286);
    plat::SeedRnd(0);
    EXPECT_DOUBLE_EQ(plat::Rnd(), 0.4189887270692887);  // Rnd() is a fraction of 1
}

// ---- clock and calendar --------------------------------------------------------
using Clock = BaseState;

TEST_F(Clock, HeadlessClockMovesOnlyWhenTold) {
    ASSERT_TRUE(plat::testing::IsHeadless());
    EXPECT_EQ(plat::MilliSecs(), 0);
    EXPECT_EQ(plat::MilliSecs64(), 0);
    plat::testing::AdvanceTime(100);
    EXPECT_EQ(plat::MilliSecs(), 100);
    plat::Delay(50);
    EXPECT_EQ(plat::testing::Now(), 150);
    plat::Delay(-5);
    plat::Delay(0);
    plat::detail::ClockSleepUntilMs(20);  // in the past: the clock never goes back
    EXPECT_EQ(plat::MilliSecs(), 150);
    plat::detail::ClockSleepUntilMs(400);
    EXPECT_EQ(plat::MilliSecs(), 400);
    // Past 2^31 ms the 64-bit clock keeps counting.
    plat::testing::AdvanceTime(int64_t{1} << 32);
    EXPECT_EQ(plat::MilliSecs64(), (int64_t{1} << 32) + 400);
    plat::detail::ResetBaseState();
    EXPECT_EQ(plat::MilliSecs(), 0);
}

TEST_F(Clock, DatesAreEnglishWhateverTheLocale) {
    // Any locale the machine has; the text must not follow it.
    for (const char* loc : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_ALL, loc)) break;
    const std::string date = plat::CurrentDate();
    const std::string time = plat::CurrentTime();
    std::setlocale(LC_ALL, "C");
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char expect[32];
    std::snprintf(expect, sizeof expect, "%02d %s %04d", tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900);
    EXPECT_EQ(date, expect);  // (fails only across midnight)
    EXPECT_TRUE(std::regex_match(time, std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"))) << time;
}

// ---- text ----------------------------------------------------------------------
TEST(Text, LowerAndUpperTouchOnlyAsciiLetters) {
    EXPECT_EQ(plat::Lower("AbZ az@[`{ 09"), "abz az@[`{ 09");
    EXPECT_EQ(plat::Upper("AbZ az@[`{ 09"), "ABZ AZ@[`{ 09");
    const std::string latin1 = "\xC4\xD6\xDC\xE4\xF6";  // never case-mapped
    EXPECT_EQ(plat::Lower(latin1), latin1);
    EXPECT_EQ(plat::Upper(latin1), latin1);
    std::setlocale(LC_ALL, "tr_TR.UTF-8");  // dotless i, if present, changes nothing
    EXPECT_EQ(plat::Lower("I"), "i");
    std::setlocale(LC_ALL, "C");
}

TEST(Text, ToInt) {
    struct Case { const char* text; int value; };
    const Case cases[] = {
        {"0", 0}, {"42", 42}, {"  \t17", 17}, {"+5", 5}, {"-12", -12}, {"12abc", 12}, {"3.9", 3},
        {"", 0}, {"abc", 0}, {"-", 0}, {"+-3", 0}, {"- 3", 0}, {"$ff", 255}, {"$1A", 26}, {"-$10", -16},
        {"$", 0}, {"$g", 0}, {"%101", 5}, {"%102", 2}, {"-%11", -3}, {"2147483647", INT_MAX},
        {"2147483648", INT_MAX}, {"99999999999999999999", INT_MAX}, {"-2147483648", INT_MIN},
        {"-99999999999999999999", INT_MIN}, {"$7FFFFFFF", INT_MAX}, {"$FFFFFFFFFF", INT_MAX}, {"\n\r 8", 8},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::ToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Text, ToDoubleAndToFloat) {
    struct Case { const char* text; double value; };
    const Case cases[] = {
        {"0", 0}, {"1.5", 1.5}, {"  -2.25", -2.25}, {"+3", 3}, {".5", 0.5}, {"5.", 5}, {"1e3", 1000},
        {"2.5E-2", 0.025}, {"7x", 7}, {"1,5", 1}, {"", 0}, {"abc", 0}, {"-", 0}, {"inf", 0}, {"nan", 0},
        {"e5", 0}, {"1e999", std::numeric_limits<double>::infinity()}, {"-1e999", -std::numeric_limits<double>::infinity()},
        {"1e-999", 0},
    };
    // Under a locale with a decimal comma as well: nothing may change.
    for (const char* loc : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_ALL, loc)) continue;
        for (const Case& c : cases) {
            EXPECT_EQ(plat::ToDouble(c.text), c.value) << '"' << c.text << "\" in " << loc;
            EXPECT_EQ(plat::ToFloat(c.text), static_cast<float>(c.value)) << '"' << c.text << "\" in " << loc;
        }
    }
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(plat::ToFloat("0.1"), 0.1f);  // read as a float, not rounded twice
    EXPECT_EQ(plat::ToFloat("1e39"), std::numeric_limits<float>::infinity());
}

TEST(Text, ShortestRoundTrip) {
    struct Case { float value; const char* text; };
    const Case cases[] = {{0.5f, "0.5"}, {1.2f, "1.2"}, {3.0f, "3"}, {-0.1f, "-0.1"}, {0.0f, "0"}, {1e20f, "1e+20"}};
    for (const Case& c : cases) EXPECT_EQ(plat::FloatToString(c.value), c.text);
    EXPECT_EQ(plat::DoubleToString(0.1), "0.1");
    for (float v : {0.3f, 123.456f, 1.0f / 3.0f, 1e-7f, 16777217.0f, -2.5e30f})
        EXPECT_EQ(plat::ToFloat(plat::FloatToString(v)), v) << v;
    for (double v : {0.3, 1.0 / 3.0, 6.02214076e23}) EXPECT_EQ(plat::ToDouble(plat::DoubleToString(v)), v) << v;
}

TEST(Text, TruncToInt) {
    struct Case { double value; int expect; };
    const Case cases[] = {
        {0.0, 0}, {2.9, 2}, {-2.9, -2}, {0.999, 0}, {-0.5, 0}, {2147483646.9, 2147483646},
        {2147483647.0, INT_MAX}, {1e12, INT_MAX}, {-2147483648.0, INT_MIN}, {-2147483648.9, INT_MIN}, {-1e12, INT_MIN},
        {std::numeric_limits<double>::infinity(), INT_MAX}, {-std::numeric_limits<double>::infinity(), INT_MIN},
        {std::nan(""), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::TruncToInt(c.value), c.expect) << c.value;
}

// ---- angles ---------------------------------------------------------------------
// Degrees in and out, in double precision: the values of whole angles are
// the double-precision sines and cosines of their radians.
TEST(Angles, SinCosAndATan2WorkInDegrees) {
    struct Case {
        double degrees, sin, cos;
    } turns[] = {
        {0, 0.0, 1.0},  {30, 0.5, std::sqrt(3.0) / 2}, {45, std::sqrt(0.5), std::sqrt(0.5)}, {90, 1.0, 0.0},
        {180, 0.0, -1.0}, {-90, -1.0, 0.0}, {270, -1.0, 0.0}, {450, 1.0, 0.0},
    };
    for (const Case& c : turns) {
        EXPECT_NEAR(plat::Sin(c.degrees), c.sin, 1e-15) << c.degrees;
        EXPECT_NEAR(plat::Cos(c.degrees), c.cos, 1e-15) << c.degrees;
    }
    EXPECT_EQ(plat::Sin(90), 1.0);
    // A double result: the sine of 1 degree is not the float nearest it.
    EXPECT_EQ(plat::Sin(1), std::sin(3.14159265358979323846 / 180.0));
    EXPECT_NE(plat::Sin(1), static_cast<double>(static_cast<float>(plat::Sin(1))));

    struct Point {
        double y, x, degrees;
    } points[] = {{0, 1, 0}, {1, 1, 45}, {1, 0, 90}, {0, -1, 180}, {-1, 0, -90}, {-1, -1, -135}, {2, 2 * std::sqrt(3.0), 30}};
    for (const Point& p : points) EXPECT_NEAR(plat::ATan2(p.y, p.x), p.degrees, 1e-12) << p.y << ", " << p.x;
}

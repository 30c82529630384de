// Countdown clocks: the digits drawn for a time, the once-a-second tick on
// the fake clock, and strips that cannot be used.
#include "ui/clock.h"
#include "ui_fixture.h"

namespace {

class Clocks : public UiTest {
protected:
    TDimPtr area = CreateDim(200, 100, 0, 0, 0, 1, 1, 0);
    TAnimClockPtr Make(int frames = 11) { return CreateAnimClock(Filled(10 * frames, 12, 0xFFFFFFFFu), area, frames); }

    struct Digit { int frame; float x, y; };
    std::vector<Digit> Drawn(const TAnimClockPtr& c) {
        Clear();
        c->Draw();
        std::vector<Digit> out;
        for (const auto& call : CallsOf(c->digits)) out.push_back({call.frame, call.x, call.y});
        return out;
    }
    static void ExpectDigits(const std::vector<Digit>& got, const std::vector<Digit>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(got[i].frame, want[i].frame);
            EXPECT_FLOAT_EQ(got[i].x, want[i].x);
            EXPECT_FLOAT_EQ(got[i].y, want[i].y);
        }
    }
    // Steps the fake clock one frame and runs the tick.
    static void Frame(const TAnimClockPtr& c, int ms = 17) {
        plat::testing::AdvanceTime(ms);
        c->State();
    }
};

TEST_F(Clocks, DrawsMinutesColonAndSecondsFromTheStripThenTicks) {
    auto c = Make();
    ASSERT_TRUE(c->digits);
    EXPECT_EQ(plat::ImageFrames(c->digits), 11);
    EXPECT_EQ(plat::ImageWidth(c->digits), 10);
    EXPECT_EQ(c->Stopped(), 1);

    c->Set(75);
    ExpectDigits(Drawn(c), {{5, 253, 100}, {1, 235, 100}, {10, 218, 98}, {1, 200, 100}});
    for (int i = 0; i < 58; ++i) Frame(c);  // 986 ms: not yet
    EXPECT_EQ(c->remaining, 75.0f);
    Frame(c);  // 1003 ms
    EXPECT_EQ(c->remaining, 74.0f);
    ExpectDigits(Drawn(c), {{4, 253, 100}, {1, 235, 100}, {10, 218, 98}, {1, 200, 100}});

    // The clock reads the rectangle's corner, so moving it moves the clock.
    area->offsetX = 5;
    EXPECT_FLOAT_EQ(Drawn(c)[3].x, 205.0f);
}

// The tick on a scripted timeline: a second goes only once the clock is
// strictly past the next tick, at most one per call however late the call,
// and the next tick is counted from the call that noticed (so a late frame
// shifts every later second with it).
TEST_F(Clocks, EachSecondGoesStrictlyAfterItsTickOnePerCallCountedFromTheCall) {
    auto c = Make();
    c->Set(100);
    const struct Step {
        int at;         // ms after Set
        float remaining;
    } steps[] = {
        {999, 100},  {1000, 100},  // exactly on the tick is not past it
        {1001, 99},  {2000, 99},   {2001, 99},  // next tick at 2001, not 2000
        {2002, 98},                             // ... and at 3002 after this
        {7500, 97},                             // far behind: one second only
        {7600, 97},  {8500, 97},   {8501, 96},  // then counted from 7500
        {9000, 96},  {9501, 96},   {9502, 95},
    };
    int now = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.at);
        Frame(c, s.at - now);
        now = s.at;
        EXPECT_EQ(c->remaining, s.remaining);
    }
}

TEST_F(Clocks, RunsDownToZeroAndStopsThere) {
    auto c = Make();
    c->Set(5);
    int frames = 0;
    while (c->Stopped() == 0 && frames < 1000) {
        Frame(c);
        ++frames;
    }
    EXPECT_EQ(c->remaining, 0.0f);
    EXPECT_GE(frames * 17, 5000);
    EXPECT_LE(frames * 17, 5 * (1000 + 17));
    Frame(c, 5000);
    EXPECT_EQ(c->remaining, 0.0f);
    EXPECT_EQ(c->Stopped(), 1);

    c->Set(0);
    EXPECT_EQ(c->Stopped(), 1);
    c->Set(3);
    c->Stop();
    EXPECT_EQ(c->Stopped(), 1);
    c->remaining = -4;  // a negative time becomes 0 on the next tick
    c->State();
    EXPECT_EQ(c->remaining, 0.0f);
}

TEST_F(Clocks, StartEveryFrameKeepsTheClockFromTicking) {
    auto c = Make();
    c->Set(10);
    for (int i = 0; i < 300; ++i) {
        c->Start();
        Frame(c);
    }
    EXPECT_EQ(c->remaining, 10.0f);
}

TEST_F(Clocks, OnlyFramesTheStripHoldsAreDrawn) {
    auto c = Make();
    c->Set(600);  // 10:00: minutes 10 would draw the colon frame as a digit
    ExpectDigits(Drawn(c), {{0, 253, 100}, {0, 235, 100}, {10, 218, 98}});

    auto shortStrip = Make(10);  // no colon frame
    shortStrip->Set(61);
    ExpectDigits(Drawn(shortStrip), {{1, 253, 100}, {0, 235, 100}, {1, 200, 100}});
}

TEST_F(Clocks, UnusableStripsGiveAClockThatDrawsNothing) {
    for (int frames : {0, -3}) {
        ::testing::internal::CaptureStdout();
        auto c = CreateAnimClock(Filled(110, 12, 0xFFFFFFFFu), area, frames);
        EXPECT_NE(::testing::internal::GetCapturedStdout().find("CreateAnimClock: a strip cannot be cut into " +
                                                                std::to_string(frames) + " frames"),
                  std::string::npos);
        ASSERT_TRUE(c);
        EXPECT_FALSE(c->digits);
        c->Set(30);
        Clear();
        c->Draw();
        c->State();
        EXPECT_TRUE(plat::testing::DrawCalls().empty());
    }
    auto missing = CreateAnimClock(std::string("no/such/strip.png"), area, 11);
    EXPECT_FALSE(missing->digits);
    EXPECT_FALSE(plat::testing::Notifications().empty());  // the loader's own message
    missing->Set(9);
    missing->Draw();
    auto narrow = CreateAnimClock(Filled(5, 12, 0xFFFFFFFFu), area, 11);  // cells 0 wide
    EXPECT_FALSE(narrow->digits);

    TClock base;  // the base clock does nothing
    EXPECT_EQ(base.Set(5), 0);
    EXPECT_EQ(base.remaining, 0.0f);
    EXPECT_EQ(base.Stopped(), 0);
}

}  // namespace

// Flip(-1) pacing on the fake clock, and the per-frame hook.
#include "gfx_fixture.h"

namespace {
using namespace plat;
namespace pt = plat::testing;
using gfxtest::Headless;

using FlipPacing = Headless;

TEST_F(FlipPacing, SixtyFramesTakeExactlyOneSecond) {
    ASSERT_TRUE(Graphics(800, 600));
    const int64_t start = pt::Now();
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(pt::Now() - start, 1000);
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(pt::Now() - start, 2000);
}

// With the remainder carried one millisecond at a time, frame k lands exactly
// on floor(k * 1000 / hertz) after the schedule started, whatever the rate.
TEST_F(FlipPacing, FrameTimesFollowTheRemainderAccumulator) {
    for (int hertz : {60, 50, 75, 85, 30, 144, 7}) {
        pt::Reset();
        ASSERT_TRUE(Graphics(800, 600, 0, hertz));
        for (int k = 1; k <= 2 * hertz + 3; ++k) {
            Flip(-1);
            ASSERT_EQ(pt::Now(), int64_t{k} * 1000 / hertz) << "hertz " << hertz << " frame " << k;
        }
    }
}

TEST_F(FlipPacing, FirstFramesAt60HzAre16_33_50_66_83_100) {
    ASSERT_TRUE(Graphics(800, 600));
    const int64_t expected[] = {16, 33, 50, 66, 83, 100, 116};
    for (int64_t t : expected) {
        Flip(-1);
        EXPECT_EQ(pt::Now(), t);
    }
}

TEST_F(FlipPacing, WorkShorterThanAFrameDoesNotShiftTheSchedule) {
    ASSERT_TRUE(Graphics(800, 600));
    for (int k = 1; k <= 30; ++k) {
        pt::AdvanceTime(k % 3 == 0 ? 15 : 4);  // the frame's own work
        Flip(-1);
        ASSERT_EQ(pt::Now(), int64_t{k} * 1000 / 60) << k;
    }
}

TEST_F(FlipPacing, ALateFrameResetsTheScheduleToNow) {
    ASSERT_TRUE(Graphics(800, 600));
    Flip(-1);
    Flip(-1);  // at 33
    pt::AdvanceTime(100);  // a long frame: 133, past the tick at 50
    Flip(-1);
    EXPECT_EQ(pt::Now(), 133) << "a late frame does not wait";
    // The schedule starts again from 133 with an empty accumulator.
    const int64_t after[] = {149, 166, 183, 199};
    for (int64_t t : after) {
        Flip(-1);
        EXPECT_EQ(pt::Now(), t);
    }
}

TEST_F(FlipPacing, AFrameExactlyOnItsTickIsNotLate) {
    ASSERT_TRUE(Graphics(800, 600));
    pt::AdvanceTime(16);
    Flip(-1);
    EXPECT_EQ(pt::Now(), 16);
    Flip(-1);
    EXPECT_EQ(pt::Now(), 33) << "the accumulator was kept";
}

TEST_F(FlipPacing, FlipZeroDoesNotWaitAndReopeningRestartsTheSchedule) {
    ASSERT_TRUE(Graphics(800, 600));
    Flip(0);
    EXPECT_EQ(pt::Now(), 0);
    pt::AdvanceTime(500);
    ASSERT_TRUE(Graphics(800, 600));
    Flip(-1);
    EXPECT_EQ(pt::Now(), 516);
}

TEST_F(FlipPacing, FullScreenWithoutVsyncIsPacedTheSameWay) {
    ASSERT_TRUE(Graphics(800, 600, 32, 60));
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(pt::Now(), 1000);
}

// ---- vertical sync ----------------------------------------------------------
// The headless display grants vertical sync when scripted; its presents then
// take the scripted time, as a wait for the retrace would. The frames' own
// work takes no time here, so each present's length is the frame's length.

// Presents of 17, 17, 16 ms: a 60 Hz retrace to within a millisecond.
int RetraceMs(int flip) { return flip % 3 == 2 ? 16 : 17; }

// Opens full screen and runs the trial through: three presents each within
// a millisecond of the period hand pacing to the retrace.
void LockToRetrace() {
    pt::ScriptVsync(RetraceMs);
    ASSERT_TRUE(Graphics(800, 600, 32, 60));
    ASSERT_TRUE(pt::VsyncOn());
    for (int i = 0; i < 4; ++i) Flip(-1);
    ASSERT_TRUE(pt::VsyncOn());
}

TEST_F(FlipPacing, PresentsThatKeepThePeriodTakeOverThePacing) {
    LockToRetrace();
    // Under the retrace the schedule adds no wait of its own: presents of
    // 20 ms (a slow retrace) give frames of 20 ms, not a reset schedule.
    pt::ScriptVsync([](int) { return 20; });
    const int64_t start = pt::Now();
    for (int i = 0; i < 10; ++i) Flip(-1);
    EXPECT_EQ(pt::Now() - start, 200);
    EXPECT_TRUE(pt::VsyncOn());
}

TEST_F(FlipPacing, AWindowOrAnUnheldPresentKeepsTheSoftwareSchedule) {
    pt::ScriptVsync(RetraceMs);
    ASSERT_TRUE(Graphics(800, 600));
    EXPECT_FALSE(pt::VsyncOn()) << "a window never asks for the retrace";
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(pt::Now(), 1000);

    // In full screen, presents that do not wait end the trial at the first
    // one that can be measured, the second.
    pt::ScriptVsync([](int) { return 0; });
    ASSERT_TRUE(Graphics(800, 600, 32, 60));
    Flip(-1);
    EXPECT_TRUE(pt::VsyncOn());
    Flip(-1);
    EXPECT_FALSE(pt::VsyncOn());
    const int64_t start = pt::Now();
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(pt::Now() - start, 1000);
}

// A minimised full-screen window: presents return at once. A few quick ones
// are borne (a queued frame after a stall); six in a row give the pacing back
// to the schedule, which then holds the frames to their period again.
TEST_F(FlipPacing, PresentsThatStopWaitingHandThePacingBackToTheSchedule) {
    struct Case {
        const char* what;
        int quickPresents;  // in a row, then the retrace again
        bool handedBack;
    } cases[] = {
        {"one quick present", 1, false},
        {"five in a row", 5, false},
        {"six in a row", 6, true},
        {"many", 40, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pt::Reset();
        LockToRetrace();
        const int first = pt::FlipCount();
        pt::ScriptVsync([&](int flip) { return flip - first < c.quickPresents ? 1 : RetraceMs(flip); });
        int64_t before = pt::Now();
        for (int i = 0; i < c.quickPresents; ++i) Flip(-1);
        if (!c.handedBack) {
            EXPECT_EQ(pt::Now() - before, c.quickPresents) << "the retrace still paces";
            EXPECT_TRUE(pt::VsyncOn());
            // The count starts again after a present that waited.
            for (int i = 0; i < 5; ++i) Flip(-1);
            pt::ScriptVsync([](int) { return 1; });
            for (int i = 0; i < 5; ++i) Flip(-1);
            EXPECT_TRUE(pt::VsyncOn());
            continue;
        }
        EXPECT_FALSE(pt::VsyncOn());
        // Back on the schedule, from the frame after the hand-back: sixty
        // frames take one second however quick the presents are.
        pt::ScriptVsync([](int) { return 0; });
        before = pt::Now();
        for (int i = 0; i < 60; ++i) Flip(-1);
        EXPECT_EQ(pt::Now() - before, 1000);
    }
}

TEST_F(FlipPacing, HookRunsOncePerFlipAfterTheClockMovedAndBeforeInputIsRead) {
    ASSERT_TRUE(Graphics(800, 600));
    std::vector<std::pair<int, int64_t>> seen;
    pt::OnFlip([&](int n) {
        seen.emplace_back(n, pt::Now());
        if (n == 3) pt::TapKey(KEY_SPACE);
    });
    int hitAt = 0;
    for (int frame = 1; frame <= 5; ++frame) {
        Flip(-1);
        if (KeyHit(KEY_SPACE)) hitAt = frame;
    }
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0], (std::pair<int, int64_t>{1, 16}));
    EXPECT_EQ(seen[2], (std::pair<int, int64_t>{3, 50}));
    EXPECT_EQ(hitAt, 3);
    EXPECT_EQ(pt::FlipCount(), 5);
    pt::OnFlip(nullptr);
    Flip(-1);
    EXPECT_EQ(seen.size(), 5u);
}

// The benchmarks' record of shown frames: one entry per Flip, on the game's
// clock as the frame left, the other clocks never going back; none once off.
TEST_F(FlipPacing, FlipTimesAreRecordedOncePerFrameWhileAsked) {
    ASSERT_TRUE(Graphics(800, 600));
    std::vector<pt::FlipTime> times;
    pt::RecordFlipTimes(&times);
    Flip(-1);
    pt::AdvanceTime(40);  // a late frame
    Flip(-1);
    Flip(0);
    Flip(-1);
    pt::RecordFlipTimes(nullptr);
    Flip(-1);
    ASSERT_EQ(times.size(), 4u);
    const int64_t clocks[] = {16, 56, 56, 72};
    for (size_t i = 0; i < times.size(); ++i) {
        EXPECT_EQ(times[i].clockMs, clocks[i]) << i;
        if (i > 0) {
            EXPECT_GE(times[i].wallNs, times[i - 1].wallNs);
            EXPECT_GE(times[i].cpuNs, times[i - 1].cpuNs);
        }
    }
}

TEST_F(FlipPacing, DrawsCarryTheFlipTheyBelongTo) {
    ASSERT_TRUE(Graphics(800, 600));
    DrawRect(0, 0, 1, 1);
    Flip(-1);
    Flip(-1);
    DrawRect(0, 0, 1, 1);
    const auto rects = Calls(pt::DrawCall::RECT);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].flip, 0);
    EXPECT_EQ(rects[1].flip, 2);
}

// A long run keeps a bounded record, yet every draw of the last kKeptFrames
// frames is still there to read, whatever the run's length; and nothing is
// dropped before the run is that long. Two draws a frame, so a cut inside a
// frame would show as an odd count.
TEST_F(FlipPacing, ALongRunKeepsTheLastFramesDrawsAndNoMore) {
    ASSERT_TRUE(Graphics(800, 600));
    const int frames = 5 * pt::kKeptFrames + 7;
    for (int f = 0; f < frames; ++f) {
        DrawRect(0, 0, 1, 1);
        DrawRect(1, 1, 1, 1);
        if (f == pt::kKeptFrames) {
            ASSERT_EQ(pt::DrawCalls().front().flip, 0) << "the first frame is kept while the run is short";
            ASSERT_EQ(pt::DrawCalls().size(), 2u * (pt::kKeptFrames + 1));
        }
        ASSERT_LE(pt::DrawCalls().size(), 2u * 2 * pt::kKeptFrames) << "frame " << f;
        Flip(-1);
    }
    const auto& calls = pt::DrawCalls();
    const int last = frames - 1;
    std::vector<int> perFrame(frames, 0);
    for (const auto& c : calls) ++perFrame[static_cast<size_t>(c.flip)];
    for (int f = last - pt::kKeptFrames + 1; f <= last; ++f) ASSERT_EQ(perFrame[static_cast<size_t>(f)], 2) << f;
    for (int f = calls.front().flip; f <= last; ++f) ASSERT_EQ(perFrame[static_cast<size_t>(f)], 2) << f;
}

// The memory benchmark turns the record off; the next test's reset must
// turn it back on, or every draw check after it would see nothing.
TEST_F(FlipPacing, TheRecordCanBeTurnedOffUntilTheNextReset) {
    ASSERT_TRUE(Graphics(800, 600));
    DrawRect(0, 0, 1, 1);
    pt::RecordDraws(false);
    EXPECT_TRUE(pt::DrawCalls().empty()) << "what was kept goes with it";
    DrawRect(0, 0, 1, 1);
    Flip(-1);
    EXPECT_TRUE(pt::DrawCalls().empty());
    pt::Reset();
    ASSERT_TRUE(Graphics(800, 600));
    DrawRect(0, 0, 1, 1);
    EXPECT_EQ(pt::DrawCalls().size(), 1u);
}

}  // namespace

// The story player: its page state machine (auto-turn, the first Next
// stopping it, Skip, Escape, the last page, taps in the opening fade and
// double-clicks) and a whole part played from its first page to its last.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/mouse.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "platform/testing.h"
#include "story/story_player.h"
#include "story_test_util.h"
#include "support/ogg_encode.h"

namespace {

// Points inside the buttons, and far from both.
constexpr int kNextX = 440, kSkipX = 350, kButtonY = 580;

enum class Act { HoverNext, HoverSkip, Click, Press, Release, Escape, Away };

struct Step {
    int frame;  // done before this page-loop frame (from 1)
    Act act;
};

struct MachineCase {
    std::string name;
    std::vector<int> times;  // the pages' "Time"
    std::vector<Step> script;
    int leaveCode;
    std::vector<int> pagesShown;  // the pages in the order they came up
    int endFrame;                 // the frame the loop ended on; 0 any
};

void Apply(Act act) {
    switch (act) {
        case Act::HoverNext: plat::testing::SetMouse(kNextX, kButtonY); break;
        case Act::HoverSkip: plat::testing::SetMouse(kSkipX, kButtonY); break;
        case Act::Click: plat::testing::ClickMouse(plat::MOUSE_LEFT); break;
        case Act::Press: plat::testing::PressMouse(plat::MOUSE_LEFT); break;
        case Act::Release: plat::testing::ReleaseMouse(plat::MOUSE_LEFT); break;
        case Act::Escape: plat::testing::TapKey(plat::KEY_ESCAPE); break;
        case Act::Away: plat::testing::SetMouse(100, 100); break;
    }
}

class StoryPlayer : public StoryTest {
protected:
    void WritePart(int part, const std::vector<int>& times) {
        std::vector<std::string> pages;
        for (size_t i = 0; i < times.size(); ++i) {
            WritePicture("gfx/story/p" + std::to_string(i + 1) + ".png", 20, 10);
            pages.push_back("Picture='gfx/story/p" + std::to_string(i + 1) + ".png' PosY=" + std::to_string(i) +
                            " Lines=1 Line1='page " + std::to_string(i + 1) + "' Time=" + std::to_string(times[i]));
        }
        WriteStory({{TStoryPart::MemberName(part), PartText(part, " Pages=" + std::to_string(times.size()), pages)}});
    }
};

TEST_F(StoryPlayer, PageStateMachine) {
    // Frames last about 17 ms on the fake clock, so a Time of 200 runs out
    // in the 13th frame of its page.
    const MachineCase cases[] = {
        {"pages turn by themselves; once the last page's time is out one Next ends",
         {200, 200, 200},
         {{1, Act::HoverNext}, {60, Act::Click}},
         1,
         {1, 2, 3},
         60},
        {"the first Next turns the page and stops the turning for good",
         {200, 200, 200},
         {{1, Act::HoverNext}, {3, Act::Click}, {5, Act::Away}, {150, Act::Escape}},
         1,
         {1, 2},
         150},
        {"Skip ends on the first page", {-1, -1}, {{1, Act::HoverSkip}, {3, Act::Click}}, 2, {1}, 3},
        {"Escape ends at once", {200, 200}, {{2, Act::Escape}}, 1, {1}, 2},
        {"one Next ends a last page that waits", {-1}, {{1, Act::HoverNext}, {3, Act::Click}}, 1, {1}, 3},
        {"one Next ends the last page reached by Next",
         {-1, -1},
         {{1, Act::HoverNext}, {3, Act::Click}, {40, Act::Click}},
         1,
         {1, 2},
         40},
        {"a last page whose time is out takes one", {100}, {{1, Act::HoverNext}, {30, Act::Click}}, 1, {1}, 30},
        {"a Time of 0 turns as soon as the clock has moved",
         {0, -1},
         {{10, Act::Escape}},
         1,
         {1, 2},
         10},
        {"after a Next a Time of 0 no longer turns",
         {-1, 0, -1},
         {{1, Act::HoverNext}, {3, Act::Click}, {5, Act::Away}, {40, Act::Escape}},
         1,
         {1, 2},
         40},
        {"a tap in the frame the pointer arrives on Skip", {-1, -1}, {{3, Act::HoverSkip}, {3, Act::Click}}, 2, {1}, 3},
        {"a press in the frame the pointer arrives on Next, held, is one Next",
         {-1, -1},
         {{3, Act::HoverNext}, {3, Act::Press}, {20, Act::Release}, {30, Act::Escape}},
         1,
         {1, 2},
         30},
        {"a press held on the last page's Next ends it",
         {-1},
         {{1, Act::HoverNext}, {3, Act::Press}, {20, Act::Release}},
         1,
         {1},
         3},
        // Two taps 7 frames (about 120 ms) apart: the second lands on the
        // page the first turned to, which the player has not read yet.
        {"a double-click on Next turns one page",
         {-1, -1, -1},
         {{1, Act::HoverNext}, {3, Act::Click}, {10, Act::Click}, {60, Act::Escape}},
         1,
         {1, 2},
         60},
        {"a double-click on Next of the page before the last leaves the last page up",
         {-1, -1},
         {{1, Act::HoverNext}, {3, Act::Click}, {10, Act::Click}, {60, Act::Escape}},
         1,
         {1, 2},
         60},
        {"a Next well after the one before turns again",
         {-1, -1, -1},
         {{1, Act::HoverNext}, {3, Act::Click}, {30, Act::Click}, {60, Act::Escape}},
         1,
         {1, 2, 3},
         60},
        {"a click beside the buttons does nothing",
         {-1, -1},
         {{1, Act::Away}, {3, Act::Click}, {20, Act::Escape}},
         1,
         {1},
         20},
    };
    for (const MachineCase& c : cases) {
        SCOPED_TRACE(c.name);
        WritePart(5, c.times);
        TStoryPlayer player;
        player.Load(5);
        player.BeginPages();
        std::vector<int> shown{player.pageIndex};
        int frame = 0;
        while (player.leaveCode == TStoryPlayer::kGoOn && frame < 400) {
            ++frame;
            for (const Step& s : c.script)
                if (s.frame == frame) Apply(s.act);
            player.PageFrame();
            if (player.pageIndex != shown.back()) shown.push_back(player.pageIndex);
        }
        EXPECT_EQ(player.leaveCode, c.leaveCode);
        EXPECT_EQ(shown, c.pagesShown);
        if (c.endFrame != 0) {
            EXPECT_EQ(frame, c.endFrame);
        }
        plat::testing::SetMouse(0, 0);
        plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        plat::KeyHit(plat::KEY_ESCAPE);
        // The next case's first press is a new page's, not a double-click.
        plat::testing::AdvanceTime(kPageLeaveMs);
    }
}

// A tap made while the first page fades in over the loading picture is
// kept for the page's first frame and acts there once, on the button the
// pointer was over.
TEST_F(StoryPlayer, ATapInTheOpeningFadeActsOnceOnTheFirstPage) {
    struct Case {
        std::string name;
        std::vector<int> times;
        int fadeFrame;  // the opening fade's frame (1..31) the tap follows
        Act where;
        bool hold;
        int leaveCode;               // after 60 page frames; 0 still going
        std::vector<int> pagesShown;
        int endFrame;                // 0 still going
    };
    const Case cases[] = {
        {"a tap on Next turns to the second page only", {-1, -1, -1}, 5, Act::HoverNext, false, 0, {1, 2}, 0},
        {"a tap on Next after the fade's last frame", {-1, -1, -1}, 31, Act::HoverNext, false, 0, {1, 2}, 0},
        {"a press held on Next turns once", {-1, -1, -1}, 5, Act::HoverNext, true, 0, {1, 2}, 0},
        {"a tap on Next of a one-page part ends it", {-1}, 5, Act::HoverNext, false, 1, {1}, 1},
        {"a tap on Skip skips", {-1, -1}, 1, Act::HoverSkip, false, 2, {1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WritePart(5, c.times);
        TStoryPlayer player;
        player.Load(5);
        int fadeFrames = 0;
        plat::testing::OnFlip([&](int) {
            if (++fadeFrames != c.fadeFrame) return;
            Apply(c.where);
            Apply(c.hold ? Act::Press : Act::Click);
        });
        player.OpeningFade();
        plat::testing::OnFlip(nullptr);
        ASSERT_EQ(fadeFrames, 31);
        player.BeginPages();
        std::vector<int> shown{player.pageIndex};
        int frame = 0;
        while (player.leaveCode == TStoryPlayer::kGoOn && frame < 60) {
            ++frame;
            player.PageFrame();
            if (player.pageIndex != shown.back()) shown.push_back(player.pageIndex);
        }
        EXPECT_EQ(player.leaveCode, c.leaveCode);
        EXPECT_EQ(shown, c.pagesShown);
        if (c.endFrame != 0) {
            EXPECT_EQ(frame, c.endFrame);
        }
        plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        plat::testing::SetMouse(0, 0);
        plat::testing::AdvanceTime(kPageLeaveMs);
    }
}

TEST_F(StoryPlayer, AButtonLooksHoveredFromTheFrameAfterTheMouseCame) {
    WritePart(5, {-1});
    TStoryPlayer player;
    player.Load(5);
    player.BeginPages();
    auto nextTint = [&] {
        for (const auto& c : plat::testing::DrawCalls())
            if (c.kind == plat::testing::DrawCall::IMAGE && c.x == 413.0f && c.y == 572.0f) return c.r;
        return -1;
    };
    player.nextImage = plat::CreateImage(58, 20);
    plat::testing::SetMouse(kNextX, kButtonY);
    plat::testing::ClearDrawCalls();
    player.PageFrame();
    EXPECT_EQ(nextTint(), 255) << "drawn before the mouse was seen";
    plat::testing::ClearDrawCalls();
    player.PageFrame();
    EXPECT_EQ(nextTint(), 200);
    plat::testing::SetMouse(470, 591);  // the area's last pixel
    plat::testing::ClearDrawCalls();
    player.PageFrame();
    EXPECT_EQ(nextTint(), 200);
    plat::testing::SetMouse(471, 591);
    player.PageFrame();
    plat::testing::ClearDrawCalls();
    player.PageFrame();
    EXPECT_EQ(nextTint(), 255);
}

// A whole part: fade-in, loading, opening cross-fade, three pages (the
// third a "<<" page), the voice stopped on its time, and the fade to black.
TEST_F(StoryPlayer, PlaysAPartFromFirstPageToLast) {
    WritePicture("gfx/story/one.png", 20, 10);
    WritePicture("gfx/story/two.png", 20, 10);
    // A second of a quiet tone as the voice, and the story song.
    plat::CreateDir("sfx/story", true);
    ASSERT_TRUE(quill_test::WriteTestOgg("sfx/story/voice.ogg", 1.0));
    ASSERT_TRUE(quill_test::WriteTestOgg(TStoryPlayer::kSong, 1.0));
    WriteStory({{"part-2.tsc",
                 PartText(2, " Pages=3 Voice='sfx/story/voice.ogg' voiceStopAfter=400",
                          {"Picture='gfx/story/one.png' PosY=0 Lines=2 Line1='a' Line2='b' Time=300",
                           "Picture='gfx/story/two.png' PosY=7 Lines=1 Line1='c' Time=300",
                           "Picture='<<' PosY=9 Lines=1 Line1='d' Time=-1"})}});

    TStoryPlayer player;
    std::map<int, int> firstFrameOfPage;
    std::vector<float> pictureFadeAtTurn;
    int loopFrames = 0;
    bool looping = false;
    plat::testing::OnFlip([&](int) {
        if (!looping) return;
        ++loopFrames;
        if (!firstFrameOfPage.count(player.pageIndex)) {
            firstFrameOfPage[player.pageIndex] = loopFrames;
            pictureFadeAtTurn.push_back(player.pictureFade);
        }
        // On the last page, wait a while, then click Next.
        if (player.pageIndex == 3) {
            plat::testing::SetMouse(kNextX, kButtonY);
            if (loopFrames - firstFrameOfPage[3] == 10) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        }
    });

    player.FadeIn();
    const int afterFadeIn = plat::testing::FlipCount();
    EXPECT_EQ(afterFadeIn, 21);
    player.FirstFrame();
    player.Load(2);
    ASSERT_TRUE(player.HasVoice());
    player.StartMusic();
    player.OpeningFade();
    EXPECT_EQ(plat::testing::FlipCount(), 21 + 1 + 31);
    player.StartVoice();
    const int voiceStart = player.voiceStart;
    player.BeginPages();
    looping = true;
    int stoppedFrameClock = -1;
    while (player.leaveCode == TStoryPlayer::kGoOn && loopFrames < 600) {
        player.PageFrame();
        if (player.voiceStopped != 0 && stoppedFrameClock < 0) stoppedFrameClock = plat::MilliSecs();
    }
    looping = false;
    EXPECT_EQ(player.leaveCode, TStoryPlayer::kDone);
    ASSERT_EQ(firstFrameOfPage.size(), 3u) << "every page came up";
    EXPECT_LT(firstFrameOfPage[1], firstFrameOfPage[2]);
    EXPECT_LT(firstFrameOfPage[2], firstFrameOfPage[3]);
    // The second page brought a new picture and faded it in; the "<<" page
    // kept the picture, so only its text faded.
    ASSERT_EQ(pictureFadeAtTurn.size(), 3u);
    EXPECT_GT(pictureFadeAtTurn[1], 90.0f);
    EXPECT_LT(pictureFadeAtTurn[2], 90.0f);
    EXPECT_EQ(player.pictureY, 9) << "the shared picture at the new page's place";
    EXPECT_EQ(player.currentText.lines[0], "d");
    EXPECT_EQ(player.previousText.lines[0], "c");
    // The voice ran from the end of the opening cross-fade for its 400 ms.
    ASSERT_GE(stoppedFrameClock, 0);
    EXPECT_GT(stoppedFrameClock - voiceStart, 400);
    EXPECT_LT(stoppedFrameClock - voiceStart, 400 + 40);

    const int beforeFadeOut = plat::testing::FlipCount();
    player.FadeOut();
    EXPECT_EQ(plat::testing::FlipCount() - beforeFadeOut, 21);
    EXPECT_EQ(plat::testing::PlayingChannels(), 0) << "music and voice stopped";
    player.Release();
    EXPECT_EQ(player.topImage, nullptr);
    EXPECT_EQ(player.part.pictures[0], nullptr);
    EXPECT_TRUE(plat::testing::Notifications().empty());
}

// The quest's story opens by fading the menu to black; the "Loading..."
// caption shows only on black, never over the menu still showing through.
TEST_F(StoryPlayer, TheLoadingCaptionWaitsForTheMenuToFade) {
    TStoryPlayer player;
    plat::testing::ClearDrawCalls();
    const int start = plat::testing::FlipCount();
    player.FadeIn();
    const plat::Image* caption = loading->loadingImage.get();
    std::map<int, float> blackAlpha;  // the black's alpha, by frame
    int captionDraws = 0;
    for (const auto& d : plat::testing::DrawCalls()) {
        if (d.kind == plat::testing::DrawCall::RECT && d.r == 0 && d.g == 0 && d.b == 0 && d.w >= 800 && d.h >= 600)
            blackAlpha[d.flip] = d.alpha;
        if (d.kind != plat::testing::DrawCall::IMAGE || d.image != caption) continue;
        ++captionDraws;
        ASSERT_TRUE(blackAlpha.count(d.flip)) << "frame " << d.flip - start << ": the caption before any black";
        EXPECT_FLOAT_EQ(blackAlpha[d.flip], 1.0f) << "frame " << d.flip - start << ": the menu still shows";
    }
    EXPECT_EQ(captionDraws, 1) << "the caption stands on the black frame that ends the fade";
}

TEST_F(StoryPlayer, ShowStoryReturnsZeroOnEveryEnding) {
    WritePart(6, {-1, -1});
    for (Act ending : {Act::Escape, Act::HoverSkip}) {
        int frames = 0;
        plat::testing::OnFlip([&](int) {
            ++frames;
            // Past fade-in, first frame and opening cross-fade.
            if (frames == 21 + 1 + 31 + 2) Apply(ending);
            if (ending == Act::HoverSkip && frames == 21 + 1 + 31 + 4) Apply(Act::Click);
        });
        EXPECT_EQ(showStory(6, 1), 0);
        plat::testing::OnFlip(nullptr);
        EXPECT_LT(frames, 21 + 1 + 31 + 10 + 21);
    }
}

// Every part the quest asks for, as the game ships it: nothing missing,
// every picture there, and each part played through to its end.
TEST_F(StoryPlayer, TheShippedPartsAreCompleteAndPlayToTheirEnd) {
    const std::string oldDir = plat::CurrentDir();
    ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR)) << "the built game folder";
    for (int n = 1; n <= 16; ++n) {
        SCOPED_TRACE("part " + std::to_string(n));
        TStoryPlayer player;
        player.Load(n);
        EXPECT_TRUE(player.part.missing.empty());
        EXPECT_TRUE(player.HasVoice());
        for (int i = 0; i < player.part.pageCount; ++i) {
            EXPECT_NE(player.part.pictures[static_cast<size_t>(i)], nullptr) << "page " << i + 1;
            EXPECT_GT(player.part.pages[static_cast<size_t>(i)].lineCount, 0) << "page " << i + 1;
        }
        // Next on every page, as soon as the button has been seen hovered.
        player.BeginPages();
        plat::testing::SetMouse(kNextX, kButtonY);
        std::vector<int> shown{player.pageIndex};
        for (int frame = 1; player.leaveCode == TStoryPlayer::kGoOn && frame < 1000; ++frame) {
            if (frame % 3 == 0) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            player.PageFrame();
            if (player.pageIndex != shown.back()) shown.push_back(player.pageIndex);
        }
        EXPECT_EQ(player.leaveCode, TStoryPlayer::kDone);
        EXPECT_EQ(static_cast<int>(shown.size()), player.part.pageCount);
        EXPECT_EQ(shown.back(), player.part.pageCount);
    }
    EXPECT_TRUE(plat::testing::Notifications().empty());
    plat::ChangeDir(oldDir);
}

}  // namespace

// The rules of a frame of play: the hit boxes, the click rule, the time per
// rune, the block after a finished sequence, the pendulum, the end of the
// time and the intro popups.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "ring_test_util.h"

namespace {

namespace pt = plat::testing;

class RingRules : public RingTest {
protected:
    // A level opening with two popups, A then B.
    static void LoadTwoPopups() {
        WriteRingPopups(
            "A{ Level=1 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='a' Condition=0 "
            "Spell=0 ButtonY=-1 TextY=-1 }\n"
            "B{ Level=1 Image='gfx/info/panel.png' X=280 Y=150 Event='BEGIN_LEVEL' Lines=1 Line1='b' Condition=0 "
            "Spell=0 ButtonY=-1 TextY=-1 }\n");
        ringGame->Load("ring-01.tsc");
    }
};

TEST_F(RingRules, TheHitBoxesAreFixedAndInclusive) {
    const struct {
        int x, y, rune;
    } cases[] = {{185, 65, 0},  {235, 65, 0},  {236, 65, -1}, {184, 100, -1}, {200, 125, 0},  {200, 126, -1},
                 {200, 164, -1}, {200, 165, 1}, {110, 295, 7}, {565, 400, 13}, {615, 400, 13}, {690, 525, 19},
                 {690, 526, -1}, {400, 260, -1}, {85, 65, 5},  {135, 485, 9}, {665, 165, 16}};
    for (const auto& c : cases) {
        PointAt(c.x, c.y);
        EXPECT_EQ(ringGame->checkRows(), c.rune) << c.x << "," << c.y;
    }
}

// One frame's judgement of the rune under the pointer.
TEST_F(RingRules, ClickRules) {
    enum Button { kNone, kLeft, kRight };
    const struct {
        const char* name;
        int position;     // in a sequence of 4: 5 12 7 3
        int sinceRune;    // ms since the last rune event
        int sinceDone;    // ms since a finished sequence; -1 none pending
        int rune;         // under the pointer
        Button button;
        bool spells;      // AvailableSpells not empty
        int newPosition;
        int hits;         // added
        float progress;
        std::set<int> sounds;
        bool runeClockReset;
        bool finished;    // a new sequence drawn and the block started
        int received;     // added
    } cases[] = {
        {"right first rune", 0, 100, -1, 5, kLeft, true, 1, 1, 0.25f, {2}, true, false, 0},
        {"right rune by the right button", 1, 100, -1, 12, kRight, true, 2, 1, 0.5f, {2}, true, false, 0},
        {"wrong rune", 1, 100, -1, 7, kLeft, true, 1, 0, 0.25f, {0}, false, false, 0},
        {"no rune under the pointer", 1, 100, -1, -1, kLeft, true, 1, 0, 0.25f, {}, false, false, 0},
        {"pointer over the rune, no click", 1, 100, -1, 12, kNone, true, 1, 0, 0.25f, {}, false, false, 0},
        {"last rune with spells", 3, 100, -1, 3, kLeft, true, 0, 1, 1.0f, {2, 1}, true, true, 1},
        {"last rune without spells", 3, 100, -1, 3, kLeft, false, 0, 1, 1.0f, {2}, true, true, 0},
        {"time out on a later rune", 2, 5001, -1, -1, kNone, true, 0, 0, 0.0f, {3}, true, false, 0},
        {"time out, then the first rune counts", 2, 5001, -1, 5, kLeft, true, 1, 1, 0.25f, {3, 2}, true, false, 0},
        {"exactly the time per rune", 2, 5000, -1, -1, kNone, true, 2, 0, 0.5f, {}, false, false, 0},
        {"the first rune waits for ever", 0, 90000, -1, -1, kNone, true, 0, 0, 0.0f, {}, false, false, 0},
        {"clicks are ignored in the block", 0, 100, 500, 5, kLeft, true, 0, 0, 1.0f, {}, false, false, 0},
        {"the block ends after its second", 0, 100, 1001, 5, kLeft, true, 0, 0, 0.0f, {}, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pt::AdvanceTime(100000);
        const int now = plat::MilliSecs();
        TRingGame& g = *ringGame;
        g.AvailableSpells = c.spells ? std::vector<std::string>{"4"} : std::vector<std::string>{};
        g.RuneTime = 5000;
        g.levelSequenceLast = 3;
        g.sequence.fill(-1);
        g.sequence[0] = 5;
        g.sequence[1] = 12;
        g.sequence[2] = 7;
        g.sequence[3] = 3;
        g.sequenceLast = 3;
        g.position = c.position;
        g.progress = c.sinceDone >= 0 ? 1.0f : static_cast<float>(c.position) / 4.0f;
        g.runeClock = now - c.sinceRune;
        g.completedAt = c.sinceDone >= 0 ? now - c.sinceDone : -1;
        g.hits = 10;
        g.received = 2;
        g.hoverRune = c.rune;
        mouse->leftHit = c.button == kLeft ? 1 : 0;
        mouse->rightHit = c.button == kRight ? 1 : 0;
        const int countBefore = g.spells[3]->count;
        HeardSounds();

        g.updateSequence();

        EXPECT_EQ(g.position, c.newPosition);
        EXPECT_EQ(g.hits, 10 + c.hits);
        EXPECT_FLOAT_EQ(g.progress, c.progress);
        EXPECT_EQ(HeardSounds(), c.sounds);
        EXPECT_EQ(g.runeClock, c.runeClockReset ? now : now - c.sinceRune);
        EXPECT_EQ(g.received, 2 + c.received);
        EXPECT_EQ(g.spells[3]->count, countBefore + c.received) << "kind 4 is counter 3";
        if (c.finished) {
            EXPECT_EQ(g.completedAt, now);
            EXPECT_EQ(g.ballAlpha, 0.0f) << "the new sequence's first rune stays hidden";
            EXPECT_NE(g.sequence[1], -1) << "a new sequence of the level's length";
            EXPECT_EQ(g.sequence[4], -1);
        } else if (c.sinceDone < 0 || c.sinceDone > 1000) {
            EXPECT_EQ(g.completedAt, -1);
        } else {
            EXPECT_EQ(g.completedAt, now - c.sinceDone);
        }
        if (!c.finished) {
            EXPECT_EQ(g.sequence[0], 5) << "a sequence that timed out is not redrawn";
            EXPECT_EQ(g.sequence[2], 7);
        }
    }
}

TEST_F(RingRules, TheShownRuneFadesInOnlyOutsideTheBlock) {
    RunIntro();
    ringGame->Time = 1e9f;
    ringGame->resetRune();
    ringGame->completedAt = plat::MilliSecs();
    for (int i = 0; i < 10; ++i) ringGame->Update();
    EXPECT_EQ(ringGame->ballAlpha, 0.0f);
    EXPECT_EQ(ringGame->ballScale, 3.0f);
    ringGame->completedAt = -1;
    for (int i = 0; i < 40; ++i) ringGame->Update();
    EXPECT_NEAR(ringGame->ballScale, 1.0f, 1e-5f);
    EXPECT_GE(ringGame->ballAlpha, 0.99f);
}

TEST_F(RingRules, ThePendulumSwingsLessAsTheTimeRunsOut) {
    const struct {
        float time;
        int elapsed;
        int amplitude;
        int state;
    } cases[] = {{60000, 0, 30, 6}, {60000, 1, 29, 6},     {60000, 30000, 15, 6}, {60000, 59999, 0, 6},
                 {60000, 60000, 0, 6}, {60000, 60001, 0, 7}, {0, 0, 0, 6},         {0, 1, 0, 7},
                 {-5, 10, 0, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.time) + " " + std::to_string(c.elapsed));
        ringGame->resetParams();
        RunIntro();
        ringGame->Time = c.time;
        ringGame->startTime = plat::MilliSecs() - c.elapsed;
        ringGame->pendulumAngle = 0.0f;
        ringGame->pendulumAmplitude = -99;
        ringGame->Update();
        EXPECT_EQ(ringGame->pendulumAmplitude, c.amplitude);
        EXPECT_EQ(ringGame->ringState, c.state);
    }
    // Away from upright the amplitude keeps its value.
    ringGame->resetParams();
    RunIntro();
    ringGame->Time = 60000;
    ringGame->startTime = plat::MilliSecs() - 30000;
    ringGame->pendulumAngle = 10.0f;
    ringGame->pendulumAmplitude = 22;
    ringGame->Update();
    EXPECT_EQ(ringGame->pendulumAmplitude, 22);
}

TEST_F(RingRules, EnteringARunesBoxSoundsOnce) {
    RunIntro();
    ringGame->Time = 1e9f;
    const struct {
        int rune;
        std::set<int> sounds;
    } steps[] = {{-1, {}}, {3, {4}}, {3, {}}, {8, {}}, {-1, {}}, {8, {4}}};
    for (const auto& s : steps) {
        HeardSounds();
        PointAtRune(s.rune, false);
        ringGame->Update();
        EXPECT_EQ(ringGame->hoverRune, s.rune);
        EXPECT_EQ(HeardSounds(), s.sounds) << s.rune;
    }
}

TEST_F(RingRules, OnePressOfOkClosesOnePopupAndTheLastRestartsTheClock) {
    LoadTwoPopups();
    ASSERT_EQ(ringGame->popups.size(), 2u);
    const TPopupPtr second = ringGame->popups[1];
    ringGame->startTime = 5;
    const TDimPtr& ok = popupManager->okButton->area;
    ok->x = 300;
    ok->y = 300;
    // A frame as the game runs it: the frame's mouse sample, then the popups.
    auto frame = [] {
        mouse->fetchState();
        ringGame->UpdateInfo();
    };
    pt::SetMouse(310, 310);
    pt::PressMouse(plat::MOUSE_LEFT);  // made as the pointer arrives, then held
    frame();
    ASSERT_EQ(ringGame->popups.size(), 1u);
    EXPECT_EQ(ringGame->popups.front(), second);
    EXPECT_EQ(ringGame->startTime, 5) << "the clock waits for the last popup";
    for (int i = 0; i < 3; ++i) frame();
    EXPECT_EQ(ringGame->popups.size(), 1u) << "the same press does not close the next popup";
    pt::ReleaseMouse(plat::MOUSE_LEFT);
    frame();
    EXPECT_EQ(ringGame->popups.size(), 1u);
    pt::ClickMouse(plat::MOUSE_LEFT);  // a tap between two frames
    pt::AdvanceTime(700);
    frame();
    EXPECT_TRUE(ringGame->popups.empty());
    EXPECT_EQ(ringGame->startTime, plat::MilliSecs());
}

// A tap made just after the frame that closed a popup is a double-click's
// second press: it is dropped, never closing the next popup unread; a tap
// made later closes it. Each tap is taken once.
TEST_F(RingRules, ATapMadeAsAPopupClosesIsDroppedAndALaterOneReadsTheNext) {
    LoadTwoPopups();
    ASSERT_EQ(ringGame->popups.size(), 2u);
    const TDimPtr& ok = popupManager->okButton->area;
    ok->x = 300;
    ok->y = 300;
    pt::SetMouse(310, 310);
    pt::ClickMouse(plat::MOUSE_LEFT);
    mouse->fetchState();
    pt::ClickMouse(plat::MOUSE_LEFT);  // after the sample, before the popup reacts
    ringGame->UpdateInfo();
    ASSERT_EQ(ringGame->popups.size(), 1u);
    EXPECT_EQ(mouse->leftHit, 0) << "the press was spent on the popup it closed";
    mouse->fetchState();
    ringGame->UpdateInfo();
    EXPECT_EQ(ringGame->popups.size(), 1u) << "the second tap was dropped";
    pt::AdvanceTime(kPageLeaveMs);
    pt::ClickMouse(plat::MOUSE_LEFT);
    mouse->fetchState();
    ringGame->UpdateInfo();
    EXPECT_TRUE(ringGame->popups.empty()) << "a later tap reads the next popup";
    mouse->fetchState();
    EXPECT_EQ(mouse->leftHit, 0) << "and each tap was taken once";
}

// Whole frames of the game (PlayFrame) over its intro popups and its pause
// menu, with the player's input scripted on each frame's flip.
class RingFrames : public RingRules {
protected:
    void TearDown() override {
        pt::OnFlip(nullptr);
        RingRules::TearDown();
    }
    // Popups of level 1, each "name X Y ButtonY".
    static void LoadPopups(const std::vector<std::tuple<std::string, int, int, int>>& popups) {
        std::string text;
        for (const auto& [name, x, y, buttonY] : popups)
            text += name + "{ Level=1 Image='gfx/info/panel.png' X=" + std::to_string(x) + " Y=" + std::to_string(y) +
                    " Event='BEGIN_LEVEL' Lines=1 Line1='" + name + "' Condition=0 Spell=0 ButtonY=" +
                    std::to_string(buttonY) + " TextY=-1 }\n";
        WriteRingPopups(text);
        ringGame->Load("ring-01.tsc");
        ASSERT_EQ(ringGame->popups.size(), popups.size());
    }
    // The game started and run until its intro has brought it into play
    // (the first popup has not begun to fade in yet).
    static void StartIntoPlay() {
        ringGame->StartPlay(0);
        for (int i = 0; i < 600 && ringGame->ringState < TRingGame::kPlay; ++i) ringGame->PlayFrame();
        ASSERT_EQ(ringGame->ringState, TRingGame::kPlay);
        HeardSounds();
    }
    static void TapOk(const TPopupPtr& p) {
        pt::SetMouse(p->buttonX + 10, p->buttonY + 10);
        pt::ClickMouse(plat::MOUSE_LEFT);
    }
    static void RunFrames(int n) {
        for (int i = 0; i < n; ++i) ringGame->PlayFrame();
    }
};

// Two taps 120 ms apart on a popup's OK: the first closes it; the second
// reaches neither the next popup, drawn at the same place, nor, after the
// last popup, the rune that lies under the OK button. A later tap on the
// next popup's OK closes it.
TEST_F(RingFrames, ADoubleClickOnOkNeverReachesTheNextPopupOrTheRuneUnderIt) {
    // The last popup's OK (a panel 240 wide: OK at X + 92) lies on rune 0's slip.
    const auto [runeX, runeY] = RuneCentre(0);
    const int x = runeX - 10 - 92, y = runeY - 10 - 85;
    struct Case {
        const char* name;
        std::vector<std::tuple<std::string, int, int, int>> popups;
    };
    const std::vector<Case> cases = {
        {"two popups at one place", {{"A", 280, 150, -1}, {"B", 280, 150, -1}}},
        {"the last popup over a rune", {{"A", x, y, 85}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ringGame = std::make_shared<TRingGame>();
        ringGame->loadGfx();
        for (size_t i = 0; i < ringGame->sounds.size(); ++i) ringGame->sounds[i] = Click(static_cast<int>(i));
        LoadPopups(c.popups);
        const TPopupPtr first = ringGame->popups.front();
        const TPopupPtr second = c.popups.size() > 1 ? ringGame->popups[1] : nullptr;
        StartIntoPlay();
        int flips = 0, secondUp = -1, closedAt = -1;
        pt::OnFlip([&](int) {
            ++flips;
            if (flips == 20 || flips == 27) TapOk(first);  // 120 ms apart, the popup long whole
            if (second && secondUp < 0 && second->alpha >= 1.0f) secondUp = flips;
            if (second && secondUp > 0 && flips == secondUp + 40) TapOk(second);
            if (second && closedAt < 0 && ringGame->popups.empty()) closedAt = flips;
        });
        RunFrames(second ? 120 : 60);
        pt::OnFlip(nullptr);
        const std::set<int> heard = HeardSounds();
        EXPECT_EQ(heard.count(TRingGame::kWrongRune) + heard.count(TRingGame::kRightRune), 0u)
            << "no rune was clicked";
        EXPECT_EQ(ringGame->hits, 0);
        if (second) {
            ASSERT_GT(secondUp, 0) << "the next popup was shown whole";
            EXPECT_GT(closedAt, secondUp + 40) << "it stayed up until its own OK";
        }
        EXPECT_TRUE(ringGame->popups.empty());
        pt::AdvanceTime(kPageLeaveMs);
    }
}

// A tap made while the first popup fades in acts on it once it is whole:
// it closes that popup, after it has been drawn whole, and not the next one
// at the same place as well.
TEST_F(RingFrames, ATapInAPopupsFadeInClosesItOnceItIsWholeAndOnlyIt) {
    LoadPopups({{"A", 280, 150, -1}, {"B", 280, 150, -1}});
    const TPopupPtr first = ringGame->popups.front(), second = ringGame->popups[1];
    StartIntoPlay();
    float firstAlpha = 0.0f;  // the most of the first popup ever drawn
    bool tapped = false;
    pt::OnFlip([&](int) {
        if (!ringGame->popups.empty() && ringGame->popups.front() == first) firstAlpha = first->alpha;
        if (!tapped && first->alpha > 0.25f) {
            ASSERT_LT(first->alpha, 1.0f);
            TapOk(first);
            tapped = true;
        }
    });
    RunFrames(60);
    pt::OnFlip(nullptr);
    ASSERT_TRUE(tapped);
    ASSERT_EQ(ringGame->popups.size(), 1u) << "the tap closed one popup";
    EXPECT_EQ(ringGame->popups.front(), second);
    EXPECT_GE(firstAlpha, 1.0f) << "the first popup was drawn whole before the tap closed it";
    EXPECT_EQ(second->fadingIn, 1) << "the next popup waits for its own OK";
    EXPECT_GE(second->alpha, 1.0f);
}

// The pause menu comes up under the Menu button, and the ring comes back
// under Resume: the second press of a double-click on either never acts on
// the page the first one brought; a press made later does.
TEST_F(RingFrames, ADoubleClickOnMenuOrResumeNeverActsOnThePageItBrought) {
    ringGame->Load("ring-01.tsc");  // a minute's game, no popups
    StartIntoPlay();
    ASSERT_TRUE(ringGame->popups.empty());
    ASSERT_TRUE(ringGame->menuButton && ringGame->menuButton->area);
    int flips = 0, resumedAt = -1;
    // The menu's Resume lies under the pointer: any press resumes.
    window->script = [&](int) {
        if (mouse->leftHit == 0 || resumedAt >= 0) return 0;
        resumedAt = flips;
        return static_cast<int>(TRingGame::kResume);
    };
    const TDimPtr menu = ringGame->menuButton->area;
    int hitsBefore = -1;
    const auto tapRune = [] {
        const auto [x, y] = RuneCentre(ringGame->sequence[static_cast<size_t>(ringGame->position)]);
        pt::SetMouse(x, y);
        pt::ClickMouse(plat::MOUSE_LEFT);
    };
    pt::OnFlip([&](int) {
        ++flips;
        if (flips == 20 || flips == 27) {  // 120 ms apart
            pt::SetMouse(static_cast<int>(menu->Left()) + 5, static_cast<int>(menu->Top()) + 5);
            pt::ClickMouse(plat::MOUSE_LEFT);
        }
        if (flips == 60 || flips == 67) tapRune();  // Resume, then the rune the ring shows under it
        if (flips == 105) hitsBefore = ringGame->hits;
        if (flips == 110) tapRune();
    });
    RunFrames(130);
    pt::OnFlip(nullptr);
    window->script = nullptr;
    ASSERT_FALSE(window->pages.empty()) << "the Menu button opened the pause menu";
    EXPECT_GE(resumedAt, 60) << "the pause menu waited for a later press";
    EXPECT_EQ(hitsBefore, 0) << "the second press on Resume reached no rune";
    EXPECT_EQ(ringGame->hits, 1) << "a later press on the rune does";
}

}  // namespace

namespace {

namespace pt = plat::testing;

class RingDrawing : public RingTest {
protected:
    void SetUp() override {
        RingTest::SetUp();
        TRingGame& g = *ringGame;
        g.backgroundImage = plat::CreateImage(8, 8);
        g.ringImage = plat::CreateImage(8, 8);
        g.pendulumImage = plat::CreateImage(8, 8);
        g.tileImage = plat::CreateImage(8, 8);
        g.highlightImage = plat::CreateImage(8, 8);
        g.tileRazod = plat::CreateImage(8, 8, 20);
        g.ballRazod = plat::CreateImage(8, 8, 20);
        g.barImage = plat::CreateImage(1, 8);
    }
    // The draws of one image in the last Draw.
    static std::vector<pt::DrawCall> DrawsOf(const plat::ImagePtr& img) {
        std::vector<pt::DrawCall> out;
        for (const auto& d : pt::DrawCalls())
            if (d.kind == pt::DrawCall::IMAGE && d.image == img.get()) out.push_back(d);
        return out;
    }
    static void DrawFrame() {
        pt::ClearDrawCalls();
        ringGame->Draw(1);
    }
};

TEST_F(RingDrawing, ThePendulumHangsOnlyOnceTheRingHasSettled) {
    for (int state : {1, 2, 3, 4, 5, 6}) {
        ringGame->ringState = state;
        DrawFrame();
        EXPECT_EQ(DrawsOf(ringGame->pendulumImage).size(), state > 3 ? 1u : 0u) << state;
    }
}

TEST_F(RingDrawing, OnlyTheSlipUnderThePointerGlows) {
    ringGame->resetParams();
    for (int hover : {-1, 0, 13, 19}) {
        ringGame->hoverRune = hover;
        DrawFrame();
        const auto glows = DrawsOf(ringGame->highlightImage);
        ASSERT_EQ(glows.size(), hover < 0 ? 0u : 1u) << hover;
        if (hover >= 0) {
            EXPECT_EQ(glows[0].x, ringGame->tiles[static_cast<size_t>(hover)].x);
            EXPECT_FLOAT_EQ(glows[0].alpha, 0.6f);
        }
        const auto glyphs = DrawsOf(ringGame->tileRazod);
        ASSERT_EQ(glyphs.size(), 20u);
        EXPECT_EQ(glyphs[7].frame, 7);
        EXPECT_EQ(glyphs[7].x, ringGame->tiles[7].x - 15.0f);
    }
}

TEST_F(RingDrawing, TheBarGrowsWithTheProgressAndTheBallShowsTheRuneToClick) {
    const struct {
        float progress;
        float scaleX;
        float alpha;
    } cases[] = {{0.0f, 0.0f, 0.4f}, {0.25f, 32.5f, 0.4f}, {0.5f, 65.0f, 0.7f}, {1.0f, 130.0f, 0.7f}};
    ringGame->createSequence(3);
    ringGame->position = 2;
    ringGame->ballScale = 2.0f;
    ringGame->ballAlpha = 0.5f;
    for (const auto& c : cases) {
        ringGame->progress = c.progress;
        DrawFrame();
        const auto bar = DrawsOf(ringGame->barImage);
        ASSERT_EQ(bar.size(), 1u);
        EXPECT_FLOAT_EQ(bar[0].sx, c.scaleX) << c.progress;
        EXPECT_FLOAT_EQ(bar[0].alpha, c.alpha) << c.progress;
        EXPECT_EQ(bar[0].x, 335.0f);
        const auto ball = DrawsOf(ringGame->ballRazod);
        ASSERT_EQ(ball.size(), 1u);
        EXPECT_EQ(ball[0].frame, ringGame->sequence[2]);
        EXPECT_EQ(ball[0].sx, 2.0f);
        EXPECT_FLOAT_EQ(ball[0].alpha, 0.5f);
    }
}

}  // namespace

// Popups: reading and laying out a popup group, refusing the ones that
// cannot be shown, the event test, the fade and the OK button, the popup
// manager's events and modal loop, the shipped popup files, and the
// game-over panel.
#include "tests/modes/modes_test_util.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/graphics.h"

namespace {

using plat::testing::OnFlip;

TTSCFilePtr PopupFile(const std::string& text) { return TscFromText(text); }

TPopupPtr FirstPopup(const TTSCFilePtr& file) { return TPopup::Create(file, file->GetGroupList("")->First()); }

class PopupTest : public ModesTest {};

TEST_F(PopupTest, LayoutFollowsThePanelAndTheOffsets) {
    WritePicture("gfx/info/tall.png", 100, 200);
    struct Case {
        int buttonY, textY;
        int wantButtonY, wantTextY;
    };
    // -1: 72 % and 20 % of the panel's height; any other value: an offset from Y.
    for (const Case& c : {Case{-1, -1, 244, 140}, Case{0, 0, 100, 100}, Case{30, 12, 130, 112}}) {
        const std::string text = "P{ Level=0 Image='gfx/info/tall.png' X=50 Y=100 Event='X' Lines=3 Line1='a' "
                                 "Line3='c' Condition=0 Spell=0 ButtonY=" + std::to_string(c.buttonY) +
                                 " TextY=" + std::to_string(c.textY) + " }";
        const TPopupPtr p = FirstPopup(PopupFile(text));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->buttonY, c.wantButtonY) << c.buttonY;
        EXPECT_EQ(p->textY, c.wantTextY) << c.textY;
        EXPECT_EQ(p->buttonX, 50 + 50 - 28);
        EXPECT_EQ(p->lineCount, 3);
        EXPECT_EQ(p->lines[0], "a");
        EXPECT_EQ(p->lines[1], "") << "a missing line is an empty line";
        EXPECT_EQ(p->lines[2], "c");
        EXPECT_EQ(p->fadingIn, 1);
        EXPECT_EQ(p->alpha, 0.0f);
        EXPECT_EQ(p->iconImage, nullptr);
    }
    // Spell -1 reads the extra icon and its offset; other spells do not.
    const TPopupPtr icon = FirstPopup(PopupFile(
        "P{ Level=0 Image='gfx/info/tall.png' X=0 Y=0 Event='X' Lines=0 Condition=0 Spell=-1 ButtonY=-1 TextY=-1 "
        "IconImg='gfx/info/icon.png' IconX=7 IconY=9 }"));
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(icon->iconImage, nullptr);
    EXPECT_EQ(std::tie(icon->iconX, icon->iconY), std::tuple(7, 9));
}

TEST_F(PopupTest, PopupsThatCannotBeShownAreSkippedAndTheOthersKept) {
    const std::string good = PopupGroup("Good", 0, "BEGIN_LEVEL");
    struct Case {
        std::string group;
        std::string why;
    };
    const std::vector<Case> cases = {
        {"Bad{ Level=0 Image='gfx/info/none.png' X=1 Y=1 Event='E' Lines=0 Condition=0 Spell=0 ButtonY=-1 TextY=-1 }",
         "gfx/info/none.png"},
        {"Bad{ Level=0 Image='gfx/info/panel.png' X=1 Y=1 Event='E' Lines=101 Condition=0 Spell=0 ButtonY=-1 TextY=-1 }",
         "101 lines"},
        {"Bad{ Level=0 Image='gfx/info/panel.png' X=1 Y=1 Event='E' Lines=0 Condition=0 Spell=7 ButtonY=-1 TextY=-1 }",
         "spell 7"},
        {"Bad{ Level=0 Image='gfx/info/panel.png' Y=1 Event='E' Lines=0 Condition=0 Spell=0 ButtonY=-1 TextY=-1 }",
         "Bad::X does not exist"},
        {"Bad{ Image='gfx/info/panel.png' X=1 Y=1 Event='E' Lines=0 Condition=0 Spell=0 ButtonY=-1 TextY=-1 }",
         "Bad::Level does not exist"},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStdout();
        popupManager->PrepareFrom(PopupFile(c.group + "\n" + good), 0);
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(c.why), std::string::npos) << out;
        EXPECT_NE(out.find("skipped"), std::string::npos) << out;
        ASSERT_EQ(popupManager->popups->Count(), 1) << c.why;
        EXPECT_EQ(popupManager->popups->First()->event, "BEGIN_LEVEL");
    }
    // Spell 6 and 100 lines are still popups.
    popupManager->PrepareFrom(
        PopupFile("P{ Level=0 Image='gfx/info/panel.png' X=1 Y=1 Event='E' Lines=100 Condition=0 Spell=6 "
                  "ButtonY=-1 TextY=-1 }"),
        0);
    EXPECT_EQ(popupManager->popups->Count(), 1);
}

TEST_F(PopupTest, PrepareKeepsTheCurrentLevelsPopupsInFileOrder) {
    WritePopups(PopupGroup("A", 1, "BEGIN_LEVEL") + PopupGroup("B", 0, "MAKE_MATCH", 2) +
                PopupGroup("C", 1, "RIGHT_UNUSED", 1));
    sequencer->currentLevel = 1;
    popupManager->AddEvent("OLD");
    popupManager->Prepare();
    EXPECT_TRUE(popupManager->events->IsEmpty()) << "pending events are dropped";
    ASSERT_EQ(popupManager->popups->Count(), 2);
    EXPECT_EQ(popupManager->popups->First()->event, "BEGIN_LEVEL");
    EXPECT_EQ(popupManager->popups->Last()->event, "RIGHT_UNUSED");
    // The level's set-up prepares them through its link.
    InstallModeLinks();
    popupManager->Free();
    SetUpLevel(1);
    EXPECT_EQ(popupManager->popups->Count(), 2);
}

TEST_F(PopupTest, CanGoMatchesTheEventAndTheMatchCount) {
    level->matches = 3;
    struct Case {
        std::string event;
        int condition;
        std::string posted;
        int want;
    };
    for (const Case& c : {Case{"BEGIN_LEVEL", 7, "BEGIN_LEVEL", 1}, Case{"MAKE_MATCH", 3, "MAKE_MATCH", 1},
                          Case{"MAKE_MATCH", 2, "MAKE_MATCH", 0}, Case{"MAKE_MATCH", 4, "MAKE_MATCH", 0},
                          Case{"RIGHT_UNUSED", 3, "RIGHT_UNUSED", 1}, Case{"RIGHT_UNUSED", 1, "RIGHT_UNUSED", 0},
                          Case{"OTHER", 9, "OTHER", 1}, Case{"MAKE_MATCH", 3, "make_match", 0},
                          Case{"BEGIN_LEVEL", 0, "MAKE_MATCH", 0}}) {
        TPopup p;
        p.event = c.event;
        p.condition = c.condition;
        EXPECT_EQ(p.CanGo(c.posted), c.want) << c.event << " " << c.condition << " " << c.posted;
    }
}

class PopupUpdateTest : public ModesTest {
protected:
    TPopupPtr Make() {
        const TPopupPtr p = FirstPopup(PopupFile(PopupGroup("P", 0, "BEGIN_LEVEL")));
        EXPECT_NE(p, nullptr);
        return p;
    }
    void OverButton(const TPopupPtr& p) {
        plat::testing::SetMouse(p->buttonX + 20, p->buttonY + 10);
    }
    // One popup frame as the manager runs it: the frame's mouse sample, then
    // the popup.
    static int Frame(const TPopupPtr& p) {
        mouse->fetchFor(p->Phase());
        return p->Update(popupManager->okButton);
    }
};

TEST_F(PopupUpdateTest, FadesInTenFramesAndOutAfterTheOkClick) {
    const TPopupPtr p = Make();
    int frames = 0;
    while (p->alpha < 1.0f) {
        ASSERT_EQ(Frame(p), 0);
        ++frames;
    }
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(popupManager->okButton->area->x, p->buttonX);
    EXPECT_EQ(popupManager->okButton->area->y, p->buttonY);
    OverButton(p);
    EXPECT_EQ(Frame(p), 0);
    plat::testing::PressMouse(plat::MOUSE_LEFT);
    EXPECT_EQ(Frame(p), 0);
    EXPECT_EQ(p->fadingIn, 0);
    int out = 1;
    while (Frame(p) == 0) ++out;
    // From 1.0000001, ten steps of 0.1 leave a 32-bit residue above 0: the
    // click's frame, ten fading frames, then the popup reports closed.
    EXPECT_EQ(out, 11);
    const size_t drawn = plat::testing::DrawCalls().size();
    EXPECT_EQ(Frame(p), 1);
    EXPECT_EQ(plat::testing::DrawCalls().size(), drawn) << "a closed popup draws nothing";
}

TEST_F(PopupUpdateTest, ThePressThatRaisedThePopupNeverClosesIt) {
    const TPopupPtr p = Make();
    OverButton(p);
    plat::testing::PressMouse(plat::MOUSE_LEFT);
    mouse->fetchState();  // the play frame took the press that raised the popup
    for (int i = 0; i < 30; ++i) EXPECT_EQ(Frame(p), 0);
    EXPECT_EQ(p->fadingIn, 1) << "held on: still the old press";
    plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
    Frame(p);
    EXPECT_EQ(p->fadingIn, 1);
    plat::testing::ClickMouse(plat::MOUSE_LEFT);
    Frame(p);
    EXPECT_EQ(p->fadingIn, 0);
}

// Every way a player presses OK closes the popup in that frame, and the
// close sound plays once however long the press is held.
TEST_F(PopupUpdateTest, EveryPressOnOkIsTakenOnce) {
    struct Case {
        const char* name;
        bool arriveThisFrame;  // the pointer reaches the button in the press's frame
        bool hold;             // left down afterwards
    };
    const Case cases[] = {
        {"tap: press and release between two frames", false, false},
        {"tap in the frame the pointer arrives", true, false},
        {"press held", false, true},
        {"press held, made as the pointer arrives", true, true},
    };
    for (const Case& c : cases) {
        const TPopupPtr p = Make();
        for (int i = 0; i < 12; ++i) Frame(p);  // faded in
        plat::testing::SetMouse(5, 5);
        if (!c.arriveThisFrame) {
            OverButton(p);
            Frame(p);
        }
        OverButton(p);
        if (c.hold) plat::testing::PressMouse(plat::MOUSE_LEFT);
        else plat::testing::ClickMouse(plat::MOUSE_LEFT);
        EXPECT_EQ(Frame(p), 0) << c.name;
        EXPECT_EQ(p->fadingIn, 0) << c.name;
        int frames = 1;
        while (Frame(p) == 0 && frames < 50) ++frames;
        EXPECT_EQ(frames, 11) << c.name << ": closed by the one press";
        if (c.hold) plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        // These frames keep no time: the next case's press is no double-click.
        plat::testing::AdvanceTime(kPageLeaveMs);
    }
}

TEST_F(PopupUpdateTest, AClickOnTheLastPopupsButtonPlaceDoesNotCloseTheNextOne) {
    const TPopupPtr first = Make();
    const TPopupPtr second = FirstPopup(PopupFile(
        "Q{ Level=0 Image='gfx/info/panel.png' X=20 Y=20 Event='E' Lines=0 Condition=0 Spell=0 ButtonY=-1 TextY=-1 }"));
    ASSERT_NE(second, nullptr);
    Frame(first);  // the shared button now sits on the first popup
    OverButton(first);
    plat::testing::ClickMouse(plat::MOUSE_LEFT);
    Frame(second);
    EXPECT_EQ(second->fadingIn, 1);
    EXPECT_EQ(popupManager->okButton->area->x, second->buttonX);
}

// A press made while the popup fades in closes it once it is all there,
// and one made while it fades out after its OK is dropped.
TEST_F(PopupUpdateTest, APressInTheFadeInWaitsForThePopup) {
    const TPopupPtr p = Make();
    OverButton(p);
    Frame(p);
    plat::testing::ClickMouse(plat::MOUSE_LEFT);
    int frames = 1;
    while (p->fadingIn == 1 && frames < 30) {
        EXPECT_LT(p->alpha, 1.0f + 0.01f);
        Frame(p);
        ++frames;
    }
    EXPECT_EQ(frames, 11) << "closed in the first frame after the one that drew it whole";
    EXPECT_EQ(p->Phase(), TMouse::Phase::kOut);
}

TEST_F(PopupUpdateTest, DrawsPanelCentredTextAndTheSpellIcon) {
    bonusManagerAlt->spellIcons[5] = plat::CreateImage(16, 16, 1, 0);
    const TPopupPtr p = FirstPopup(PopupFile(
        "P{ Level=0 Image='gfx/info/panel.png' X=280 Y=150 Event='E' Lines=2 Line1='one' Line2='' Condition=0 "
        "Spell=5 ButtonY=-1 TextY=-1 }"));
    ASSERT_NE(p, nullptr);
    plat::testing::ClearDrawCalls();
    p->Update(popupManager->okButton);
    std::vector<plat::testing::DrawCall> texts, icons;
    for (const auto& d : plat::testing::DrawCalls()) {
        if (d.kind == plat::testing::DrawCall::TEXT) texts.push_back(d);
        if (d.kind == plat::testing::DrawCall::IMAGE && d.image == bonusManagerAlt->spellIcons[5].get()) icons.push_back(d);
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x, 280 + 120 - plat::TextWidth("one") / 2);
    EXPECT_EQ(texts[0].y, 150 + 40);
    EXPECT_EQ(std::tie(texts[0].r, texts[0].g, texts[0].b), std::tuple(0, 0, 0));
    const int h = plat::TextHeight("");
    EXPECT_EQ(texts[1].y, 150 + 40 + h);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].x, 280 + 120 - 2);
    EXPECT_EQ(icons[0].y, 150 + 40 + 2 * h + 20) << "an empty line takes a full line too";
}

// ---- the manager ----------------------------------------------------------------------------

class PopupManagerTest : public ModesTest {
protected:
    void SetUp() override {
        ModesTest::SetUp();
        SetUpLevel(0);
        blocks->buildNextBlock();
        blocks->buildNextBlock();
        board->alpha = 1.0f;
        timeManager->Set(0);
        timeManager->Reset(0);
        board->lastPetrifyTime = plat::MilliSecs();
    }
    // Presses the OK button of every popup shown, once it has faded in, and
    // records each popup's event as it opens.
    void AnswerEveryPopup() {
        OnFlip([this](int) {
            const TPopupPtr current = ShownPopup();
            if (!current) return;
            if (shown.empty() || shown.back() != current) {
                shown.push_back(current);
                plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
                return;
            }
            if (current->alpha >= 1.0f) {
                plat::testing::SetMouse(current->buttonX + 10, current->buttonY + 10);
                plat::testing::PressMouse(plat::MOUSE_LEFT);
            }
        });
    }
    // The popup the shared button sits on.
    TPopupPtr ShownPopup() {
        for (const auto& p : all)
            if (popupManager->okButton->area->x == p->buttonX && popupManager->okButton->area->y == p->buttonY &&
                p->fadingIn == 1 && p->alpha > 0.0f)
                return p;
        return nullptr;
    }
    void Prepare(const std::string& info) {
        WritePopups(info);
        popupManager->Prepare();
        all = popupManager->popups->ToArray();
    }
    std::vector<TPopupPtr> all, shown;
    bool ShownPopupSeen = false;
};

TEST_F(PopupManagerTest, EventsWaitForTheBoardAndShowTheirPopupsOnceInOrder) {
    // Two popups at different places so the script can tell them apart.
    Prepare(PopupGroup("Match", 0, "MAKE_MATCH", 1) +
            "Turn{ Level=0 Image='gfx/info/panel.png' X=100 Y=100 Event='RIGHT_UNUSED' Lines=0 Condition=1 Spell=0 "
            "ButtonY=-1 TextY=-1 }\n" + PopupGroup("Begin", 0, "BEGIN_LEVEL"));
    ASSERT_EQ(all.size(), 3u);
    popupManager->AddEvent("MAKE_MATCH");
    popupManager->AddEvent("RIGHT_UNUSED");
    popupManager->AddEvent("MAKE_MATCH");
    EXPECT_EQ(popupManager->events->Count(), 2);
    level->matches = 1;

    board->alpha = 0.95f;
    EXPECT_EQ(popupManager->check(), 0);
    EXPECT_EQ(popupManager->events->Count(), 2) << "nothing shows while the board fades in";

    board->alpha = 1.0f;
    AnswerEveryPopup();
    EXPECT_EQ(popupManager->check(), 0);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0]->event, "MAKE_MATCH");
    EXPECT_EQ(shown[1]->event, "RIGHT_UNUSED");
    EXPECT_TRUE(popupManager->events->IsEmpty());
    ASSERT_EQ(popupManager->popups->Count(), 1);
    EXPECT_EQ(popupManager->popups->First()->event, "BEGIN_LEVEL");

    popupManager->AddEvent("MAKE_MATCH");
    EXPECT_EQ(popupManager->check(), 0);
    EXPECT_EQ(shown.size(), 2u) << "a popup shows once";
    EXPECT_TRUE(popupManager->events->IsEmpty()) << "events that showed nothing are dropped";
}

// Two popups for one event, their OK buttons at one place: a double-click
// (two taps seven frames, about 120 ms, apart) on the first one's OK never
// closes the second, whether the first tap came as the popup faded in or
// once it was up.
TEST_F(PopupManagerTest, ADoubleClickOnOkNeverClosesTheNextPopup) {
    for (int firstTap : {3, 12}) {
        SCOPED_TRACE("first tap after popup frame " + std::to_string(firstTap));
        Prepare(PopupGroup("One", 0, "BEGIN_LEVEL") + PopupGroup("Two", 0, "BEGIN_LEVEL"));
        ASSERT_EQ(all.size(), 2u);
        popupManager->AddEvent("BEGIN_LEVEL");
        const TPopupPtr first = all[0], second = all[1];
        int flips = 0, opened = -1, closed = -1;
        const auto tapOk = [](const TPopupPtr& p) {
            plat::testing::SetMouse(p->buttonX + 10, p->buttonY + 10);
            plat::testing::ClickMouse(plat::MOUSE_LEFT);
        };
        OnFlip([&](int) {
            if (++flips > 400) plat::testing::RequestTerminate();
            if (flips == firstTap || flips == firstTap + 7) tapOk(first);
            if (opened < 0 && second->alpha > 0.0f) opened = flips;
            if (closed < 0 && second->fadingIn == 0) closed = flips;
            if (opened > 0 && flips == opened + 40) tapOk(second);
        });
        EXPECT_EQ(popupManager->check(), 0);
        OnFlip(nullptr);
        ASSERT_GT(opened, 0);
        EXPECT_GE(closed, opened + 40) << "the second popup stayed up until its own OK";
        plat::testing::AdvanceTime(kPageLeaveMs);
    }
}

TEST_F(PopupManagerTest, APopupStopsTheClockAndThePetrificationAndRenewsTheDelta) {
    Prepare(PopupGroup("Begin", 0, "BEGIN_LEVEL"));
    timeManager->Set(90000);
    timeManager->Reset(0);
    plat::testing::AdvanceTime(1000);
    timeManager->Update();
    const int clockBefore = timeManager->elapsed;
    const int sincePetrify = plat::MilliSecs() - board->lastPetrifyTime;
    blocks->fadeAlpha = 0.4f;
    popupManager->AddEvent("BEGIN_LEVEL");
    // The popup stays up for ten seconds before its OK click.
    OnFlip([this](int) {
        if (!ShownPopupSeen) {
            ShownPopupSeen = true;
            plat::testing::AdvanceTime(10000);
            plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
            return;
        }
        EXPECT_EQ(blocks->fadeAlpha, 1.0f) << "the held block is shown whole under the popup";
        const TPopupPtr p = all.front();
        plat::testing::SetMouse(p->buttonX + 10, p->buttonY + 10);
        plat::testing::PressMouse(plat::MOUSE_LEFT);
    });
    EXPECT_EQ(popupManager->check(), 0);
    EXPECT_EQ(timeManager->elapsed, clockBefore);
    EXPECT_EQ(timeManager->paused, 0);
    EXPECT_EQ(plat::MilliSecs() - board->lastPetrifyTime, sincePetrify);
    EXPECT_EQ(blocks->fadeAlpha, 0.4f);
    deltaTime->Update();
    EXPECT_LT(deltaTime->CurrDelta(), 2.0f) << "the popup's ten seconds are not one long frame";
}

TEST_F(PopupManagerTest, ACloseRequestDuringAPopupEndsTheCheck) {
    Prepare(PopupGroup("Begin", 0, "BEGIN_LEVEL"));
    popupManager->AddEvent("BEGIN_LEVEL");
    OnFlip([](int n) {
        if (n == 3) plat::testing::RequestTerminate();
    });
    EXPECT_EQ(popupManager->check(), 1);
}

TEST_F(PopupManagerTest, TheShippedPopupFilesAllLoad) {
    const std::string game = QUILL_GAME_DIR;
    ASSERT_TRUE(plat::ChangeDir(game));
    for (const char* member : {"info.tsc", "infoPZ.tsc", "infoRG.tsc"}) {
        TTSCFilePtr file = CreateTSCFile();
        ASSERT_EQ(LoadTSCFileBB(file, "data/popups.bca", member), 1) << member;
        int count = 0;
        const auto groups = file->GetGroupList("");
        for (const TTSCGroupPtr& g : *groups) {
            ::testing::internal::CaptureStdout();
            const TPopupPtr p = TPopup::Create(file, g);
            const std::string out = ::testing::internal::GetCapturedStdout();
            ASSERT_NE(p, nullptr) << member << " " << g->name << ": " << out;
            EXPECT_EQ(out, "") << member << " " << g->name;
            EXPECT_GT(p->lineCount, 0) << g->name;
            EXPECT_FALSE(p->event.empty()) << g->name;
            ++count;
        }
        EXPECT_GT(count, 0) << member;
    }
    ASSERT_TRUE(plat::ChangeDir(dir_));
}

// ---- the game-over panel ----------------------------------------------------------------------

class GameOverTest : public PopupManagerTest {
protected:
    int CaptionDraws(const plat::ImagePtr& caption) {
        int n = 0;
        for (const auto& d : plat::testing::DrawCalls())
            if (d.kind == plat::testing::DrawCall::IMAGE && d.image == caption.get()) ++n;
        return n;
    }
};

TEST_F(GameOverTest, TheButtonsAnswerAfterTheZoomAndACloseRequestIsThree) {
    struct Case {
        int x, y;
        bool terminate;
        int want;
    };
    // Buttons at (318, 302) and (318, 357), 164 x 44.
    for (const Case& c : {Case{330, 310, false, 1}, Case{330, 365, false, 2}, Case{600, 100, true, 3}}) {
        const int start = plat::testing::FlipCount();
        OnFlip([&c, start](int n) {
            plat::testing::SetMouse(c.x, c.y);
            if (n - start == 44) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (c.terminate && n - start == 44) plat::testing::RequestTerminate();
        });
        EXPECT_EQ(popupManager->GameOverPopup(), c.want);
        EXPECT_EQ(plat::testing::FlipCount() - start, 41 + 3) << "41 zoom frames, then the panel until the click";
        plat::testing::AdvanceTime(kPageLeaveMs);
    }
}

// A tap made while the panel zooms in waits for the panel: it acts once,
// in the first frame that shows the panel whole.
TEST_F(GameOverTest, ATapInTheZoomActsOnThePanelOnceItIsWhole) {
    for (int tapFrame : {1, 20, 40}) {
        SCOPED_TRACE("tap after zoom frame " + std::to_string(tapFrame));
        const int start = plat::testing::FlipCount();
        OnFlip([tapFrame, start](int n) {
            plat::testing::SetMouse(330, 310);
            if (n - start == tapFrame) plat::testing::ClickMouse(plat::MOUSE_LEFT);
            if (n - start == 100) plat::testing::RequestTerminate();
        });
        EXPECT_EQ(popupManager->GameOverPopup(), 1);
        EXPECT_EQ(plat::testing::FlipCount() - start, 41) << "answered before the panel's first flip";
        plat::testing::AdvanceTime(kPageLeaveMs);
    }
}

TEST_F(GameOverTest, TheCaptionIsChosenOnceWhenThePanelOpens) {
    timeManager->Set(500);
    timeManager->Reset(0);
    timeManager->Update();
    ASSERT_EQ(timeManager->TimeOver(), 0);
    const int first = plat::testing::FlipCount();
    OnFlip([first](int n) {
        plat::testing::SetMouse(330, 365);
        if (n == first + 80) plat::testing::ClickMouse(plat::MOUSE_LEFT);
    });
    plat::testing::ClearDrawCalls();
    // The clock runs out behind the panel (it goes on; a game-over panel does not pause it).
    EXPECT_EQ(popupManager->GameOverPopup(), 2);
    EXPECT_EQ(timeManager->TimeOver(), 1);
    EXPECT_EQ(CaptionDraws(popupManager->gameOverCaptions[1]), 0);
    EXPECT_GT(CaptionDraws(popupManager->gameOverCaptions[0]), 70);
    // Out of time when it opens: the time-out caption.
    plat::testing::ClearDrawCalls();
    const int start = plat::testing::FlipCount();
    OnFlip([start](int n) {
        plat::testing::SetMouse(330, 365);
        if (n == start + 42) plat::testing::ClickMouse(plat::MOUSE_LEFT);
    });
    EXPECT_EQ(popupManager->GameOverPopup(), 2);
    EXPECT_GT(CaptionDraws(popupManager->gameOverCaptions[1]), 40);
    EXPECT_EQ(CaptionDraws(popupManager->gameOverCaptions[0]), 0);
}

}  // namespace

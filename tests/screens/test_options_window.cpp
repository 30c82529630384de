// The menu window: its object, the pages it registers, the clicks it reports
// and carries out, and what it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "core/display.h"
#include "core/music.h"
#include "platform/graphics.h"
#include "screens_test_util.h"
#include "ui/button_image.h"
#include "ui/font.h"

namespace {

using screens_test::MenuTest;
namespace pt = plat::testing;

// ---- the object ---------------------------------------------------------------------------

TEST(OptionsWindowObject, ANewWindowHoldsNothingAndStartsOnTheMainPage) {
    TOptionsWindow w;
    EXPECT_FALSE(w.bg || w.selectorBg || w.highlight || w.plusImage || w.minusImage || w.sliderTick ||
                 w.checkedBox || w.emptyBox || w.profileChange || w.musicStream || w.greetingBlot ||
                 w.gamePaused || w.greetingName || w.greetingHello || w.listMark || w.areYouSure);
    EXPECT_EQ(w.captionImages.size(), 38u);
    EXPECT_TRUE(std::all_of(w.captionImages.begin(), w.captionImages.end(), [](auto& i) { return !i; }));
    EXPECT_FALSE(w.arrows[0] || w.arrows[1]);
    EXPECT_EQ(w.state, 0);
    EXPECT_EQ(w.action, 0);
    EXPECT_EQ(w.returnState, 2);
    EXPECT_EQ(w.alpha, 0.0f);
    EXPECT_EQ(w.x, 0);
    EXPECT_EQ(w.y, 0);
}

// ---- pages ----------------------------------------------------------------------------------

struct Placed {
    int code;
    float x, y;
    bool visible;
    bool glow;
};

// Every page as built with window x 229, screen mode 0 and no quest game.
const std::map<int, std::vector<Placed>> kPages = {
    {0, {{61, 400, 290, true, true}, {10, 400, 335, true, true}, {14, 400, 375, true, true},
         {15, 400, 415, true, true}, {11, 400, 488, true, true}, {81, 22, 525, true, false}}},
    {1, {{40, 304, 300, true, false}, {41, 497, 300, true, false}, {42, 304, 360, true, false},
         {43, 497, 360, true, false}, {44, 474, 408, false, false}, {45, 474, 408, true, false},
         {12, 400, 450, true, false}, {13, 400, 485, true, false}, {46, 400, 520, true, true}}},
    {2, {{20, 400, 240, true, true}, {21, 400, 270, true, true}, {22, 400, 300, true, true},
         {25, 400, 330, true, true}, {23, 400, 360, true, true}, {24, 400, 380, false, true}}},
    {3, {{1, 400, 290, false, true}, {2, 400, 300, true, true}, {3, 400, 365, true, true}}},
    {4, {{51, 400, 198, true, true}, {52, 400, 243, true, true}, {53, 400, 288, true, true},
         {54, 400, 358, true, true}}},
    {5, {{62, 400, 335, true, true}, {63, 400, 380, true, true}, {54, 400, 470, true, true}}},
    {6, {{71, 280, 310, true, true}, {72, 515, 510, true, true}, {73, 460, 510, true, true},
         {54, 280, 500, true, true}, {74, 280, 380, true, true}, {75, 280, 410, true, true},
         {76, 280, 410, true, true}}},
    {7, {{40, 304, 213, true, false}, {41, 497, 213, true, false}, {42, 304, 273, true, false},
         {43, 497, 273, true, false}, {44, 474, 321, false, false}, {45, 474, 321, true, false},
         {46, 400, 368, true, true}}},
    {8, {{20, 400, 240, true, true}, {22, 400, 270, true, true}, {23, 400, 330, true, true},
         {24, 400, 375, false, true}}},
    {9, {{90, 360, 400, true, true}, {91, 440, 400, true, true}}},
    {10, {{92, 360, 400, true, true}, {93, 440, 400, true, true}}},
};

TEST_F(MenuTest, EachPageRegistersItsButtonsOnceWhereTheyBelong) {
    for (const auto& [page, buttons] : kPages) {
        // From another page, so the old page's buttons must go.
        optionsWindow->SetState(page == 4 ? 6 : 4, 1, 229, 200);
        optionsWindow->SetState(page, 1, 229, 200);
        std::vector<int> want;
        for (const Placed& p : buttons) want.push_back(p.code);
        std::vector<int> got = MenuIds();
        std::sort(want.begin(), want.end());
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, want) << "page " << page;
        for (const Placed& p : buttons) {
            const auto b = std::dynamic_pointer_cast<TImageButton>(data->GetButton(p.code));
            ASSERT_TRUE(b) << "page " << page << " code " << p.code;
            EXPECT_EQ(b->area->x, p.x) << "page " << page << " code " << p.code;
            EXPECT_EQ(b->area->y, p.y) << "page " << page << " code " << p.code;
            EXPECT_EQ(b->area->anchorMode, p.code == 81 ? 0 : 1) << "code " << p.code;
            EXPECT_EQ(b->visible == 1 && b->active == 1, p.visible) << "page " << page << " code " << p.code;
            EXPECT_EQ(b->reflection == optionsWindow->highlight, p.glow) << "page " << page << " code " << p.code;
            EXPECT_EQ(b->hoverStyle, p.code == 81 ? kHoverDarken : kHoverEnlarge) << "code " << p.code;
            EXPECT_EQ(b->animatedZoom, p.code == 81 ? 0 : 1) << "code " << p.code;
            // Until the first Update the buttons draw at the alpha in force.
            EXPECT_EQ(b->alpha, -1.0f);
            EXPECT_GT(b->area->width, 0) << "page " << page << " code " << p.code << " has its picture";
        }
    }
}

TEST_F(MenuTest, ThePagesShowTheirPicturesAndTheOptionsRowsFollowTheWindow) {
    optionsWindow->SetState(1, 1, 229, 200);
    EXPECT_EQ(data->GetButton(40)->image, optionsWindow->minusImage);
    EXPECT_EQ(data->GetButton(41)->image, optionsWindow->plusImage);
    EXPECT_EQ(data->GetButton(44)->image, optionsWindow->checkedBox);
    EXPECT_EQ(data->GetButton(45)->image, optionsWindow->emptyBox);
    EXPECT_EQ(data->GetButton(46)->image, optionsWindow->captionImages[6]);
    optionsWindow->SetState(7, 1, 229, 200);
    EXPECT_EQ(data->GetButton(46)->image, optionsWindow->captionImages[18]);
    optionsWindow->SetState(6, 1, 229, 200);
    EXPECT_EQ(data->GetButton(72)->image, optionsWindow->arrows[1]);
    EXPECT_EQ(data->GetButton(73)->image, optionsWindow->arrows[0]);
    optionsWindow->SetState(0, 1, 229, 200);
    EXPECT_EQ(data->GetButton(81)->image, optionsWindow->profileChange);
    EXPECT_EQ(data->GetButton(61)->image, optionsWindow->captionImages[25]);

    // Another window x moves the volume rows and the box, nothing else.
    optionsWindow->SetState(1, 1, 100, 200);
    EXPECT_EQ(data->GetButton(40)->area->x, 175);
    EXPECT_EQ(data->GetButton(43)->area->x, 368);
    EXPECT_EQ(data->GetButton(45)->area->x, 345);
    EXPECT_EQ(data->GetButton(46)->area->x, 400);
    optionsWindow->SetState(0, 1, 100, 200);
    EXPECT_EQ(data->GetButton(61)->area->x, 400);
}

TEST_F(MenuTest, PageRulesFollowTheQuestAndTheScreenMode) {
    gameState = 1;
    optionsWindow->SetState(3, 1, 229, 200);
    EXPECT_EQ(data->GetButton(1)->visible, 1);
    EXPECT_EQ(data->GetButton(2)->area->y, 335);
    EXPECT_EQ(data->GetButton(3)->area->y, 400);

    struct Case { int mode; bool ticked; };
    for (const Case c : {Case{0, false}, Case{1, true}, Case{2, false}})
        for (int page : {1, 7}) {
            options->screenMode = c.mode;
            optionsWindow->SetState(page, 1, 229, 200);
            EXPECT_EQ(data->GetButton(44)->visible == 1, c.ticked) << "mode " << c.mode << " page " << page;
            EXPECT_EQ(data->GetButton(45)->visible == 1, !c.ticked) << "mode " << c.mode << " page " << page;
        }
}

TEST_F(MenuTest, RefadeRestartsTheFadeAndAStateOutsideThePagesBuildsNothing) {
    optionsWindow->SetState(0, 1, 229, 200);
    EXPECT_EQ(optionsWindow->alpha, 0.0f);
    for (int i = 0; i < 60; ++i) optionsWindow->Update();
    const float full = optionsWindow->alpha;
    optionsWindow->SetState(5, 0, 229, 200);
    EXPECT_EQ(optionsWindow->alpha, full);
    optionsWindow->SetState(5, 1, 229, 200);
    EXPECT_EQ(optionsWindow->alpha, 0.0f);

    optionsWindow->SetState(11, 1, 229, 200);
    EXPECT_EQ(optionsWindow->state, 11);
    EXPECT_TRUE(MenuIds().empty());
    // Page 11 has nothing to drop: an item a test put under 54 survives the
    // next page change only if that page does not own 54 itself.
    data->Add(plat::CreateImage(1, 1), 54);
    optionsWindow->SetState(9, 1, 229, 200);
    EXPECT_EQ(ItemsUnder(54), 1);
    EXPECT_EQ(ItemsUnder(90), 1);
}

TEST_F(MenuTest, FreeStateEmptiesThePageButKeepsItsNumber) {
    optionsWindow->SetState(2, 1, 229, 200);
    optionsWindow->freeState();
    EXPECT_EQ(optionsWindow->state, 2);
    EXPECT_TRUE(MenuIds().empty());
    data->Add(plat::CreateImage(1, 1), 500);
    optionsWindow->buttonsSetAlpha(0.5f);  // touches nothing, and nothing outside 0..100
    EXPECT_EQ(data->Count(), 1);
    // Reopening the open page rebuilds it with one button a code.
    optionsWindow->SetState(2, 1, 229, 200);
    optionsWindow->SetState(2, 1, 229, 200);
    for (int code : {20, 21, 22, 23, 24, 25}) EXPECT_EQ(ItemsUnder(code), 1) << code;
}

TEST_F(MenuTest, AMissingPictureLeavesADeadButtonAndNoMessage) {
    optionsWindow->captionImages[15].reset();
    optionsWindow->SetState(0, 1, 229, 200);
    EXPECT_EQ(ItemsUnder(14), 1);
    EXPECT_EQ(Click(14), 0);
    optionsWindow->Draw();
    EXPECT_TRUE(pt::Notifications().empty());
}

// ---- actions --------------------------------------------------------------------------------

// A click on each button of each page: the code reported and the page after.
TEST_F(MenuTest, EveryButtonReportsItsCodeAndOnlyTheBackButtonsChangeThePage) {
    struct Case {
        int page;
        int code;
        int action;     // 0: the click does nothing
        int pageAfter;
        int returnState = 2;
        int gameState = 1;
    };
    const Case cases[] = {
        {0, 61, 61, 0}, {0, 10, 10, 0}, {0, 14, 14, 0}, {0, 15, 15, 0}, {0, 11, 11, 0}, {0, 81, 81, 0},
        {1, 40, 40, 1}, {1, 41, 41, 1}, {1, 42, 42, 1}, {1, 43, 43, 1}, {1, 45, 45, 1}, {1, 12, 12, 1},
        {1, 13, 13, 1}, {1, 46, 46, 0},
        {2, 20, 20, 2}, {2, 21, 21, 2}, {2, 22, 22, 2}, {2, 25, 25, 2}, {2, 23, 23, 2},
        {2, 24, 0, 2},  // hidden quit button
        {3, 1, 1, 3}, {3, 2, 2, 3}, {3, 3, 3, 3},
        {3, 2, 2, 3, 2, 0}, {3, 3, 3, 3, 2, 0},
        {4, 51, 51, 4}, {4, 52, 52, 4}, {4, 53, 53, 4}, {4, 54, 54, 4},
        {5, 62, 62, 5}, {5, 63, 63, 5}, {5, 54, 54, 5},
        {6, 71, 71, 6}, {6, 72, 72, 6}, {6, 73, 73, 6}, {6, 74, 74, 6}, {6, 54, 54, 6},
        {6, 75, 76, 6},  // 75 and 76 share a spot until the owner hides one: the later code wins
        {7, 40, 40, 7}, {7, 43, 43, 7}, {7, 45, 45, 7},
        {7, 46, 46, 2, 2}, {7, 46, 46, 8, 8},
        {8, 20, 20, 8}, {8, 22, 22, 8}, {8, 23, 23, 8}, {8, 24, 0, 8},
        {9, 90, 90, 9}, {9, 91, 91, 9}, {10, 92, 92, 10}, {10, 93, 93, 10},
    };
    pt::SetFullScreenModes({{800, 600, 32, 60}});
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    for (const Case& c : cases) {
        gameState = c.gameState;
        optionsWindow->returnState = c.returnState;
        options->screenMode = 0;
        optionsWindow->SetState(c.page, 1, 229, 200);
        EXPECT_EQ(Click(c.code), c.action) << "page " << c.page << " code " << c.code;
        EXPECT_EQ(optionsWindow->state, c.pageAfter) << "page " << c.page << " code " << c.code;
        // The next frame without a click reports nothing.
        mouse->fetchState();
        optionsWindow->Update();
        EXPECT_EQ(optionsWindow->action, 0) << "page " << c.page << " code " << c.code;
    }
    // Page 3 with no game: the resume button is hidden and its spot is empty.
    gameState = 0;
    optionsWindow->SetState(3, 1, 229, 200);
    EXPECT_EQ(ClickAt(400, 290), 0);
}

TEST_F(MenuTest, WhenTwoButtonsTakeOneClickTheOnePolledLaterWins) {
    options->musicVol = 0.5f;
    optionsWindow->SetState(1, 1, 229, 200);
    // The hiscores button moved over music-minus: 12 is polled after 40.
    const TButtonPtr minus = data->GetButton(40), hiscores = data->GetButton(12);
    hiscores->area->x = minus->area->x;
    hiscores->area->y = minus->area->y;
    EXPECT_EQ(Click(40), 12);
    EXPECT_EQ(options->musicVol, 0.5f) << "no volume step when another code wins";

    optionsWindow->SetState(5, 1, 229, 200);
    data->GetButton(54)->area->y = data->GetButton(62)->area->y;
    EXPECT_EQ(Click(62), 54);
}

TEST_F(MenuTest, TheClickSoundPlaysOnlyForAClick) {
    globalSnd->sounds[6] = screens_test::Tone();
    options->soundVol = 0.5f;
    optionsWindow->SetState(0, 1, 229, 200);
    ClickAt(5, 5);  // nowhere
    EXPECT_EQ(optionsWindow->action, 0);
    EXPECT_EQ(pt::PlayingChannels(), 0);
    EXPECT_EQ(Click(15), 15);
    EXPECT_EQ(pt::PlayingChannels(), 1);

    // A state outside the pages polls nothing, but the fade still runs.
    optionsWindow->SetState(12, 1, 229, 200);
    ClickAt(400, 290);
    EXPECT_EQ(optionsWindow->action, 0);
    EXPECT_GT(optionsWindow->alpha, 0.0f);
}

TEST_F(MenuTest, TheFadeReachesFullOnThe51stFrameAndTheButtonsFollowIt) {
    optionsWindow->SetState(9, 1, 229, 200);
    for (int i = 1; i <= 50; ++i) optionsWindow->Update();
    EXPECT_LT(optionsWindow->alpha, 1.0f);
    optionsWindow->Update();
    EXPECT_GE(optionsWindow->alpha, 1.0f);
    EXPECT_NEAR(optionsWindow->alpha, 1.02f, 0.001f);
    const float reached = optionsWindow->alpha;
    optionsWindow->Update();
    EXPECT_EQ(optionsWindow->alpha, reached) << "no step once at 1 or more";
    EXPECT_EQ(data->GetButton(90)->alpha, reached);
    EXPECT_EQ(data->GetButton(91)->alpha, reached);
}

// The pause menu's way of running the window, frame by frame with scripted
// clicks: options, music up, back, resume.
TEST_F(MenuTest, APauseMenuLoopGoesToTheOptionsAndBack) {
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    options->musicVol = 0.5f;
    struct Step {
        int frame, x, y;
    };
    const Step script[] = {{5, 400, 300}, {10, 497, 213}, {15, 400, 368}, {20, 400, 240}};
    pt::OnFlip([&](int n) {
        for (const Step& s : script)
            if (s.frame == n) {
                pt::SetMouse(s.x, s.y);
                pt::ClickMouse(1);
            }
    });
    optionsWindow->SetState(kMenuInGame, 1, 229, 200);
    optionsWindow->returnState = kMenuInGame;
    std::vector<std::pair<int, int>> seen;  // (page, code) of each click
    int resumedAt = -1;
    for (int frame = 0; frame < 60 && resumedAt < 0; ++frame) {
        mouse->fetchState();
        const int page = optionsWindow->state;
        optionsWindow->Update();
        optionsWindow->Draw();
        plat::Flip(-1);
        const int code = optionsWindow->action;
        if (code == 0) continue;
        seen.emplace_back(page, code);
        if (code == 22) optionsWindow->SetState(kMenuOptionsInGame, 0, 229, 200);
        if (code == 20) resumedAt = frame;
    }
    pt::OnFlip(nullptr);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{2, 22}, {7, 41}, {7, 46}, {2, 20}}));
    EXPECT_FLOAT_EQ(options->musicVol, 0.6f);
    EXPECT_EQ(optionsWindow->state, kMenuInGame);
    EXPECT_GT(resumedAt, 0);
}

// ---- volumes and screen mode ---------------------------------------------------------------

TEST_F(MenuTest, VolumeStepsStayBetweenTheFloorAndTheCeilingIn32Bits) {
    // Ten steps down from 1 reach the floor; up from the floor the values
    // never land on whole tenths until the ceiling.
    optionsWindow->SetState(1, 1, 229, 200);
    options->musicVol = 1.0f;
    std::vector<float> down;
    for (int i = 0; i < 10; ++i) {
        Click(40);
        down.push_back(options->musicVol);
    }
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(down[static_cast<size_t>(i)], 0.9f - 0.1f * static_cast<float>(i), 1e-5f);
    EXPECT_EQ(down[9], 0.001f);
    Click(40);
    EXPECT_EQ(options->musicVol, 0.001f);
    std::vector<float> up;
    for (int i = 0; i < 10; ++i) {
        Click(41);
        up.push_back(options->musicVol);
    }
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(up[static_cast<size_t>(i)], 0.101f + 0.1f * static_cast<float>(i), 1e-5f);
    EXPECT_EQ(up[9], 1.0f);
    Click(41);
    EXPECT_EQ(options->musicVol, 1.0f);

    // The sound volume on the in-game page, same arithmetic.
    optionsWindow->SetState(7, 1, 229, 200);
    options->soundVol = 0.05f;
    Click(42);
    EXPECT_EQ(options->soundVol, 0.001f);
    Click(43);
    EXPECT_FLOAT_EQ(options->soundVol, 0.101f);
    EXPECT_EQ(options->musicVol, 1.0f) << "the sound buttons leave the music alone";
}

TEST_F(MenuTest, TheMusicStepReachesThePlayingSongAndTheSoundStepIsHeard) {
    auto song = std::make_shared<TMusicFile>();
    song->sound = screens_test::Tone(4096, true);
    song->loaded = 1;
    song->channel = plat::PlaySound(song->sound);
    auto stream = std::make_shared<TAudioStream>();
    stream->musicFile = song;
    optionsWindow->musicStream = stream;
    options->musicVol = 0.5f;
    optionsWindow->SetState(1, 1, 229, 200);
    Click(41);
    EXPECT_FLOAT_EQ(options->musicVol, 0.6f);
    EXPECT_NEAR(pt::PullAudio(1)[0], 0.6 * 4096, 2);
    Click(40);
    Click(40);
    EXPECT_NEAR(pt::PullAudio(1)[0], 0.4 * 4096, 2);

    // Without a stream only the setting moves.
    optionsWindow->musicStream.reset();
    Click(41);
    EXPECT_FLOAT_EQ(options->musicVol, 0.5f);
    EXPECT_NEAR(pt::PullAudio(1)[0], 0.4 * 4096, 2);

    plat::StopChannel(song->channel);
    // The test sound: the block-turn sound at the new sound volume (the
    // click sound is not loaded here).
    blocks->rotateSound = screens_test::Tone(1000);
    options->soundVol = 0.3f;
    Click(43);
    EXPECT_EQ(pt::PlayingChannels(), 1);
    EXPECT_NEAR(pt::PullAudio(1)[0], 0.4 * 1000, 2);
}

TEST_F(MenuTest, TheScreenModeBoxesFollowWhatTheDisplayBecame) {
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
    struct Case {
        const char* what;
        int startMode;
        std::vector<pt::Mode> fullScreenModes;
        int code;
        int modeAfter;
        bool fullScreenAfter;
    };
    const Case cases[] = {
        {"to full screen", 0, {{800, 600, 32, 60}}, 45, 1, true},
        {"to full screen at 16 bits", 2, {{800, 600, 16, 60}}, 45, 1, true},
        {"full screen refused", 0, {{1024, 768, 32, 60}}, 45, 2, false},
        {"back to a window", 1, {{800, 600, 32, 60}}, 44, 0, false},
    };
    for (const Case& c : cases) {
        pt::SetFullScreenModes(c.fullScreenModes);
        options->screenMode = c.startMode;
        SetGraphicsMode(c.startMode, 800, 600, 32);
        for (int page : {1, 7}) {
            options->screenMode = c.startMode;
            SetGraphicsMode(c.startMode, 800, 600, 32);
            optionsWindow->SetState(page, 1, 229, 200);
            EXPECT_EQ(Click(c.code), c.code) << c.what;
            EXPECT_EQ(options->screenMode, c.modeAfter) << c.what;
            EXPECT_EQ(pt::DisplayIsFullScreen(), c.fullScreenAfter) << c.what;
            EXPECT_EQ(data->GetButton(44)->visible == 1, c.modeAfter == 1) << c.what << " page " << page;
            EXPECT_EQ(data->GetButton(45)->visible == 1, c.modeAfter != 1) << c.what << " page " << page;
            EXPECT_EQ(optionsWindow->state, page);
        }
    }
}

// ---- drawing --------------------------------------------------------------------------------

class MenuDrawTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        // Letters for "hello": a greeting that draws leaves alpha 1 behind it.
        fonts[0] = std::make_shared<TFont>();
        for (const char* c : {"h", "e", "l", "o"})
            fonts[0]->letters->AddLast(CreateLetter(screens_test::Picture(10, 20), c, CreateDim(0, 0, 10, 20, 0, 1, 1, 0)));
        optionsWindow->greetingName = CreateText("", CreateDim(0, 185, 0, 0, 0, 1, 1, 0), TObjectPtr(fonts[0]), 1, 0, 0, 0);
        optionsWindow->greetingHello =
            CreateText("hello", CreateDim(353, 164, 0, 0, 0, 1, 1, 0), TObjectPtr(fonts[0]), 1, 0, 0, 0);
    }
    void TearDown() override {
        fonts[0].reset();
        MenuTest::TearDown();
    }
    // The draws of one frame of the page at the given window alpha.
    std::vector<pt::DrawCall> Frame(int page, float windowAlpha) {
        optionsWindow->SetState(page, 1, 229, 200);
        optionsWindow->Update();
        optionsWindow->alpha = windowAlpha;
        optionsWindow->buttonsSetAlpha(windowAlpha);
        pt::ClearDrawCalls();
        optionsWindow->Draw();
        return pt::DrawCalls();
    }
    static std::vector<pt::DrawCall> Of(const std::vector<pt::DrawCall>& calls, const plat::ImagePtr& img) {
        std::vector<pt::DrawCall> out;
        for (const auto& c : calls)
            if (c.kind == pt::DrawCall::IMAGE && c.image == img.get()) out.push_back(c);
        return out;
    }
};

// The greeting's two lines share one centre, x 400: "hello" above the
// player's name, each whatever its letters' widths.
TEST_F(MenuDrawTest, TheGreetingsHelloIsCentredOnTheName) {
    const auto calls = Frame(0, 1.0f);
    float left = 800, right = 0;
    int letters = 0;
    for (const auto& c : calls)
        if (c.kind == pt::DrawCall::IMAGE && c.y == 164.0f && c.image && c.image->width == 10) {
            left = std::min(left, c.x);
            right = std::max(right, c.x + 10.0f);
            ++letters;
        }
    ASSERT_EQ(letters, 5) << "the five letters of hello";
    EXPECT_NEAR((left + right) / 2.0f, 400.0f, 0.5f) << "hello spans " << left << ".." << right;
}

// The greeting ("hello" and the player's name) is part of the menu's body:
// while the menu fades (in with a page, out as the title's idle show
// begins) its letters stand at the alpha the page's buttons get, never at
// full strength over a vanishing menu.
TEST_F(MenuDrawTest, TheGreetingFadesWithTheMenusButtons) {
    optionsWindow->greetingName->text = "hole";
    const struct {
        int page;
        int button;  // one of the page's buttons
    } pages[] = {{0, 61}, {9, 90}};
    for (const auto& p : pages)
        for (float windowAlpha : {0.15f, 0.5f, 0.85f, 1.0f}) {
            SCOPED_TRACE("page " + std::to_string(p.page) + " at alpha " + std::to_string(windowAlpha));
            const auto calls = Frame(p.page, windowAlpha);
            const TButtonPtr button = data->GetButton(p.button);
            ASSERT_TRUE(button && button->image);
            const auto buttonDraws = Of(calls, button->image);
            ASSERT_FALSE(buttonDraws.empty());
            const float buttonAlpha = buttonDraws.front().alpha;
            EXPECT_NEAR(buttonAlpha, windowAlpha, 0.01f);
            int letters = 0;
            for (const auto& c : calls)
                if (c.kind == pt::DrawCall::IMAGE && (c.y == 164.0f || c.y == 185.0f) && c.image &&
                    c.image->width == 10) {
                    ++letters;
                    EXPECT_NEAR(c.alpha, buttonAlpha, 0.01f) << "a letter of the greeting at y " << c.y;
                }
            EXPECT_EQ(letters, 9) << "hello and the name's four letters";
        }
}

TEST_F(MenuDrawTest, VolumeBarsShowTruncatedTenthsAtFullStrength) {
    struct Case { float volume; int ticks; };
    // 0.7 as a 32-bit float lies just below 0.7: six ticks.
    for (const Case c : {Case{1.0f, 10}, Case{0.001f, 0}, Case{0.7f, 6}, Case{0.5f, 5}, Case{0.101f, 1}}) {
        options->musicVol = c.volume;
        options->soundVol = 1.0f;
        for (int page : {1, 7}) {
            const auto ticks = Of(Frame(page, 0.1f), optionsWindow->sliderTick);
            const int musicY = page == 1 ? 299 : 212;
            int music = 0;
            for (const auto& t : ticks) {
                if (t.y != static_cast<float>(musicY)) continue;
                ++music;
                EXPECT_EQ(t.x, 229 + 100 + 13 * music) << c.volume;
                EXPECT_GE(t.alpha, 0.99f) << "bars stand at full strength while the page fades in";
            }
            EXPECT_EQ(music, c.ticks) << "volume " << c.volume << " page " << page;
            EXPECT_EQ(static_cast<int>(ticks.size()) - music, 10) << "the sound bar at 1.0";
        }
    }
}

TEST_F(MenuDrawTest, EachPageDrawsItsBodyAndHeadings) {
    struct Pic {
        plat::ImagePtr TOptionsWindow::*field;
        float x, y;
    };
    struct Case {
        int page;
        std::vector<Pic> drawn;
        std::vector<plat::ImagePtr TOptionsWindow::*> absent;
    };
    using W = TOptionsWindow;
    const Case cases[] = {
        {0, {{&W::greetingBlot, 400, 150}, {&W::bg, 229, 200}}, {&W::gamePaused, &W::areYouSure, &W::selectorBg}},
        {2, {{&W::bg, 229, 108}, {&W::gamePaused, 400, 190}}, {&W::greetingBlot, &W::areYouSure}},
        {8, {{&W::bg, 229, 108}, {&W::gamePaused, 400, 190}}, {&W::greetingBlot}},
        {4, {{&W::bg, 229, 108}}, {&W::greetingBlot, &W::gamePaused}},
        {7, {{&W::bg, 229, 108}}, {&W::greetingBlot, &W::gamePaused}},
        {6, {{&W::greetingBlot, 400, 150}, {&W::selectorBg, 144, 200}, {&W::listMark, 362, 380}}, {&W::bg}},
        {9, {{&W::greetingBlot, 400, 150}, {&W::bg, 229, 200}, {&W::areYouSure, 400, 310}}, {&W::gamePaused}},
        {10, {{&W::bg, 229, 200}, {&W::areYouSure, 400, 310}}, {&W::listMark}},
    };
    for (const Case& c : cases) {
        const auto calls = Frame(c.page, 0.25f);
        for (const Pic& p : c.drawn) {
            const auto got = Of(calls, (*optionsWindow).*p.field);
            ASSERT_EQ(got.size(), 1u) << "page " << c.page << " at " << p.x << "," << p.y;
            EXPECT_EQ(got[0].x, p.x) << "page " << c.page;
            EXPECT_EQ(got[0].y, p.y) << "page " << c.page;
        }
        for (auto field : c.absent) EXPECT_TRUE(Of(calls, (*optionsWindow).*field).empty()) << "page " << c.page;
    }
    // The body fades with the window; the heading of a question does not.
    const auto calls = Frame(9, 0.25f);
    EXPECT_NEAR(Of(calls, optionsWindow->bg)[0].alpha, 0.25f, 0.01f);
    const auto blot = Of(calls, optionsWindow->greetingBlot)[0];
    EXPECT_NEAR(blot.alpha, 0.25f, 0.01f);
    EXPECT_FLOAT_EQ(blot.sx, 2.9921875f);
    EXPECT_FLOAT_EQ(blot.sy, 1.078125f);
    EXPECT_EQ(Of(calls, optionsWindow->areYouSure)[0].alpha, 1.0f);
}

TEST_F(MenuDrawTest, TheSelectorPageDrawsTheListMarkTheCaptionAndTheMiniBoard) {
    int mode = 0, miniBoards = 0;
    const plat::ImagePtr caption = screens_test::Picture(200, 60);
    screensLinks.boardSelectorMode = [&] { return mode; };
    screensLinks.selectorCaption = [&] { return caption; };
    screensLinks.drawMiniBoard = [&] { ++miniBoards; };
    for (const auto& [m, y] : {std::pair{0, 380.0f}, {1, 410.0f}, {2, 410.0f}}) {
        mode = m;
        const auto calls = Frame(6, 0.5f);
        const auto mark = Of(calls, optionsWindow->listMark);
        ASSERT_EQ(mark.size(), 1u);
        EXPECT_EQ(mark[0].y, y) << "mode " << m;
        const auto cap = Of(calls, caption);
        ASSERT_EQ(cap.size(), 1u);
        EXPECT_EQ(cap[0].x, 199);
        EXPECT_EQ(cap[0].y, 440);
    }
    EXPECT_EQ(miniBoards, 3);
}

TEST_F(MenuDrawTest, HiddenButtonsAreNotDrawnAndButtonsFadeWithTheWindow) {
    gameState = 0;
    const auto calls = Frame(3, 0.3f);
    EXPECT_TRUE(Of(calls, optionsWindow->captionImages[4]).empty()) << "the hidden resume button";
    const auto newGame = Of(calls, optionsWindow->captionImages[5]);
    ASSERT_EQ(newGame.size(), 1u);
    EXPECT_NEAR(newGame[0].alpha, 0.3f, 0.01f);
    EXPECT_EQ(newGame[0].y, 300 - 10);  // centred: the picture's top edge
    const auto page2 = Frame(2, 1.0f);
    EXPECT_TRUE(Of(page2, optionsWindow->captionImages[8]).empty()) << "the hidden quit button";
}

}  // namespace

// The credits and hiscore pages run whole, headlessly: their fades, how
// long they last, what leaves them, and what a close request does.
#include <set>

#include "title_test_util.h"

namespace {

class TitlePages : public TitleTest {
protected:
    void SetUp() override {
        TitleTest::SetUp();
        menu.Wire();
        titleScreen = std::make_shared<TTitleScreen>();
        titleScreen->titleImage = Picture(800, 600, 0xFF203040u);
        titleScreen->creditsImage = Picture(800, 600, 0xFF402010u);
        titleScreen->hiscoresImage = Picture(800, 600, 0xFF104020u);
        for (const TLetterPtr& l : *fonts[1]->letters) letterImages.insert(l->image.get());
        hiscore = std::make_shared<THiscores>();
        hiscore->path = hiscorePath_;
        hiscore->add("ada", 900, 0, 1, "d", "null");
        // Each frame: what was drawn, then the record is cleared.
        plat::testing::OnFlip([this](int n) { Look(n); });
    }

    struct Frame {
        bool letters = false;     // any lettering drawn
        float titleAlpha = -1;    // the title picture's alpha, -1 when not drawn
        float pageAlpha = -1;     // the page background's
    };
    void Look(int) {
        Frame f;
        for (const auto& c : plat::testing::DrawCalls()) {
            if (letterImages.count(c.image)) f.letters = true;
            if (c.image == titleScreen->titleImage.get()) f.titleAlpha = c.alpha;
            if (c.image == titleScreen->creditsImage.get() || c.image == titleScreen->hiscoresImage.get())
                f.pageAlpha = c.alpha;
        }
        frames.push_back(f);
        if (hook) hook(static_cast<int>(frames.size()));
        plat::testing::ClearDrawCalls();
    }
    int LetterFrames(size_t from, size_t to) const {
        int n = 0;
        for (size_t i = from; i < to && i < frames.size(); ++i) n += frames[i].letters ? 1 : 0;
        return n;
    }
    template <class F>
    bool Ends(F run) {
        try {
            run();
        } catch (const plat::EndRequested&) {
            return true;
        }
        return false;
    }

    FakeMenu menu;
    std::set<const plat::Image*> letterImages;
    std::vector<Frame> frames;
    std::function<void(int)> hook;  // called after frame n was looked at
};

TEST_F(TitlePages, CreditsShowSixteenPagesBetweenTwoFades) {
    titleScreen->showCredits();
    const size_t n = frames.size();
    ASSERT_GT(n, 102u);
    // 51 frames of fade in, and 51 back with the menu fading in over them.
    EXPECT_EQ(LetterFrames(0, 51), 0);
    EXPECT_GT(frames[0].titleAlpha, 0.9f);
    EXPECT_LT(frames[0].pageAlpha, 0.1f);
    EXPECT_EQ(LetterFrames(n - 51, n), 0);
    EXPECT_EQ(menu.updates, 51);
    EXPECT_GT(frames[n - 1].titleAlpha, 0.99f);
    // Sixteen pages of 5000 ms at about 60 frames a second, each drawn for
    // its first 4500 ms; no seventeenth.
    const size_t pages = n - 102;
    EXPECT_GE(pages, 16u * 299);
    EXPECT_LE(pages, 16u * 302);
    const int drawn = LetterFrames(51, n - 51);
    EXPECT_GE(drawn, 16 * 266);
    EXPECT_LE(drawn, 16 * 272);
    EXPECT_EQ(titleScreen->result, 0);
    EXPECT_EQ(titleScreen->terminateRequested, 0);
    EXPECT_GT(titleScreen->fadeAlpha, 1.0f);
}

TEST_F(TitlePages, ClicksAndKeysLeaveOnlyOutsideTheFades) {
    struct Case {
        const char* what;
        int atFrame;  // after which frame the input comes
        std::function<void()> input;
        size_t frames;  // frames of the whole run
    } cases[] = {
        // Return is not read during the fade in: the first page frame reads it.
        {"return in the fade", 10, [] { plat::testing::TapKey(plat::KEY_RETURN); }, 51 + 1 + 51},
        {"space in a page", 80, [] { plat::testing::TapKey(plat::KEY_SPACE); }, 80 + 51},  // read in that frame
        {"a click in a page", 90, [] { plat::testing::ClickMouse(plat::MOUSE_LEFT); }, 90 + 1 + 51},  // sampled next frame
        // A click in the fade in is kept, as Return is, for the first page frame.
        {"a click in the fade", 10, [] { plat::testing::ClickMouse(plat::MOUSE_LEFT); }, 51 + 1 + 51},
        {"a press held from the fade", 20, [] { plat::testing::PressMouse(plat::MOUSE_LEFT); }, 51 + 1 + 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frames.clear();
        hook = [&](int n) {
            if (n == c.atFrame) c.input();
        };
        titleScreen->showCredits();
        plat::testing::ReleaseMouse(plat::MOUSE_LEFT);
        EXPECT_EQ(frames.size(), c.frames);
        EXPECT_EQ(titleScreen->result, 0);
        // The fade back starts from the full background, the page gone.
        EXPECT_EQ(LetterFrames(frames.size() - 51, frames.size()), 0);
    }
}

// The menu fades back in over the page, and is seen: a tap on it then is the
// menu's, in its first frame after the fade. The fade itself acts on no
// press, so none is half-taken there.
TEST_F(TitlePages, AClickInTheFadeBackReachesTheMenusFirstFrame) {
    for (bool credits : {true, false}) {
        SCOPED_TRACE(credits ? "credits" : "hiscores");
        int pressesSeenInFade = 0;
        titleLinks.updateMenu = [&, inner = titleLinks.updateMenu] {
            inner();
            pressesSeenInFade += mouse->leftHit;
        };
        frames.clear();
        hook = [](int n) {
            if (n == 60) plat::testing::TapKey(plat::KEY_RETURN);
            if (n == 80) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        };
        if (credits) titleScreen->showCredits();
        else titleScreen->showHiscores(1);
        EXPECT_EQ(frames.size(), 60u + 51u) << "the click does not cut the fade short";
        EXPECT_EQ(pressesSeenInFade, 0);
        EXPECT_EQ(mouse->leftHit, 1) << "the sample the menu's next frame reads holds the tap";
        menu.Wire();
    }
}

// A page the player asked for is watched: moving the pointer over it is no
// leaving (only a show the idle cycle opened ends at a move); a click is.
TEST_F(TitlePages, APageThePlayerOpenedStaysWhenThePointerMoves) {
    for (bool credits : {true, false}) {
        SCOPED_TRACE(credits ? "credits" : "hiscores");
        frames.clear();
        hook = [](int n) {
            if (n == 60) plat::testing::SetMouse(300, 200);
            if (n == 90) plat::testing::SetMouse(300, 450);
            if (n == 200) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        };
        if (credits) titleScreen->showCredits();
        else titleScreen->showHiscores(1);
        EXPECT_EQ(frames.size(), 200u + 1u + 51u);
    }
}

TEST_F(TitlePages, ACloseRequestInAFadeIsHandedBackAndInAPageEndsTheProgram) {
    hook = [](int n) {
        if (n == 5) plat::testing::RequestTerminate();
    };
    EXPECT_FALSE(Ends([&] { titleScreen->showCredits(); }));
    EXPECT_EQ(frames.size(), 102u) << "no page; the fade back at once";
    EXPECT_EQ(titleScreen->terminateRequested, 1);

    frames.clear();
    titleScreen->Prepare();
    hook = [](int n) {
        if (n == 200) plat::testing::RequestTerminate();
    };
    EXPECT_TRUE(Ends([&] { titleScreen->showCredits(); }));
    EXPECT_EQ(frames.size(), 200u) << "at the end of that very frame";

    frames.clear();
    titleScreen->Prepare();
    EXPECT_TRUE(Ends([&] { titleScreen->showHiscores(1); }));
    EXPECT_EQ(frames.size(), 200u);

    frames.clear();
    titleScreen->Prepare();
    hook = [](int n) {
        if (n == 80) plat::testing::RequestTerminate();  // in the fade back after a Return
        if (n == 60) plat::testing::TapKey(plat::KEY_RETURN);
    };
    EXPECT_FALSE(Ends([&] { titleScreen->showHiscores(1); }));
    EXPECT_EQ(titleScreen->terminateRequested, 1);
}

TEST_F(TitlePages, HiscoresRunTheirThreeTablesBetweenCrossFades) {
    titleScreen->showHiscores(1);
    const size_t n = frames.size();
    // About 18 s of tables, the first counted from before the fade in.
    EXPECT_GE(n, 51u + 1040u);
    EXPECT_LE(n, 51u + 1100u);
    EXPECT_GT(frames[0].titleAlpha, 0.9f) << "cross-fading from the title";
    EXPECT_GT(LetterFrames(51, n - 51), 0);
    EXPECT_EQ(menu.updates, 51);
    EXPECT_EQ(titleScreen->result, 0);

    // From black: no title picture in the fade in.
    frames.clear();
    hook = [](int n) {
        if (n == 55) plat::testing::ClickMouse(plat::MOUSE_LEFT);
    };
    titleScreen->showHiscores(0);
    ASSERT_EQ(frames.size(), 56u + 51u);
    for (size_t i = 0; i < 51; ++i) EXPECT_EQ(frames[i].titleAlpha, -1.0f) << i;
    EXPECT_GT(frames.back().titleAlpha, 0.99f);
}

}  // namespace

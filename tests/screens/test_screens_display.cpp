// The menu window and the loading screens on the real device (SDL's
// offscreen driver), loaded from the built game folder as start-up loads
// them; each picture is saved under test-output/ for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "screens/loading.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "platform/input.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class ScreensDisplay : public DisplaySuite {
protected:
    static void SetUpTestSuite() {
        OpenDisplay();
        if (::testing::Test::HasFatalFailure()) return;
        songManager = std::make_shared<TSongManager>();
        razod = std::make_shared<TRuneManager>();
        blocks = std::make_shared<TBlocksManager>();
        board = std::make_shared<TBoardManager>();
        level = std::make_shared<TLevelManager>();
        points = std::make_shared<TPointsManager>();
        mouse = std::make_shared<TMouse>();
        options = std::make_shared<TOptions>();
        options->musicVol = 0.7f;
        options->soundVol = 0.4f;
        options->screenMode = 0;
        loading = std::make_shared<TLoading>();
        optionsWindow = std::make_shared<TOptionsWindow>();
        data = std::make_shared<TContainer>();
        magicSphere = std::make_shared<TMagicSphere>();
        timeManager = std::make_shared<TTimeManager>();
        bossManager = std::make_shared<TBossManager>();
        globalSnd = std::make_shared<TGlobalSnd>();
        delta = 1.0;
        // The title screen's own loader is not part of this folder; the one
        // picture of it the window shows on page 6 is not needed here.
        title_ = plat::LoadImage("gfx/title/velmora-title.jpg", 0);
        ASSERT_TRUE(title_);
    }
    static void TearDownTestSuite() {
        title_.reset();
        razod.reset();
        blocks.reset();
        board.reset();
        level.reset();
        points.reset();
        mouse.reset();
        options.reset();
        loading.reset();
        optionsWindow.reset();
        data.reset();
        magicSphere.reset();
        timeManager.reset();
        bossManager.reset();
        globalSnd.reset();
        songManager.reset();
        fonts[0].reset();
        fonts[1].reset();
        sparkImages = {};
        TSpark::destroyAll();
        TCaptions::destroyAll();
        CloseDisplay();
    }

    // The loading screen up to its third ball, so the menu's pictures and
    // fonts exist for the page tests that follow.
    static void LoadOnce() {
        if (loaded_) return;
        loaded_ = true;
        loading->setup();
        loading->fadeInBg();
        loading->loadEverything();
    }

    // Sixty frames of a page over the title picture, as the title screen runs
    // it; the pointer rests on `hoverCode`'s button (0: none). The last frame
    // is read back.
    static plat::PixmapPtr Page(int page, int hoverCode) {
        LoadOnce();
        optionsWindow->greetingName->text = "ayla";
        optionsWindow->greetingName->dim->x = 400 - optionsWindow->greetingName->Width() / 2;
        optionsWindow->SetState(page, 1, kMenuWindowX, kMenuWindowY);
        plat::PixmapPtr frame;
        for (int f = 0; f < 60; ++f) {
            if (hoverCode != 0 && data->GetButton(hoverCode)) {
                const auto area = data->GetButton(hoverCode)->area;
                plat::MoveMouse(static_cast<int>(area->x), static_cast<int>(area->y));
            }
            plat::Cls();
            plat::SetBlend(3);
            plat::SetTransform(0, 1, 1);
            plat::SetColor(255, 255, 255);
            plat::SetAlpha(1);
            plat::DrawImage(title_, 0, 0, 0);
            optionsWindow->Update();
            optionsWindow->Draw();
            if (f == 59) frame = plat::GrabPixmap(0, 0, 800, 600);
            plat::Flip(-1);
        }
        return frame;
    }

    static inline plat::ImagePtr title_;
    static inline bool loaded_ = false;
};

TEST_F(ScreensDisplay, TheLoadingScreenHalfWay) {
    LoadOnce();
    // Ball 2 half lit, as in the middle of its fade.
    loading->currentBall = 2;
    loading->ballAlpha = 0.5f;
    loading->Draw();
    const plat::PixmapPtr frame = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    Save(frame, "loading.png");
    EXPECT_GT(Colours(frame, 0, 0, 800, 350).size(), 100u) << "the background";
    // A lit ball is gold, an unlit one silver; the half-lit one between.
    auto warmth = [&](int ball) {
        int sum = 0;
        for (int y = TLoading::kBallY - 10; y < TLoading::kBallY + 10; ++y)
            for (int x = TLoading::BallX(ball) - 10; x < TLoading::BallX(ball) + 10; ++x) {
                const uint32_t p = plat::ReadPixel(frame, x, y);
                sum += static_cast<int>((p >> 16) & 255) - static_cast<int>(p & 255);
            }
        return sum / 400;
    };
    EXPECT_GT(warmth(0), warmth(4) + 40);
    EXPECT_GT(warmth(1), warmth(2));
    EXPECT_GT(warmth(2), warmth(3));
    EXPECT_GT(Colours(frame, 300, 385, 200, 30).size(), 10u) << "the caption";
}

TEST_F(ScreensDisplay, TheOptionsPage) {
    const plat::PixmapPtr frame = Page(kMenuOptions, 46);
    Save(frame, "menu-options.png");
    EXPECT_GT(Colours(frame, 229, 200, 342, 330).size(), 60u);
    // Six ticks of the music bar (a stored 0.7 shows 6), four of the sound bar.
    const int x = kMenuWindowX;
    EXPECT_NE(Brightness(frame, x + 100 + 13 * 6, 299), Brightness(frame, x + 100 + 13 * 9, 299));
}

TEST_F(ScreensDisplay, TheDifficultyPage) {
    const plat::PixmapPtr frame = Page(kMenuDifficulty, 52);
    Save(frame, "menu-difficulty.png");
    EXPECT_GT(Colours(frame, 300, 180, 200, 200).size(), 60u);
}

TEST_F(ScreensDisplay, TheQuitQuestion) {
    const plat::PixmapPtr frame = Page(kMenuQuit, 0);
    Save(frame, "menu-quit.png");
    EXPECT_GT(Colours(frame, 280, 290, 240, 40).size(), 20u) << "the question's heading";
}

TEST_F(ScreensDisplay, TheInGamePauseMenu) {
    const plat::PixmapPtr frame = Page(kMenuInGame, 22);
    Save(frame, "menu-paused.png");
    EXPECT_GT(Colours(frame, 300, 170, 200, 40).size(), 20u) << "the paused heading";
}

TEST_F(ScreensDisplay, AStartUpPicture) {
    LoadOnce();
    const auto picture = TPortalScreen::Create("gfx/title/portal-1.jpg", 0, 0, 1);
    ASSERT_TRUE(picture->image);
    plat::PixmapPtr frame;
    for (int f = 0; f < 25; ++f) {
        plat::Cls();
        plat::SetBlend(3);
        plat::SetColor(255, 255, 255);
        plat::SetTransform(0, 1, 1);
        picture->Draw();
        if (f == 24) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    Save(frame, "startup-picture.png");
    EXPECT_EQ(picture->alpha, 1.0f);
    EXPECT_GT(Colours(frame, 0, 0, 800, 600).size(), 200u);
}

}  // namespace

// The level selector's page with its miniature board, and the gallery, on
// the real device (SDL's offscreen driver), loaded from the built game
// folder; each picture is saved under test-output/ for a person to look at.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "board/board.h"
#include "core/globals.h"
#include "core/delta_time.h"
#include "core/helpers.h"
#include "core/mouse.h"
#include "core/options.h"
#include "core/prefs.h"
#include "core/sound.h"
#include "level/level.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "profiles/profile_manager.h"
#include "screens/board_selector.h"
#include "screens/gallery.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "screens/slides.h"
#include "ui/button.h"
#include "ui/container.h"
#include "ui/font.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class GalleryDisplay : public DisplaySuite {
protected:
    static void SetUpTestSuite() {
        OpenDisplay();
        if (::testing::Test::HasFatalFailure()) return;
        razod = std::make_shared<TRuneManager>();
        blocks = std::make_shared<TBlocksManager>();
        board = std::make_shared<TBoardManager>();
        level = std::make_shared<TLevelManager>();
        mouse = std::make_shared<TMouse>();
        options = std::make_shared<TOptions>();
        options->screenMode = 0;
        data = std::make_shared<TContainer>();
        globalSnd = std::make_shared<TGlobalSnd>();
        VersionInfo = std::make_shared<OSVersionInfo>();
        optionsWindow = std::make_shared<TOptionsWindow>();
        slides = std::make_shared<TSlidesManager>();
        gallery = std::make_shared<TGallery>();
        boardSelector = std::make_shared<TBoardSelector>();
        delta = 1.0;

        // What the loading screen would have loaded for these two screens.
        fonts[0] = CreateFont(std::string("gfx/fonts/alfabet-maly.png"),
                              "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30.0f, 0);
        razod->loadRazodGfx();
        board->loadBoardGfx();
        optionsWindow->loadGfx();
        gallery->loadGfx();
        loadSparkImage(0, "gfx/gwiazdki/gradball.png");
        // The title screen's part of page 6: its backdrop and caption.
        optionsWindow->selectorBg = plat::LoadImage(LoadJPEG2000("gfx/gui/pod-selector.jp2"), -1);
        caption_ = plat::LoadImage("gfx/fonts/download4.png", -1);
        title_ = plat::LoadImage("gfx/title/velmora-title.jpg", 0);
        ASSERT_TRUE(optionsWindow->selectorBg && caption_ && title_ && gallery->backgroundPixmap);
        screensLinks.selectorCaption = [] { return caption_; };
        screensLinks.boardSelectorMode = [] { return boardSelector->listMode; };
        screensLinks.drawMiniBoard = [] { boardSelector->DrawMiniBoard(); };

        // A player who has seen three pictures.
        char pattern[] = "/tmp/quill_gallery_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        profiles_ = pattern;
        profile = TProfileManager::CreateWithPortal(profiles_, "dat", "Velmora");
        ASSERT_EQ(profile->NewProfile("ayla"), 1);
        profile->SetList("revealedImages", {"gfx/slides/slide-03.jpg", "gfx/slides/slide-01.jpg",
                                            "gfx/slides/slide-07.jpg"}, 0);
    }
    static void TearDownTestSuite() {
        screensLinks = TScreensLinks{};
        caption_.reset();
        title_.reset();
        profile.reset();
        plat::DeleteDir(profiles_, true);
        gallery.reset();
        slides.reset();
        boardSelector.reset();
        optionsWindow.reset();
        razod.reset();
        blocks.reset();
        board.reset();
        level.reset();
        mouse.reset();
        options.reset();
        data.reset();
        globalSnd.reset();
        VersionInfo.reset();
        fonts[0].reset();
        sparkImages = {};
        TSpark::destroyAll();
        CloseDisplay();
    }

    static inline std::string profiles_;
    static inline plat::ImagePtr caption_;
    static inline plat::ImagePtr title_;
};

TEST_F(GalleryDisplay, TheLevelSelectorPageWithItsMiniature) {
    // As the title screen opens it for time attack.
    boardSelector->LoadList(1);
    ASSERT_GE(boardSelector->levelNames.size(), 2u);
    boardSelector->nextLevel();
    boardSelector->LoadMiniBoard();
    boardSelector->selectionChanged = 0;
    optionsWindow->SetState(kMenuSelector, 1, kMenuWindowX, kMenuWindowY);
    if (const TButtonPtr endless = data->GetButton(76)) endless->setState(0, 0);
    optionsWindow->greetingName->text = "ayla";
    optionsWindow->greetingName->dim->x = 400 - optionsWindow->greetingName->Width() / 2;

    plat::PixmapPtr frame;
    for (int f = 0; f < 60; ++f) {
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
    Save(frame, "level-selector.png");
    EXPECT_GT(boardSelector->boardAlpha, 1.0f) << "faded in";
    // The miniature stands around (490, 370): board picture, runes and frame.
    EXPECT_GT(Colours(frame, 430, 320, 120, 100).size(), 60u);
    EXPECT_GE(board->originX, 390);
    EXPECT_LE(board->originX + board->getWidth() * 13, 590) << "the miniature fits its place";
}

TEST_F(GalleryDisplay, TheGalleryAndItsPuzzleSizePage) {
    gallery->Start(1);
    plat::PixmapPtr shown, sizePage;
    for (int f = 0; f < 70; ++f) {
        plat::Cls();
        gallery->Update();
        gallery->Draw();
        if (f == 69) shown = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    Save(shown, "gallery.png");
    EXPECT_NE(gallery->currentSlide, nullptr);
    EXPECT_EQ(gallery->currentSlide->source, "gfx/slides/slide-03.jpg");
    // The slide fills the frame's window; the frame and caption stand round it.
    EXPECT_GT(Colours(shown, 140, 100, 520, 380).size(), 200u);
    EXPECT_GT(Colours(shown, 300, 0, 200, 60).size(), 20u) << "the caption";

    // Stepping on: half-way through the cross-fade to the next picture, with
    // the size page over it.
    gallery->nextImage();
    optionsWindow->SetState(kMenuDifficulty, 1, kMenuWindowX, kMenuWindowY);
    for (int f = 0; f < 25; ++f) {
        plat::Cls();
        gallery->Update();
        gallery->DrawFramed();  // as the size page draws it: the page's own buttons only
        optionsWindow->Update();
        optionsWindow->Draw();
        if (f == 24) sizePage = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    Save(sizePage, "gallery-puzzle-size.png");
    optionsWindow->freeState();
    gallery->finish();
}

// A new player's gallery: the empty frame with its note in the window.
TEST_F(GalleryDisplay, TheEmptyGalleryOfANewPlayer) {
    ASSERT_EQ(profile->NewProfile("bryn"), 1);
    gallery->Start(1);
    ASSERT_TRUE(gallery->images->empty());
    ASSERT_TRUE(gallery->emptyNote);
    plat::PixmapPtr shown;
    for (int f = 0; f < 30; ++f) {
        plat::Cls();
        gallery->Update();
        gallery->Draw();
        if (f == 29) shown = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    Save(shown, "gallery-empty.png");
    EXPECT_GT(Colours(shown, 200, 250, 400, 80).size(), 20u) << "the note in the window";
    // Nothing to step through or play: where the arrows and "Play as puzzle"
    // stand in a full gallery is bare wall, as the frame alone draws it.
    plat::Cls();
    gallery->DrawFramed();
    const plat::PixmapPtr bare = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    EXPECT_EQ(Differing(shown, bare, 355, static_cast<int>(TGallery::kArrowY) - 5, 120, 50), 0) << "no arrows";
    EXPECT_EQ(Differing(shown, bare, 590, 490, 180, 50), 0) << "no puzzle button";
    EXPECT_GT(Differing(shown, bare, 330, 566, 110, 34), 20) << "Back is there";
    gallery->finish();
    profile->SelectProfile("ayla");
}

}  // namespace

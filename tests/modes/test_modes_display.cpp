// The quest's first level on the real device (SDL's offscreen driver): a
// frame of play with runes and spells on the board, the pause menu over the
// frozen scene, and the level's welcome popup; saved as
// test-output/modes-play.png, modes-pause.png and modes-popup.png for a
// person to look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>
#include <sys/stat.h>

#include <set>
#include <string>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/level_links.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/mode_links.h"
#include "modes/pause_menu.h"
#include "modes/popup_manager.h"
#include "modes/quest_loop.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/time.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"
#include "tests/support/play_world.h"

namespace {

using namespace quill_display;

class ModesDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        quill_test::MakePlayWorld();
        popupManager = std::make_shared<TPopupManager>();
        deltaTime = TDeltaTime::Create(60);
        delta = 1.0;
    }
    void TearDown() override {
        modeLinks = TModeLinks{};
        levelLinks = TLevelLinks{};
        quill_test::DropPlayWorld();
        popupManager.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        DisplayTest::TearDown();
    }
};

// What the loading screen loads for a board level.
void LoadBoardLevel() {
    quill_test::LoadPlayPictures();
    blocks->loadSfx();
    board->loadSfx();
    level->loadSfx();
    bonusManagerAlt->LoadResources();
    popupManager->Load();
    mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
    InstallSpellLinks();
    InstallModeLinks();
}

TEST_F(ModesDisplay, PlayThePauseMenuAndAPopup) {
    LoadBoardLevel();
    ASSERT_NE(popupManager->okButton->image, nullptr);
    ASSERT_NE(popupManager->font, nullptr);

    // The quest's first level, as the quest driver sets it up.
    gameState = 1;
    ASSERT_EQ(sequencer->TryStart(0), 1);
    ASSERT_EQ(sequencer->setupLevel(), 1);
    ASSERT_FALSE(popupManager->popups->IsEmpty()) << "the first level greets the player";
    const TPopupPtr welcome = popupManager->popups->First();

    TQuestPlay play;
    play.Start(0);
    popupManager->Free();  // no input here to close popups with
    // Some way in: runes in the lower rows, two spells lying on them, a
    // sphere part filled and a score.
    const int w = board->usedWidth, h = board->usedHeight;
    const int fx = board->firstUsedColumn, fy = board->firstUsedRow;
    const int now = plat::MilliSecs();
    for (int y = fy + h - 3; y < fy + h; ++y)
        for (int x = fx; x < fx + w; ++x) {
            if (board->shapeLayer[x][y] == 0 || (x + 2 * y) % 5 == 0) continue;
            const int rune = 1 + (x * 3 + y) % 4;
            board->runeLayer[x][y] = rune;
            board->colorLayer[x][y] = razod->getRuneColor(std::to_string(rune));
            board->placeTimeLayer[x][y] = now;
        }
    bonusManagerAlt->AddBonusExt(1, fx + 1, fy + h - 1, 0);
    bonusManagerAlt->AddBonusExt(3, fx + w - 2, fy + h - 2, 0);
    magicSphere->sphereFill[0] = magicSphere->sphereCapacity[0] / 2;
    points->pointsActual = 640;

    plat::PixmapPtr playFrame;
    for (int f = 0; f < 40; ++f) {
        ASSERT_EQ(play.Step(), TQuestPlay::kGoOn);
        if (f == 39) playFrame = plat::GrabPixmap(0, 0, 800, 600);
        play.Present();
    }
    ASSERT_TRUE(playFrame);

    // The pause menu, with a stand-in for the menu window's in-game page
    // (the window itself belongs to the menu screens).
    const plat::ImagePtr paused = plat::LoadImage("gfx/fonts/game-paused.png", -1);
    ASSERT_NE(paused, nullptr);
    modeLinks.menuDraw = [&] {
        plat::SetTransform(0, 1, 1);
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetColor(20, 12, 8);
        plat::SetAlpha(0.6f);
        plat::DrawRect(229, 200, 342, 200);
        plat::SetColor(255, 255, 255);
        plat::SetAlpha(1.0f);
        plat::DrawImage(paused, static_cast<float>(400 - plat::ImageWidth(paused) / 2), 230, 0);
    };
    TInGameMenu menu;
    menu.Open();
    plat::PixmapPtr pauseFrame;
    for (int f = 0; f < 5; ++f) {
        menu.Draw();
        if (f == 4) pauseFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    menu.Close();

    // The level's welcome popup, faded in.
    plat::PixmapPtr popupFrame;
    for (int f = 0; f < 12; ++f) {
        ASSERT_EQ(popupManager->DrawPopup(welcome), 0);
        if (f == 11) popupFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }

    Save(playFrame, "modes-play.png");
    Save(pauseFrame, "modes-pause.png");
    Save(popupFrame, "modes-popup.png");

    // The play frame shows the spheres, the clock, the panel and the board;
    // the menu and the popup change their own areas and leave the rest.
    EXPECT_GT(Colours(playFrame, 15, 17, 180, 180).size(), 20u) << "spheres";
    EXPECT_GT(Colours(playFrame, 31, 352, 140, 200).size(), 20u) << "points panel";
    EXPECT_GT(Colours(playFrame, board->originX, board->originY, w * board->cellSize, h * board->cellSize).size(), 20u)
        << "board";
    EXPECT_GT(Differing(playFrame, pauseFrame, 260, 230, 280, 40), 200) << "the menu's caption";
    EXPECT_GT(Differing(playFrame, popupFrame, welcome->x + 20, welcome->textY, 200, 40), 100) << "the popup's text";
    EXPECT_GT(Colours(popupFrame, welcome->x, welcome->y, plat::ImageWidth(welcome->image), 100).size(), 20u);
}

// The hints that show a picture of the level's own things, each over its
// board: the wardens of the boss levels, the first runes, spheres and
// combo, and the shape hint that shows none; saved as
// test-output/modes-hint-NN-K.png for a person to look at.
TEST_F(ModesDisplay, HintPopupsOverTheirBoards) {
    LoadBoardLevel();
    gameState = 1;
    ASSERT_EQ(sequencer->TryStart(0), 1);
    for (int n : {0, 1, 7, 9, 24, 105}) {
        SCOPED_TRACE(n);
        sequencer->currentLevel = n;
        ASSERT_EQ(sequencer->setupLevel(), 1);
        std::vector<TPopupPtr> hints;
        for (const TPopupPtr& p : *popupManager->popups)
            if (p->event == "BEGIN_LEVEL") hints.push_back(p);
        ASSERT_FALSE(hints.empty());
        TQuestPlay play;
        play.Start(0);
        popupManager->Free();
        for (int f = 0; f < 3; ++f) {
            ASSERT_EQ(play.Step(), TQuestPlay::kGoOn);
            play.Present();
        }
        for (size_t k = 0; k < hints.size(); ++k) {
            plat::PixmapPtr frame;
            for (int f = 0; f < 12; ++f) {
                ASSERT_EQ(popupManager->DrawPopup(hints[k]), 0);
                if (f == 11) frame = plat::GrabPixmap(0, 0, 800, 600);
                plat::Flip(-1);
            }
            ASSERT_TRUE(frame);
            char name[64];
            std::snprintf(name, sizeof name, "modes-hint-%02d-%zu.png", n, k + 1);
            Save(frame, name);
        }
    }
}

}  // namespace

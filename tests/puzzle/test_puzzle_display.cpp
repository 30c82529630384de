// The puzzle on the real device (SDL's offscreen driver), from the built
// game's own files: a frame of play part way through (pieces at home inside
// their shadow outline, a selected piece, a swap in flight, a hint
// sparkling, the hint area under the pointer) and the tally with its scroll
// open; saved as test-output/puzzle-play.png and puzzle-tally.png for a
// person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/pixmap.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "puzzle/puzzle_manager.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "screens/loading.h"
#include "tests/support/display_test.h"

namespace {

using namespace quill_display;

class PuzzleDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        mouse = std::make_shared<TMouse>();
        data = std::make_shared<TContainer>();
        globalSnd = std::make_shared<TGlobalSnd>();
        points = std::make_shared<TPointsManager>();
        sequencer = std::make_shared<TLevelSequencer>();
        deltaTime = TDeltaTime::Create(60);
        delta = 1.0;
        // What the loading screen loads for the puzzle's screens.
        for (int i = 0; i < 4; ++i)
            loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
        LoadSharedScrollsAndFonts();
        mouse->loadCursor("gfx/gui/kursor.png", 14, 6);
        puzzle = std::make_shared<TPuzzleManager>();
        puzzle->loadGfx();
    }
    void TearDown() override {
        puzzle.reset();
        TPuzzleButton::ramka.reset();
        TPuzzleButton::ramkaOn.reset();
        mouse.reset();
        data.reset();
        globalSnd.reset();
        points.reset();
        sequencer.reset();
        if (deltaTime) deltaTime->Destroy();
        deltaTime.reset();
        TSpark::destroyAll();
        sparkImages = {};
        DisplayTest::TearDown();
    }
};

TEST_F(PuzzleDisplay, APuzzleMidPlayAndItsTally) {
    ASSERT_TRUE(puzzle->grid->ramka && puzzle->grid->ramkaOn && puzzle->hintHover && puzzle->completeImage);
    for (const auto& s : puzzle->grid->shadows) ASSERT_TRUE(s);
    TPuzzleManager::Play play;
    play.background = plat::LoadImage(TPuzzleManager::kBackground, 0);
    ASSERT_TRUE(play.background);
    play.fontA = data->GetTTFont(4000);
    play.fontB = data->GetTTFont(4001);

    // The first quest puzzle's picture, 4 x 3; the top row and the first
    // piece of the second row at home, the rest mixed.
    puzzle->Create("gfx/slides/slide-02.jpg", 4, 3);
    ASSERT_EQ(puzzle->grid->pieces.size(), 12u);
    const int slots[12] = {0, 1, 2, 3, 4, 9, 11, 10, 6, 5, 8, 7};
    for (int k = 0; k < 12; ++k) puzzle->RestorePiece(k, slots[k]);
    for (int k = 0; k < 5; ++k) puzzle->grid->pieces[static_cast<size_t>(k)]->active = 0;
    // Piece 9 selected; pieces 5 and 6 half-way through a swap.
    puzzle->grid->pieces[9]->selected = 1;
    TPuzzleButton& a = *puzzle->grid->pieces[5];
    TPuzzleButton& b = *puzzle->grid->pieces[6];
    a.targetSlot = b.slot;
    b.targetSlot = a.slot;
    a.Prepare(1);
    b.Prepare(-1);
    for (int i = 0; i < 12; ++i) {
        a.Move();
        b.Move();
    }
    plat::SeedRnd(7);
    play.hints.show(*puzzle->grid, 0, 0, 0);
    play.hintOver = 1;
    plat::MoveMouse(470, 582);
    mouse->fetchState();

    plat::PixmapPtr playFrame;
    for (int f = 0; f < 30; ++f) {
        plat::Cls();
        plat::DrawImage(play.background, 0, 0, 0);
        puzzle->DrawPlay(play);
        if (f == 29) playFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(playFrame);
    Save(playFrame, "puzzle-play.png");
    // The pieces show the picture: many colours in the play area.
    EXPECT_GT(Colours(playFrame, 70, 60, 660, 480).size(), 200u);
    // The locked top row is tinted grey-darker than the same cell drawn
    // bright elsewhere would be; the shadow darkens its lower edge.
    const uint32_t inside = plat::ReadPixel(playFrame, 150, 100) & 0xFFFFFFu;
    const uint32_t shadowEdge = plat::ReadPixel(playFrame, 150, 53 + 164 - 2) & 0xFFFFFFu;
    EXPECT_NE(inside, shadowEdge);

    // The tally, its scroll open and the pieces counting.
    for (int k = 0; k < 12; ++k) puzzle->RestorePiece(k, k);
    for (const auto& p : puzzle->grid->pieces) {
        p->active = 0;
        p->selected = 0;
    }
    puzzle->grid->doMatrix();
    TSpark::destroyAll();
    puzzle->hintsUsed = 1;
    puzzle->clicks = 23;
    puzzle->tally = {};
    puzzle->tally.piecesLeft = 5;
    puzzle->tally.hintsLeft = 1;
    puzzle->tally.shownPoints = 1350;
    puzzle->tally.opening = 155;
    puzzle->tally.rollerAlpha = 1;
    puzzle->tally.phase = 3;
    puzzle->tally.endTime = puzzle->startTime + 83000;
    puzzle->tally.stepTime = plat::MilliSecs() + 100000;  // the count stands still for the picture
    plat::PixmapPtr tallyFrame;
    for (int f = 0; f < 20; ++f) {
        puzzle->TallyPhases(0);
        puzzle->DrawTally(play.background, play.fontA, play.fontB);
        if (f == 19) tallyFrame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(tallyFrame);
    Save(tallyFrame, "puzzle-tally.png");
    // The parchment is light where the board showed the picture, and the
    // text on it is dark.
    int dark = 0, light = 0;
    for (int y = 240; y < 400; y += 2)
        for (int x = 300; x < 500; x += 2) {
            const uint32_t v = Brightness(plat::ReadPixel(tallyFrame, x, y) & 0xFFFFFFu);
            dark += v < 200 ? 1 : 0;
            light += v > 450 ? 1 : 0;
        }
    EXPECT_GT(light, 1000);
    EXPECT_GT(dark, 100);
}

}  // namespace

// A shipped boss level on the real device (SDL's offscreen driver): the
// level's background, the spheres, the timer, the points panel, the board
// with its frame, runes and stones, the boss and the captions of a clear,
// drawn in the play loop's order and saved as test-output/level.png for a
// person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>

#include "board/board.h"
#include "board/stones.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/scene.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/time.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"
#include "tests/support/play_world.h"

namespace {

using namespace quill_display;

class LevelDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        quill_test::MakePlayWorld();
        delta = 1.0;
    }
    void TearDown() override {
        quill_test::DropPlayWorld();
        DisplayTest::TearDown();
    }
};

TEST_F(LevelDisplay, ABossLevelInPlay) {
    // What the loading screen loads for a board level.
    quill_test::LoadPlayPictures();
    blocks->loadSfx();
    board->loadSfx();
    level->loadSfx();

    // The quest's level 7 set-up, without the sequence around it.
    gameState = 1;
    level->Set("level_07.tsc");
    ASSERT_EQ(level->TryLoad(0), 1);
    level->loadGfx();
    board->createBoardImage(1);
    ASSERT_EQ(level->goalType, 3);
    ASSERT_NE(bossManager->bosses->Count(), 0);
    ASSERT_NE(level->backgroundImage, nullptr);
    ASSERT_NE(board->boardImage, nullptr);
    ASSERT_EQ(board->cellSize, 40);
    timeManager->Set(180000);
    timeManager->Reset(0);
    board->lastPetrifyTime = plat::MilliSecs();

    // A game some way in: runes and stones around the boss, two spheres
    // partly filled, a score, and the captions of a clear just made.
    const int runes[10][10] = {
        {1, 2, 3, 0, 0, 0, 0, 5, 1, 2}, {3, 21, 2, 4, 0, 0, 0, 2, 3, 1}, {0, 4, 22, 1, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 4, 4, 0, 0}, {2, 0, 0, 0, 0, 0, 4, 4, 0, 0}, {5, 3, 0, 0, 0, 0, 0, 0, 0, 3},
        {1, 23, 0, 0, 0, 0, 0, 0, 24, 2}, {2, 1, 5, 0, 0, 0, 0, 25, 1, 5}, {3, 2, 1, 4, 0, 0, 3, 2, 1, 3},
        {4, 5, 2, 1, 3, 22, 2, 1, 4, 2}};
    const int now = plat::MilliSecs();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            board->runeLayer[x][y] = runes[y][x];
            board->colorLayer[x][y] = razod->getRuneColor(std::to_string(runes[y][x]));
            board->placeTimeLayer[x][y] = now;
        }
    magicSphere->sphereFill[0] = 6;
    magicSphere->sphereFill[2] = 3;
    points->pointsTotal = 12400;
    points->pointsActual = 850;
    // (Placed clear of the boss, so both can be seen.)
    const int ox = board->originX, oy = board->originY;
    TCaptions::addCaption(1, 400, ox + 150, oy + 20, 1.2f, 0, 0, nullptr);
    TCaptions::addCaption(3, 5, ox + 150, oy + 60, 1.2f, 0, 0, nullptr);
    TCaptions::addCaption(2, 2, ox + 200, oy + 300, 1.2f, 0, 0, nullptr);
    blocks->heldBlock = blocks->_buildNextBlock();

    // Forty frames of the play loop, so the board has faded in and the
    // captions stand near their brightest; the last one is read back.
    plat::PixmapPtr frame;
    for (int f = 0; f < 40; ++f) {
        plat::Cls();
        modes::PlayScene();
        if (f == 39) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(frame);
    Save(frame, "level.png");

    // Every part of the screen shows something: no area stayed black, and
    // the board shows more than one colour.
    struct Area {
        const char* what;
        int x, y, w, h;
    } areas[] = {
        {"spheres panel", 15, 17, 180, 180}, {"timer", 42, 211, 100, 100}, {"points panel", 31, 352, 140, 200},
        {"board", board->originX, board->originY, 400, 400}, {"boss", board->originX + 4 * 40, board->originY + 4 * 40, 80, 80},
    };
    for (const Area& a : areas) {
        std::set<uint32_t> colours;
        for (int y = a.y; y < a.y + a.h; y += 3)
            for (int x = a.x; x < a.x + a.w; x += 3) colours.insert(plat::ReadPixel(frame, x, y) & 0xFFFFFFu);
        EXPECT_GT(colours.size(), 20u) << a.what;
        EXPECT_FALSE(colours.size() == 1 && *colours.begin() == 0) << a.what;
    }
}

TEST_F(LevelDisplay, TheTallyScrollOverTheClosedDoors) {
    // The shared scroll pictures and fonts the tally draws with.
    const plat::ImagePtr top = plat::LoadImage("gfx/gui/scroll_01.png", -1);
    const plat::ImagePtr body = plat::LoadImage("gfx/gui/scroll_02.png", -1);
    const plat::ImagePtr bottom = plat::LoadImage("gfx/gui/scroll_03.png", -1);
    ASSERT_TRUE(top && body && bottom);
    plat::SetImageHandle(top, 175, 55);
    plat::MidHandleImage(body);
    plat::SetImageHandle(bottom, 175, 0);
    data->Add(top, 2001);
    data->Add(body, 2002);
    data->Add(bottom, 2003);
    data->Add(plat::LoadImageFont("gfx/fonts/OldLondon.ttf", 40), 4001);
    data->Add(plat::LoadImageFont("gfx/fonts/OldLondon.ttf", 24), 4002);
    data->Add(plat::LoadImageFont("gfx/fonts/Lombardic.ttf", 16), 4005);
    ASSERT_TRUE(data->GetTTFont(4001) && data->GetTTFont(4002) && data->GetTTFont(4005));
    level->loadSfx();
    level->backgroundName = "gfx/slides/slide-06.jpg";
    level->loadGfx();

    // Stage 7 with the doors shut and the scroll open: the bonus on its way
    // into the total.
    level->startSummary();
    level->summaryStage = 7;
    level->doorsOffset = 400;
    level->panelAlpha = 1;
    level->panelSlide = 155;
    level->pulse = 0.6f;
    level->matches = 14;
    level->combos = 3;
    level->spellsCast = 2;
    level->bonusPoints = 350;
    level->totalShown = 13250;
    timeManager->elapsed = 184000;
    level->sparkFrame = 1;  // no drifting spark in the picture
    plat::Cls();
    level->Draw();
    level->summaryDisplay();
    const plat::PixmapPtr frame = plat::GrabPixmap(0, 0, 800, 600);
    plat::Flip(-1);
    ASSERT_TRUE(frame);
    Save(frame, "level-tally.png");

    // The doors cover the screen's edges, the scroll its middle; the text
    // rows are darker than the parchment around them.
    auto brightness = [&](int x, int y) {
        const uint32_t p = plat::ReadPixel(frame, x, y);
        return static_cast<int>(((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255));
    };
    EXPECT_GT(brightness(20, 300) + brightness(780, 300), 60) << "door halves";
    int darkest = 765, lightest = 0;
    for (int x = 290; x < 520; ++x) {
        darkest = std::min(darkest, brightness(x, 235));
        lightest = std::max(lightest, brightness(x, 205));
    }
    EXPECT_LT(darkest + 150, lightest) << "a row of text on the parchment";
}

}  // namespace

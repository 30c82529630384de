// The board's pictures: the cell size and place of a board, the board image
// masked to the outline, and the tiles, ghosts and stone loaded at start-up.
#include "board/play_test_util.h"
#include "support/ogg_encode.h"

namespace {

// Board cells in columns x0..x1 and rows y0..y1, nothing else.
void SetArea(int x0, int x1, int y0, int y1) {
    for (auto& column : board->shapeLayer) column.fill(0);
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) board->shapeLayer[x][y] = 1;
}

int AlphaAt(const plat::ImagePtr& img, int x, int y) {
    return static_cast<int>(plat::ReadPixel(img->frames.at(0), x, y) >> 24);
}

class BoardImageTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        for (int d = 1; d <= 9; ++d)
            WriteJpeg("gfx/bg/deski/deska-" + std::to_string(d) + ".jpg", 480, 480, 20 * d, 100, 60);
    }
};

TEST_F(BoardImageTest, SmallBoardsGetFortyPixelCellsAndEveryBoardIsCentred) {
    struct Case {
        const char* what;
        int x0, x1, y0, y1;
        int cellSize, originX, originY;
    } cases[] = {
        {"12 x 12", 0, 11, 0, 11, 40, 252, 60},
        {"13 x 12", 0, 12, 0, 11, 32, 284, 108},
        {"12 x 13", 0, 11, 0, 12, 32, 300, 92},
        {"columns 1-11, rows 1-10", 1, 11, 1, 10, 40, 232, 60},
        {"full", 0, 14, 0, 14, 32, 252, 60},
        // Small, but placed where the 40-pixel picture does not reach.
        {"12 x 12 in the lower right", 3, 14, 3, 14, 32, 204, 12},
        {"2 x 2 reaching column 12", 11, 12, 5, 6, 32, 108, 108},
        {"2 x 2 reaching row 12", 5, 6, 11, 12, 32, 300, -84},
        {"2 x 2 inside 0..11", 10, 11, 10, 11, 40, 52, -140},
    };
    for (const Case& c : cases) {
        SetArea(c.x0, c.x1, c.y0, c.y1);
        EXPECT_EQ(board->fitCellSize(), c.cellSize) << c.what;
        board->cellSize = 13;
        board->createBoardImage(1);
        EXPECT_EQ(board->cellSize, c.cellSize) << c.what;
        EXPECT_EQ(board->originX, c.originX) << c.what;
        EXPECT_EQ(board->originY, c.originY) << c.what;
        // The picture covers 480 pixels from the origin either way.
        EXPECT_EQ(plat::ImageWidth(board->boardImage), 480) << c.what;
        EXPECT_EQ(plat::ImageHeight(board->boardImage), 480) << c.what;
        EXPECT_EQ(board->maskPixmap, nullptr);
    }
}

TEST_F(BoardImageTest, TheLevelNumberPicksOneOfTheNinePictures) {
    struct Case {
        int level, digit;
    } cases[] = {{0, 1}, {1, 2}, {8, 9}, {9, 1}, {17, 9}, {18, 1}, {-1, 9}, {-9, 1}, {-10, 9}};
    board->clearBoard();
    for (const Case& c : cases) {
        level->levelNumber = c.level;
        board->createBoardImage(1);
        EXPECT_EQ(board->backgroundName, "gfx/bg/deski/deska-" + std::to_string(c.digit) + ".jpg") << c.level;
        ASSERT_NE(board->boardImage, nullptr) << c.level;
    }
}

TEST_F(BoardImageTest, CellsOutsideTheOutlineAreTransparent) {
    struct Case {
        int x0, x1, y0, y1, cellSize;
    } cases[] = {{0, 14, 0, 14, 32}, {0, 11, 0, 11, 40}};
    for (const Case& c : cases) {
        SetArea(c.x0, c.x1, c.y0, c.y1);
        board->shapeLayer[2][3] = 0;   // a hole
        board->shapeLayer[4][1] = -2;  // any non-zero value is a board cell
        board->createBoardImage(1);
        ASSERT_EQ(board->cellSize, c.cellSize);
        const int s = c.cellSize;
        const plat::ImagePtr& img = board->boardImage;
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(AlphaAt(img, 2 * s, 3 * s), 0);
        EXPECT_EQ(AlphaAt(img, 2 * s + s - 1, 3 * s + s - 1), 0);
        EXPECT_EQ(AlphaAt(img, 2 * s - 1, 3 * s), 255);  // the neighbour keeps its picture
        EXPECT_EQ(AlphaAt(img, 3 * s, 3 * s), 255);
        EXPECT_EQ(AlphaAt(img, 4 * s + 1, 1 * s + 1), 255);
    }
    // The background stays loaded and unpainted.
    EXPECT_EQ(plat::ReadPixel(board->backgroundPixmap, 2 * 40 + 1, 3 * 40 + 1) & 0xFFFFFF,
              plat::ReadPixel(board->backgroundPixmap, 5, 5) & 0xFFFFFF);
}

TEST_F(BoardImageTest, AMissingOrSmallPictureNeverBreaksTheBuild) {
    board->clearBoard();
    board->shapeLayer[14][14] = 0;
    // Too small: the painting is clipped to it.
    WriteJpeg("gfx/bg/deski/deska-1.jpg", 100, 90, 10, 10, 10);
    board->createBoardImage(1);
    EXPECT_EQ(plat::ImageWidth(board->boardImage), 100);
    EXPECT_EQ(plat::ImageHeight(board->boardImage), 90);

    // Missing: a board without a texture and a line saying why.
    plat::DeleteFile("gfx/bg/deski/deska-1.jpg");
    ::testing::internal::CaptureStdout();
    board->createBoardImage(1);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(board->boardImage, nullptr);
    EXPECT_EQ(board->backgroundPixmap, nullptr);
    EXPECT_EQ(board->maskPixmap, nullptr);
    EXPECT_NE(out.find("gfx/bg/deski/deska-1.jpg"), std::string::npos) << out;
    EXPECT_EQ(board->cellSize, 32);  // the board is still placed
    EXPECT_EQ(board->originX, 252);
}

TEST_F(BoardImageTest, ThePreviewAndTheUncentredBuildKeepTheirPlace) {
    SetArea(0, 11, 0, 11);
    board->createBoardImage(1);
    ASSERT_EQ(board->cellSize, 40);
    board->originX = 77;
    board->originY = 88;
    board->createSmallBoardImage();
    EXPECT_EQ(board->cellSize, 32);
    EXPECT_EQ(board->originX, 77);
    EXPECT_EQ(board->originY, 88);
    EXPECT_EQ(plat::ImageWidth(board->boardImage), 480);
    EXPECT_EQ(AlphaAt(board->boardImage, 12 * 32 + 1, 1), 0);  // the whole 15 x 15 grid is masked

    board->cellSize = 32;
    board->createBoardImage(0);
    EXPECT_EQ(board->originX, 77);
    EXPECT_EQ(plat::ImageWidth(board->boardImage), 480);
}

TEST_F(BoardImageTest, TilesGhostsAndStoneLoadIntoTheirPlaces) {
    WritePicture("gfx/runy/ghost.png", 32, 32);
    WritePicture("gfx/runy-40x40/ghost.png", 40, 40);
    WritePicture("gfx/ramka/3c.png", 96, 10);
    WritePicture("gfx/ramka/2b-p.png", 64, 10);
    WritePicture("gfx/ramka/1b-rd_v2.png", 12, 12);
    WritePicture("gfx/ramka-40x40/1a.png", 10, 40);
    WritePicture("gfx/ramka-40x40/1b-lg_v3.png", 14, 14);
    WritePicture("gfx/gwiazdki/stone.png", 20, 16);
    // The two combo sounds, told apart by their pitch.
    plat::CreateDir("sfx/fx", true);
    ASSERT_TRUE(quill_test::WriteTestOgg("sfx/fx/playgame-combo-x3.ogg", 0.1, 440.0));
    ASSERT_TRUE(quill_test::WriteTestOgg("sfx/fx/playgame-combo-x4-and-maxmega.ogg", 0.1, 660.0));
    board->loadBoardGfx();
    board->loadSfx();
    EXPECT_EQ(plat::ImageWidth(board->ghostImage32), 32);
    EXPECT_EQ(plat::ImageWidth(board->ghostImage40), 40);
    EXPECT_EQ(board->ghostImage, board->ghostImage32);
    EXPECT_EQ(plat::ImageWidth(board->leftRightTiles32[3][2]), 96);
    EXPECT_EQ(plat::ImageWidth(board->topBottomTiles32[2][1]), 64);
    EXPECT_EQ(plat::ImageWidth(board->cornerTiles32[3][1]), 12);
    EXPECT_EQ(plat::ImageWidth(board->leftRightTiles40[1][0]), 10);
    EXPECT_EQ(plat::ImageWidth(board->cornerTiles40[0][2]), 14);
    EXPECT_EQ(board->leftRightTiles32[1][0], nullptr);  // missing files stay empty
    EXPECT_EQ(board->leftRightTiles32[0][0], nullptr);
    ASSERT_NE(board->stoneImage, nullptr);
    EXPECT_FLOAT_EQ(board->stoneImage->handleX, 10.0f);
    EXPECT_FLOAT_EQ(board->stoneImage->handleY, 8.0f);
    EXPECT_EQ(board->clearSound, nullptr);
    ASSERT_NE(board->comboSounds[0], nullptr);
    EXPECT_EQ(board->comboSounds[1], board->comboSounds[0]) << "two and three colours share one sound";
    ASSERT_NE(board->comboSounds[2], nullptr);
    EXPECT_NE(board->comboSounds[2]->samples, board->comboSounds[0]->samples) << "four colours have their own";

    SetArea(0, 5, 0, 5);
    board->createBoardImage(1);
    EXPECT_EQ(board->ghostImage, board->ghostImage40);
    SetArea(0, 14, 0, 14);
    board->createBoardImage(1);
    EXPECT_EQ(board->ghostImage, board->ghostImage32);
    EXPECT_EQ(board->saveBoard(), 0);
}

}  // namespace

// A small level played headlessly as far as the board and the held block go:
// the level file comes out of a data archive, lays out the board, and a block
// is dealt, formed, moved, turned and drawn beside its next block.
#include "board/play_test_util.h"
#include "config/bca.h"
#include "platform/graphics.h"

namespace {

const char* kLevel = R"(
Settings{ Level{ Number=13 PetrifyTime=9000 AvailableRazod='1 2 3 4' AvailableBlocks='2 3' } }
Board{
  Line1='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line2='0 0 1 1 1 1 1 1 1 1 0 0 0 0 0'
  Line3='0 0 1 1 1 1 1 1 1 1 0 0 0 0 0'
  Line4='0 0 1 1 1 1 1 1 1 1 0 0 0 0 0'
  Line5='0 0 1 1 1 1 1 1 1 1 0 0 0 0 0'
  Line6='0 0 1 1 1 1 1 1 1 1 0 0 0 0 0'
  Line7='0 0 1 1 1 1 1 1 1 1 0 0 0 0 0'
  Line8='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line9='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line10='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line11='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line12='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line13='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line14='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
  Line15='0 0 0 0 0 0 0 0 0 0 0 0 0 0 0'
}
Razod{
  Read='1'
  Line2='0 0 1 1 0 0 0 0 0 4'
}
Frame{ LQ=1 RQ=0 TQ=0 BQ=0 LUCQ=0 RUCQ=0 LLCQ=0 RLCQ=0 }
Frame{ Left{ x1=1 y1=1 size1=3 id1=0 } }
)";

const char* kBlocks = R"(
List{
  Quantity=2
  Block1{ id='2' width=2 height=2 pieces=3 title='L' description='' piece1=0,0 piece2=1,0 piece3=0,1 }
  Block2{ id='3' width=4 height=1 pieces=4 title='I' description='' piece1=0,0 piece2=1,0 piece3=2,0 piece4=3,0 }
}
)";

using PlayLevelTest = PlayTest;

TEST_F(PlayLevelTest, ALevelFileLaysOutTheBoardAndABlockIsPlayedOverIt) {
    WriteFourRunePictures();
    WriteSettings({{"razod.tsc", kFourRunes}, {"blocks.tsc", kBlocks}});
    ASSERT_TRUE(plat::SaveText("data/razod_levels.bca", bca::PackArchive({{"level13.tsc", kLevel}})));
    WriteJpeg("gfx/bg/deski/deska-5.jpg", 480, 480, 90, 60, 30);
    razod->loadRazodGfx();
    blocks->loadBlocksDef();

    // What the level's load hands the board and the blocks.
    TTSCFilePtr level = CreateTSCFile();
    ASSERT_EQ(LoadTSCFileBB(level, "data/razod_levels.bca", "level13.tsc"), 1);
    const int number = static_cast<int>(GetTSCNumberKey(level, "Settings::Level", "Number", 0));
    ::level = std::make_shared<TLevelManager>();
    ::level->levelNumber = number;
    blocks->setAvailableRazod(GetTSCStringKey(level, "Settings::Level", "AvailableRazod", 0));
    blocks->setAvailableBlocks(GetTSCStringKey(level, "Settings::Level", "AvailableBlocks", 0));
    ASSERT_EQ(blocks->availabilityProblem(), "");
    board->petrifyInterval = static_cast<int>(GetTSCNumberKey(level, "Settings::Level", "PetrifyTime", 0));
    board->loadBoard(level);
    board->loadRazod(level);
    board->loadFrame(level);
    board->buildFrame();
    board->createBoardImage(1);

    // An 8 x 6 board in columns 2-9, rows 1-6: 40-pixel cells, centred.
    EXPECT_EQ(board->cellSize, 40);
    EXPECT_EQ(board->originX, 492 - 240);
    EXPECT_EQ(board->originY, 300 - 160);
    EXPECT_EQ(board->backgroundName, "gfx/bg/deski/deska-5.jpg");
    ASSERT_NE(board->boardImage, nullptr);
    EXPECT_EQ(board->runeLayer[2][1], 1);
    EXPECT_EQ(board->colorLayer[9][1], 4);
    EXPECT_EQ(board->frameElements.size(), 4u + 2 * 3 + 2 * 2);  // rebuilt from the outline, not the file's piece
    EXPECT_EQ(board->petrifyInterval, 9000);

    // Deal at the mouse over cell (4, 1) and let the block form.
    auto pointAtCell = [](int x, int y) { PointAt(board->originX + x * 40 + 7, board->originY + y * 40 + 7); };
    pointAtCell(4, 1);
    blocks->buildNextBlock();
    ASSERT_NE(blocks->heldBlock, nullptr);
    ASSERT_NE(blocks->nextBlock, nullptr);
    int frames = 0;
    while (blocks->blockReady == 0 && frames < 30) {
        blocks->updateBlock(-1, -1);
        blocks->drawBlock(0, 0);
        ++frames;
    }
    EXPECT_EQ(frames, 16);

    // Over the starting runes in row 1 only the cells in columns 2 and 3 are
    // taken; move onto one of them and a cell is refused.
    pointAtCell(3, 1);
    blocks->updateBlock(-1, -1);
    EXPECT_EQ(blocks->heldBlock->fits[0][0], 0);
    pointAtCell(5, 3);
    blocks->updateBlock(-1, -1);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(blocks->heldBlock->fits[i][j], 1);

    // A quarter turn at the bottom edge pushes cells off the board.
    blocks->rotateBlock(1);
    for (int n = 0; n < 15; ++n) blocks->updateBlock(-1, -1);
    EXPECT_EQ(blocks->curRotation, 1);
    pointAtCell(5, 6);
    blocks->updateBlock(-1, -1);
    bool refused = false;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) refused = refused || blocks->heldBlock->fits[i][j] == 0;
    EXPECT_TRUE(refused);

    // The held block draws at its cell, the next block in its box, at the
    // 40-pixel rune pictures.
    plat::testing::ClearDrawCalls();
    blocks->drawBlock(0, 0);
    blocks->DrawNextBlock(660, 120);
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_FALSE(calls.empty());
    for (const auto& c : calls) {
        ASSERT_NE(c.image, nullptr);
        EXPECT_EQ(c.image->width, 40) << c.x;
    }
    EXPECT_EQ(calls.front().image, razod->_findRuneByID(std::to_string(blocks->heldBlock->cells[0][0]))->image40.get());
    EXPECT_FLOAT_EQ(calls.front().x, static_cast<float>(board->originX + 5 * 40));
}

}  // namespace

// The block catalogue, the level's lists, dealing, turning, the held block's
// update and drawing, the next-block box and the freeze.
#include <array>
#include <cmath>
#include <map>

#include "board/play_test_util.h"
#include "core/sound.h"
#include "platform/app.h"
#include "platform/rng.h"
#include "platform/text.h"

namespace {

const char* kBlocks = R"(
List{
  Quantity=4
  Block1{ id='1' width=1 height=1 pieces=1 title='Dot' description='One cell' piece1=0,0 }
  Block2{ id='2' width=2 height=2 pieces=3 title='L' description='' piece1=0,0 piece2=1,0 piece3=0,1 }
  Block3{ id='3' width=4 height=1 pieces=4 title='I' description='' piece1=0,0 piece2=1,0 piece3=2,0 piece4=3,0 }
  Block4{ id='4' width=1 height=4 pieces=4 title='I' description='' piece1=0,0 piece2=0,1 piece3=0,2 piece4=0,3 }
}
)";

class BlocksTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        WriteFourRunePictures();
        WriteSettings({{"razod.tsc", kFourRunes}, {"blocks.tsc", kBlocks}});
        razod->loadRazodGfx();
        blocks->loadBlocksDef();
        board->clearBoard();  // a full 15 x 15 board at 32 pixels, origin (240, 60)
    }

    // A held block, dealt and formed, with only the given shape and rune.
    void HoldReady(const std::string& shape, const std::string& rune = "1") {
        blocks->setAvailableBlocks(shape);
        blocks->setAvailableRazod(rune);
        blocks->buildNextBlock();
        for (int n = 0; n < 16; ++n) blocks->updateBlock(-1, -1);
        ASSERT_EQ(blocks->blockReady, 1);
    }

    // The pointer over board cell (x, y), a few pixels inside it.
    static void PointAtCell(int x, int y) {
        PointAt(board->originX + x * board->cellSize + 3, board->originY + y * board->cellSize + 3);
    }
};

TBlockGrid Grid(std::initializer_list<std::pair<int, int>> cells, int value = 1) {
    TBlockGrid g{};
    for (const auto& c : cells) g[c.first][c.second] = value;
    return g;
}

// ---- catalogue and lists ---------------------------------------------------------------

TEST_F(BlocksTest, CatalogueLoadsShapesInFileOrder) {
    ASSERT_EQ(blocks->blockDefs.size(), 4u);
    EXPECT_EQ(blocks->blocksFile, nullptr);  // released after loading
    const TBlockPtr l = blocks->_findBlockByID("2");
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->cells, Grid({{0, 0}, {1, 0}, {0, 1}}));
    EXPECT_EQ(l->pieces, 3);
    EXPECT_EQ(blocks->blockDefs[0]->title, "Dot");
    EXPECT_EQ(blocks->blockDefs[0]->description, "One cell");
    EXPECT_EQ(blocks->_findBlockByID("9"), nullptr);
    EXPECT_EQ(blocks->_findBlockByID(" 2"), nullptr);
    // A second load appends a copy; lookups keep finding the first.
    blocks->loadBlocksDef();
    EXPECT_EQ(blocks->blockDefs.size(), 8u);
    EXPECT_EQ(blocks->_findBlockByID("2"), l);
}

TEST_F(BlocksTest, PiecesOutsideTheGridAreSkippedWithADiagnostic) {
    TBlocksManager m;
    ::testing::internal::CaptureStdout();
    m.loadBlocksFrom(TscFromText(
        "List{ Quantity=1 Block1{ id=7 width=2 height=2 pieces=4 piece1=1,1 piece2=4,0 piece3=0,-1 piece4=3,3 } }"));
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(m.blockDefs.size(), 1u);
    EXPECT_EQ(m.blockDefs[0]->cells, Grid({{1, 1}, {3, 3}}));
    EXPECT_NE(out.find("List::Block1::piece2"), std::string::npos) << out;
    EXPECT_NE(out.find("List::Block1::piece3"), std::string::npos) << out;

    // A missing piece still stops the load, naming the key.
    TBlocksManager broken;
    try {
        broken.loadBlocksFrom(TscFromText("List{ Quantity=1 Block1{ id=1 width=1 height=1 pieces=2 piece1=0,0 } }"));
        ADD_FAILURE() << "no error";
    } catch (const TSCError& e) {
        EXPECT_STREQ(e.what(), "The key List::Block1::piece2 does not exist");
    }
}

TEST_F(BlocksTest, LevelListsSplitAtEverySpace) {
    struct Case {
        const char* text;
        std::vector<std::string> ids;
    } cases[] = {
        {"1 2 3 4", {"1", "2", "3", "4"}},
        {"1 1 2", {"1", "1", "2"}},  // repeats make an id likelier
        {"1  2", {"1", "", "2"}},
        {" 3 ", {"", "3", ""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        blocks->setAvailableRazod(c.text);
        blocks->setAvailableBlocks(c.text);
        EXPECT_EQ(blocks->availableRazod, c.ids) << "'" << c.text << "'";
        EXPECT_EQ(blocks->availableBlocks, c.ids) << "'" << c.text << "'";
    }
}

TEST_F(BlocksTest, ListsThatCannotDealAreNamedAndStopTheDeal) {
    struct Case {
        const char *runes, *shapes, *problem;
    } cases[] = {
        {"1 2", "1 2", ""},
        {"", "1", "the list of available runes (AvailableRazod) is empty"},
        {"1", "", "the list of available blocks (AvailableBlocks) is empty"},
        {"1", "1 8", "the available block \"8\" is not in blocks.tsc"},
        {"1", "1  2", "the available block \"\" is not in blocks.tsc"},
        // The board keeps only ids above 0; one such id among others is enough.
        {" ", "1", "the list of available runes (AvailableRazod) holds no rune id above 0 that a block could carry"},
        {"0 -2 x", "1",
         "the list of available runes (AvailableRazod) holds no rune id above 0 that a block could carry"},
        {"0  x 3", "1", ""},
    };
    for (const Case& c : cases) {
        blocks->setAvailableRazod(c.runes);
        blocks->setAvailableBlocks(c.shapes);
        EXPECT_EQ(blocks->availabilityProblem(), c.problem);
    }
    blocks->setAvailableRazod("");
    blocks->setAvailableBlocks("1");
    try {
        blocks->_buildNextBlock();
        ADD_FAILURE() << "dealt from an empty list";
    } catch (const plat::RuntimeErrorException& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot deal a block: the list of available runes (AvailableRazod) is empty");
    }
    blocks->setAvailableRazod("1");
    blocks->setAvailableBlocks("8");
    EXPECT_THROW(blocks->_buildNextBlock(), plat::RuntimeErrorException);
}

// ---- dealing -------------------------------------------------------------------------------

TEST_F(BlocksTest, DealingDrawsTheShapeThenOneRunePerCellRowByRow) {
    blocks->setAvailableBlocks("2 3");
    blocks->setAvailableRazod("1 2 3 4 4");
    blocks->lastRazod = {7, 8, 9};
    blocks->curRotation = blocks->targetRotation = 2;
    blocks->turnAngle = 180;
    blocks->blockReady = 1;
    PointAt(240 + 5 * 32 + 1, 60 + 2 * 32 + 1);
    plat::testing::SetMouse(240 + 5 * 32 + 1, 60 + 2 * 32 + 1);

    for (int seed : {1, 2, 3, 99}) {
        plat::SeedRnd(seed);
        const std::string shapeId = blocks->availableBlocks[static_cast<size_t>(plat::Rand(0, 1))];
        const TBlockPtr shape = blocks->_findBlockByID(shapeId);
        TBlockGrid runes{};
        int last = 0;
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                if (shape->cells[column][row] != 0)
                    last = runes[column][row] = plat::ToInt(blocks->availableRazod[static_cast<size_t>(plat::Rand(0, 4))]);
        const auto before = blocks->lastRazod;

        plat::SeedRnd(seed);
        const TBlockPtr b = blocks->_buildNextBlock();
        EXPECT_EQ(b->cells, runes) << "seed " << seed;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) EXPECT_EQ(b->colors[i][j], runes[i][j]);  // rune n has colour n
        EXPECT_EQ(b->id, "");
        EXPECT_EQ(blocks->lastRazod, (std::array<int32_t, 3>{last, before[0], before[1]}));
    }
    EXPECT_EQ(blocks->blockChanged, 1);
    EXPECT_EQ(blocks->cellX, 5);
    EXPECT_EQ(blocks->cellY, 2);
    EXPECT_EQ(blocks->curRotation, 0);
    EXPECT_EQ(blocks->targetRotation, 0);
    EXPECT_EQ(blocks->turnAngle, 0);
    EXPECT_EQ(blocks->blockReady, 0);
    EXPECT_FLOAT_EQ(blocks->fadeAlpha, 0.0f);
}

TEST_F(BlocksTest, TheQueuedBlockBecomesTheHeldOneAndTheNextIsMeasured) {
    struct Case {
        const char* shape;
        float w, h;  // most cells in one row, in one column
    } cases[] = {{"1", 1, 1}, {"2", 2, 2}, {"3", 4, 1}, {"4", 1, 4}};
    blocks->setAvailableRazod("1");
    for (const Case& c : cases) {
        blocks->setAvailableBlocks(c.shape);
        const TBlockPtr queued = blocks->nextBlock;
        blocks->buildNextBlock();
        if (queued) {
            EXPECT_EQ(blocks->heldBlock, queued);
        }
        ASSERT_NE(blocks->nextBlock, nullptr);
        EXPECT_NE(blocks->nextBlock, blocks->heldBlock);
        EXPECT_FLOAT_EQ(blocks->nextBlockW, c.w) << c.shape;
        EXPECT_FLOAT_EQ(blocks->nextBlockH, c.h) << c.shape;
    }
}

// ---- geometry ---------------------------------------------------------------------------------

TEST(RotationOffsets, QuarterTurnsClockwise) {
    struct Case {
        int r, i, j, dx, dy;
    } cases[] = {
        {0, 2, 1, 2, 1}, {1, 2, 1, -1, 2}, {2, 2, 1, -2, -1}, {3, 2, 1, 1, -2}, {1, 0, 3, -3, 0}, {3, 3, 0, 0, -3},
    };
    for (const Case& c : cases) {
        int dx = 99, dy = 99;
        RotationOffset(c.r, c.i, c.j, dx, dy);
        EXPECT_EQ(dx, c.dx) << "r " << c.r << " (" << c.i << ", " << c.j << ")";
        EXPECT_EQ(dy, c.dy) << "r " << c.r << " (" << c.i << ", " << c.j << ")";
    }
}

TEST_F(BlocksTest, PixelsMapToCellsTruncatingTowardZero) {
    struct Case {
        int pixel, cell;
    } cases[] = {{240, 0}, {230, 0}, {209, 0}, {207, -1}, {271, 0}, {272, 1}, {719, 14}, {720, 15}};
    for (const Case& c : cases) {
        EXPECT_EQ(blocks->getXR(c.pixel), c.cell) << c.pixel;
        EXPECT_EQ(blocks->getYR(c.pixel - 180), c.cell) << c.pixel;
        EXPECT_EQ(blocks->getX(c.pixel), c.cell * 32 + 240) << c.pixel;
    }
    plat::testing::SetMouse(300, 100);  // 0 stands for the pointer
    EXPECT_EQ(blocks->getXR(0), 1);
    EXPECT_EQ(blocks->getYR(0), 1);
}

// ---- turning --------------------------------------------------------------------------------------

TEST_F(BlocksTest, AQuarterTurnTakesSixDegreesPerFrameOfDelta) {
    struct Case {
        int from;
        double delta;
        int updates, target;
    } cases[] = {{0, 1.0, 15, 1}, {0, 2.0, 8, 1}, {3, 1.0, 15, 0}, {2, 0.5, 30, 3}};
    for (const Case& c : cases) {
        blocks->curRotation = blocks->targetRotation = c.from;
        blocks->turnAngle = 90 * c.from;
        blocks->turnProgress = 0;
        delta = c.delta;
        blocks->rotateBlock(1);
        EXPECT_EQ(blocks->targetRotation, c.target);
        int n = 0;
        while (blocks->curRotation != c.target && n < 100) {
            blocks->blockChanged = 0;
            blocks->updateBlock(-1, -1);
            ++n;
        }
        EXPECT_EQ(n, c.updates) << "from " << c.from << " delta " << c.delta;
        EXPECT_EQ(blocks->turnProgress, 0);
        EXPECT_EQ(blocks->turnAngle, 90 * c.target);
        EXPECT_EQ(blocks->blockChanged, 1);
    }
    // Turning back from 0 aims at 3.
    blocks->curRotation = blocks->targetRotation = 0;
    blocks->rotateBlock(-1);
    EXPECT_EQ(blocks->targetRotation, 3);
}

TEST_F(BlocksTest, RequestsDuringATurnAddNoQuarterAndNoSound) {
    blocks->rotateSound = std::make_shared<plat::Sound>();
    blocks->rotateSound->samples.assign(44100 * 2, 1000);
    blocks->rotateBlock(1);
    const plat::ChannelPtr first = blocks->rotateChannel;
    ASSERT_NE(first, nullptr);
    blocks->updateBlock(-1, -1);
    blocks->rotateBlock(1);  // curRotation is still 0
    EXPECT_EQ(blocks->rotateChannel, first);
    EXPECT_EQ(blocks->targetRotation, 1);
    for (int n = 0; n < 20; ++n) blocks->updateBlock(-1, -1);
    EXPECT_EQ(blocks->curRotation, 1);
    // Idle again: the next request is heard, restarting the sound.
    blocks->rotateBlock(1);
    EXPECT_NE(blocks->rotateChannel, first);
    EXPECT_EQ(blocks->targetRotation, 2);
}

// ---- the held block --------------------------------------------------------------------------------

TEST_F(BlocksTest, ANewBlockFormsForFifteenDrawsThenShowsReady) {
    blocks->setAvailableBlocks("2");
    blocks->setAvailableRazod("1");
    PointAtCell(4, 4);
    blocks->buildNextBlock();
    // Where the L's cells (0,0), (0,1), (1,0) are drawn while forming: they
    // fly in from below right and land on the cells at (368, 188).
    const std::map<int, std::vector<std::pair<float, float>>> flyIn = {
        {1, {{424, 225}, {424, 322}, {521.0f + 1.0f / 3.0f, 225}}},  // 14/15 of the way out
        {5, {{408, 214}, {408, 293}, {486.0f + 2.0f / 3.0f, 214}}},
        {15, {{368, 188}, {368, 220}, {400, 188}}},                   // landed
    };
    for (int frame = 1; frame <= 17; ++frame) {
        blocks->updateBlock(-1, -1);
        plat::testing::ClearDrawCalls();
        blocks->drawBlock(0, 0);
        const auto& calls = plat::testing::DrawCalls();
        if (frame <= 15) {
            // Forming: one draw per cell, larger than a cell until it lands.
            ASSERT_EQ(calls.size(), 3u) << frame;
            const float k = static_cast<float>(15 - frame);
            EXPECT_FLOAT_EQ(calls[0].sx, 1.0f + k / 15.0f) << frame;
            EXPECT_EQ(calls[0].blend, 3);
            if (auto at = flyIn.find(frame); at != flyIn.end())
                for (size_t n = 0; n < 3; ++n) {
                    EXPECT_FLOAT_EQ(calls[n].x, at->second[n].first) << frame << " cell " << n;
                    EXPECT_FLOAT_EQ(calls[n].y, at->second[n].second) << frame << " cell " << n;
                }
            EXPECT_NEAR(blocks->fadeAlpha, std::min(1.0f, frame / 15.0f), 1e-5f);
        } else {
            // Ready: a plain pass and a glow pass per cell.
            ASSERT_EQ(calls.size(), 6u) << frame;
            EXPECT_EQ(calls[1].blend, 4);
            EXPECT_FLOAT_EQ(blocks->fadeAlpha, 1.0f);
        }
    }
}

TEST_F(BlocksTest, TheUpdateThatReadiesABlockAlsoMarksItsFits) {
    // The L's cell (1, 0) lands on a rune: the ready block must show it as
    // not fitting and the others as fitting from its first ready frame.
    board->runeLayer[5][4] = 2;
    blocks->setAvailableBlocks("2");
    blocks->setAvailableRazod("1");
    PointAtCell(4, 4);
    blocks->buildNextBlock();
    for (int n = 0; n < 16; ++n) blocks->updateBlock(-1, -1);
    ASSERT_EQ(blocks->blockReady, 1);
    EXPECT_EQ(blocks->heldBlock->fits, (TBlockGrid{{{1, 1, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}}}));
}

TEST_F(BlocksTest, FitsMarkEveryCellThatCannotBePutDown) {
    // The L at anchor (13, 13): cells (13,13), (14,13), (13,14).
    struct Case {
        const char* what;
        int anchorX, anchorY, rotation;
        std::function<void()> arrange;
        TBlockGrid refused;  // 1 at the block cells that must not fit
    } cases[] = {
        {"free", 13, 13, 0, [] {}, Grid({})},
        {"off the grid", 14, 13, 0, [] {}, Grid({{1, 0}})},
        {"off the outline", 13, 13, 0, [] { board->shapeLayer[13][14] = 0; }, Grid({{0, 1}})},
        {"on a rune", 13, 13, 0, [] { board->runeLayer[14][13] = 3; }, Grid({{1, 0}})},
        {"on an emptied rune", 13, 13, 0, [] { board->runeLayer[14][13] = -1; }, Grid({})},
        {"under a boss", 13, 13, 0, [] { PutBoss(12, 12); },
         Grid({{0, 0}})},
        {"turned off the top", 13, 0, 3, [] {}, Grid({{1, 0}})},  // (1, 0) turns to (0, -1)
    };
    for (Case& c : cases) {
        board->clearBoard();
        bossManager = std::make_shared<TBossManager>();
        c.arrange();
        HoldReady("2");
        blocks->curRotation = blocks->targetRotation = c.rotation;
        blocks->updateBlock(c.anchorX, c.anchorY);
        TBlockGrid expected{};  // empty block cells always fit
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) expected[i][j] = c.refused[i][j] ? 0 : 1;
        EXPECT_EQ(blocks->heldBlock->fits, expected) << c.what;
    }
}

TEST_F(BlocksTest, AMoveToAnotherCellLeavesSparksWhereTheBlockWas) {
    for (int i = 1; i <= 3; ++i) sparkImages[static_cast<size_t>(i)] = plat::CreateImage(4, 4);
    PointAtCell(3, 3);
    HoldReady("2");
    blocks->blockChanged = 0;
    TSpark::destroyAll();
    blocks->updateBlock(-1, -1);  // same cell: nothing
    EXPECT_EQ(SparkList->Count(), 0);
    EXPECT_EQ(blocks->blockChanged, 0);

    PointAtCell(6, 3);
    blocks->updateBlock(-1, -1);
    EXPECT_EQ(SparkList->Count(), 15);  // five per cell of the L
    EXPECT_EQ(blocks->cellX, 6);
    EXPECT_EQ(blocks->blockChanged, 1);
    for (const TSparkPtr& s : SparkList->ToArray()) {
        EXPECT_GE(s->x, 240 + 3 * 32 - 7);  // at the cells being left
        EXPECT_LE(s->x, 240 + 4 * 32 + 12);
    }

    // Off the board the block moves without a trail.
    TSpark::destroyAll();
    PointAt(20, 20);
    blocks->updateBlock(-1, -1);
    EXPECT_EQ(SparkList->Count(), 0);
    EXPECT_EQ(blocks->blockChanged, 1);
}

TEST_F(BlocksTest, CellsThatDoNotFitDrawSmallShiftedGreyAndWithoutGlow) {
    board->runeLayer[5][4] = 2;
    PointAtCell(4, 4);
    HoldReady("2");
    plat::testing::ClearDrawCalls();
    blocks->drawBlock(0, 0);
    const auto& calls = plat::testing::DrawCalls();
    // Column-major: (0,0) plain+glow, (0,1) plain+glow, (1,0) shaded only.
    ASSERT_EQ(calls.size(), 5u);
    const float x0 = 240 + 4 * 32, y0 = 60 + 4 * 32;
    EXPECT_FLOAT_EQ(calls[0].x, x0);
    EXPECT_FLOAT_EQ(calls[0].sx, 1.0f);
    EXPECT_EQ(calls[0].r, 255);
    EXPECT_EQ(calls[1].blend, 4);
    EXPECT_FLOAT_EQ(calls[2].y, y0 + 32);
    const auto& shaded = calls[4];
    EXPECT_FLOAT_EQ(shaded.x, x0 + 32 + 5);
    EXPECT_FLOAT_EQ(shaded.y, y0 + 6);
    EXPECT_FLOAT_EQ(shaded.sx, 0.7f);
    EXPECT_EQ(shaded.r, 190);
    EXPECT_EQ(shaded.blend, 3);
}

TEST_F(BlocksTest, NothingIsDrawnAndTheGlowPausesOffTheBoard) {
    PointAtCell(4, 4);
    HoldReady("1");
    PointAt(10, 10);
    const float glow = blocks->glow;
    plat::testing::ClearDrawCalls();
    blocks->drawBlock(0, 0);
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
    EXPECT_FLOAT_EQ(blocks->glow, glow);
    // Just left of the board still counts as over it (column 0 by truncation).
    PointAt(240 - 20, 100);
    blocks->drawBlock(0, 0);
    EXPECT_FALSE(plat::testing::DrawCalls().empty());
}

TEST_F(BlocksTest, TheGlowRisesFastOnceThenPulses) {
    PointAtCell(4, 4);
    std::vector<float> glows;
    for (int n = 0; n < 20; ++n) {
        blocks->drawBlock(0, 0);  // with no held block the glow still pulses
        glows.push_back(blocks->glow);
    }
    // The first rise takes steps of 0.05; after the first turn at the top
    // every step is 0.025 either way, and the glow never goes below 0.
    EXPECT_NEAR(glows[0], 0.05f, 1e-6f);
    EXPECT_NEAR(glows[1], 0.10f, 1e-6f);
    size_t top = 0;
    while (top + 1 < glows.size() && glows[top + 1] > glows[top]) ++top;
    ASSERT_LT(top + 1, glows.size());
    EXPECT_GT(glows[top], 0.3f);
    for (size_t n = top + 1; n < glows.size(); ++n) {
        EXPECT_NEAR(std::fabs(glows[n] - glows[n - 1]), 0.025f, 1e-5f) << n;
        EXPECT_GE(glows[n], -1e-6f);
    }
}

TEST_F(BlocksTest, AReadyBlockIsDrawnInItsRotation) {
    // The L's cells (0,0), (0,1), (1,0), in drawing order, land at these
    // cell offsets from the anchor after each number of quarter turns.
    struct Case {
        int rotation;
        std::array<std::pair<int, int>, 3> offsets;
    } cases[] = {
        {0, {{{0, 0}, {0, 1}, {1, 0}}}},
        {1, {{{0, 0}, {-1, 0}, {0, 1}}}},
        {2, {{{0, 0}, {0, -1}, {-1, 0}}}},
        {3, {{{0, 0}, {1, 0}, {0, -1}}}},
    };
    PointAtCell(6, 6);
    const float x0 = 240 + 6 * 32, y0 = 60 + 6 * 32;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        HoldReady("2");
        blocks->curRotation = blocks->targetRotation = c.rotation;
        blocks->updateBlock(-1, -1);
        plat::testing::ClearDrawCalls();
        blocks->drawBlock(0, 0);
        const auto& calls = plat::testing::DrawCalls();
        ASSERT_EQ(calls.size(), 6u) << "every cell fits: a plain and a glow pass";
        for (size_t n = 0; n < 3; ++n) {
            EXPECT_FLOAT_EQ(calls[2 * n].x, x0 + 32.0f * static_cast<float>(c.offsets[n].first)) << n;
            EXPECT_FLOAT_EQ(calls[2 * n].y, y0 + 32.0f * static_cast<float>(c.offsets[n].second)) << n;
        }
    }
}

TEST_F(BlocksTest, ATurningBlockCirclesItsAnchorCorner) {
    PointAtCell(4, 4);
    HoldReady("3");  // a row of four
    blocks->rotateBlock(1);
    for (int n = 0; n < 4; ++n) blocks->updateBlock(-1, -1);  // 24 degrees
    ASSERT_EQ(blocks->turnAngle, 24);
    plat::testing::ClearDrawCalls();
    blocks->drawBlock(0, 0);
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_EQ(calls.size(), 8u);
    const double a = 24.0 * 3.14159265358979 / 180.0;
    const float x0 = 240 + 4 * 32, y0 = 60 + 4 * 32;
    EXPECT_FLOAT_EQ(calls[6].x, static_cast<float>(static_cast<int>(x0 + 96 * std::cos(a))));
    EXPECT_FLOAT_EQ(calls[6].y, static_cast<float>(static_cast<int>(y0 + 96 * std::sin(a))));
}

TEST_F(BlocksTest, TheNextBlockBoxScalesByShapeAndCellSize) {
    struct Case {
        const char* shape;
        int cellSize;
        float scale;
        size_t cells;
    } cases[] = {{"3", 32, 0.5f, 4}, {"4", 32, 0.6f, 4}, {"2", 32, 0.6f, 3}, {"3", 40, 0.4f, 4}, {"4", 40, 0.48f, 4}};
    blocks->setAvailableRazod("2");
    for (const Case& c : cases) {
        blocks->setAvailableBlocks(c.shape);
        blocks->nextBlock = nullptr;
        blocks->nextBlockW = blocks->nextBlockH = 0;
        board->cellSize = c.cellSize;
        plat::testing::ClearDrawCalls();
        blocks->DrawNextBlock(100, 200);  // builds and measures the queued block first
        const auto& calls = plat::testing::DrawCalls();
        ASSERT_EQ(calls.size(), 2 * c.cells) << c.shape;  // a plain and a glow pass each
        EXPECT_NEAR(calls[0].sx, c.scale, 1e-6f) << c.shape << " at " << c.cellSize;
        // Centred on (100, 200): the first cell sits half the block up-left.
        const float s = calls[0].sx;
        EXPECT_FLOAT_EQ(calls[0].x, static_cast<float>(static_cast<int>(100 - blocks->nextBlockW * c.cellSize * s / 2)));
        EXPECT_FLOAT_EQ(calls[0].y, static_cast<float>(static_cast<int>(200 - blocks->nextBlockH * c.cellSize * s / 2)));
    }
}

// ---- freeze ---------------------------------------------------------------------------------------------

TEST_F(BlocksTest, AFreezeRunsItsTimeAndOnlyALongerOneReplacesIt) {
    EXPECT_EQ(blocks->IsFreze(), 0);
    blocks->Freze(-1);  // nothing running: still no freeze
    EXPECT_EQ(blocks->IsFreze(), 0);

    blocks->Freze(5000);
    plat::testing::AdvanceTime(2000);
    EXPECT_EQ(blocks->ToDefreze(), 3000);
    blocks->Freze(2000);  // shorter than what is left: ignored
    EXPECT_EQ(blocks->ToDefreze(), 3000);
    blocks->Freze(-1);
    EXPECT_EQ(blocks->ToDefreze(), 3000);
    blocks->Freze(5000);  // longer: restarts
    EXPECT_EQ(blocks->ToDefreze(), 5000);
    plat::testing::AdvanceTime(5000);
    EXPECT_EQ(blocks->IsFreze(), 1);  // the last millisecond still counts
    plat::testing::AdvanceTime(1);
    EXPECT_EQ(blocks->IsFreze(), 0);
    EXPECT_LT(blocks->ToDefreze(), 0);
}

}  // namespace

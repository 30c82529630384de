// The board's outline, starting runes and frame keys read from a level file,
// with the quirks of the level format.
#include "board/play_test_util.h"
#include "platform/rng.h"

namespace {

class LayoutTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        WriteFourRunePictures();
        razod->loadFrom(TscFromText(kFourRunes));
    }
};

std::vector<int> Row(const TBoardLayer& layer, int row) {
    std::vector<int> v;
    for (int x = 0; x < kBoardCells; ++x) v.push_back(layer[x][row]);
    return v;
}

std::vector<int> Fill(std::vector<int> head, int rest) {
    while (head.size() < static_cast<size_t>(kBoardCells)) head.push_back(rest);
    return head;
}

TEST_F(LayoutTest, ALineSetsItsColumnsFromTheLeft) {
    struct Case {
        const char* text;
        std::vector<int> row;  // after clearBoard's full row
    } cases[] = {
        {"0 1 1", Fill({0, 1, 1}, 1)},
        {"1  1", Fill({1, 0, 1}, 1)},                  // two spaces: an empty token reads 0
        {"0 ", Fill({0, 0}, 1)},                       // a trailing space: an empty last token
        {"", Fill({}, 1)},                             // no token at all
        {"0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 5 6 7", Fill({}, 0)},  // past the 15th: ignored
        {"2 -3 x7", Fill({2, -3, 0}, 1)},
    };
    for (const Case& c : cases) {
        board->clearBoard();
        board->setLine(4, c.text);
        EXPECT_EQ(Row(board->shapeLayer, 4), c.row) << "'" << c.text << "'";
        EXPECT_EQ(Row(board->shapeLayer, 3), Fill({}, 1));
    }
    // Rows outside the grid are ignored.
    board->clearBoard();
    board->setLine(-1, "0 0 0");
    board->setLine(15, "0 0 0");
    for (int y = 0; y < kBoardCells; ++y) EXPECT_EQ(Row(board->shapeLayer, y), Fill({}, 1));
}

TEST_F(LayoutTest, TheOutlineReadsFifteenLinesAndAMissingOneStaysFull) {
    std::string text = "Board{";
    for (int n = 1; n <= 14; ++n) text += " Line" + std::to_string(n) + "='0 1 0'";
    text += " }";
    board->runeLayer[0][0] = 4;  // cleared first
    ::testing::internal::CaptureStdout();
    board->loadBoard(TscFromText(text));
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Row(board->shapeLayer, 0), Fill({0, 1, 0}, 1));
    EXPECT_EQ(Row(board->shapeLayer, 13), Fill({0, 1, 0}, 1));
    EXPECT_EQ(Row(board->shapeLayer, 14), Fill({}, 1));
    EXPECT_NE(out.find("The key Board::Line15 does not exist"), std::string::npos) << out;
    EXPECT_EQ(board->runeLayer[0][0], 0);
}

TEST_F(LayoutTest, StartingRunesArePlacedOnlyWhenReadIsExactlyOne) {
    struct Case {
        const char* read;
        bool placed;
    } cases[] = {{"'1'", true}, {"1", true}, {"'0'", false}, {"'true'", false}, {"''", false}, {"' 1'", false},
                 {nullptr, false}};
    for (const Case& c : cases) {
        board->clearBoard();
        std::string text = "Razod{ ";
        if (c.read) text += std::string("Read=") + c.read;
        text += " Line2='0 3 99' }";
        board->loadRazod(TscFromText(text));
        EXPECT_EQ(board->runeLayer[1][1], c.placed ? 3 : 0) << (c.read ? c.read : "no Read key");
    }
}

TEST_F(LayoutTest, EveryTokenWritesRuneColourAndOneSharedTime) {
    board->clearBoard();
    board->runeLayer[5][1] = 2;  // beyond the tokens: kept
    board->colorLayer[5][1] = 2;
    board->runeLayer[0][1] = 4;  // under a 0 token: overwritten
    plat::testing::AdvanceTime(777);
    board->loadRazod(TscFromText(
        "Razod{ Read='1' Line2='0 3 99 11' Line15='1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 2 2' }"));
    EXPECT_EQ(Row(board->runeLayer, 1), Fill({0, 3, 99, 11, 0, 2}, 0));
    EXPECT_EQ(Row(board->colorLayer, 1), Fill({0, 3, 0, 1, 0, 2}, 0));  // 99 is no rune: colour 0
    EXPECT_EQ(Row(board->placeTimeLayer, 1), Fill({777, 777, 777, 777, 0}, 0));
    EXPECT_EQ(Row(board->runeLayer, 14), Fill({}, 1));  // tokens past the 15th ignored
    EXPECT_EQ(board->placeTimeLayer[14][14], 777);
    EXPECT_EQ(board->shapeLayer[2][1], 1);  // the outline is not consulted
}

TEST_F(LayoutTest, FramePiecesAreReadAndCornersGetARandomVariant) {
    const char* text = R"(
Frame{ LQ=2 RQ=0 TQ=0 BQ=1 LUCQ=1 RUCQ=0 LLCQ=0 RLCQ=0 }
Frame{
  Left{ x1=-1 y1=0 size1=2.9 id1=1 x2=-1 y2=3 size2=-0.5 id2=0 }
  Bottom{ x1=4 y1=15 size1=3 id1=2 }
  LeftUpperCorner{ x1=-1 y1=-1 size1=0 id1=7 }
}
)";
    for (int seed : {5, 6, 7, 8}) {
        plat::SeedRnd(seed);
        const int cornerVariant = plat::Rand(0, 2);
        plat::SeedRnd(seed);
        board->loadFrame(TscFromText(text));
        ASSERT_EQ(board->frameElements.size(), 4u);
        const auto& e = board->frameElements;
        EXPECT_EQ(e[0].kind, TFrameElement::Left);
        EXPECT_EQ(e[0].x, -1);
        EXPECT_EQ(e[0].size, 2);  // truncated
        EXPECT_EQ(e[0].id, 1);    // a side keeps its id
        EXPECT_EQ(e[1].size, 0);  // -0.5 truncates to 0
        EXPECT_EQ(e[2].kind, TFrameElement::Bottom);
        EXPECT_EQ(e[2].y, 15);
        EXPECT_EQ(e[3].kind, TFrameElement::LeftUpperCorner);
        EXPECT_EQ(e[3].id, cornerVariant);  // whatever the file says
    }
}

TEST_F(LayoutTest, MissingFrameKeysReadAsZeroInsteadOfStoppingTheLoad) {
    ::testing::internal::CaptureStdout();
    // No count keys at all, and a counted piece without its keys.
    EXPECT_NO_THROW(board->loadFrame(TscFromText("Frame{ TQ=1 }")));
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(board->frameElements.size(), 1u);
    EXPECT_EQ(board->frameElements[0].kind, TFrameElement::Top);
    EXPECT_EQ(board->frameElements[0].x, 0);
    EXPECT_EQ(board->frameElements[0].size, 0);
    EXPECT_NE(out.find("The key Frame::LQ does not exist"), std::string::npos) << out;
    EXPECT_NE(out.find("The key Frame::Top::x1 does not exist"), std::string::npos) << out;

    // A damaged count reads no more pieces than a frame can hold.
    ::testing::internal::CaptureStdout();
    board->loadFrame(TscFromText("Frame{ LQ=100000000 }"));
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(board->frameElements.size(), 289u);
}

}  // namespace

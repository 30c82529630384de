// The frame worked out from the board's outline.
#include <algorithm>

#include "board/play_test_util.h"
#include "platform/rng.h"

namespace {

void SetShape(std::initializer_list<const char*> rows, int x0 = 0, int y0 = 0) {
    for (auto& column : board->shapeLayer) column.fill(0);
    int y = y0;
    for (const char* row : rows) {
        for (int x = 0; row[x] != 0; ++x) board->shapeLayer[x0 + x][y] = row[x] == '#' ? 1 : row[x] == '-' ? -1 : 0;
        ++y;
    }
}

// "L3@-1,0": kind letter(s), size, first cell.
std::string Name(const TFrameElement& e) {
    static const char* kinds[] = {"L", "R", "T", "B", "LU", "RU", "LL", "RL"};
    return std::string(kinds[e.kind]) + std::to_string(e.size) + "@" + std::to_string(e.x) + "," + std::to_string(e.y);
}

std::vector<std::string> Names() {
    std::vector<std::string> v;
    for (const TFrameElement& e : board->frameElements) v.push_back(Name(e));
    return v;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

using FrameTest = PlayTest;

TEST_F(FrameTest, AFullBoardGetsFourCornersAndFivePiecesOfThreeASide) {
    board->clearBoard();
    board->frameElements.push_back(TFrameElement{});  // whatever loadFrame read is replaced
    board->buildFrame();
    EXPECT_EQ(Names(), (std::vector<std::string>{
                           "LU0@-1,-1", "L3@-1,0", "L3@-1,3", "L3@-1,6", "L3@-1,9", "L3@-1,12", "LL2@-1,15",
                           "RU1@15,-1", "R3@15,0", "R3@15,3", "R3@15,6", "R3@15,9", "R3@15,12", "RL3@15,15",
                           "T3@0,-1", "T3@3,-1", "T3@6,-1", "T3@9,-1", "T3@12,-1",
                           "B3@0,15", "B3@3,15", "B3@6,15", "B3@9,15", "B3@12,15"}));
}

TEST_F(FrameTest, EachPieceDrawsItsVariantInListOrder) {
    board->clearBoard();  // every piece here is a corner or a 3-cell piece: Rand(0, 2) each
    for (int seed : {11, 12, 13}) {
        plat::SeedRnd(seed);
        std::vector<int> expected;
        for (int n = 0; n < 24; ++n) expected.push_back(plat::Rand(0, 2));
        plat::SeedRnd(seed);
        board->buildFrame();
        std::vector<int> got;
        for (const TFrameElement& e : board->frameElements) got.push_back(e.id);
        EXPECT_EQ(got, expected) << seed;
    }
    // Pieces of one and two cells come in two variants only.
    SetShape({"##"}, 4, 4);
    for (int n = 0; n < 40; ++n) {
        board->buildFrame();
        for (const TFrameElement& e : board->frameElements) {
            const int top = e.kind >= TFrameElement::LeftUpperCorner || e.size == 3 ? 2 : 1;
            EXPECT_GE(e.id, 0);
            EXPECT_LE(e.id, top) << Name(e);
        }
    }
}

TEST_F(FrameTest, OutlinesOfEveryKind) {
    struct Case {
        const char* what;
        std::function<void()> shape;
        std::vector<std::string> frame;  // in any order
    } cases[] = {
        {"one cell", [] { SetShape({"#"}, 5, 5); },
         {"L1@4,5", "R1@6,5", "T1@5,4", "B1@5,6", "LU0@4,4", "RU1@6,4", "LL2@4,6", "RL3@6,6"}},
        {"a concave corner", [] { SetShape({"###", "###", "##."}); },
         {"L3@-1,0", "T3@0,-1", "R2@3,0", "B2@0,3", "LU0@-1,-1", "RU1@3,-1", "LL2@-1,3",
          "LU0@2,2", "RL3@3,2", "RL3@2,3"}},
        {"cells touching at a corner", [] { SetShape({"#.", ".#"}); },
         {"L1@-1,0", "T1@0,-1", "LU0@-1,-1", "RU1@1,-1", "LL2@-1,1", "LL2@1,0", "RU1@0,1",
          "R1@2,1", "B1@1,2", "RL3@2,2", "RU1@2,0", "LL2@0,2"}},
        {"a one-cell notch leaves a gap", [] { SetShape({"#.#", "###"}, 3, 3); },
         {"L2@2,3", "R2@6,3", "T1@3,2", "T1@5,2", "B3@3,5", "LU0@2,2", "RU1@6,2", "LL2@2,5", "RL3@6,5"}},
        {"a negative value is neither board nor frame", [] { SetShape({"#-"}, 5, 5); },
         {"L1@4,5", "T1@5,4", "B1@5,6", "LU0@4,4", "LL2@4,6"}},
        {"a run of four and of five", [] { SetShape({"#####", "#####", "#####", "#####"}, 2, 2); },
         {"L3@1,2", "L1@1,5", "R3@7,2", "R1@7,5", "T3@2,1", "T2@5,1", "B3@2,6", "B2@5,6",
          "LU0@1,1", "RU1@7,1", "LL2@1,6", "RL3@7,6"}},
        {"no board", [] { SetShape({}); }, {}},
    };
    for (const Case& c : cases) {
        c.shape();
        board->buildFrame();
        EXPECT_EQ(Sorted(Names()), Sorted(c.frame)) << c.what;
    }
}

}  // namespace

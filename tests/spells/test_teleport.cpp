// The teleport's transmutation: which cells it chooses, the marks and the
// fade over 100 frames, and the commit in the 101st.
#include <set>

#include "spells_test_util.h"

namespace {

class TeleportTest : public SpellTest {
protected:
    float progress = 0.0f;
    std::vector<std::array<int32_t, 3>> cells;
    void Step(int n = 1) {
        for (int i = 0; i < n; ++i) BonusReplacer(progress, cells);
    }
    // The rune cells' walk numbers (column by column) of the chosen cells.
    std::vector<int> WalkIndices() {
        int k = 0;
        std::vector<int> out;
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y) {
                if (board->runeLayer[x][y] == 0) continue;
                for (const auto& c : cells)
                    if (c[0] == x && c[1] == y) out.push_back(k);
                ++k;
            }
        return out;
    }
};

TEST_F(TeleportTest, EveryFourthRuneCellFromARandomStart) {
    SetBoard({"1 1 1 1", "1 1 1 1", "1 1 1 1"});
    blocks->availableRazod = {"2", "3"};
    std::set<int> starts;
    for (int i = 0; i < 40; ++i) {
        progress = 0.0f;
        Step();
        const std::vector<int> idx = WalkIndices();
        ASSERT_EQ(idx.size(), 3u) << i;
        EXPECT_EQ(idx[1], idx[0] + 4);
        EXPECT_EQ(idx[2], idx[0] + 8);
        starts.insert(idx[0]);
        for (const auto& c : cells) EXPECT_TRUE(c[2] == 2 || c[2] == 3);
    }
    EXPECT_EQ(starts, (std::set<int>{0, 2, 3}));
}

TEST_F(TeleportTest, CandidatesAreKnownPlainRunesOtherThanTheCellsOwn) {
    SetBoard({"2"});  // one rune: chosen without a draw for the start
    blocks->availableRazod = {"2", "11", "99", "4"};
    for (int i = 0; i < 20; ++i) {
        progress = 0.0f;
        Step();
        ASSERT_EQ(cells.size(), 1u);
        EXPECT_EQ(cells[0][2], 4);
    }
    blocks->availableRazod = {"2", "12", "99"};
    progress = 0.0f;
    Step();
    EXPECT_TRUE(cells.empty());
}

TEST_F(TeleportTest, MarksFadeAndCommitOnTheHundredAndFirstStep) {
    SetBoard({"1 3 4 . 3"});
    bonusManagerAlt->AddBonusExt(kDrain, 0, 0, 1);
    bonusManagerAlt->AddBonusExt(kHolyfire, 4, 0, 0);
    blocks->availableRazod = {"2"};
    plat::SeedRnd(5);
    Step();
    ASSERT_FALSE(cells.empty());
    // Force the first cell and the last one, so both spells sit on chosen cells.
    cells = {{0, 0, 2}, {4, 0, 2}};
    Step(39);  // 40 steps: the old colour
    EXPECT_EQ(board->highlightLayer[0][0], 1);
    EXPECT_EQ(board->highlightLayer[4][0], 3);
    PutRune(4, 0, 4);  // the mark follows the rune that lies there now
    Step();
    EXPECT_EQ(board->highlightLayer[4][0], 2);  // step 41: the new colour
    EXPECT_EQ(board->highlightLayer[0][0], 2);
    Step(39);
    EXPECT_EQ(board->highlightLayer[0][0], 2);
    Step();  // step 81
    EXPECT_EQ(board->highlightLayer[0][0], 0);
    Step(19);  // step 100: still nothing written
    EXPECT_LT(progress, 1.0f);
    EXPECT_EQ(board->runeLayer[0][0], 1);
    Step();
    EXPECT_GE(progress, 1.0f);
    EXPECT_EQ(board->runeLayer[0][0], 2);
    EXPECT_EQ(board->colorLayer[0][0], 2);
    EXPECT_EQ(board->runeLayer[4][0], 2);
    EXPECT_EQ(bonusManagerAlt->GetBonus(0, 0)->color, 2);  // the drain drains the new colour
    EXPECT_EQ(bonusManagerAlt->GetBonus(4, 0)->color, 0);
}

TEST_F(TeleportTest, CommitClearsTheMatchesTheNewRunesMake) {
    SetBoard({"2 2 1 3"});
    cells = {{2, 0, 2}};
    progress = 0.5f;
    while (progress < 1.0f) Step();
    EXPECT_EQ(RuneCount(), 1);
    EXPECT_EQ(board->runeLayer[3][0], 3);
}

TEST_F(TeleportTest, ManagerRunsItFromTheCastToTheCommit) {
    SetBoard({"1"});
    blocks->availableRazod = {"3"};
    bonusManagerAlt->teleportProgress = 0.0f;
    int updates = 0;
    while (bonusManagerAlt->teleportProgress < 1.0f && updates < 500) {
        bonusManagerAlt->Update();
        ++updates;
    }
    EXPECT_EQ(updates, 101);
    EXPECT_EQ(board->runeLayer[0][0], 3);
}

TEST_F(TeleportTest, ABoardWithoutRunesRunsItsStepsAndWritesNothing) {
    SetBoard({". . ."});
    Step(101);
    EXPECT_GE(progress, 1.0f);
    EXPECT_EQ(RuneCount(), 0);
}

}  // namespace

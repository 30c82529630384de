// Granting spells: which kind comes of the level's list and the stones on
// the board, where it lands, and putting saved spells back.
#include <algorithm>
#include <cctype>
#include <set>

#include "spells_test_util.h"

namespace {

class SpellGrantTest : public SpellTest {
protected:
    void SetUp() override {
        SpellTest::SetUp();
        SetBoard({"1 2 3", "4 1 2"});
    }
    std::vector<int> Kinds() {
        std::vector<int> out;
        for (const TBonusAPtr& s : bonusManagerAlt->spells) out.push_back(s->kind);
        return out;
    }
};

// The level's "AvailableSpells" against a board with or without a stone:
// what one grant does, whatever the generator draws.
struct GrantCase {
    const char* name;
    std::vector<std::string> available;
    int askedKind;  // 0: from the list
    bool stone;
    std::vector<int> granted;  // the kinds that may come, empty for none
    int received;              // the level's count after the grant
};

class SpellGrantTable : public SpellGrantTest, public ::testing::WithParamInterface<GrantCase> {};

TEST_P(SpellGrantTable, KindAndCount) {
    const GrantCase& c = GetParam();
    if (c.stone) PutRune(2, 1, 11);
    level->availableSpells = c.available;
    for (int seed = 0; seed < 12; ++seed) {
        bonusManagerAlt->ClearSpells();
        level->spellsReceived = 0;
        bonusManagerAlt->AddBonus(c.askedKind);
        const std::vector<int> kinds = Kinds();
        EXPECT_EQ(level->spellsReceived, c.received) << c.name << " seed " << seed;
        if (c.granted.empty()) {
            EXPECT_TRUE(kinds.empty()) << c.name << " seed " << seed;
        } else {
            ASSERT_EQ(kinds.size(), 1u) << c.name << " seed " << seed;
            EXPECT_NE(std::find(c.granted.begin(), c.granted.end(), kinds[0]), c.granted.end())
                << c.name << " got " << kinds[0];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SpellGrantTable,
    ::testing::Values(GrantCase{"empty list", {}, 0, true, {}, 0},
                      GrantCase{"ring spell on an empty list", {}, 3, false, {3}, 1},
                      GrantCase{"heal alone with a stone", {"5"}, 0, true, {5}, 1},
                      GrantCase{"heal alone without a stone", {"5"}, 0, false, {}, 0},
                      GrantCase{"heal replaced by the other entry", {"1", "5"}, 5, false, {1}, 1},
                      GrantCase{"heal kept with a stone", {"1", "5"}, 5, true, {5}, 1},
                      GrantCase{"leading zero is no exact 5", {"05", "5"}, 0, false, {5}, 1},
                      GrantCase{"nothing but heals", {"5", "5"}, 0, false, {}, 0},
                      GrantCase{"unknown kind counts and lays nothing", {"7"}, 0, false, {}, 1},
                      GrantCase{"empty entry counts and lays nothing", {""}, 0, false, {}, 1},
                      GrantCase{"any of three", {"1", "4", "6"}, 0, false, {1, 4, 6}, 1}),
    [](const ::testing::TestParamInfo<GrantCase>& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST_F(SpellGrantTest, LandsOnlyOnAFreeRuneThatIsNoStoneAndKnown) {
    // Cells: a stone, a rune with a spell, an id the catalogue lacks, an
    // empty board cell, a rune off the board, and one free rune at (4, 0).
    SetBoard({"11 1 99 . # 3"});
    board->runeLayer[4][0] = 2;  // a rune lying outside the board's cells
    bonusManagerAlt->AddBonusExt(kBomb, 1, 0, 0);
    level->availableSpells = {"4"};
    for (int i = 0; i < 5; ++i) {
        int x = -1, y = -1, colour = -1;
        ASSERT_EQ(bonusManagerAlt->GetRandomPlace(x, y, colour), 1);
        EXPECT_EQ(x, 5);
        EXPECT_EQ(y, 0);
        EXPECT_EQ(colour, 3);
    }
    bonusManagerAlt->AddBonus(0);
    const TBonusAPtr drain = bonusManagerAlt->GetBonus(5, 0);
    ASSERT_NE(drain, nullptr);
    EXPECT_EQ(drain->color, 3);  // a drain takes the colour it was laid on
    EXPECT_EQ(drain->delay, 600);
    EXPECT_EQ(drain->hold, 1000);
    // Now every candidate is taken: nothing more is granted or counted.
    bonusManagerAlt->AddBonus(0);
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 2);
    EXPECT_EQ(level->spellsReceived, 1);
}

TEST_F(SpellGrantTest, EveryCandidateCanBeDrawn) {
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < 200; ++i) {
        int x = 0, y = 0, c = 0;
        ASSERT_EQ(bonusManagerAlt->GetRandomPlace(x, y, c), 1);
        EXPECT_EQ(c, board->colorLayer[x][y]);
        seen.insert({x, y});
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST_F(SpellGrantTest, TimesByKind) {
    const std::array<std::pair<int, int>, 7> times{{{0, 0}, {600, 1100}, {500, 800}, {600, 1000}, {600, 1000},
                                                    {600, 1000}, {600, 1000}}};
    for (int k = 1; k <= 6; ++k) {
        bonusManagerAlt->AddBonusExt(k, k, 0, 2);
        const TBonusAPtr s = bonusManagerAlt->spells.Last();
        EXPECT_EQ(s->kind, k);
        EXPECT_EQ(s->delay, times[static_cast<size_t>(k)].first) << k;
        EXPECT_EQ(s->hold, times[static_cast<size_t>(k)].second) << k;
        EXPECT_EQ(s->color, k == kDrain ? 2 : 0) << k;
    }
}

TEST_F(SpellGrantTest, SavedEntriesOffTheBoardOrOfUnknownKindAreDropped) {
    struct Entry {
        int kind, x, y;
        bool kept;
    };
    const Entry entries[] = {{1, 0, 0, true},  {1, 14, 14, true}, {0, 1, 1, false},  {7, 1, 1, false},
                             {2, -1, 3, false}, {2, 3, 15, false}, {2, 15, 3, false}, {3, 4, -7, false}};
    for (const Entry& e : entries) {
        bonusManagerAlt->ClearSpells();
        bonusManagerAlt->AddBonusExt(e.kind, e.x, e.y, 0);
        EXPECT_EQ(bonusManagerAlt->spells.Count(), e.kept ? 1 : 0) << e.kind << " " << e.x << "," << e.y;
    }
    EXPECT_EQ(level->spellsReceived, 0);
}

TEST_F(SpellGrantTest, TwoSavedSpellsOnOneCellBothComeBackFirstIsFound) {
    bonusManagerAlt->AddBonusExt(kVanish, 1, 1, 0);
    bonusManagerAlt->AddBonusExt(kDrain, 1, 1, 4);
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 2);
    EXPECT_EQ(bonusManagerAlt->FindBonus(1, 1), kVanish);
    EXPECT_EQ(bonusManagerAlt->GetBonus(1, 1)->kind, kVanish);
    EXPECT_EQ(bonusManagerAlt->FindBonus(2, 2), 0);
    EXPECT_EQ(bonusManagerAlt->GetBonus(2, 2), nullptr);
    bonusManagerAlt->ClearSilent(1, 1);
    EXPECT_EQ(bonusManagerAlt->FindBonus(1, 1), kDrain);
    bonusManagerAlt->ClearSilent(5, 5);  // nothing there: nothing changes
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 1);
}

TEST_F(SpellGrantTest, StonesOnBoardSeesAnyStone) {
    EXPECT_EQ(bonusManagerAlt->StonesOnBoard(), 0);
    PutRune(14, 14, 13);
    EXPECT_EQ(bonusManagerAlt->StonesOnBoard(), 1);
}

}  // namespace

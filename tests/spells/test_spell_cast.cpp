// Setting spells off by a clear through the board, casting them after their
// delay, the captions after the last cast, and clearing between levels.
#include <map>

#include "core/options.h"
#include "spells_test_util.h"

namespace {

class SpellCastTest : public SpellTest {
protected:
    // The captions added since the list was last emptied, in order.
    static std::vector<TCaptionsPtr> Captions() { return captions ? captions->ToArray() : std::vector<TCaptionsPtr>{}; }
};

TEST_F(SpellCastTest, ClearedLineSetsTheSpellOffAndTheCastEmptiesItsCross) {
    SetBoard({"1 1 1 2", ". 3 . .", "# # # #"});
    bonusManagerAlt->AddBonusExt(kHolyfire, 1, 0, 0);
    ASSERT_EQ(board->clearMatchingRazod(0), 3);
    // Set off, not cast: the board hands its caption values to the spells.
    EXPECT_TRUE(bonusManagerAlt->spells.IsEmpty());
    ASSERT_EQ(bonusManagerAlt->activeSpells.Count(), 1);
    EXPECT_EQ(bonusManagerAlt->activeSpells.First()->active, 1);
    EXPECT_EQ(level->spellsCast, 1);
    EXPECT_EQ(bonusManagerAlt->BonusActive(), 1);
    EXPECT_EQ(bonusManagerAlt->captionRazod, 3);
    EXPECT_EQ(bonusManagerAlt->captionPoints, ClearPoints(3, 1));
    EXPECT_EQ(bonusManagerAlt->captionKind, kHolyfire);
    EXPECT_EQ(bonusManagerAlt->captionX, 240 + 32 + 16);
    EXPECT_EQ(bonusManagerAlt->captionY, 100);  // 76 raised to the top limit
    EXPECT_TRUE(Captions().empty());
    const int before = points->pointsActual;

    plat::testing::AdvanceTime(600);
    bonusManagerAlt->Update();
    EXPECT_EQ(bonusManagerAlt->activeSpells.Count(), 1);
    EXPECT_TRUE(volcanoList->IsEmpty());

    plat::testing::AdvanceTime(1);
    bonusManagerAlt->Update();
    EXPECT_TRUE(bonusManagerAlt->activeSpells.IsEmpty());
    EXPECT_EQ(Emitters<TRemoveLineEmiter>().size(), 4u);
    // Its cross holds two runes: (1, 1) below and (3, 0) to the right.
    EXPECT_EQ(points->pointsActual - before, 100);
    EXPECT_EQ(bonusManagerAlt->captionRazod, 5);
    EXPECT_EQ(blocks->IsFreze(), 1);
    EXPECT_EQ(blocks->freezeLength, 1100);
    // The three captions wait for the freeze to end, then show together.
    const std::vector<TCaptionsPtr> shown = Captions();
    ASSERT_EQ(shown.size(), 3u);
    const int kinds[3] = {TCaptions::Points, TCaptions::Match, TCaptions::Picture};
    const int values[3] = {ClearPoints(3, 1) + 100, 5, 1};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shown[i]->kind, kinds[i]);
        EXPECT_EQ(shown[i]->value, values[i]);
        EXPECT_EQ(shown[i]->delay, 1100);
    }
    EXPECT_FLOAT_EQ(shown[0]->y, 60.0f);
    EXPECT_FLOAT_EQ(shown[2]->x, 288.0f + 100.0f);
    EXPECT_EQ(bonusManagerAlt->captionKind, 0);

    RunEffects();
    EXPECT_EQ(RuneCount(), 0);
}

TEST_F(SpellCastTest, SpellsDueTogetherAreCastInOneUpdateInTheOrderSetOff) {
    SetBoard({"1 2 3 4 1 2 3", ". . . . . . .", "4 . . . . . ."});
    // A bomb on (0, 0) counts the runes of its 3 x 3 corner (4); a vanish on
    // (6, 0) takes every fifth of the 8 rune cells (2: cells 0 and 5).
    bonusManagerAlt->AddBonusExt(kBomb, 0, 0, 0);
    bonusManagerAlt->AddBonusExt(kVanish, 6, 0, 0);
    bonusManagerAlt->Clear(6, 0);
    bonusManagerAlt->Clear(0, 0);
    bonusManagerAlt->AddCaption(3, 500, 1);
    EXPECT_EQ(bonusManagerAlt->captionKind, kVanish);  // the earliest names them
    EXPECT_EQ(bonusManagerAlt->captionX, 240 + 16);    // the latest places them
    plat::testing::AdvanceTime(601);
    bonusManagerAlt->Update();
    EXPECT_TRUE(bonusManagerAlt->activeSpells.IsEmpty());
    EXPECT_EQ(points->pointsActual, 50 * (4 + 2));
    EXPECT_EQ(bonusManagerAlt->captionRazod, 3 + 6);
    EXPECT_EQ(bonusManagerAlt->captionPoints, 500 + 300);
    // The vanish's emitters come before the bomb's.
    EXPECT_TRUE(std::dynamic_pointer_cast<TRemoveRandomColorsEmiter>(volcanoList->First()) != nullptr);
    EXPECT_TRUE(std::dynamic_pointer_cast<TRemoveBlockEmiter>(volcanoList->Last()) != nullptr);
}

// Each cast sounds once: the five quiet-cast kinds by their own sound, the
// bomb by its own only a third of the time and by its two others the rest.
// Every sound is one frame of a loudness of its own, so the mixer's first
// frame tells which one a cast played.
TEST_F(SpellCastTest, EachCastPlaysItsKindsSoundAndTheBombMostlyItsOthers) {
    options->soundVol = 1.0f;
    for (size_t i = 1; i < bonusManagerAlt->castSounds.size(); ++i) {
        auto s = std::make_shared<plat::Sound>();
        s->samples.assign(2, static_cast<int16_t>(16 << i));
        bonusManagerAlt->castSounds[i] = s;
    }
    auto heard = [] {
        const std::vector<int16_t> out = plat::testing::PullAudio(1);
        std::vector<int> slots;
        for (int i = 1; i < 9; ++i)
            if (out[0] & (16 << i)) slots.push_back(i);
        return slots;
    };
    auto cast = [&](int kind) {
        SetBoard({"1 2 3 4", ". . . .", "4 . . ."});
        bonusManagerAlt->AddBonusExt(kind, 0, 0, 0);
        bonusManagerAlt->Clear(0, 0);
        plat::testing::AdvanceTime(601);
        heard();
        bonusManagerAlt->Update();
        std::vector<int> slots = heard();
        RunEffects();
        blocks->freezeLength = -1;
        return slots;
    };
    for (int kind : {kHolyfire, kVanish, kDrain, kHeal, kTeleport}) {
        EXPECT_EQ(cast(kind), std::vector<int>{kind}) << "kind " << kind;
    }
    std::map<int, int> bombSounds;
    const int casts = 60;
    for (int i = 0; i < casts; ++i) {
        const std::vector<int> slots = cast(kBomb);
        ASSERT_EQ(slots.size(), 1u) << "one sound a cast";
        ++bombSounds[slots[0]];
    }
    EXPECT_EQ(bombSounds.size(), 3u) << "its own sound and both others";
    EXPECT_GT(bombSounds[kBomb], casts / 6) << "its own sound about one cast in three";
    EXPECT_LT(bombSounds[kBomb], casts / 2);
    EXPECT_GT(bombSounds[7] + bombSounds[8], casts / 2);
}

// Heal and teleport score nothing but still freeze the block supply.
class QuietCast : public SpellCastTest, public ::testing::WithParamInterface<int> {};

TEST_P(QuietCast, NoPointsButTheFreeze) {
    SetBoard({"11 1 2"});
    bonusManagerAlt->AddBonusExt(GetParam(), 1, 0, 0);
    bonusManagerAlt->Clear(1, 0);
    plat::testing::AdvanceTime(601);
    bonusManagerAlt->Update();
    EXPECT_EQ(points->pointsActual, 0);
    EXPECT_EQ(bonusManagerAlt->captionRazod, 0);
    EXPECT_EQ(blocks->freezeLength, 1000);
    EXPECT_EQ(blocks->IsFreze(), 1);
    if (GetParam() == kTeleport) {
        // The cast update runs the transmutation's first step.
        EXPECT_FLOAT_EQ(bonusManagerAlt->teleportProgress, 0.01f);
    } else {
        EXPECT_EQ(Emitters<THealEmiter>().size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(HealAndTeleport, QuietCast, ::testing::Values(kHeal, kTeleport));

TEST_F(SpellCastTest, CaptionPlaceIsKeptOnTheScreen) {
    struct Case {
        int x, y, wantX, wantY;
    };
    board->originX = 300;
    board->originY = 20;
    for (const Case c : {Case{0, 0, 316, 100}, Case{14, 14, 550, 484}, Case{5, 7, 476, 260}}) {
        bonusManagerAlt->ClearSpells();
        bonusManagerAlt->AddBonusExt(kHolyfire, c.x, c.y, 0);
        bonusManagerAlt->Clear(c.x, c.y);
        bonusManagerAlt->AddCaption(1, 2, 3);
        EXPECT_EQ(bonusManagerAlt->captionX, c.wantX);
        EXPECT_EQ(bonusManagerAlt->captionY, c.wantY);
    }
    board->originY = 200;
    bonusManagerAlt->AddCaption(1, 2, 3);  // cell (5, 7) now lies at y 440
    EXPECT_EQ(bonusManagerAlt->captionY, 440);
    board->originY = 300;
    bonusManagerAlt->AddCaption(1, 2, 3);
    EXPECT_EQ(bonusManagerAlt->captionY, 500);
}

TEST_F(SpellCastTest, ClearOnlySetsOffLyingSpells) {
    SetBoard({"1 2"});
    bonusManagerAlt->AddBonusExt(kBomb, 0, 0, 0);
    bonusManagerAlt->Clear(1, 0);
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 1);
    bonusManagerAlt->Clear(0, 0);
    bonusManagerAlt->Clear(0, 0);
    EXPECT_EQ(bonusManagerAlt->activeSpells.Count(), 1);
    EXPECT_EQ(level->spellsCast, 1);
    // A new spell may land on the cell of one that waits for its cast.
    bonusManagerAlt->AddBonusExt(kDrain, 0, 0, 1);
    EXPECT_EQ(bonusManagerAlt->FindBonus(0, 0), kDrain);
}

TEST_F(SpellCastTest, NothingPendingAddsNoCaption) {
    bonusManagerAlt->Update();
    EXPECT_TRUE(Captions().empty());
}

TEST_F(SpellCastTest, ClearingEffectsStopsThemButNotARunningFreeze) {
    SetBoard({"1 2 3"});
    blocks->Freze(5000);
    TRemoveLineEmiter::add(0, 0, 100, 0, 1);
    bonusManagerAlt->teleportProgress = 0.5f;
    bonusManagerAlt->teleportCells.push_back({0, 0, 2});
    bonusManagerAlt->captionKind = 3;
    bonusManagerAlt->AddBonusExt(kBomb, 0, 0, 0);
    bonusManagerAlt->ClearEfects();
    EXPECT_TRUE(volcanoList->IsEmpty());
    EXPECT_EQ(blocks->IsFreze(), 1);
    EXPECT_EQ(blocks->freezeLength, 5000);
    EXPECT_FLOAT_EQ(bonusManagerAlt->teleportProgress, 1.0f);
    EXPECT_TRUE(bonusManagerAlt->teleportCells.empty());
    EXPECT_EQ(bonusManagerAlt->captionKind, 0);
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 1);  // the spells are ClearSpells' business
    plat::testing::AdvanceTime(5001);
    bonusManagerAlt->ClearEfects();
    EXPECT_EQ(blocks->IsFreze(), 0);
    bonusManagerAlt->ClearSpells();
    EXPECT_TRUE(bonusManagerAlt->spells.IsEmpty());
}

// A saved board can put a spell on a stone. A clear that empties the stone sets the spell off as
// on any rune; one that only wakes the stone into its rune leaves it lying on that rune.
TEST_F(SpellCastTest, ASpellOnAStoneGoesOffWhenTheClearEmptiesIt) {
    const struct {
        const char* row;
        bool emptied;
    } cases[] = {{"13 13 13 2", true}, {"1 11 1 2", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        bonusManagerAlt->ClearSpells();
        level->spellsCast = 0;
        SetBoard({c.row, "# # # #"});
        bonusManagerAlt->AddBonusExt(kHolyfire, 1, 0, 0);
        ASSERT_EQ(board->clearMatchingRazod(0), 3);
        EXPECT_EQ(board->runeLayer[1][0] == 0, c.emptied);
        EXPECT_EQ(bonusManagerAlt->spells.IsEmpty(), c.emptied);
        EXPECT_EQ(bonusManagerAlt->activeSpells.Count(), c.emptied ? 1 : 0);
        EXPECT_EQ(level->spellsCast, c.emptied ? 1 : 0);
    }
}

TEST_F(SpellCastTest, ALargeClearGrantsASpellOnARuneThatStays) {
    SetBoard({"2 2 2 2 3", "# # # # 4"});
    level->availableSpells = {"4"};
    ASSERT_EQ(board->clearMatchingRazod(0), 4);
    ASSERT_EQ(bonusManagerAlt->spells.Count(), 1);
    const TBonusAPtr s = bonusManagerAlt->spells.First();
    EXPECT_EQ(s->x, 4);
    EXPECT_EQ(s->kind, kDrain);
    EXPECT_EQ(s->color, board->colorLayer[4][s->y]);
    EXPECT_EQ(level->spellsReceived, 1);
    // A clear of three grants nothing.
    SetBoard({"1 1 1 3"});
    board->clearMatchingRazod(0);
    EXPECT_EQ(level->spellsReceived, 1);
}

TEST_F(SpellCastTest, TheLevelsRunesFlyToTheirSphereThroughTheLink) {
    UseSpheres({3});
    ASSERT_TRUE(levelLinks.toSphere);
    levelLinks.toSphere(300, 200, 1, 2, 3, 4, 5, 3);
    const auto streams = Emitters<TToSphereEmiter>();
    ASSERT_EQ(streams.size(), 1u);
    int x = 0, y = 0;
    magicSphere->GetColorXY(3, x, y);
    EXPECT_FLOAT_EQ(streams[0]->endX, static_cast<float>(x));
    EXPECT_FLOAT_EQ(streams[0]->endY, static_cast<float>(y));
    EXPECT_EQ(streams[0]->cellX, 4);
}

TEST_F(SpellCastTest, LinksReachTheManager) {
    SetBoard({"1 2"});
    level->availableSpells = {"2"};
    playLinks.addSpell(0);
    EXPECT_EQ(playLinks.spellAt(0, 0) + playLinks.spellAt(1, 0), kVanish);
    const int x = playLinks.spellAt(0, 0) != 0 ? 0 : 1;
    EXPECT_EQ(playLinks.spellActive(), 0);
    playLinks.castSpell(x, 0);
    EXPECT_EQ(playLinks.spellActive(), 1) << "the cast spell waits for its effect";
    EXPECT_EQ(playLinks.spellAt(x, 0), 0) << "and is no longer on the board";
    playLinks.spellCaption(3, 150, 1);
    EXPECT_EQ(bonusManagerAlt->captionPoints, 150);
}

}  // namespace

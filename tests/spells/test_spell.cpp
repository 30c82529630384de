// One spell on a cell: its wait for the cast, its drawing and glow; the
// manager's resources.
#include "spells_test_util.h"

namespace {

using plat::testing::DrawCall;

class SpellOnCellTest : public SpellTest {};

TEST_F(SpellOnCellTest, CastOnlyOnceTheDelayHasStrictlyPassed) {
    TBonusAPtr s = TBonusA::Create(3, 4, kBomb, 0);
    s->SetTimes(600, 1000);
    s->Activate();
    EXPECT_EQ(s->active, 1);
    plat::testing::AdvanceTime(600);
    EXPECT_EQ(s->CanGo(), 0);
    plat::testing::AdvanceTime(1);
    EXPECT_EQ(s->CanGo(), 1);
}

TEST_F(SpellOnCellTest, OwnCopyOfTheGlowTable) {
    std::array<plat::ImagePtr, 4> table{plat::CreateImage(1, 1), plat::CreateImage(1, 1), plat::CreateImage(1, 1),
                                        plat::CreateImage(1, 1)};
    TBonusAPtr s = TBonusA::Create(0, 0, kHolyfire, 0);
    s->SetImages(nullptr, table);
    const plat::ImagePtr before = table[2];
    table[2] = plat::CreateImage(1, 1);
    EXPECT_EQ(s->glowImages[2], before);
}

// Where a lying spell's icon and glow pair land, by cell size.
struct LyingCase {
    int cell;
    float scale;
    int glowOffset;
    size_t firstGlowSlot;
};

class LyingSpellDraw : public SpellTest, public ::testing::WithParamInterface<LyingCase> {};

TEST_P(LyingSpellDraw, IconCentredAndGlowPairFromTheCorner) {
    const LyingCase c = GetParam();
    board->cellSize = c.cell;
    plat::Graphics(800, 600, 0, 60, 0);
    std::array<plat::ImagePtr, 4> glow{};
    for (auto& g : glow) g = plat::CreateImage(8, 8);
    plat::ImagePtr icon = plat::CreateImage(30, 30);
    TBonusAPtr s = TBonusA::Create(2, 3, kVanish, 0);
    s->SetImages(icon, glow);
    plat::testing::ClearDrawCalls();
    s->Draw();
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].image, icon.get());
    EXPECT_FLOAT_EQ(calls[0].x, static_cast<float>(240 + c.cell * 2 + c.cell / 2));
    EXPECT_FLOAT_EQ(calls[0].y, static_cast<float>(60 + c.cell * 3 + c.cell / 2));
    EXPECT_FLOAT_EQ(calls[0].sx, c.scale);
    for (size_t k = 1; k < 3; ++k) {
        EXPECT_EQ(calls[k].image, glow[c.firstGlowSlot + k - 1].get());
        EXPECT_FLOAT_EQ(calls[k].x, static_cast<float>(240 + c.cell * 2 - c.glowOffset));
        EXPECT_FLOAT_EQ(calls[k].y, static_cast<float>(60 + c.cell * 3 - c.glowOffset));
        EXPECT_FLOAT_EQ(calls[k].sx, 1.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(CellSizes, LyingSpellDraw,
                         ::testing::Values(LyingCase{32, 1.0f, 9, 0}, LyingCase{40, 1.25f, 14, 2}));

TEST_F(SpellOnCellTest, FadeInStopsAtOneAndGlowTurnsAtItsEnds) {
    TBonusAPtr s = TBonusA::Create(0, 0, kHolyfire, 0);
    delta = 0.0;
    for (int i = 0; i < 25; ++i) s->Draw();
    EXPECT_FLOAT_EQ(s->appearAlpha, 1.0f);  // 20 calls of 0.05, then held
    EXPECT_FLOAT_EQ(s->glow, 0.0f);         // no time, no glow
    delta = 50.0;                           // far past the top in one call
    s->Draw();
    EXPECT_FLOAT_EQ(s->glow, 1.0f);
    EXPECT_EQ(s->glowRising, 0);
    s->Draw();
    EXPECT_FLOAT_EQ(s->glow, 0.0f);
    EXPECT_EQ(s->glowRising, 1);
}

TEST_F(SpellOnCellTest, SetOffSpellTurnsGrowsAndFadesOverItsDelay) {
    plat::Graphics(800, 600, 0, 60, 0);
    plat::ImagePtr icon = plat::CreateImage(30, 30);
    TBonusAPtr s = TBonusA::Create(1, 1, kDrain, 2);
    s->SetImages(icon, {});
    s->SetTimes(600, 1000);
    s->Activate();
    plat::testing::AdvanceTime(300);
    plat::testing::ClearDrawCalls();
    s->Draw();
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_EQ(calls.size(), 1u);  // no glow once set off
    EXPECT_NEAR(calls[0].rotation, 135.0f, 1e-3);
    EXPECT_NEAR(calls[0].sx, 1.25f, 1e-5);
    EXPECT_NEAR(calls[0].alpha, 0.75f, 1.0f / 255);
}

TEST_F(SpellOnCellTest, ManagerStartsEmptyWithoutCaptionOrTeleport) {
    TBunusManagerA m;
    EXPECT_TRUE(m.spells.IsEmpty());
    EXPECT_TRUE(m.activeSpells.IsEmpty());
    EXPECT_EQ(m.captionKind, 0);
    EXPECT_FLOAT_EQ(m.teleportProgress, 1.0f);
}

TEST_F(SpellOnCellTest, ResourcesLoadIntoTheirSlotsWithIconHandlesHalvedInIntegers) {
    plat::Graphics(800, 600, 0, 60, 0);
    for (const char* f : {"mag_01", "mag_02", "mag_03", "mag_04", "mag_05", "mag_06"})
        WritePicture(std::string("gfx/bonusy/") + f + ".png", 33, 31);
    for (const char* f : {"holyfire", "vanish", "bomb", "drain", "heal", "teleport"})
        WritePicture(std::string("gfx/fonts/spell-") + f + ".png", 33, 31);
    for (const char* f : {"posw2a", "posw2b", "posw2a-duza", "posw2b-duza"})
        WritePicture(std::string("gfx/bonusy/") + f + ".png", 50, 50);
    bonusManagerAlt->LoadResources();
    EXPECT_EQ(bonusManagerAlt->spellIcons[0], nullptr);
    for (size_t k = 1; k <= 6; ++k) {
        ASSERT_NE(bonusManagerAlt->spellIcons[k], nullptr) << k;
        ASSERT_NE(bonusManagerAlt->spellNameImages[k], nullptr) << k;
        EXPECT_FLOAT_EQ(bonusManagerAlt->spellIcons[k]->handleX, 16.0f);
        EXPECT_FLOAT_EQ(bonusManagerAlt->spellIcons[k]->handleY, 15.0f);
        EXPECT_FLOAT_EQ(bonusManagerAlt->spellNameImages[k]->handleX, 16.5f);
        EXPECT_FLOAT_EQ(bonusManagerAlt->spellNameImages[k]->handleY, 15.5f);
    }
    for (const auto& g : bonusManagerAlt->glowImages) EXPECT_NE(g, nullptr);
}

}  // namespace

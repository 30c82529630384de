// A board in play on the real device (SDL's offscreen driver), drawn from
// the built game's pictures: spells of every kind lying on their runes, one
// just set off and turning, and a holyfire cross, a vanish, a bomb, a heal,
// a teleport and a sphere's spark ring in flight, saved as
// test-output/spells.png for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "spells/ring_emitter.h"
#include "spells/spell_actions.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/spark.h"
#include "tests/support/display_test.h"
#include "tests/support/play_world.h"

namespace {

using namespace quill_display;

class SpellsDisplay : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        quill_test::MakePlayWorld();
        InstallSpellLinks();
        delta = 1.0;
    }
    void TearDown() override {
        quill_test::DropPlayWorld();
        DisplayTest::TearDown();
    }
};

TEST_F(SpellsDisplay, SpellsAndTheirEffectsOnABoard) {
    razod->loadRazodGfx();
    blocks->loadBlocksDef();
    board->loadBoardGfx();
    for (int i = 0; i < 4; ++i)
        loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
    data->Add(plat::LoadImage("gfx/gui/lina.png", -1), 5000);
    magicSphere->LoadResources();
    timeManager->LoadResources();
    points->loadGfx();
    TCaptions::loadGfx();
    bonusManagerAlt->LoadResources();
    for (size_t k = 1; k <= 6; ++k) ASSERT_NE(bonusManagerAlt->spellIcons[k], nullptr) << k;
    for (const auto& g : bonusManagerAlt->glowImages) ASSERT_NE(g, nullptr);

    level->Set("level_08.tsc");
    ASSERT_EQ(level->TryLoad(1), 1);
    level->loadGfx();
    board->createBoardImage(1);
    ASSERT_EQ(board->cellSize, 40);
    timeManager->Set(0);
    timeManager->Reset(0);
    board->lastPetrifyTime = plat::MilliSecs();

    // A board half full of runes, with stones here and there.
    const int now = plat::MilliSecs();
    plat::SeedRnd(2024);
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            if (board->shapeLayer[x][y] == 0 || plat::Rand(0, 9) < 4) continue;
            int id = plat::Rand(1, 5);
            if (plat::Rand(0, 9) == 0) id += 20;
            board->runeLayer[x][y] = id;
            board->colorLayer[x][y] = razod->getRuneColor(std::to_string(id));
            board->placeTimeLayer[x][y] = now;
        }
    auto put = [&](int x, int y, int id) {
        board->runeLayer[x][y] = id;
        board->colorLayer[x][y] = razod->getRuneColor(std::to_string(id));
    };
    // Six spells lying on runes, and one just set off.
    const int lying[6][3] = {{2, 2, kHolyfire}, {7, 1, kVanish}, {9, 5, kBomb},
                             {1, 7, kDrain},    {5, 8, kHeal},   {4, 4, kTeleport}};
    for (const auto& s : lying) {
        put(s[0], s[1], 1 + s[2] % 5);
        bonusManagerAlt->AddBonusExt(s[2], s[0], s[1], board->colorLayer[s[0]][s[1]]);
    }
    put(6, 6, 3);
    bonusManagerAlt->AddBonusExt(kBomb, 6, 6, 0);
    magicSphere->sphereFill[0] = 5;
    magicSphere->sphereFill[3] = 9;
    points->pointsActual = 2350;

    // Effects already on their way: a holyfire cross through (5, 3), a
    // vanish from (8, 8), every stone healing, a teleport fading in and a
    // sphere's spark ring; a bomb bursting in the lower left corner.
    put(5, 3, 2);
    BonusRemoveCross(5, 3);
    BonusRemoveRandomColors(8, 8);
    BonusHeal();
    bonusManagerAlt->teleportProgress = 0.0f;
    int sx = 0, sy = 0;
    magicSphere->GetColorXY(1, sx, sy);
    TRingEmiter::Create(sx, sy, 26, 240, 60, 60, 0.8f, 1.2f, 1);

    plat::PixmapPtr frame;
    for (int f = 0; f < 30; ++f) {
        if (f == 14) TRemoveBlockEmiter::add(CellCentreX(2), CellCentreY(8), 2.0f, 8);
        if (f == 28) {
            // Set off and halfway through its wait in the picture, however
            // slowly the software renderer draws the frames.
            bonusManagerAlt->Clear(6, 6);
            const TBonusAPtr bomb = bonusManagerAlt->activeSpells.First();
            bomb->delay = 600000;
            bomb->activatedAt = plat::MilliSecs() - 300000;
        }
        plat::Cls();
        level->Draw();
        magicSphere->Update(1);
        timeManager->DrawAndUpdate();
        points->Draw();
        board->Update(0);
        board->Draw(0);
        bonusManagerAlt->Update();
        bonusManagerAlt->Draw();
        TCometEmiter::updateAll();
        TVolcanoEmiter::updateAll();
        TRingEmiter::UpdateAll();
        TSpark::UpdateAll();
        TCaptions::updateAll();
        if (f == 29) frame = plat::GrabPixmap(0, 0, 800, 600);
        plat::Flip(-1);
    }
    ASSERT_TRUE(frame);
    Save(frame, "spells.png");

    // The effects are in flight and the spells lie where they were put.
    EXPECT_FALSE(volcanoList->IsEmpty());
    EXPECT_FALSE(ringEmiterList->IsEmpty());
    // (The heal's cell lies on the holyfire's column and may be gone.)
    EXPECT_GE(bonusManagerAlt->spells.Count(), 5);
    EXPECT_EQ(bonusManagerAlt->activeSpells.Count(), 1);
    EXPECT_LT(bonusManagerAlt->teleportProgress, 1.0f);
    // Every lying spell's cell shows its icon: many colours, not the board's few.
    const int cell = board->cellSize;
    for (const TBonusAPtr& s : bonusManagerAlt->spells) {
        std::set<uint32_t> colours;
        const int x0 = board->originX + s->x * cell, y0 = board->originY + s->y * cell;
        for (int y = y0; y < y0 + cell; y += 2)
            for (int x = x0; x < x0 + cell; x += 2) colours.insert(plat::ReadPixel(frame, x, y) & 0xFFFFFFu);
        EXPECT_GT(colours.size(), 30u) << "spell " << s->kind << " at " << s->x << "," << s->y;
    }
}

}  // namespace

// A board in play on the real device (SDL's offscreen driver), drawn from
// the built game's pictures: spells of every kind lying on their runes, one
// just set off and turning, and a holyfire cross, a vanish, a bomb, a heal,
// a teleport and a sphere's spark ring in flight, saved as
// test-output/spells.png for a person to look at.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>
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
#include "modes/scene.h"
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

void LoadPlayPictures() {
    quill_test::LoadPlayPictures();
    bonusManagerAlt->LoadResources();
}

TEST_F(SpellsDisplay, SpellsAndTheirEffectsOnABoard) {
    LoadPlayPictures();
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
        // The quest's own frame, so the picture shows the play order.
        plat::Cls();
        modes::PlayScene();
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

// ---- telling the spells apart --------------------------------------------------------------
// A cell's picture shrunk to a 4 x 4 grid of mean colours: what a player
// makes out of a cell from the usual distance.
using Grid = std::array<std::array<double, 3>, 16>;

Grid Shrunk(const plat::PixmapPtr& f, int x0, int y0, int cell) {
    Grid g{};
    const int step = cell / 4;
    for (int by = 0; by < 4; ++by)
        for (int bx = 0; bx < 4; ++bx) {
            std::array<double, 3>& m = g[static_cast<size_t>(by * 4 + bx)];
            for (int y = 0; y < step; ++y)
                for (int x = 0; x < step; ++x) {
                    const uint32_t c = plat::ReadPixel(f, x0 + bx * step + x, y0 + by * step + y);
                    m[0] += Red(c), m[1] += Green(c), m[2] += Blue(c);
                }
            for (double& v : m) v /= step * step;
        }
    return g;
}

// A cell's brightness on an 8 x 8 grid: the pictogram's shape with its
// colour left out.
std::array<double, 64> Shape(const plat::PixmapPtr& f, int x0, int y0, int cell) {
    std::array<double, 64> g{};
    const int step = cell / 8;
    for (int by = 0; by < 8; ++by)
        for (int bx = 0; bx < 8; ++bx) {
            double sum = 0;
            for (int y = 0; y < step; ++y)
                for (int x = 0; x < step; ++x) sum += Brightness(plat::ReadPixel(f, x0 + bx * step + x, y0 + by * step + y));
            g[static_cast<size_t>(by * 8 + bx)] = sum / (3.0 * step * step);
        }
    return g;
}

double ShapeApart(const std::array<double, 64>& a, const std::array<double, 64>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::fabs(a[i] - b[i]);
    return sum / static_cast<double>(a.size());
}

// The mean over the grid of each block's largest channel difference, 0..255.
double Apart(const Grid& a, const Grid& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::max({std::fabs(a[i][0] - b[i][0]), std::fabs(a[i][1] - b[i][1]), std::fabs(a[i][2] - b[i][2])});
    return sum / static_cast<double>(a.size());
}

// Blocks of the 4 x 4 grid whose colour is still the bare rune's: within a
// small distance of the same block without the spell.
int RuneBlocks(const Grid& spell, const Grid& bare) {
    int n = 0;
    for (size_t i = 0; i < spell.size(); ++i) {
        const double d = std::fabs(spell[i][0] - bare[i][0]) + std::fabs(spell[i][1] - bare[i][1]) +
                         std::fabs(spell[i][2] - bare[i][2]);
        if (d < 60) ++n;
    }
    return n;
}

// The six spells as the board draws them on their runes, glow at either end
// of its pulse, at both cell sizes: every two of them differ clearly when
// each cell is shrunk to a few blocks, in colour and in the shape of their
// light and dark, and around each one enough of the rune beneath keeps its
// own colour to be read (a drain takes that colour).
TEST_F(SpellsDisplay, TheSixSpellsReadApartOnTheirRunesAtCellSize) {
    LoadPlayPictures();
    for (const char* file : {"level_100.tsc", "timed_06.tsc"}) {
        SCOPED_TRACE(file);
        bonusManagerAlt->spells.Clear();
        bonusManagerAlt->activeSpells.Clear();
        level->Set(file);
        ASSERT_EQ(level->TryLoad(1), 1);
        level->loadGfx();
        board->createBoardImage(1);
        const int cell = board->cellSize;
        board->alpha = 1.0f;
        board->scale = 1.0f;
        board->petrifyInterval = 1 << 30;
        board->lastPetrifyTime = plat::MilliSecs();
        // One rune colour at a time: the six spells on runes of that colour,
        // an empty cell apart so no glow falls on another spell, and the bare
        // rune beside them.
        const int spots[7][2] = {{3, 3}, {1, 1}, {3, 1}, {5, 1}, {7, 1}, {9, 1}, {1, 3}};
        for (int colour : {1, 2, 3, 4}) {
            bonusManagerAlt->spells.Clear();
            for (int x = 0; x < kBoardCells; ++x)
                for (int y = 0; y < kBoardCells; ++y) board->runeLayer[x][y] = 0, board->colorLayer[x][y] = 0;
            for (int k = 0; k <= 6; ++k) {
                const int cx = spots[k][0], cy = spots[k][1];
                ASSERT_NE(board->shapeLayer[cx][cy], 0);
                board->runeLayer[cx][cy] = colour;
                board->colorLayer[cx][cy] = razod->getRuneColor(std::to_string(colour));
                if (k > 0) bonusManagerAlt->AddBonusExt(k, cx, cy, board->colorLayer[cx][cy]);
            }
            for (float glow : {1.0f, 0.0f}) {
                SCOPED_TRACE(glow == 1.0f ? "glow a at its height" : "glow b at its height");
                for (const TBonusAPtr& s : bonusManagerAlt->spells) {
                    s->appearAlpha = 1.0f;
                    s->glow = glow;
                    s->glowRising = glow == 1.0f ? 1 : 0;
                }
                plat::Cls();
                level->Draw();
                board->Draw(0);
                bonusManagerAlt->Draw();
                const plat::PixmapPtr frame = plat::GrabPixmap(0, 0, 800, 600);
                plat::Flip(-1);
                ASSERT_TRUE(frame);
                if (glow == 1.0f && colour == 2) Save(frame, "spells-apart-" + std::to_string(cell) + ".png");
                auto at = [&](int k) {
                    return Shrunk(frame, board->originX + spots[k][0] * cell, board->originY + spots[k][1] * cell, cell);
                };
                const Grid bare = at(0);
                for (int i = 1; i <= 6; ++i) {
                    const Grid a = at(i);
                    EXPECT_GE(RuneBlocks(a, bare), 4) << "spell " << i << " hides rune colour " << colour << " (cell " << cell << ")";
                    for (int j = i + 1; j <= 6; ++j) {
                        const double apart = Apart(a, at(j));
                        const auto shape = [&](int k) {
                            return Shape(frame, board->originX + spots[k][0] * cell, board->originY + spots[k][1] * cell, cell);
                        };
                        // Under a disc and a star-burst the pictograms differ by 3 or so.
                        EXPECT_GE(ShapeApart(shape(i), shape(j)), 7.0)
                            << "the shapes of spells " << i << " and " << j << " on rune colour " << colour
                            << " (cell " << cell << ")";
                        EXPECT_GE(apart, 10.0) << "spells " << i << " and " << j << " on rune colour " << colour
                                               << " (cell " << cell << ")";
                    }
                }
            }
        }
    }
}

// The free modes' boards over their scenery, with the side panel as those
// modes draw it (spheres, clock, score plank): no hourglass, lantern or
// glowing stone of the scenery stands against a board's frame (gold, sand or
// a warm glow in the strip round the frame, on the ground), every rope ends
// on the panel it holds and not in the open air, and the widest of each mode
// is saved as test-output/free-mode-endless.png and free-mode-timed.png for a
// person to look at.
TEST_F(SpellsDisplay, TheFreeModeBoardsOverTheirScenery) {
    LoadPlayPictures();
    const plat::ImagePtr rope = data->GetImage(5000);
    ASSERT_TRUE(rope);
    for (const char* file : {"timed_01.tsc", "timed_02.tsc", "timed_03.tsc", "timed_04.tsc", "timed_05.tsc",
                             "timed_06.tsc", "timed_07.tsc", "timed_08.tsc", "endless_01.tsc", "endless_02.tsc",
                             "endless_03.tsc", "endless_04.tsc", "endless_05.tsc", "endless_06.tsc",
                             "endless_07.tsc", "endless_08.tsc"}) {
        SCOPED_TRACE(file);
        const bool endless = file[0] == 'e';
        bonusManagerAlt->spells.Clear();
        level->Set(file);
        ASSERT_EQ(level->TryLoad(1), 1);
        level->loadGfx();
        board->createBoardImage(1);
        board->alpha = 1.0f;
        board->scale = 1.0f;
        board->lastPetrifyTime = plat::MilliSecs();
        // The clock as the mode sets it: untimed in endless, a minute in time
        // attack.
        timeManager->Set(endless ? 0 : 60000);
        timeManager->Reset(0);
        // The play screen with its scenery, and the same without it.
        plat::PixmapPtr frames[2];
        for (int scenery : {1, 0})
            for (int f = 0; f < 3; ++f) {
                plat::Cls();
                if (scenery) level->Draw();
                magicSphere->Update(1);
                timeManager->Draw(1);
                points->Draw();
                board->Draw(0);
                if (f == 2) frames[scenery] = plat::GrabPixmap(0, 0, 800, 600);
                plat::Flip(-1);
            }
        ASSERT_TRUE(frames[0] && frames[1]);
        const std::string name = file;
        if (name == "timed_06.tsc" || name == "endless_08.tsc")
            Save(frames[1], std::string("free-mode-") + (endless ? "endless" : "timed") + ".png");
        // Each rope's lower end rests on a panel: the pixel just under it is
        // the same with and without the scenery, not sky or grass.
        const int ropeW = plat::ImageWidth(rope), ropeH = plat::ImageHeight(rope);
        const int ropes[6][2] = {{magicSphere->panelX + 53, magicSphere->panelY + 165},
                                 {magicSphere->panelX + 111, magicSphere->panelY + 165},
                                 {timeManager->x + 24, timeManager->y + 100},
                                 {timeManager->x + 82, timeManager->y + 100},
                                 {points->x + 36, points->y + 85},
                                 {points->x + 92, points->y + 85}};
        for (const auto& r : ropes) {
            const int x = r[0] + ropeW / 2, y = r[1] + ropeH;
            EXPECT_EQ(plat::ReadPixel(frames[1], x, y) & 0xFFFFFFu, plat::ReadPixel(frames[0], x, y) & 0xFFFFFFu)
                << "the rope from " << r[0] << "," << r[1] << " ends in the open air at " << x << "," << y;
        }
        // The frame stands one cell round the used cells.
        const int cell = board->cellSize;
        const int left = board->originX + (board->firstUsedColumn - 1) * cell;
        const int top = board->originY + (board->firstUsedRow - 1) * cell;
        const int right = board->originX + (board->lastUsedColumn + 2) * cell;
        const int bottom = board->originY + (board->lastUsedRow + 2) * cell;
        const int ring = 16;
        int against = 0;
        for (int y = std::max(380, top - ring); y < std::min(600, bottom + ring); ++y)
            for (int x = std::max(0, left - ring); x < std::min(800, right + ring); ++x) {
                if (x >= left && x < right && y >= top && y < bottom) continue;
                const uint32_t c = plat::ReadPixel(frames[1], x, y);
                if ((c & 0xFFFFFFu) == (plat::ReadPixel(frames[0], x, y) & 0xFFFFFFu)) continue;  // not scenery
                // Gold and sand, and the dimmer amber of a lantern's or a
                // stone's glow seen through the frame's shadow.
                if (Red(c) > 120 && Green(c) > 80 && Red(c) - Blue(c) > 70) ++against;
            }
        EXPECT_LT(against, 20) << "gold, sand or glow of the scenery within " << ring << " px of the frame "
                               << left << "," << top << " - " << right << "," << bottom;
    }
}

}  // namespace

// Runs of three or more cells of one colour: finding them row by row and
// column by column, clearing them and scoring the clear.
#include <algorithm>
#include <cmath>
#include <set>

#include "board/board.h"
#include "board/board_rules.h"
#include "board/stones.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/level.h"
#include "pieces/rune.h"
#include "platform/rng.h"
#include "platform/time.h"
#include "ui/comet.h"

int ClearPoints(int n, int k) {
    int p = 50 * n * k + 100 * k + 25 * (n - 3);
    if (n > 6) p += 50 * (n - 6);
    return p;
}

float ClearCaptionScale(int n) { return std::min(1.0f + static_cast<float>(n - 3) / 10.0f, 1.6f); }

int TBoardManager::_addLine(int x0, int y0, int x1, int y1) {
    if (!clearList) return 0;
    clearList->push_back(TLine{x0, y0, x1, y1});
    return 0;
}

namespace {

// One scan line: cells (x, y) = at(k) for k 0..14. Every maximal stretch of
// at least three equal non-zero colours is handed to close(first, last).
template <class At, class Close>
void ScanLine(At at, Close close) {
    int c = 0, n = 0, s = 0;
    for (int k = 0; k < kBoardCells; ++k) {
        const int v = at(k);
        if (v != c) {
            if (n >= 3) close(s, k - 1);
            c = v;
            n = 0;
            s = k;
        }
        if (v != 0) ++n;
    }
    if (n >= 3) close(s, kBoardCells - 1);
}

}  // namespace

int TBoardManager::checkForHorizontalMatch(int record) {
    for (int y = 0; y < kBoardCells; ++y)
        ScanLine([&](int x) { return colorLayer[x][y]; },
                 [&](int s, int e) {
                     if (record != 0)
                         _addLine(s, y, e, y);
                     else
                         for (int x = s; x <= e; ++x) highlightLayer[x][y] = colorLayer[x][y];
                 });
    return 0;
}

int TBoardManager::checkForVerticalMatch(int record) {
    for (int x = 0; x < kBoardCells; ++x)
        ScanLine([&](int y) { return colorLayer[x][y]; },
                 [&](int s, int e) {
                     if (record != 0)
                         _addLine(x, s, x, e);
                     else
                         for (int y = s; y <= e; ++y) highlightLayer[x][y] = colorLayer[x][y];
                 });
    return 0;
}

namespace {

void SendComet(const TBoardManager& b, int x, int y, int c) {
    const int red = RuneRGB(c, 1);
    const int green = RuneRGB(c, 2);
    const int blue = RuneRGB(c, 3);
    const int sx = b.originX + x * b.cellSize + 16;
    const int sy = b.originY + y * b.cellSize + 16;
    // A colour no sphere holds flies to the panel's centre.
    int cx = 0, cy = 0;
    magicSphere->GetColorXY(c, cx, cy);
    const int tx = cx - 10, ty = cy - 10;
    const double dx = sx - tx, dy = sy - ty;
    // A sphere right over the cell must not make the speed infinite.
    const double d = std::max(1.0, std::sqrt(dx * dx + dy * dy));
    const double speed = 380.0 / d;
    const int ctrlY = plat::Rand(200, 500);
    const int ctrlX = plat::Rand(150, 350);
    TCometEmiter::start(sx, sy, tx, ty, ctrlX, ctrlY, static_cast<float>(0.03 * speed), -6, 6, -6, 6, 0.8f)
        ->setRGB(red, green, blue);
}

}  // namespace

int TBoardManager::clearLines(int) {
    int n = 0;
    std::set<int> colours;
    bool stoneHit = false;
    const bool anyLine = clearList && !clearList->empty();
    if (clearList) {
        const std::vector<TLine> lines = *clearList;
        for (const TLine& line : lines) {
            // Lines come from the scans and the bosses; stay on the grid whatever they say.
            const int x0 = std::max(0, line.x0), x1 = std::min(kBoardCells - 1, line.x1);
            const int y0 = std::max(0, line.y0), y1 = std::min(kBoardCells - 1, line.y1);
            for (int x = x0; x <= x1; ++x)
                for (int y = y0; y <= y1; ++y) {
                    if (runeLayer[x][y] == 0) continue;
                    ++n;
                    const int c = colorLayer[x][y];
                    if (c != 0) colours.insert(c);
                    if (razod->isBlocked(runeLayer[x][y]) != 0) {
                        runeLayer[x][y] = razod->unblocked(runeLayer[x][y]);
                        // A stone without a known plain rune leaves an empty
                        // cell, and an empty cell has no colour to match by.
                        // A spell a saved board put on it would lie there
                        // for good: the clear sets it off as on any rune.
                        if (runeLayer[x][y] == 0) {
                            colorLayer[x][y] = 0;
                            if (playLinks.castSpell) playLinks.castSpell(x, y);
                        }
                        Depetrify(x, y, stoneImage);
                        stoneHit = true;
                        continue;
                    }
                    if (playLinks.castSpell) playLinks.castSpell(x, y);
                    magicSphere->Fill(c);
                    SendComet(*this, x, y, c);
                    runeLayer[x][y] = 0;
                    colorLayer[x][y] = 0;
                }
        }
    }
    // Lines over cells that hold no rune (a beaten boss's lines can) score nothing.
    if (anyLine && n > 0) {
        const int k = std::min(static_cast<int>(colours.size()), 4);
        level->countMatch(k);
        playSound2(clearSound, nullptr, 0);
        const int p = ClearPoints(n, k);
        points->add(p);
        const int mx = mouse->x, my = mouse->y;
        const int ax = std::min(mx, 550);
        const int ay = std::clamp(my, 100, 500);
        const float sc = ClearCaptionScale(n);
        const bool spell = playLinks.spellActive && playLinks.spellActive() != 0;
        if (!spell) {
            TCaptions::addCaption(TCaptions::Points, p, ax, ay - 70, sc, 0, 0, nullptr);
            TCaptions::addCaption(TCaptions::Match, n, ax, ay - 30, sc, 0, 0, nullptr);
        }
        if (k > 1) {
            if (!spell) TCaptions::addCaption(TCaptions::Combo, k, ax + 100, ay + 30, sc, 0, 0, nullptr);
            TSoundQ::addSound(comboSounds[static_cast<size_t>(k - 2)], plat::MilliSecs() + 600);
        }
        if (n > 3 && playLinks.addSpell) playLinks.addSpell(0);
        if (spell && playLinks.spellCaption) playLinks.spellCaption(n, p, k);
    }
    if (stoneHit) playSound2(stoneBreakSound, nullptr, 0);
    if (clearList) clearList->clear();
    return n;
}

int TBoardManager::clearMatchingRazod(int unused) {
    for (auto& column : highlightLayer) column.fill(0);
    clearList = std::make_shared<std::vector<TLine>>();
    bossManager->CheckForMatch(1);
    checkForHorizontalMatch(1);
    checkForVerticalMatch(1);
    const int n = clearLines(unused);
    clearList.reset();
    return n;
}

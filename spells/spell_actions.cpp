// The board actions of holyfire, vanish, bomb, drain and heal: each picks its
// targets from the board as it stands and starts the emitters that will act
// on them.
#include <string>

#include "board/board.h"
#include "pieces/rune.h"
#include "platform/rng.h"
#include "spells/spell_actions.h"
#include "spells/spells.h"
#include "spells/volcano.h"

namespace {

int Cell() { return board->cellSize; }

bool IsBoardCell(int x, int y) { return board->shapeLayer[x][y] != 0; }
bool IsRuneCell(int x, int y) { return board->runeLayer[x][y] != 0; }

int RuneColourAt(int x, int y) { return RuneColour(board->runeLayer[x][y]); }

}  // namespace

int CellCentreX(int x) { return board->originX + x * Cell() + Cell() / 2; }
int CellCentreY(int y) { return board->originY + y * Cell() + Cell() / 2; }

namespace {

float FX(int x) { return static_cast<float>(CellCentreX(x)); }
float FY(int y) { return static_cast<float>(CellCentreY(y)); }

// Walks from `from` by `step` while on the grid; counts rune cells and stops
// at the first cell off the board (returned), or ends just past the grid.
template <class At>
int Walk(int from, int step, int& count, At at) {
    for (int r = from; r >= 0 && r < kBoardCells; r += step) {
        if (at(r, true)) ++count;
        if (!at(r, false)) return r;
    }
    return step < 0 ? -1 : kBoardCells;
}

}  // namespace

int BonusRemoveVerticalLine(int x, int y) {
    int count = 0;
    auto at = [&](int r, bool rune) { return rune ? IsRuneCell(x, r) : IsBoardCell(x, r); };
    const int top = Walk(y, -1, count, at);
    const int bottom = Walk(y, 1, count, at);
    TRemoveLineEmiter::add(FX(x), FY(y), FX(x), FY(top), 0);
    TRemoveLineEmiter::add(FX(x), FY(y), FX(x), FY(bottom), 0);
    return count;
}

int BonusRemoveHorizontalLine(int x, int y) {
    int count = 0;
    auto at = [&](int c, bool rune) { return rune ? IsRuneCell(c, y) : IsBoardCell(c, y); };
    const int left = Walk(x, -1, count, at);
    const int right = Walk(x, 1, count, at);
    TRemoveLineEmiter::add(FX(x), FY(y), FX(left), FY(y), 1);
    TRemoveLineEmiter::add(FX(x), FY(y), FX(right), FY(y), 1);
    return count;
}

int BonusRemoveCross(int x, int y) {
    const int v = BonusRemoveVerticalLine(x, y);
    return v + BonusRemoveHorizontalLine(x, y);
}

int BonusRemoveBlock(int x, int y) {
    int count = 0;
    for (int i = x - 2; i <= x + 2; ++i)
        for (int j = y - 2; j <= y + 2; ++j) {
            if (i < 0 || i >= kBoardCells || j < 0 || j >= kBoardCells) continue;
            if (!IsBoardCell(i, j)) continue;
            TRemoveBlockEmiter::add(FX(i), FY(j), static_cast<float>(i), j);
            if (IsRuneCell(i, j)) ++count;
        }
    return count;
}

int BonusRemoveRandomColors(int x, int y) {
    constexpr int r = 225, g = 210, b = 225;
    const bool onGrid = x >= 0 && x < kBoardCells && y >= 0 && y < kBoardCells;
    TRemoveRandomColorsEmiter::add(FX(x), FY(y), FX(x), FY(y), r, g, b, x, y, onGrid ? RuneColourAt(x, y) : 0);
    int count = 0, phase = 0;
    for (int i = 0; i < kBoardCells; ++i)
        for (int j = 0; j < kBoardCells; ++j) {
            if (!IsRuneCell(i, j)) continue;
            if (phase == 0) {
                // A cell with a spell is passed over; the next rune cell takes its turn.
                if (bonusManagerAlt->GetBonus(i, j)) {
                    phase -= 1;
                } else {
                    TRemoveRandomColorsEmiter::add(FX(x), FY(y), FX(i), FY(j), r, g, b, i, j, RuneColourAt(i, j));
                    ++count;
                }
            }
            phase += 1;
            if (phase > 4) phase = 0;
        }
    return count;
}

int BonusRemoveColor(int colour, int x, int y) {
    int r = 0, g = 0, b = 0;
    JitteredRuneRGB(colour, r, g, b);
    // Colour 0 is every empty cell and the space around the board: a drain
    // without a colour has nothing to take.
    if (colour == 0) return 0;
    int count = 0;
    for (int i = 0; i < kBoardCells; ++i)
        for (int j = 0; j < kBoardCells; ++j)
            if (board->colorLayer[i][j] == colour) {
                TRemoveColorEmiter::add(FX(x), FY(y), FX(i), FY(j), r, g, b, i, j, colour);
                ++count;
            }
    return count;
}

int BonusHeal() {
    for (int i = 0; i < kBoardCells; ++i)
        for (int j = 0; j < kBoardCells; ++j)
            if (razod->isBlocked(board->runeLayer[i][j]) != 0) THealEmiter::add(FX(i), FY(j), static_cast<float>(i), j);
    return 0;
}

// What a cast spell does to the board: each action picks its target cells as
// the board stands now and hands them to spell emitters (volcano.h), which
// change the board when their particles arrive. The actions write nothing
// and keep nothing; each returns the runes it counted, for the score.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

// Holyfire: the spell's column and row, each up to the first cell off the board.
int BonusRemoveCross(int x, int y);
int BonusRemoveVerticalLine(int x, int y);
int BonusRemoveHorizontalLine(int x, int y);
// Vanish: the spell cell, then every fifth rune cell of the board.
int BonusRemoveRandomColors(int x, int y);
// Bomb: every board cell of the 5 x 5 square around the spell.
int BonusRemoveBlock(int x, int y);
// Drain: every cell of the colour; colour 0 targets nothing.
int BonusRemoveColor(int colour, int x, int y);
// Heal: every stone on the board. Always 0.
int BonusHeal();
// Teleport: one frame of the transmutation of about every fourth rune
// (entries x, y, new rune id). Runs while progress is below 1; always 0.
int BonusReplacer(float& progress, std::vector<std::array<int32_t, 3>>& list);

// The centre of board cell (x, y) in screen pixels, also for the virtual
// cells -1 and 15 just off the grid.
int CellCentreX(int x);
int CellCentreY(int y);

// The puzzle's hint: two pieces sparkle until the player starts a swap. At
// the start of a fresh puzzle it first lays two chosen pieces each on the
// other's home (the start hint); asked for, it picks a misplaced piece and
// the piece that belongs where that one lies. It draws nothing itself: it
// feeds sparks to the shared list, which the loop draws.
#pragma once
#include <memory>

#include "puzzle/puzzle_grid.h"
#include "ui/spark.h"

class THints {
public:
    int showing = 0;
    int firstX = 0, firstY = 0;    // corner of the first hinted piece when shown
    int secondX = 0, secondY = 0;
    int rectWidth = 0, rectHeight = 0;
    TSparkPtr lastSpark;

    // start 1: the start hint with the pieces at list positions first and
    // second (positions that name no piece show nothing); start 0: a pair
    // picked at random. Nothing changes while a hint shows or when every
    // piece is home.
    int show(TPuzzleGrid& grid, int start, int first, int second);
    int Hide();
    // Two sparks a frame while shown.
    int Update();
};
using THintsPtr = std::shared_ptr<THints>;

// What the board's rules of play hand on to the spells, which are built on
// top of the board (the level, points, captions, spheres, timer and bosses
// are called directly). The spells fill these entries when they start; while
// an entry is empty no spell lies anywhere and none is cast or added.
#pragma once
#include <functional>

struct TPlayLinks {
    // spells lying on the board
    std::function<int(int x, int y)> castSpell;   // casts the spell on the cell, if any
    std::function<int()> spellActive;             // non-zero while a cast spell runs
    std::function<void(int kind)> addSpell;       // kind 0: any of the level's spells
    std::function<void(int cells, int points, int colours)> spellCaption;
    std::function<int(int x, int y)> spellAt;     // kind of the spell on the cell, 0 none
};
extern TPlayLinks playLinks;

// Points of one clear of n counted cells in k colours (k already capped at 4).
int ClearPoints(int n, int k);
// Size of the captions of a clear of n cells.
float ClearCaptionScale(int n);

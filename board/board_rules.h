// What the board's rules of play hand on to the level, the spells, the
// spheres, the bosses and the captions, which are built on top of the board.
// Each subsystem fills its entries when it starts; an empty entry means that
// subsystem is not there: no spell lies anywhere, no boss claims a cell, no
// time limit runs out, and counts, points and captions go nowhere.
#pragma once
#include <functional>

struct TPlayLinks {
    // level statistics
    std::function<void()> blockUsed;              // a block was put down
    std::function<void(int colours)> matchMade;   // one clear of that many colours
    // level timer
    std::function<int()> timeOver;                // non-zero once the time limit has run out
    // points and captions
    std::function<void(int points)> addPoints;
    std::function<void(int kind, int value, int x, int y, float scale)> addCaption;
    // spells lying on the board
    std::function<int(int x, int y)> castSpell;   // casts the spell on the cell, if any
    std::function<int()> spellActive;             // non-zero while a cast spell runs
    std::function<void(int kind)> addSpell;       // kind 0: any of the level's spells
    std::function<void(int cells, int points, int colours)> spellCaption;
    std::function<int(int x, int y)> spellAt;     // kind of the spell on the cell, 0 none
    // magic spheres
    std::function<void(int colour)> sphereFill;
    // Centre of the sphere of that colour on screen; false when there is none.
    std::function<bool(int colour, int& x, int& y)> sphereCentre;
    // bosses
    std::function<void(int commit)> bossCheckForMatch;  // marks (0) or adds the lines of (1) beaten bosses
    std::function<void()> bossDrawHelp;
};
extern TPlayLinks playLinks;

// Points of one clear of n counted cells in k colours (k already capped at 4).
int ClearPoints(int n, int k);
// Size of the captions of a clear of n cells.
float ClearCaptionScale(int n);

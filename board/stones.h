// Stone fragments: a stone that a clear turns back into its rune bursts into
// twelve pieces that fly out from the cell's border, spin, fall and fade.
// They live in stonesList until their life is over, whatever screen follows.
#pragma once
#include <memory>
#include "platform/image.h"
#include "platform/list.h"

class TStoneEntity;
using TStoneEntityPtr = std::shared_ptr<TStoneEntity>;

class TStoneEntity {
public:
    float startX = 0.0f;  // centre at creation, screen pixels
    float startY = 0.0f;
    float drawX = 0.0f;   // where it was last drawn
    float drawY = 0.0f;
    float rotation = 0.0f;        // degrees, as last drawn
    float gravity = 0.000002f;    // added to velocityY per update, per ms of age
    float velocityX = 0.0f;       // pixels per ms
    float velocityY = 0.0f;       // pixels per ms, downwards; grows each update
    float spin = 0.2f;            // degrees per ms
    float life = 0.0f;            // ms
    float createdTime = 0.0f;     // MilliSecs at creation
    plat::ImagePtr image;

    static TStoneEntityPtr Create(int x, int y, float velocityX, float velocityY, const plat::ImagePtr& image);
    // Moves and draws every fragment, then leaves rotation 0 and alpha 1.
    static int UpdateAll();
    int Update();
};

extern std::shared_ptr<plat::TList<TStoneEntityPtr>> stonesList;

// The twelve fragments of the stone at a board cell, placed by the board's
// cell size and origin at this moment.
int Depetrify(int cellX, int cellY, const plat::ImagePtr& image);

#include "puzzle/hints.h"

#include <utility>

#include "platform/graphics.h"
#include "platform/rng.h"

int THints::show(TPuzzleGrid& grid, int start, int first, int second) {
    if (showing == 1) return 0;
    if (grid.IsSet() != 0) return 0;
    const int n = static_cast<int>(grid.pieces.size());
    TPuzzleButtonPtr a, b;
    if (start != 0) {
        // A level file naming no piece loses its start hint, not the puzzle.
        if (first < 0 || first >= n || second < 0 || second >= n) return 0;
        a = grid.pieces[static_cast<size_t>(first)];
        b = grid.pieces[static_cast<size_t>(second)];
        TPuzzleButtonPtr onA, onB;
        for (const TPuzzleButtonPtr& p : grid.pieces)
            if (!onA && p->slot == a->id) onA = p;
        for (const TPuzzleButtonPtr& p : grid.pieces)
            if (!onB && p->slot == b->id) onB = p;
        if (!onA || !onB) return 0;  // the slots are no permutation: nothing sensible to move
        std::swap(a->slot, onB->slot);
        std::swap(b->slot, onA->slot);
        for (const TPuzzleButtonPtr& p : {a, b, onA, onB}) {
            p->targetSlot = p->slot;
            p->SetPosition();
        }
    } else {
        do {
            a = grid.pieces[static_cast<size_t>(plat::Rand(0, n - 1))];
        } while (a->IsInPlace() != 0);
        if (a->slot < 0 || a->slot >= n) return 0;
        b = grid.pieces[static_cast<size_t>(a->slot)];
    }
    showing = 1;
    firstX = static_cast<int>(a->area->Left());
    firstY = static_cast<int>(a->area->Top());
    secondX = static_cast<int>(b->area->Left());
    secondY = static_cast<int>(b->area->Top());
    rectWidth = static_cast<int>(a->area->width);
    rectHeight = static_cast<int>(a->area->height);
    return 0;
}

int THints::Hide() {
    showing = 0;
    return 0;
}

int THints::Update() {
    if (showing == 0) return 0;
    plat::SetBlend(3);
    const int x1 = plat::Rand(firstX, static_cast<int>(static_cast<float>(firstX) + static_cast<float>(rectWidth) * 0.8f));
    const int x2 = plat::Rand(secondX, static_cast<int>(static_cast<float>(secondX) + static_cast<float>(rectWidth) * 0.8f));
    const int y1 = plat::Rand(firstY, static_cast<int>(static_cast<float>(firstY) + static_cast<float>(rectHeight) * 0.8f));
    const int y2 = plat::Rand(secondY, static_cast<int>(static_cast<float>(secondY) + static_cast<float>(rectHeight) * 0.8f));
    for (const auto& [x, y] : {std::pair{x1, y1}, std::pair{x2, y2}}) {
        const int blue = plat::Rand(100, 150);
        const int green = plat::Rand(100, 150);
        const int red = plat::Rand(100, 255);
        const int life = plat::Rand(50, 100);
        const float size = static_cast<float>(plat::Rnd(0.5, 1.0));
        const plat::ImagePtr& img = sparkImages[static_cast<size_t>(plat::Rand(1, 3))];
        lastSpark = TSpark::Create(img, x, y, size, life, red, green, blue, 1, 1);
        const float vy = static_cast<float>(plat::Rnd(-0.5, 0.5));
        const float vx = static_cast<float>(plat::Rnd(-0.5, 0.5));
        lastSpark->setVelocity(vx, vy);
    }
    return 0;
}

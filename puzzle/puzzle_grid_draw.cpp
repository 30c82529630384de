// The board for one frame: the pieces, a shadow outline around each group of
// pieces at home, the selection marks, and the pieces in flight on top.
#include <algorithm>

#include "platform/graphics.h"
#include "puzzle/puzzle_grid.h"

int TPuzzleGrid::Draw() {
    for (const TPuzzleButtonPtr& p : pieces) {
        if (p->IsFlying() != 0) p->DrawShaded();
        else p->Draw();
    }

    plat::SetAlpha(1);
    plat::SetColor(255, 255, 255);
    plat::SetTransform(0, 1, 1);
    plat::SetBlend(3);
    const int left = area ? static_cast<int>(area->Left()) : 0;
    const int top = area ? static_cast<int>(area->Top()) : 0;
    const float w = pieceWidth;
    const float h = pieceHeight;
    const float d = static_cast<float>(kShadowDepth);
    const float len = static_cast<float>(kShadowLength);
    auto home = [this](int x, int y) { return matrix[static_cast<size_t>(x)][static_cast<size_t>(y)] == 1; };
    auto shadow = [this](int i, float x, float y) { plat::DrawImage(shadows[static_cast<size_t>(i)], x, y, 0); };
    const int cols = std::min(columns, kMaxSide);
    const int rws = std::min(rows, kMaxSide);
    for (int y = 1; y <= rws; ++y) {
        for (int x = 1; x <= cols; ++x) {
            plat::SetScale(1, h / len);
            if (!home(x, y)) continue;
            const float cl = static_cast<float>(left) + static_cast<float>(x - 1) * w;
            const float ct = static_cast<float>(top) + static_cast<float>(y - 1) * h;
            const float cr = static_cast<float>(left) + static_cast<float>(x) * w;
            const float cb = static_cast<float>(top) + static_cast<float>(y) * h;
            const bool l = home(x - 1, y), r = home(x + 1, y), u = home(x, y - 1), b = home(x, y + 1);
            if (!l) shadow(4, cl, ct);
            if (!r) shadow(6, cr - d, ct);
            plat::SetScale(w / len, 1);
            if (!u) shadow(5, cl, ct);
            if (!b) shadow(7, cl, cb - d);
            plat::SetScale(1, 1);
            // Outer corners, where two open sides meet.
            if (!l && !u) shadow(0, cl, ct);
            if (!r && !u) shadow(1, cr - d, ct);
            if (!l && !b) shadow(2, cl, cb - d);
            if (!r && !b) shadow(3, cr - d, cb - d);
            // Inner corners, where two home sides meet round an open cell.
            if (l && b && !home(x - 1, y + 1)) shadow(2, cl, cb - d);
            if (r && b && !home(x + 1, y + 1)) shadow(3, cr - d, cb - d);
            if (l && u && !home(x - 1, y - 1)) shadow(0, cl, ct);
            if (r && u && !home(x + 1, y - 1)) shadow(1, cr - d, ct);
        }
    }
    plat::SetScale(1, 1);

    for (const TPuzzleButtonPtr& p : pieces)
        if (p->selected != 0) p->DrawMark();
    for (const TPuzzleButtonPtr& p : pieces)
        if (p->IsFlying() != 0) p->Draw();
    return 0;
}

// Drawing the frame pieces built from the outline, with the tile set of the
// cell size. Right and bottom pieces start a few pixels inside the board.
#include "board/board.h"
#include "platform/graphics.h"

namespace {

void DrawFrameTiles(const TBoardManager& b, const TTileTable& sides, const TTileTable& tops,
                    const TTileTable& corners, float d) {
    plat::SetAlpha(b.alpha);
    for (const TFrameElement& e : b.frameElements) {
        plat::SetScale(b.scale, b.scale);
        const float X = static_cast<float>(b.originX + e.x * b.cellSize);
        const float Y = static_cast<float>(b.originY + e.y * b.cellSize);
        const float off = d * b.scale;
        const TTileTable* table = nullptr;
        float px = X, py = Y;
        switch (e.kind) {
            case TFrameElement::Left:
            case TFrameElement::Right: table = &sides; px = X - off; break;
            case TFrameElement::Top:
            case TFrameElement::Bottom: table = &tops; py = Y - off; break;
            case TFrameElement::LeftUpperCorner: table = &corners; px = X - off; py = Y - off; break;
            case TFrameElement::RightUpperCorner: table = &corners; py = Y - off; break;
            case TFrameElement::LeftLowerCorner: table = &corners; px = X - off; break;
            case TFrameElement::RightLowerCorner: table = &corners; break;
            default: continue;
        }
        // Entries outside the tables, or tiles that did not load, draw nothing.
        if (e.size < 0 || e.size >= 4 || e.id < 0 || e.id >= 5) continue;
        const plat::ImagePtr& img = (*table)[static_cast<size_t>(e.size)][static_cast<size_t>(e.id)];
        if (img) plat::DrawImage(img, px, py, 0);
    }
    plat::SetScale(1.0f, 1.0f);
}

}  // namespace

int TBoardManager::_drawFrame() {
    if (cellSize == 40)
        DrawFrameTiles(*this, leftRightTiles40, topBottomTiles40, cornerTiles40, 6.0f);
    else
        DrawFrameTiles(*this, leftRightTiles32, topBottomTiles32, cornerTiles32, 7.0f);
    return 0;
}

int TBoardManager::_drawSmallFrame() {
    DrawFrameTiles(*this, leftRightTiles32, topBottomTiles32, cornerTiles32, 7.0f);
    return 0;
}

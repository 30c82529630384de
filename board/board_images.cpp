// The board's pictures and sounds: frame tiles and ghosts of both cell sizes,
// the stone fragment, the eight sounds, and the board image built per level
// from a background picture with every cell outside the outline masked out.
#include <algorithm>

#include "board/board.h"
#include "level/level.h"
#include "platform/app.h"

namespace {

// Side tiles [size][variant] and corner tiles [corner][variant], by file
// name inside a tile folder.
struct TileName {
    int row, variant;
    const char* file;
};
constexpr TileName kLeftRight[] = {{1, 0, "1a.png"}, {1, 1, "1b.png"}, {2, 0, "2a.png"}, {2, 1, "2b.png"},
                                   {3, 0, "3a.png"}, {3, 1, "3b.png"}, {3, 2, "3c.png"}};
constexpr TileName kTopBottom[] = {{1, 0, "1a-p.png"}, {1, 1, "1b-p.png"}, {2, 0, "2a-p.png"}, {2, 1, "2b-p.png"},
                                   {3, 0, "3a-p.png"}, {3, 1, "3b-p.png"}, {3, 2, "3c-p.png"}};
constexpr TileName kCorners[] = {
    {0, 0, "1b-lg.png"}, {0, 1, "1b-lg_v2.png"}, {0, 2, "1b-lg_v3.png"},
    {1, 0, "1b-rg.png"}, {1, 1, "1b-rg_v2.png"}, {1, 2, "1b-rg_v3.png"},
    {2, 0, "1b-ld.png"}, {2, 1, "1b-ld_v2.png"}, {2, 2, "1b-ld_v3.png"},
    {3, 0, "1b-rd.png"}, {3, 1, "1b-rd_v2.png"}, {3, 2, "1b-rd_v3.png"},
};

template <size_t N>
void LoadTiles(TTileTable& table, const std::string& folder, const TileName (&names)[N]) {
    for (const TileName& t : names) table[t.row][t.variant] = plat::LoadImage(folder + t.file, 7);
}

constexpr uint32_t kMaskArgb = 0xFFFF00FF;  // opaque magenta: turned transparent by the mask colour
constexpr int kBoardPicture = 480;           // pixels a side that a board picture covers

}  // namespace

int TBoardManager::loadBoardGfx() {
    ghostImage32 = plat::LoadImage("gfx/runy/ghost.png", -1);
    ghostImage40 = plat::LoadImage("gfx/runy-40x40/ghost.png", -1);
    ghostImage = ghostImage32;
    LoadTiles(leftRightTiles32, "gfx/ramka/", kLeftRight);
    LoadTiles(topBottomTiles32, "gfx/ramka/", kTopBottom);
    LoadTiles(cornerTiles32, "gfx/ramka/", kCorners);
    LoadTiles(leftRightTiles40, "gfx/ramka-40x40/", kLeftRight);
    LoadTiles(topBottomTiles40, "gfx/ramka-40x40/", kTopBottom);
    LoadTiles(cornerTiles40, "gfx/ramka-40x40/", kCorners);
    return 0;
}

int TBoardManager::loadSfx() {
    clearSound = plat::LoadSound("sfx/fx/playgame-explosion2-biger.ogg", 0);
    bonusSound = plat::LoadSound("sfx/fx/playgame-bonus-4-boxs.ogg", 0);
    comboSounds[0] = plat::LoadSound("sfx/fx/playgame-combo-x3.ogg", 0);
    comboSounds[1] = comboSounds[0];  // two and three colours sound alike
    comboSounds[2] = plat::LoadSound("sfx/fx/playgame-combo-x4-and-maxmega.ogg", 0);
    cannotPlaceSound = plat::LoadSound("sfx/fx/playgame-niemozna-postawic1.ogg", 0);
    placeSound = plat::LoadSound("sfx/fx/playgame-put-new1.ogg", 0);
    stoneBreakSound = plat::LoadSound("sfx/fx/playgame-expl-klocstoned.ogg", 0);
    petrifySound = plat::LoadSound("sfx/fx/playgame-stonemode.ogg", 0);
    stoneImage = plat::LoadImage("gfx/gwiazdki/stone.png", -1);
    if (stoneImage) plat::MidHandleImage(stoneImage);
    return 0;
}

int TBoardManager::saveBoard() { return 0; }

int TBoardManager::fitCellSize() {
    getWidth();
    getHeight();
    // The 40-pixel picture covers 12 cells from the origin: a small outline
    // placed further out would have cells without a background.
    const bool small = usedWidth <= 12 && usedHeight <= 12;
    const bool covered = lastUsedColumn < kBoardPicture / 40 && lastUsedRow < kBoardPicture / 40;
    return small && covered ? 40 : 32;
}

int TBoardManager::createBoardImage(int recentre) {
    getWidth();
    getHeight();
    int n = kBoardCells;
    if (recentre != 0) {
        cellSize = fitCellSize();
        originX = 492 - GetMiddleX();
        originY = 300 - GetMiddleY();
        n = kBoardPicture / cellSize;
    }
    ghostImage = cellSize == 40 ? ghostImage40 : ghostImage32;
    _buildBoardImage(n);
    return 0;
}

int TBoardManager::createSmallBoardImage() {
    cellSize = 32;
    ghostImage = ghostImage32;
    _buildBoardImage(kBoardPicture / 32);
    return 0;
}

void TBoardManager::_buildBoardImage(int n) {
    const int number = level->levelNumber;
    // Kept within 1..9 for negative numbers too: every name is a shipped picture.
    const int digit = (number % 9 + 9) % 9 + 1;
    backgroundName = "gfx/bg/deski/deska-" + std::to_string(digit) + ".jpg";
    backgroundPixmap = plat::LoadPixmap(backgroundName);
    boardImage = nullptr;
    if (!backgroundPixmap) {
        // No picture: the board is played without a texture under its cells.
        plat::Print("Board picture missing: " + backgroundName);
        return;
    }
    maskPixmap = plat::CopyPixmap(backgroundPixmap);
    const int width = plat::PixmapWidth(maskPixmap), height = plat::PixmapHeight(maskPixmap);
    const int cells = std::min(n, kBoardCells);
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            if (shapeLayer[x][y] != 0) continue;
            // Clipped to the picture: a small one must not be written past.
            const int x0 = x * cellSize, y0 = y * cellSize;
            const int x1 = std::min(x0 + cellSize, width), y1 = std::min(y0 + cellSize, height);
            for (int py = y0; py < y1; ++py)
                for (int px = x0; px < x1; ++px) plat::WritePixel(maskPixmap, px, py, kMaskArgb);
        }
    plat::SetMaskColor(255, 0, 255);
    boardImage = plat::LoadImage(plat::PixmapWindow(maskPixmap, 0, 0, n * cellSize, n * cellSize), -1);
    maskPixmap = nullptr;
}

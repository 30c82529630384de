// The board: a grid of at most 15 x 15 cells with its layers, its frame, its
// pictures and sounds, and the global `board`.
//
// Index: layers and grids · TRSA · TFrameElement · TLine ·
//        TBoardManager (fields; measuring and the move test; layout from a
//        level file; frame building; pictures and sounds; rules of play)
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "config/tsc_file.h"
#include "pieces/blocks.h"
#include "platform/audio.h"
#include "platform/image.h"
#include "platform/pixmap.h"

// Every layer is indexed [column][row], both 0..14.
constexpr int kBoardCells = 15;

// Whether a column and row lie on the board's square of cells.
inline bool OnGrid(int x, int y) { return x >= 0 && x < kBoardCells && y >= 0 && y < kBoardCells; }

using TBoardLayer = std::array<std::array<int32_t, kBoardCells>, kBoardCells>;
// Frame tiles indexed [size or corner][variant].
using TTileTable = std::array<std::array<plat::ImagePtr, 5>, 4>;

// The drawable base of the board and its frame pieces.
class TRSA {
public:
    float rotation = 0.0f;
    float alpha = 0.0f;
    float scale = 0.0f;
};

// One piece of the frame around the board's outline.
class TFrameElement : public TRSA {
public:
    enum Kind : int {
        Left = 0, Right = 1, Top = 2, Bottom = 3,
        LeftUpperCorner = 4, RightUpperCorner = 5, LeftLowerCorner = 6, RightLowerCorner = 7
    };
    int32_t kind = 0;
    int32_t id = 0;    // the tile variant: 0..2 for corners and 3-cell pieces, 0..1 for shorter ones
    int32_t size = 0;  // sides: length in cells (1..3); corners: the corner index (kind - 4)
    int32_t x = 0;     // first cell of the piece; the frame lies outside the board, so -1 and 15 occur
    int32_t y = 0;
};

// One run of cells to clear, both ends included.
class TLine {
public:
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class TBoardManager : public TRSA {
public:
    std::vector<TFrameElement> frameElements;  // drawn in this order
    TTileTable leftRightTiles32{};
    TTileTable topBottomTiles32{};
    TTileTable cornerTiles32{};
    TTileTable leftRightTiles40{};
    TTileTable topBottomTiles40{};
    TTileTable cornerTiles40{};
    plat::ImagePtr stoneImage;
    plat::SoundPtr clearSound;
    plat::SoundPtr bonusSound;
    plat::SoundPtr stoneBreakSound;
    plat::SoundPtr petrifySound;
    std::array<plat::SoundPtr, 3> comboSounds{};  // 2, 3 and 4 colours at once
    plat::SoundPtr cannotPlaceSound;
    plat::SoundPtr placeSound;
    TBoardLayer shapeLayer{};      // non-zero: a board cell
    TBoardLayer runeLayer{};       // rune id; 0 or less is empty
    TBoardLayer colorLayer{};      // colour class of the rune; 0 none
    TBoardLayer highlightLayer{};  // colour of the sparks drawn over the cell; 0 none
    TBoardLayer placeTimeLayer{};  // MilliSecs when the cell's rune was placed
    // The runs to clear; exists only while a clear runs.
    std::shared_ptr<std::vector<TLine>> clearList;
    int32_t cellSize = 32;
    int32_t originX = 240;
    int32_t originY = 60;
    int32_t firstUsedColumn = 0;
    int32_t lastUsedColumn = 0;
    int32_t firstUsedRow = 0;
    int32_t lastUsedRow = 0;
    int32_t usedWidth = 0;
    int32_t usedHeight = 0;
    int32_t gameOverFlag = 0;
    int32_t petrifyInterval = 15000;
    int32_t lastPetrifyTime = 0;
    float petrifyProgress = 0.0f;
    TBoardLayer petrifyMask{};
    int32_t petrifying = 0;
    plat::PixmapPtr backgroundPixmap;
    plat::PixmapPtr maskPixmap;  // only while the board image is built
    plat::ImagePtr boardImage;
    plat::ImagePtr ghostImage;
    plat::ImagePtr ghostImage32;
    plat::ImagePtr ghostImage40;
    std::string backgroundName = "gfx/bg/deski/deska-1.png";

    // ---- layout from a level file (board_layout.cpp) ---------------------------------
    // Tokens past the 15th column, and rows outside 0..14, are ignored.
    int setLine(int row, const std::string& text);
    int loadBoard(const TTSCFilePtr& levelFile);
    // Whether the outline has at least one cell (a level without one cannot
    // be played; the level loader refuses it).
    bool HasCells() const;
    int loadRazod(const TTSCFilePtr& levelFile);
    int loadFrame(const TTSCFilePtr& levelFile);
    // A missing count or piece key reads as 0: the frame is rebuilt from the
    // outline right after, so these keys never decide what is drawn.
    int _loadFrameSide(const TTSCFilePtr& levelFile, int kind, const std::string& countKey, const std::string& name);

    // ---- pictures and sounds (board_images.cpp) --------------------------------------
    int createBoardImage(int recentre);
    int createSmallBoardImage();
    int loadSfx();
    int saveBoard();
    int loadBoardGfx();
    // The cell size a board of this outline is played at: 40 when its used
    // area is at most 12 x 12 cells and lies within columns and rows 0..11
    // (all the 40-pixel board picture covers), else 32.
    int fitCellSize();

    // ---- frame building (board_frame.cpp) ---------------------------------------------
    int buildFrame();
    int _buildCorner(int kind, int corner, int gx, int gy);
    int _buildSide(int kind, int gx, int endRow, int startRow);
    int _buildSide2(int kind, int endColumn, int gy, int startColumn);

    // ---- measuring, move test, mouse (board.cpp) --------------------------------------
    int _checkMove(const TBlockPtr& block, int x, int y, int dx, int dy, int i, int j);
    int getWidth();
    int GetMiddleX();
    int getHeight();
    int GetMiddleY();
    int clearBoard();
    int MouseOnBoard();

    // ---- rules of play and drawing ---------------------------------------------------
    // (placing, matching, clearing, petrifying, the game-over test and the
    // board's drawing are declared here, beside their own source files)
    // play rules: placing, preview, game over (board_place.cpp); what they ask
    // of the level, spells, spheres and bosses goes through playLinks (board_rules.h)
    int Update(int paused);
    int _checkForHighlights();
    int checkGameOver();
    // x = -1 places at the mouse cell. Returns 1 when placed.
    int placeBlock(const TBlockPtr& block, int x, int y, int commit);
    int IsEmpty();
    float freeCells();  // 0 on a board without cells
    // play rules: matching and clearing (board_match.cpp)
    int _addLine(int x0, int y0, int x1, int y1);
    int checkForHorizontalMatch(int record);
    int checkForVerticalMatch(int record);
    int clearLines(int unused);
    int clearMatchingRazod(int unused);
    // play rules: petrification (board_petrify.cpp)
    int _checkForPetrify(int paused);
    // play rules: drawing (board_draw.cpp, board_frame_draw.cpp)
    int Draw(int small);
    int DrawSmall();
    int _drawRazod();
    int _drawHighlights();
    int clearHighlights();
    int _drawFrame();
    int _drawSmallFrame();

private:
    // One board-image build: n cells a side at the current cell size.
    void _buildBoardImage(int n);
};

extern std::shared_ptr<TBoardManager> board;

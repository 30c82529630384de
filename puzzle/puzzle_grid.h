// The board of the picture puzzle: the pieces a picture is cut into, the
// rectangle they tile, the map of slots whose pieces are home (from which
// the shadow outline is drawn), and the puzzle's frame, shadow and sound
// assets. One grid lives as long as the program; every puzzle fills it anew
// and empties it at the end.
//
// Index: TGrid · TPuzzleGrid (state, operations) · size limits
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "platform/audio.h"
#include "platform/image.h"
#include "puzzle/puzzle_piece.h"
#include "ui/dim.h"

class TGrid {
public:
    virtual ~TGrid() = default;
    // In list order of the home slots, so a piece's position equals its id.
    std::vector<TPuzzleButtonPtr> pieces;
    TDimPtr area;  // slot 0's top-left corner is its Left, Top
    float pieceWidth = 0;
    float pieceHeight = 0;
    int columns = 0;
    int rows = 0;
    int active = 1;  // 0 stops State

    virtual int State() { return 0; }
    virtual int Draw() { return 0; }
};

class TPuzzleGrid : public TGrid {
public:
    static constexpr int kMaxSide = 10;
    static constexpr int kMatrixSide = kMaxSide + 2;  // a margin of one cell all round
    static constexpr int kShadowLength = 82;          // edge images are this long along their side
    static constexpr int kShadowDepth = 7;
    static const char* const kShadowFiles[8];
    static const char* const kSoundFiles[5];
    enum Sound : int { kSoundClick = 0, kSoundSolved = 1, kSoundHome = 2, kSoundUnused = 3, kSoundSwap = 4 };

    // [column + 1][row + 1] is 1 once the piece whose home is that slot stands on it.
    std::array<std::array<int32_t, kMatrixSide>, kMatrixSide> matrix{};
    plat::ImagePtr picture;  // one frame per piece
    int pieceCount = 0;
    plat::ImagePtr ramka;
    plat::ImagePtr ramkaOn;
    std::array<plat::ImagePtr, 8> shadows{};
    std::array<plat::SoundPtr, 5> sounds{};

    // One frame of play: flights, then clicks, then a swap of two selected
    // pieces; 1 in the frame a swap starts.
    int State() override;
    int Draw() override;
    int loadSfx();
    // Modal: shows the whole picture for 50 ms, then swaps a random pair a
    // frame until no piece is home. background may be null.
    int Scramble(const plat::ImagePtr& background);
    int IsScrambled() const;
    int IsSet() const;
    int loadGfx();
    int doMatrix();
    int Clear();

    // The slot whose top-left corner is where a piece there stands.
    float SlotLeft(int slot) const;
    float SlotTop(int slot) const;
};
using TPuzzleGridPtr = std::shared_ptr<TPuzzleGrid>;

// A puzzle the grid can hold: 1 to 10 columns and rows, and at least two
// pieces, since the scramble ends only once no piece is home. True when
// columns and rows were already so.
bool ClampPuzzleSize(int& columns, int& rows);

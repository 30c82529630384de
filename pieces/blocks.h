// Blocks: the catalogue of block shapes ("blocks.tsc" in the settings
// archive) and the block manager `blocks`, which deals the held block and the
// queued next block from the level's runes and shapes, turns it, follows the
// mouse with it and draws it.
//
// Index: TBlock · rotation offsets · TBlocksManager (catalogue, level lists,
//        held block, drawing, freeze) · the global
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "config/tsc_file.h"
#include "platform/audio.h"

// Grids are indexed [column][row], 0..3 each, like the board's layers.
using TBlockGrid = std::array<std::array<int32_t, 4>, 4>;

class TBlock {
public:
    std::string id;
    std::string title;
    std::string description;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pieces = 0;
    // Catalogue block: 1 at each occupied cell. Dealt block: the rune id
    // there, 0 where empty.
    TBlockGrid cells{};
    // Dealt block: the colour class of each occupied cell's rune.
    TBlockGrid colors{};
    // Held block: 1 where the cell can be put down at the current mouse cell
    // and rotation (empty cells always fit).
    TBlockGrid fits{};
};
using TBlockPtr = std::shared_ptr<TBlock>;

// Where block cell (i, j) lands, relative to the anchor, after r quarter
// turns clockwise on screen. The board's placing uses the same offsets.
inline void RotationOffset(int r, int i, int j, int& dx, int& dy) {
    switch (r & 3) {
        case 0: dx = i; dy = j; break;
        case 1: dx = -j; dy = i; break;
        case 2: dx = -i; dy = -j; break;
        default: dx = j; dy = -i; break;
    }
}

class TBlocksManager {
public:
    std::vector<TBlockPtr> blockDefs;         // the catalogue in file order
    TTSCFilePtr blocksFile;                   // only while the catalogue loads
    std::vector<std::string> availableRazod;  // rune ids the level deals from
    std::vector<std::string> availableBlocks; // block ids the level deals from
    TBlockPtr heldBlock;
    TBlockPtr nextBlock;
    float nextBlockW = 0.0f;                  // most occupied cells in one row of nextBlock
    float nextBlockH = 0.0f;                  // most occupied cells in one column
    std::array<int32_t, 3> lastRazod{};       // last rune ids dealt, newest first
    int32_t targetRotation = 0;
    int32_t curRotation = 0;
    int32_t turnAngle = 0;                    // degrees drawn while a turn animates
    int32_t turnProgress = 0;                 // degrees of the running turn; 0 when none
    int32_t blockReady = 0;
    int32_t formFrames = 0;
    int32_t cellX = 0;
    int32_t cellY = 0;
    int32_t blockChanged = 0;                 // the board reruns its match preview and clears it
    float fadeAlpha = 1.0f;
    float glow = 0.0f;
    float glowStep = 0.05f;
    plat::SoundPtr rotateSound;
    plat::ChannelPtr rotateChannel;
    int32_t freezeStart = 0;
    int32_t freezeLength = -1;                // -1: no freeze

    // ---- held block --------------------------------------------------------------
    int _doParticles();
    // x = -1 takes both coordinates from the mouse cell.
    int updateBlock(int x, int y);
    int getX(int x);
    int getXR(int x);  // 0 means the pointer's x
    int getY(int y);
    int getYR(int y);  // 0 means the pointer's y
    // x = 0 and y = 0 draw at the cell under the mouse.
    int drawBlock(float x, float y);
    int _formBlock(float x, float y);
    int DrawNextBlock(float x, float y);
    int _drawBlock(float x, float y);
    int _drawRune(int rune, int x, int y, int shaded);
    int buildNextBlock();
    int GetNextBlockWH();
    // Deals a random block and resets the held block's turn and forming.
    // A level whose lists cannot deal (see availabilityProblem) ends the
    // program with that message instead of reading outside them.
    TBlockPtr _buildNextBlock();
    int rotateBlock(int dir);

    // ---- catalogue and level lists --------------------------------------------
    // Reads "blocks.tsc" of "data/settings.bca". Missing numbers raise the
    // configuration's missing-key error; a piece outside the 4 x 4 grid is
    // skipped with a printed diagnostic.
    int loadBlocksDef();
    // The same from a configuration already in memory.
    int loadBlocksFrom(const TTSCFilePtr& file);
    int loadSfx();
    TBlockPtr _findBlockByID(const std::string& id);
    int setAvailableRazod(const std::string& text);
    int setAvailableBlocks(const std::string& text);
    // Why the level's lists cannot deal a block ("" when they can): an empty
    // list, a rune list without one id above 0 (the board holds no other),
    // or a block id the catalogue does not have. The level loader stops
    // with this text and the level's name.
    std::string availabilityProblem();

    // ---- freeze -----------------------------------------------------------------
    int Freze(int ms);
    int IsFreze();
    int ToDefreze();

private:
    // fits of the held block at anchor (x, y) with the rotation in force.
    void _computeFits(int x, int y);
};

extern std::shared_ptr<TBlocksManager> blocks;

// A play world for the spell tests: the board with a small rune catalogue
// (four colours, their stones and the special stone 13), the hooks into the
// spells installed, and helpers to lay out a board and run the effects.
#pragma once
#include <string>
#include <vector>

#include "board/board_rules.h"
#include "board/play_test_util.h"
#include "level/level_links.h"
#include "platform/rng.h"
#include <cmath>
#include <functional>

#include "platform/graphics.h"
#include "platform/time.h"
#include "platform/testing.h"
#include "platform/text.h"
#include "spells/ring_emitter.h"
#include "spells/spell_actions.h"
#include "spells/spells.h"
#include "spells/volcano.h"

// Runes 1..4 of colours 1..4, each with a fixed tint; the stones 11 and 12
// of runes 1 and 2; the special stone 13 (colour 9), which heals into the
// stone form of one of the level's runes.
inline const char* kSpellRunes = R"(
List{
  Quantity=7
  Rune1{ fileName='gfx/r1.png' fileName2='gfx/r1-40.png' id='1' color='1' width=32 height=32 blocked=0 title='' description='' blockedID='11' rgb='200,200:40,40:40,40' }
  Rune2{ fileName='gfx/r2.png' fileName2='gfx/r2-40.png' id='2' color='2' width=32 height=32 blocked=0 title='' description='' blockedID='12' rgb='40,40:200,200:40,40' }
  Rune3{ fileName='gfx/r3.png' fileName2='gfx/r3-40.png' id='3' color='3' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='40,40:40,40:200,200' }
  Rune4{ fileName='gfx/r4.png' fileName2='gfx/r4-40.png' id='4' color='4' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='200,200:200,200:40,40' }
  Rune5{ fileName='gfx/s1.png' fileName2='gfx/s1-40.png' id='11' color='1' width=32 height=32 blocked=1 title='' description='' blockedID='' unblocked='1' rgb='0,0:0,0:0,0' }
  Rune6{ fileName='gfx/s2.png' fileName2='gfx/s2-40.png' id='12' color='2' width=32 height=32 blocked=1 title='' description='' blockedID='' unblocked='2' rgb='0,0:0,0:0,0' }
  Rune7{ fileName='gfx/s3.png' fileName2='gfx/s3-40.png' id='13' color='9' width=32 height=32 blocked=1 title='' description='' blockedID='' unblocked='' rgb='0,0:0,0:0,0' }
}
)";

class SpellTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        for (const char* name : {"r1", "r2", "r3", "r4", "s1", "s2", "s3"}) {
            WritePicture(std::string("gfx/") + name + ".png", 32, 32);
            WritePicture(std::string("gfx/") + name + "-40.png", 40, 40);
        }
        razod->loadFrom(TscFromText(kSpellRunes));
        ASSERT_EQ(razod->runeList.size(), 7u);
        InstallSpellLinks();
        blocks->availableRazod = {"1", "2", "3", "4"};
        board->cellSize = 32;
        board->originX = 240;
        board->originY = 60;
        plat::SeedRnd(12345);
    }

    void TearDown() override {
        playLinks = TPlayLinks{};
        sphereLinks = TSphereLinks{};
        levelLinks = TLevelLinks{};
        PlayTest::TearDown();
    }

public:
    // Lays the board out from rows of space-separated tokens, row 0 first:
    // "#" a cell off the board, "." an empty board cell, a number a rune
    // there. Cells past the given rows and tokens are off the board.
    static void SetBoard(const std::vector<std::string>& rows) {
        for (auto* layer : {&board->shapeLayer, &board->runeLayer, &board->colorLayer, &board->highlightLayer,
                            &board->placeTimeLayer})
            for (auto& column : *layer) column.fill(0);
        for (size_t y = 0; y < rows.size(); ++y) {
            size_t x = 0, pos = 0;
            const std::string& row = rows[y];
            while (pos < row.size() && x < kBoardCells) {
                while (pos < row.size() && row[pos] == ' ') ++pos;
                if (pos >= row.size()) break;
                const size_t end = row.find(' ', pos);
                const std::string token = row.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
                pos = end == std::string::npos ? row.size() : end;
                if (token != "#") {
                    board->shapeLayer[x][y] = 1;
                    if (token != ".") PutRune(static_cast<int>(x), static_cast<int>(y), plat::ToInt(token));
                }
                ++x;
            }
        }
    }
    // A full 15 x 15 board of empty cells.
    static void OpenBoard() {
        SetBoard(std::vector<std::string>(15, ". . . . . . . . . . . . . . ."));
    }
    static void PutRune(int x, int y, int id) {
        board->runeLayer[x][y] = id;
        board->colorLayer[x][y] = razod->getRuneColor(std::to_string(id));
    }
    static int RuneCount() {
        int n = 0;
        for (const auto& column : board->runeLayer)
            for (int v : column) n += v != 0;
        return n;
    }
    // Updates every effect until none is left (or the limit, for a test that
    // must not hang); the number of updates made.
    static int RunEffects(int limit = 2000) {
        int n = 0;
        while (!volcanoList->IsEmpty() && n < limit) {
            TVolcanoEmiter::updateAll();
            ++n;
        }
        return n;
    }
    // Emitters of one kind in volcanoList, in order.
    template <class E>
    static std::vector<std::shared_ptr<E>> Emitters() {
        std::vector<std::shared_ptr<E>> out;
        for (const TVolcanoEmiterPtr& e : *volcanoList)
            if (auto k = std::dynamic_pointer_cast<E>(e)) out.push_back(k);
        return out;
    }
    static void UseSpheres(std::vector<int> colours, float capacity = 100.0f) {
        for (size_t i = 0; i < colours.size() && i < 5; ++i) {
            magicSphere->sphereColor[i] = colours[i];
            magicSphere->sphereCapacity[i] = capacity;
        }
    }
};

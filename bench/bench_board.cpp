// The board's work in one play frame on a full 15 x 15 board: the update with
// the match preview, the match scan of a placing click and the game-over
// search over 4 rotations x 225 anchors; and the game-over search alone when
// the held block fits nowhere (every one of the 14,400 cell tests runs).
#include <benchmark/benchmark.h>

#include "board/board.h"
#include "board/board_rules.h"
#include "pieces/blocks.h"
#include "tests/support/play_world.h"

namespace {

// Every cell a board cell holding a rune, no run of three anywhere; the gap
// cells stay free.
void SetUpBoard(std::initializer_list<std::pair<int, int>> gaps) {
    quill_test::MakePlayWorld();
    playLinks = TPlayLinks{};
    board->clearBoard();
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            board->runeLayer[x][y] = 1 + (x + 2 * y) % 4;
            board->colorLayer[x][y] = board->runeLayer[x][y];
        }
    for (auto [x, y] : gaps) board->runeLayer[x][y] = board->colorLayer[x][y] = 0;
    // An upright domino of colour 1.
    auto b = std::make_shared<TBlock>();
    b->cells[0][0] = b->cells[0][1] = 1;
    b->colors[0][0] = b->colors[0][1] = 1;
    blocks->heldBlock = b;
}

void BM_BoardFrame(benchmark::State& state) {
    // The gap lies along the last row, so the domino fits only turned a
    // quarter at the last anchors; the pointer stands over cell (14, 14),
    // where it would complete a row run.
    SetUpBoard({{13, 14}, {14, 14}});
    blocks->curRotation = blocks->targetRotation = 1;
    board->originX = board->originY = -(14 * 32 + 5);
    for (auto _ : state) {
        blocks->blockChanged = 1;
        board->Update(0);
        benchmark::DoNotOptimize(board->clearMatchingRazod(0));
        board->checkGameOver();
        benchmark::DoNotOptimize(board->gameOverFlag);
    }
    // What the preview marks (the clear above empties it again).
    blocks->blockChanged = 1;
    board->Update(0);
    state.counters["previewCells"] = [] {
        int n = 0;
        for (const auto& c : board->highlightLayer)
            for (int v : c) n += v != 0;
        return n;
    }();
    quill_test::DropPlayWorld();
}
BENCHMARK(BM_BoardFrame);

void BM_GameOverSearch(benchmark::State& state) {
    SetUpBoard({{7, 7}});
    for (auto _ : state) {
        board->checkGameOver();
        benchmark::DoNotOptimize(board->gameOverFlag);
    }
    state.counters["gameOver"] = board->gameOverFlag;
    quill_test::DropPlayWorld();
}
BENCHMARK(BM_GameOverSearch);

}  // namespace

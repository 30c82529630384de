// Building the frame around the board's outline. Outlines are free, so the
// frame is worked out from the shape: every cell around the board gets a
// border code (which sides touch the board), straight runs become pieces of
// three, two and one cells, and the cells diagonal to a corner get corner
// tiles. Each piece draws its art variant at random, in list order.
#include "board/board.h"
#include "platform/rng.h"

namespace {

// The shape with a one-cell margin of non-board all round, so every board
// cell has four neighbours; grid (gx, gy) is board cell (gx - 1, gy - 1).
constexpr int kGrid = kBoardCells + 2;
using TFrameGrid = std::array<std::array<int32_t, kGrid>, kGrid>;

// Side bits of a cell outside the board: which of its neighbours are board.
enum : int32_t { BoardBelow = 1, BoardAbove = 2, BoardRight = 4, BoardLeft = 8 };
// Corner codes: the cell diagonal to a convex corner, or inside a concave one.
enum : int32_t { CodeRightLower = 5, CodeRightUpper = 6, CodeLeftLower = 9, CodeLeftUpper = 10 };

void SideBits(const TFrameGrid& padded, TFrameGrid& code) {
    for (int gx = 0; gx < kGrid; ++gx)
        for (int gy = 0; gy < kGrid; ++gy) {
            if (padded[gx][gy] <= 0) continue;
            // Only cells of value exactly 0 take a bit: a negative value is
            // neither board nor frame.
            if (padded[gx - 1][gy] == 0) code[gx - 1][gy] += BoardRight;
            if (padded[gx + 1][gy] == 0) code[gx + 1][gy] += BoardLeft;
            if (padded[gx][gy - 1] == 0) code[gx][gy - 1] += BoardBelow;
            if (padded[gx][gy + 1] == 0) code[gx][gy + 1] += BoardAbove;
        }
}

// The cells diagonal to a convex corner of the board.
void OuterCorners(TFrameGrid& code) {
    const int last = kGrid - 1;
    for (int gx = 0; gx < kGrid; ++gx)
        for (int gy = 0; gy < kGrid; ++gy) {
            if (code[gx][gy] != 0) continue;
            if (gx < last && gy < last && code[gx + 1][gy] == 1 && code[gx][gy + 1] == 4) code[gx][gy] = CodeLeftUpper;
            else if (gx < last && gy > 0 && code[gx + 1][gy] == 2 && code[gx][gy - 1] == 4) code[gx][gy] = CodeLeftLower;
            else if (gx > 0 && gy < last && code[gx - 1][gy] == 1 && code[gx][gy + 1] == 8) code[gx][gy] = CodeRightUpper;
            else if (gx > 0 && gy > 0 && code[gx - 1][gy] == 2 && code[gx][gy - 1] == 8) code[gx][gy] = CodeRightLower;
        }
}

bool AnyPair(int h, int v, std::initializer_list<std::pair<int, int>> pairs) {
    for (const auto& p : pairs)
        if (p.first == h && p.second == v) return true;
    return false;
}

// Joins corner cells that meet diagonally (staircase edges, concave corners).
// Works in place: a code set here counts at once for the cells after it.
void JoiningCorners(TFrameGrid& code) {
    const int last = kGrid - 1;
    for (int gx = 0; gx < kGrid; ++gx)
        for (int gy = 0; gy < kGrid; ++gy) {
            if (code[gx][gy] != 0) continue;
            if (gx < last && gy < last && AnyPair(code[gx + 1][gy], code[gx][gy + 1], {{1, 5}, {5, 5}, {5, 4}}))
                code[gx][gy] = CodeLeftUpper;
            else if (gx > 0 && gy < last && AnyPair(code[gx - 1][gy], code[gx][gy + 1], {{1, 9}, {9, 9}, {9, 8}}))
                code[gx][gy] = CodeRightUpper;
            else if (gx < last && gy > 0 && AnyPair(code[gx + 1][gy], code[gx][gy - 1], {{2, 6}, {6, 6}, {6, 4}}))
                code[gx][gy] = CodeLeftLower;
            else if (gx > 0 && gy > 0 && AnyPair(code[gx - 1][gy], code[gx][gy - 1], {{2, 10}, {10, 10}, {10, 8}}))
                code[gx][gy] = CodeRightLower;
        }
}

// One open run of a side code along a column or a row.
struct Run {
    int start = -1;
    // Feeds the code at position pos; calls close(start) when a run ends.
    template <class Close>
    void Step(bool inRun, int pos, Close&& close) {
        if (inRun && start < 0) start = pos;
        else if (!inRun && start >= 0) {
            close(start);
            start = -1;
        }
    }
};

}  // namespace

int TBoardManager::buildFrame() {
    frameElements.clear();
    TFrameGrid padded{}, code{};
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) padded[x + 1][y + 1] = shapeLayer[x][y];
    SideBits(padded, code);
    OuterCorners(code);
    JoiningCorners(code);

    // Left and right pieces and the corners, column by column.
    for (int gx = 0; gx < kGrid; ++gx) {
        Run left, right;
        for (int gy = 0; gy < kGrid; ++gy) {
            const int c = code[gx][gy];
            left.Step(c == BoardRight, gy, [&](int start) { _buildSide(TFrameElement::Left, gx, gy, start); });
            right.Step(c == BoardLeft, gy, [&](int start) { _buildSide(TFrameElement::Right, gx, gy, start); });
            switch (c) {
                case CodeRightLower: _buildCorner(TFrameElement::RightLowerCorner, 3, gx, gy); break;
                case CodeRightUpper: _buildCorner(TFrameElement::RightUpperCorner, 1, gx, gy); break;
                case CodeLeftLower: _buildCorner(TFrameElement::LeftLowerCorner, 2, gx, gy); break;
                case CodeLeftUpper: _buildCorner(TFrameElement::LeftUpperCorner, 0, gx, gy); break;
                default: break;
            }
        }
    }
    // Top and bottom pieces, row by row.
    for (int gy = 0; gy < kGrid; ++gy) {
        Run top, bottom;
        for (int gx = 0; gx < kGrid; ++gx) {
            const int c = code[gx][gy];
            top.Step(c == BoardBelow, gx, [&](int start) { _buildSide2(TFrameElement::Top, gx, gy, start); });
            bottom.Step(c == BoardAbove, gx, [&](int start) { _buildSide2(TFrameElement::Bottom, gx, gy, start); });
        }
    }
    return 0;
}

namespace {

// Cuts a run of cells into pieces of 3, then 2, then 1, from its start;
// place(element, position) sets the piece's cell.
template <class Place>
void CutRun(std::vector<TFrameElement>& out, int kind, int start, int end, Place&& place) {
    int remaining = end - start;
    int position = start;
    for (int length = 3; length >= 1; --length)
        while (remaining >= length) {
            TFrameElement e;
            e.kind = kind;
            e.size = length;
            e.id = length == 3 ? plat::Rand(0, 2) : plat::Rand(0, 1);
            place(e, position);
            out.push_back(e);
            position += length;
            remaining -= length;
        }
}

}  // namespace

int TBoardManager::_buildSide(int kind, int gx, int endRow, int startRow) {
    CutRun(frameElements, kind, startRow, endRow, [gx](TFrameElement& e, int pos) {
        e.x = gx - 1;
        e.y = pos - 1;
    });
    return 0;
}

int TBoardManager::_buildSide2(int kind, int endColumn, int gy, int startColumn) {
    CutRun(frameElements, kind, startColumn, endColumn, [gy](TFrameElement& e, int pos) {
        e.x = pos - 1;
        e.y = gy - 1;
    });
    return 0;
}

int TBoardManager::_buildCorner(int kind, int corner, int gx, int gy) {
    TFrameElement e;
    e.kind = kind;
    e.size = corner;
    e.id = plat::Rand(0, 2);
    e.x = gx - 1;
    e.y = gy - 1;
    frameElements.push_back(e);
    return 0;
}

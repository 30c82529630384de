// Reading a level file's groups "Board", "Razod" and "Frame" into the board.
#include <algorithm>

#include "board/board.h"
#include "core/helpers.h"
#include "pieces/rune.h"
#include "platform/app.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"

namespace {

// The frame keys are read for form's sake (the frame is rebuilt from the
// outline), so a missing one prints the store's diagnostic and reads 0
// instead of aborting the level's load.
int FrameNumber(const TTSCFilePtr& file, const std::string& group, const std::string& key) {
    try {
        return plat::TruncToInt(GetTSCNumberKey(file, group, key, 0));
    } catch (const TSCError& e) {
        plat::Print(e.what());
        return 0;
    }
}

struct FrameKind {
    int kind;
    const char* countKey;
    const char* name;
};
constexpr FrameKind kFrameKinds[] = {
    {TFrameElement::Left, "LQ", "Left"},
    {TFrameElement::Right, "RQ", "Right"},
    {TFrameElement::Top, "TQ", "Top"},
    {TFrameElement::Bottom, "BQ", "Bottom"},
    {TFrameElement::LeftUpperCorner, "LUCQ", "LeftUpperCorner"},
    {TFrameElement::RightUpperCorner, "RUCQ", "RightUpperCorner"},
    {TFrameElement::LeftLowerCorner, "LLCQ", "LeftLowerCorner"},
    {TFrameElement::RightLowerCorner, "RLCQ", "RightLowerCorner"},
};

// The numbers of one "Line" text, at most one per column: the layers have no
// room for more.
std::vector<int> LineTokens(const std::string& text) {
    std::vector<std::string> tokens = splitString(text, " ");
    if (tokens.size() > static_cast<size_t>(kBoardCells)) tokens.resize(kBoardCells);
    std::vector<int> values;
    values.reserve(tokens.size());
    for (const std::string& t : tokens) values.push_back(plat::ToInt(t));
    return values;
}

}  // namespace

int TBoardManager::setLine(int row, const std::string& text) {
    if (row < 0 || row >= kBoardCells) return 0;
    const std::vector<int> values = LineTokens(text);
    for (size_t i = 0; i < values.size(); ++i) shapeLayer[i][row] = values[i];
    return 0;
}

int TBoardManager::loadBoard(const TTSCFilePtr& levelFile) {
    clearBoard();
    for (int n = 1; n <= kBoardCells; ++n) setLine(n - 1, GetTSCStringKey(levelFile, "Board", "Line" + std::to_string(n), 0));
    return 0;
}

bool TBoardManager::HasCells() const {
    for (const auto& column : shapeLayer)
        for (int v : column)
            if (v != 0) return true;
    return false;
}

int TBoardManager::loadRazod(const TTSCFilePtr& levelFile) {
    // One time stamp for every starting rune, taken before anything is read.
    const int t = plat::MilliSecs();
    if (GetTSCStringKey(levelFile, "Razod", "Read", 0) != "1") return 0;
    for (int n = 1; n <= kBoardCells; ++n) {
        const std::vector<int> ids = LineTokens(GetTSCStringKey(levelFile, "Razod", "Line" + std::to_string(n), 0));
        for (size_t j = 0; j < ids.size(); ++j) {
            runeLayer[j][n - 1] = ids[j];
            colorLayer[j][n - 1] = RuneColour(ids[j]);
            placeTimeLayer[j][n - 1] = t;
        }
    }
    return 0;
}

int TBoardManager::loadFrame(const TTSCFilePtr& levelFile) {
    frameElements.clear();
    for (const FrameKind& k : kFrameKinds) _loadFrameSide(levelFile, k.kind, k.countKey, k.name);
    return 0;
}

int TBoardManager::_loadFrameSide(const TTSCFilePtr& levelFile, int kind, const std::string& countKey,
                                  const std::string& name) {
    int count = FrameNumber(levelFile, "Frame", countKey);
    // The frame ring around a 15 x 15 grid has room for far fewer pieces; a
    // damaged count must not spin through millions of missing keys.
    constexpr int kMaxPieces = (kBoardCells + 2) * (kBoardCells + 2);
    if (count > kMaxPieces) {
        plat::Print("Frame::" + countKey + " = " + std::to_string(count) + " is more than a frame can hold; read as " +
                    std::to_string(kMaxPieces));
        count = kMaxPieces;
    }
    const std::string group = "Frame::" + name;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        TFrameElement e;
        e.x = FrameNumber(levelFile, group, "x" + n);
        e.y = FrameNumber(levelFile, group, "y" + n);
        e.size = FrameNumber(levelFile, group, "size" + n);
        e.id = FrameNumber(levelFile, group, "id" + n);
        if (kind >= TFrameElement::LeftUpperCorner) e.id = plat::Rand(0, 2);
        e.kind = kind;
        frameElements.push_back(e);
    }
    return 0;
}

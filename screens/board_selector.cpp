// The level selector: its three lists, the stepping, and the miniature's
// load and cross-fade.
#include "screens/board_selector.h"

#include <algorithm>

#include "board/board.h"
#include "config/bca.h"
#include "config/tsc_file.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/stream.h"
#include "profiles/profile_manager.h"

TBoardSelectorPtr boardSelector;

namespace {

constexpr const char* kQuestListKey = "revealedLevels";

// A board that cannot be read shows nothing at all: no cells, no runes, no
// frame, no picture. Reading an empty configuration instead would leave the
// board's default outline (every cell a board cell) and show a board that
// does not exist.
void EmptyMiniature(TBoardManager& b) {
    b.clearBoard();
    for (auto& column : b.shapeLayer) column.fill(0);
    b.frameElements.clear();
    b.boardImage = nullptr;
}

}  // namespace

int TBoardSelector::LoadList(int mode) {
    levelNames.clear();
    listMode = mode;
    if (mode == 0) {
        levelNames = profile->GetList(kQuestListKey);
    } else {
        // A list file that cannot be read has been reported by the reader;
        // it then has no groups and the list stays empty.
        const TTSCFilePtr file = CreateTSCFile();
        LoadTSCFileBB(file, kSettingsArchive, mode == 1 ? "timedLevels.tsc" : "endlessLevels.tsc");
        const auto groups = GetTSCGroupList(file, "");
        for (const TTSCGroupPtr& group : *groups)
            levelNames.push_back(GetTSCStringKey(file, group->name, "FileName", 0));
    }
    selectedIndex = 0;
    return 0;
}

int TBoardSelector::AddLevel(const std::string& name) {
    // Without a player there is no list to add to; saying "added" would be a lie.
    if (!profile->current) return 0;
    std::vector<std::string> list = profile->GetList(kQuestListKey);
    if (std::find(list.begin(), list.end(), name) != list.end()) return 0;
    // The profile keeps at most a key's hundred values: a name past them
    // would be dropped by the store while we said "added".
    if (list.size() >= static_cast<size_t>(TTSCKey::kMaxValues)) {
        plat::Print("The quest list already holds " + std::to_string(list.size()) + " levels; " + name +
                    " was not added");
        return -1;
    }
    list.push_back(name);
    profile->SetList(kQuestListKey, list, 1);
    return 1;
}

int TBoardSelector::LoadMiniBoard() {
    if (levelNames.empty()) return 0;
    selectedIndex = std::clamp(selectedIndex, 0, static_cast<int>(levelNames.size()) - 1);
    // The quest list comes from the player's profile, so its names are not
    // ours to trust: a name the archive lacks (reported by the reader) or an
    // archive cut short gives an empty miniature, never a stop.
    const TTSCFilePtr file = CreateTSCFile();
    int loaded = 0;
    try {
        loaded = LoadTSCFileBB(file, kLevelsArchive, levelNames[static_cast<size_t>(selectedIndex)]);
    } catch (const plat::StreamReadError&) {
        loaded = 0;
    }
    if (loaded != 0) {
        board->loadBoard(file);
        board->loadRazod(file);
        board->loadFrame(file);
        board->buildFrame();
        board->createSmallBoardImage();
    } else {
        EmptyMiniature(*board);
    }
    resetParams();
    // Measured at the miniature's cell size, after resetParams.
    board->originX = kMiniCentreX - board->GetMiddleX();
    board->originY = kMiniCentreY - board->GetMiddleY();
    return 0;
}

int TBoardSelector::resetParams() {
    board->cellSize = kMiniCell;
    board->scale = kMiniScale;
    board->alpha = 1.0f;
    boardAlpha = 0.0f;
    return 0;
}

int TBoardSelector::DrawMiniBoard() {
    plat::SetColor(255, 255, 255);
    board->alpha = boardAlpha;
    board->DrawSmall();
    if (selectionChanged != 0) {
        boardAlpha -= kFadeStep;
        if (boardAlpha >= 0.0f) return 0;
        // Faded out: the entry selected now is the one shown, however many
        // steps were taken during the fade.
        selectionChanged = 0;
        LoadMiniBoard();
        boardAlpha = 0.0f;
    } else if (boardAlpha < 1.0f) {
        // No clamp: the drawing layer clamps the alpha.
        boardAlpha += kFadeStep;
    }
    return 0;
}

int TBoardSelector::Step(int by) {
    const int count = static_cast<int>(levelNames.size());
    selectedIndex += by;
    if (selectedIndex > count - 1) selectedIndex -= count;
    if (selectedIndex < 0) selectedIndex += count;
    selectionChanged = 1;
    return 0;
}

int TBoardSelector::nextLevel() { return levelNames.empty() ? 0 : Step(1); }
int TBoardSelector::PrevLevel() { return levelNames.empty() ? 0 : Step(-1); }
int TBoardSelector::NextLevel5() { return levelNames.size() < 6 ? 0 : Step(5); }
int TBoardSelector::PrevLevel5() { return levelNames.size() < 6 ? 0 : Step(-5); }

std::string TBoardSelector::SelectedLevelName() {
    if (levelNames.empty()) return "";
    return levelNames[static_cast<size_t>(std::clamp(selectedIndex, 0, static_cast<int>(levelNames.size()) - 1))];
}

// The puzzle's level file, the grid's fill from a picture, and the shared
// resources.
#include "puzzle/puzzle_manager.h"

#include <algorithm>
#include <vector>

#include "config/bca.h"
#include "config/fload.h"
#include "config/tsc_file.h"
#include "platform/app.h"
#include "platform/pixmap.h"
#include "platform/stream.h"
#include "platform/text.h"

TPuzzleManagerPtr puzzle;

// ---- level file ---------------------------------------------------------------------------------

int TPuzzleManager::Load(const std::string& fileName) {
    // A level never shows the intro popups of one loaded before it.
    introPopups.clear();
    TTSCFilePtr file = CreateTSCFile();
    int loaded = 0;
    try {
        loaded = LoadTSCFileBB(file, kArchive, fileName);
    } catch (const plat::StreamReadError& e) {
        plat::Print("Puzzle level " + fileName + ": the archive is cut short (" + e.what() + ")");
    }
    image = GetTSCStringKey(file, "Settings", "Image", 0);
    music = GetTSCStringKey(file, "Settings", "Music", 0);

    // A number the file lacks is reported once and a safe value used: a
    // puzzle is never worth ending the game over.
    std::vector<std::string> missing;
    auto number = [&](const char* key, int fallback) {
        try {
            return plat::TruncToInt(GetTSCNumberKey(file, "Settings", key, 0));
        } catch (const TSCError&) {
            missing.push_back(key);
            return fallback;
        }
    };
    width = number("width", 6);
    height = number("height", 5);
    hintA = number("hintA", 0);
    hintB = number("hintB", 1);
    if (!missing.empty()) {
        std::string keys;
        for (const std::string& k : missing) keys += (keys.empty() ? "" : ", ") + k;
        const std::string text = "The puzzle level " + fileName + " lacks " + keys + "; defaults are used";
        // A file that did not load at all has had its message box already.
        if (loaded != 0) plat::Notify(text);
        else plat::Print(text);
    }
    const int columns = width, rows = height;
    if (!ClampPuzzleSize(width, height))
        plat::Print("Puzzle level " + fileName + ": " + std::to_string(columns) + " x " + std::to_string(rows) +
                    " pieces is outside 1 to 10 a side with two pieces at least; played as " +
                    std::to_string(width) + " x " + std::to_string(height));
    const int pieces = width * height;
    if (hintA < 0 || hintA >= pieces || hintB < 0 || hintB >= pieces)
        plat::Print("Puzzle level " + fileName + ": the start hint's pieces " + std::to_string(hintA) + " and " +
                    std::to_string(hintB) + " are not among its " + std::to_string(pieces) + "; no start hint");

    if (fileName == kFirstLevel) {
        TTSCFilePtr popups = CreateTSCFile();
        try {
            LoadTSCFileBB(popups, TPopup::kArchive, kPopupMember);
        } catch (const plat::StreamReadError& e) {
            plat::Print(std::string("Puzzle popups ") + kPopupMember + ": the archive is cut short (" + e.what() + ")");
        }
        if (auto groups = GetTSCGroupList(popups, "")) {
            for (const TTSCGroupPtr& group : *groups) {
                float levelNumber = 0;
                try {
                    levelNumber = GetTSCNumberKey(popups, group->KeyPath(), "Level", 0);
                } catch (const TSCError& e) {
                    plat::Print("Popup " + group->KeyPath() + ": " + e.Text() + "; popup skipped");
                    continue;
                }
                if (levelNumber != 1.0f) continue;
                if (TPopupPtr p = TPopup::Create(popups, group)) introPopups.push_back(p);
            }
        }
    }
    return 0;
}

// ---- the grid's fill ------------------------------------------------------------------------------

namespace {

// Stands in for a picture that does not load: soft bands of colour, so the
// pieces can still be told apart and the puzzle played.
plat::PixmapPtr PlainPicture(int w, int h) {
    plat::PixmapPtr p = plat::CreatePixmap(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t r = static_cast<uint32_t>(60 + 120 * x / std::max(1, w - 1));
            const uint32_t g = static_cast<uint32_t>(50 + 90 * y / std::max(1, h - 1));
            const uint32_t b = static_cast<uint32_t>(150 - 60 * x / std::max(1, w - 1));
            plat::WritePixel(p, x, y, 0xFF000000u | r << 16 | g << 8 | b);
        }
    return p;
}

}  // namespace

int TPuzzleManager::Create(const std::string& imagePath, int columns, int rows) {
    const std::string path = imagePath.empty() ? std::string(kDefaultPicture) : imagePath;
    ClampPuzzleSize(columns, rows);
    TPuzzleGrid& g = *grid;
    g.pieces.clear();
    g.area = CreateDim(kAreaX, kAreaY, kAreaWidth, kAreaHeight, 0, 1, 1, 0);
    g.pieceCount = columns * rows;
    g.columns = columns;
    g.rows = rows;
    const int pw = kAreaWidth / columns;
    const int ph = kAreaHeight / rows;
    g.pieceWidth = static_cast<float>(pw);
    g.pieceHeight = static_cast<float>(ph);

    plat::PixmapPtr pix = FLoadPixmap(path);
    if (!pix || plat::PixmapWidth(pix) <= 0 || plat::PixmapHeight(pix) <= 0) pix = PlainPicture(kAreaWidth, kAreaHeight);
    if (plat::PixmapWidth(pix) != kAreaWidth || plat::PixmapHeight(pix) != kAreaHeight)
        pix = plat::ResizePixmap(pix, kAreaWidth, kAreaHeight);
    g.picture = plat::LoadAnimImage(pix, pw, ph, 0, g.pieceCount, -1);
    if (!g.picture) g.picture = plat::LoadAnimImage(PlainPicture(kAreaWidth, kAreaHeight), pw, ph, 0, g.pieceCount, -1);

    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            g.pieces.push_back(CreatePuzzleButton(g.picture, static_cast<int>(g.pieces.size()), g.area->Left(),
                                                  g.area->Top(), c, r, c + r * columns, columns, rows));
    return 0;
}

void TPuzzleManager::RestorePiece(int k, int slot) {
    if (k < 0 || k >= static_cast<int>(grid->pieces.size())) return;
    TPuzzleButton& p = *grid->pieces[static_cast<size_t>(k)];
    p.slot = slot;
    p.targetSlot = slot;
    p.SetPosition();
    ++restoredPieces;
}

// ---- shared resources ------------------------------------------------------------------------------

int TPuzzleManager::loadGfx() {
    grid->loadGfx();
    hintHover = plat::LoadImage("gfx/puzzle/b-hint.png", -1);
    menuHover = plat::LoadImage("gfx/puzzle/b-menu.png", -1);
    completeImage = plat::LoadImage("gfx/gui/stage3.png", -1);
    if (completeImage) plat::SetImageHandle(completeImage, 183, 73);
    countSound = plat::LoadSound("sfx/fx4/playgamepuzzle-podlicz-out.ogg", 0);
    return 0;
}

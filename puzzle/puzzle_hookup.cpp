#include "puzzle/puzzle_hookup.h"

#include "level/level_links.h"
#include "profiles/profile_links.h"
#include "puzzle/puzzle_manager.h"
#include "screens/screens_links.h"

void InstallPuzzleLinks() {
    levelLinks.loadPuzzle = [](const std::string& fileName) { puzzle->Load(fileName); };
    screensLinks.loadPuzzleGfx = [] { puzzle->loadGfx(); };
    screensLinks.playFreePuzzle = [](int columns, int rows, const std::string& music, const std::string& imageName) {
        puzzle->width = columns;
        puzzle->height = rows;
        puzzle->music = music;
        return puzzle->show(0, imageName, 1);
    };
    profileLinks.puzzleState = [] {
        TPuzzleSnapshot s;
        for (const TPuzzleButtonPtr& p : puzzle->grid->pieces) s.slots.push_back(p->slot);
        s.startTime = puzzle->startTime;
        s.clicks = puzzle->clicks;
        return s;
    };
    profileLinks.puzzlePieceCount = [] { return static_cast<int>(puzzle->grid->pieces.size()); };
    profileLinks.placePuzzlePiece = [](int k, int slot) { puzzle->RestorePiece(k, slot); };
    profileLinks.setPuzzleClock = [](int startTime, int clicks) {
        puzzle->startTime = startTime;
        puzzle->clicks = clicks;
    };
}

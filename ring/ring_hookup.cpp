#include "ring/ring_hookup.h"

#include "level/level_links.h"
#include "modes/mode_links.h"
#include "ring/ring_game.h"
#include "screens/screens_links.h"

void InstallRingLinks() {
    levelLinks.loadRingGame = [](const std::string& fileName) {
        if (ringGame) ringGame->Load(fileName);
    };
    screensLinks.loadRingGameGfx = [] {
        if (ringGame) ringGame->loadGfx();
    };
    modeLinks.copyRingSpells = [] {
        if (ringGame) ringGame->CopySpells();
    };
}

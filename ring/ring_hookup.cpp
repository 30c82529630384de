#include "ring/ring_hookup.h"

#include "level/level_links.h"
#include "modes/mode_links.h"
#include "ring/ring_game.h"
#include "screens/screens_links.h"

void InstallRingLinks() {
    levelLinks.loadRingGame = [](const std::string& fileName) { ringGame->Load(fileName); };
    screensLinks.loadRingGameGfx = [] { ringGame->loadGfx(); };
    modeLinks.copyRingSpells = [] { ringGame->CopySpells(); };
}

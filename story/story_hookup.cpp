#include "story/story_hookup.h"

#include "modes/mode_links.h"
#include "story/tutorial.h"

void InstallStoryLinks() {
    modeLinks.showTutorial = [](int fromMenu) { return tutorial ? tutorial->show(fromMenu) : 0; };
    modeLinks.showBossTutorial = [](int fromMenu) { return tutorial ? tutorial->show2(fromMenu) : 0; };
}

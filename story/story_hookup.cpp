#include "story/story_hookup.h"

#include "modes/mode_links.h"
#include "story/tutorial.h"

void InstallStoryLinks() {
    modeLinks.showTutorial = [](int fromMenu) { return tutorial->show(fromMenu); };
    modeLinks.showBossTutorial = [](int fromMenu) { return tutorial->show2(fromMenu); };
}

// Start-up hook-up of the help pages with the pause menu.
#pragma once

// Fills modeLinks.showTutorial and showBossTutorial. The global `tutorial`
// is read when a link is used: with none made yet no page shows (0).
void InstallStoryLinks();

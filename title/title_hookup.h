// Start-up hook-up of the title screen with the subsystems below it: the
// menu window and level selector the title loop drives, the gallery, the
// profile store and profile screen, the loading screen (the title's pictures
// and song), the profile screen (the title's picture and song) and the play
// loops (the hiscore table, the title song they stop, and the games the
// title starts).
#pragma once

// Fills titleLinks from optionsWindow, boardSelector, gallery, profile,
// profileLoader, goTimeAtack and goEndless, and the title's entries of
// screensLinks, profileLinks and modeLinks from titleScreen and hiscore
// (each read when used, so the order of start-up does not matter).
void InstallTitleLinks();

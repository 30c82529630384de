// Start-up hook-up of the menu window, the loading screen, the level
// selector, the revealed-pictures record and the gallery with the subsystems
// that reach them through link tables: page 6 (screensLinks), the level
// loader (levelLinks), the quest's save and load and the profile screen
// (profileLinks), and the play loops and the pause menu (modeLinks); and the
// loading screen's loads of the subsystems below it (the profile screen, the
// spells, the popups). The globals are read when a link is used, so the
// order of start-up does not matter.
#pragma once

void InstallScreensLinks();

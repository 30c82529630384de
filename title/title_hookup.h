// Start-up hook-up of the title screen with the screens built beside it:
// the menu window the title loop drives, the loading screen (the title's
// pictures and song), and the play loops (the hiscore table, the title song
// they stop, and the games the title starts).
#pragma once

// Fills titleLinks' menu-window and game entries from optionsWindow,
// goTimeAtack and goEndless, and the title's entries of screensLinks and
// modeLinks from titleScreen and hiscore (each read when used, so the order
// of start-up does not matter).
void InstallTitleHookups();

// Start-up hook-up of the profiles with the screens built beside them: the
// title screen (profile count, name and numbers, the profile screen), the
// loading screen (the profile screen's resources), the play loops (profile
// keys and the saved games under their prefixes), and the title's and menu
// window's pictures and song that the profile screen draws and updates.
#pragma once

// Calls InstallProfileLinks, then fills titleLinks, screensLinks and
// modeLinks, and profileLinks' pictures and song from titleScreen and
// optionsWindow (read when used, so the order of start-up does not matter).
void InstallProfileHookups();

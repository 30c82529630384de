// Start-up hook-up of the profiles with the subsystems below them that reach
// the profile store through link tables: the options file (profile count,
// selection and current name) and the play loops (profile keys and the saved
// games under their prefixes). The title screen, the menu window and the
// loading screen sit above the profiles and fill their own entries.
#pragma once

// Fills optionsLinks' profile entries and modeLinks' profile and saved-game
// entries. The global `profile` is read when a link is used, so the order of
// start-up does not matter; with no store made yet reads give 0 or "".
void InstallProfileLinks();

// Start-up hook-up of the picture puzzle with the subsystems that reach it
// through their link tables: the quest sequence (a puzzle level's file), the
// loading screen (its pictures and sound), the gallery (the free puzzle) and
// the profile's save (the pieces' slots and the clock).
#pragma once

// Fills levelLinks.loadPuzzle, screensLinks.loadPuzzleGfx and playFreePuzzle,
// and profileLinks' puzzle entries. The global `puzzle` is read when a link
// is used, so the order of start-up does not matter; with no puzzle made
// yet each step does nothing.
void InstallPuzzleLinks();

// Start-up hook-up of the ring game with the subsystems that reach it
// through their link tables: the quest sequence (a ring level's file), the
// loading screen (its pictures and sounds) and the quest board loop (the
// spells of the last ring game).
#pragma once

// Fills levelLinks.loadRingGame, screensLinks.loadRingGameGfx and
// modeLinks.copyRingSpells. The global `ringGame` is read when a link is
// used, so the order of start-up does not matter; with no ring game made yet
// each step does nothing.
void InstallRingLinks();

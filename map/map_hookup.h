// Start-up hook-up of the quest map with the loading screen below it.
#pragma once

// Fills screensLinks.loadMap with map->Load (the global is read when the
// loading screen gets there, so the order of start-up does not matter; with
// no map made yet the step loads nothing).
void InstallMapLinks();

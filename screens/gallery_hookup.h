// Start-up hook-up of the level selector, the revealed-pictures record and
// the gallery with the subsystems that reach them through link tables: the
// loading screen and page 6 (screensLinks), the level loader (levelLinks),
// the quest's save and load (profileLinks), the title screen (titleLinks)
// and the quest's play loop (modeLinks). The globals are read when a link is
// used, so the order of start-up does not matter.
#pragma once

void InstallGalleryLinks();

#include "map/map_hookup.h"

#include "map/map_core.h"
#include "screens/screens_links.h"

void InstallMapLinks() {
    screensLinks.loadMap = [] { map->Load(); };
}

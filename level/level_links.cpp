#include "level/level_links.h"

TLevelLinks levelLinks;

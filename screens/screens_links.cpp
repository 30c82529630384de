#include "screens/screens_links.h"

TScreensLinks screensLinks;

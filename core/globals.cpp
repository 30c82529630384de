#include "core/globals.h"

int gameState = 0;
int quit = 0;
int menuQuit = 0;
int readFromProfile = 0;
int saveToProfile = 0;

// Opening the 800 x 600 display: full screen at the deepest colour the
// display offers for that size, else a window.
#pragma once

// 1 once the first SetGraphicsMode has installed the OpenGL 2D driver.
extern int gfxDriverSet;

// mode 1 asks for full screen, anything else a window. When full screen
// cannot be had, a window opens and options->screenMode becomes 2. The depth
// is not used: the search always starts at 32 bits.
int SetGraphicsMode(int mode, int width, int height, int depth);
// 1 when a display opened, 0 when none did. A window that cannot open shows
// "Graphics initiation error! The game will close." (or the graphics layer's
// own text) and ends the program. driver 0 with setDriver non-zero opens
// nothing.
int FindGfxMode(int mode, int driver, int width, int height, int setDriver);
// The first of 32, 24, 16 and 8 bits at which the display lists a full-screen
// mode of exactly width x height, whatever its refresh rate; 0 when none.
int FindFullScreenDepth(int width, int height);
// From full screen to a window (screenMode 0); nothing when already windowed.
int switchToWindowed();
// The graphics layer centres its windows already.
int centerWindow();
